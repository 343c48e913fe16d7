// What the Article Properties sheet shows and gives back, without windows: the values its two pages
// take in and hand out, how a stored article fills them and takes them back, and the sheet's small
// decisions (the character count's text, the Attachments page's button states, whether an edited
// attachment changed, the relative-path rule for new file and folder targets). The pages (article/ui)
// only move these values between their controls and this struct.
#pragma once
#include <cstdint>
#include <string>

#include "storage/link_target.h"

class CArticleRecord;

// The values of both pages. Texts are shown only; the rest is in and out.
struct ArticlePropertiesData {
    // ---- General ----
    std::string title;
    int32_t date = 0;  // yyyymmdd
    int32_t time = 0;  // seconds since midnight
    std::string created;
    std::string modified;
    std::string length;  // the number of characters, "%d"
    std::string links;
    std::string attachmentCount;
    int wordWrap = 0;
    int keepTitle = 0;
    int isPrivate = 0;
    bool bookmarked = false;
    bool hasReminder = false;

    // ---- Attachments ----
    CAttachmentArray attachments;
    int autoOpen = 0;     // 2: "Always automatically open checked attachments with article"; 0 off
    int defaultKind = 1;  // which preference starts the check when autoOpen comes in as 0
    int saveFullPaths = 0;

    // ---- Out ----
    bool generalChanged = false;
    bool timeChanged = false;           // the date or the time was changed
    bool attachmentsModified = false;   // anything on the Attachments page changed
    bool attachmentListChanged = false; // members, order or targets of the list changed

    bool IsChanged() const { return generalChanged || attachmentsModified; }
};

// "%10s %8s": the date in the display picture right-aligned in 10 characters, a blank and the time
// with seconds right-aligned in 8; "%s %8s" without `padDate` (the article window's form).
std::string ArticleStampText(int32_t date, int32_t time, bool padDate = true);

// The length text with `separator` between groups of three digits counted from the right (texts
// shorter than 4 characters stay as they are), in string 9101 "%1 characters".
std::string CharacterCountText(const std::string& length, char separator);

// Fills the sheet's values from a stored article: its title, dates, information values, attachments
// and counts; `length` is the number of characters of its content.
void FillArticleProperties(const CArticleRecord& record, int32_t length, bool bookmarked, bool hasReminder,
                           ArticlePropertiesData& data);

// Takes the changed values back into the stored article: the attachments, their opening and the
// full-paths flag when the Attachments page changed; the dates, the private flag, word wrap and the
// keep-title flag when the General page changed. False when nothing changed (nothing is to be
// written).
bool ApplyArticleProperties(const ArticlePropertiesData& data, CArticleRecord& record);

// The stored attachment opening as the page's check takes it, and back.
int AutoOpenFromOpening(int32_t opening);
int32_t OpeningFromAutoOpen(int autoOpen);

// Which controls of the Attachments page are enabled.
struct AttachmentButtonState {
    bool add = false;
    bool edit = false;
    bool detach = false;
    bool open = false;
    bool checks = false;
    bool moveUp = false;
    bool moveDown = false;
};
// `canModify`: the data file may be changed; `selected`: how many items are selected; `count`: how
// many items the list holds; `first`: the index of the (first) selected item.
AttachmentButtonState AttachmentButtons(bool canModify, int selected, int count, int first);

// Whether OK in Article Attachment Properties changed the target: the trimmed text differs from the
// initial one without regard to case, or the kind or the gallery flag differs.
bool IsAttachmentTargetChanged(const std::string& initialText, int initialKind, bool initialGallery,
                               const std::string& text, int kind, bool gallery);

// A new or edited file or folder target is kept relative to `baseFolder` unless full path names are
// to be saved.
void ApplyRelativePathRule(CLinkTarget& target, bool saveFullPaths, const std::string& baseFolder);
