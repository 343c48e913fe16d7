#include "article/article_properties_model.h"

#include <cstdio>

#include "article/article_save_checks.h"
#include "framework/ansi_case.h"
#include "framework/string_table.h"
#include "resources/article_properties_res.h"
#include "storage/article_info.h"
#include "storage/article_record.h"
#include "storage/date.h"

std::string ArticleStampText(int32_t date, int32_t time, bool padDate)
{
    CDate day;
    std::string dateText = day.SetValue(date) ? day.Format(true) : std::string();
    std::string timeText = FormatTime(time, true);
    char text[128];
    std::snprintf(text, sizeof text, padDate ? "%10s %8s" : "%s %8s", dateText.c_str(), timeText.c_str());
    return text;
}

std::string CharacterCountText(const std::string& length, char separator)
{
    std::string grouped = length;
    if (length.size() >= 4) {
        grouped.clear();
        for (size_t i = 0; i < length.size(); ++i) {
            if (i > 0 && (length.size() - i) % 3 == 0)
                grouped += separator;
            grouped += length[i];
        }
    }
    return QuorFormat1(QuorLoadString(IDS_CHARACTER_COUNT), grouped);
}

int AutoOpenFromOpening(int32_t opening)
{
    // Opening 2 opens every checked attachment; 0 follows the preferences, which the page shows as
    // its starting check; any other value (1) opens none.
    return opening == CArticleInfo::kOpenAll ? 2 : opening == CArticleInfo::kOpenByPreferences ? 0 : 1;
}

int32_t OpeningFromAutoOpen(int autoOpen)
{
    return autoOpen == 2 ? CArticleInfo::kOpenAll : CArticleInfo::kOpenByPreferences;
}

void FillArticleProperties(const CArticleRecord& record, int32_t length, bool bookmarked, bool hasReminder,
                           ArticlePropertiesData& data)
{
    data.title = record.GetTitle();
    data.date = record.GetDateOf(CArticleRecord::kOwnDate);
    data.time = record.GetTimeOf(CArticleRecord::kOwnDate);
    data.created = ArticleStampText(record.GetDateOf(CArticleRecord::kCreatedDate),
                                    record.GetTimeOf(CArticleRecord::kCreatedDate));
    data.modified = ArticleStampText(record.GetDateOf(CArticleRecord::kModifiedDate),
                                     record.GetTimeOf(CArticleRecord::kModifiedDate));
    data.length = std::to_string(length < 0 ? 0 : length);
    data.links = std::to_string(record.GetLinks().GetCount());
    data.attachmentCount = std::to_string(record.GetAttachmentCount());
    const CArticleInfo& info = record.GetInfo();
    data.wordWrap = info.GetWordWrap() != 0 ? 1 : 0;
    data.keepTitle = info.GetKeepTitle() != 0 ? 1 : 0;
    data.isPrivate = record.IsPrivate() ? 1 : 0;
    data.bookmarked = bookmarked;
    data.hasReminder = hasReminder;
    data.attachments.Copy(record.GetAttachments());
    data.autoOpen = AutoOpenFromOpening(info.GetAttachmentOpening());
    data.defaultKind = 1;
    data.saveFullPaths = (info.GetFlags() & CArticleInfo::kSaveFullPaths) != 0 ? 1 : 0;
    data.generalChanged = data.timeChanged = data.attachmentsModified = data.attachmentListChanged = false;
}

bool ApplyArticleProperties(const ArticlePropertiesData& data, CArticleRecord& record)
{
    if (!data.IsChanged())
        return false;
    CArticleInfo info = record.GetInfo();
    if (data.attachmentsModified) {
        record.SetAttachments(data.attachments);
        info.SetAttachmentOpening(OpeningFromAutoOpen(data.autoOpen));
        int16_t flags = info.GetFlags();
        flags = static_cast<int16_t>(data.saveFullPaths ? (flags | CArticleInfo::kSaveFullPaths)
                                                        : (flags & ~CArticleInfo::kSaveFullPaths));
        info.SetFlags(flags);
    }
    if (data.generalChanged) {
        record.SetDate(data.date);
        record.SetTime(data.time);
        record.SetPrivate(data.isPrivate != 0);
        info.SetWordWrap(data.wordWrap != 0 ? 1 : 0);
        info.SetKeepTitle(data.keepTitle != 0 ? 1 : 0);
    }
    // A plain-text article keeps its information values in the rich-text form only.
    if (record.GetVersion() > CArticleRecord::kPlainTextVersion)
        record.SetInfo(info);
    return true;
}

AttachmentButtonState AttachmentButtons(bool canModify, int selected, int count, int first)
{
    AttachmentButtonState state;
    state.add = canModify;
    state.edit = canModify && selected == 1;
    state.detach = canModify && selected > 0;
    state.open = selected == 1;
    state.checks = canModify;
    const bool movable = canModify && selected == 1 && count > 1;
    state.moveUp = movable && first > 0;
    state.moveDown = movable && first >= 0 && first < count - 1;
    return state;
}

bool IsAttachmentTargetChanged(const std::string& initialText, int initialKind, bool initialGallery,
                               const std::string& text, int kind, bool gallery)
{
    return AnsiCompareNoCase(TrimArticleText(initialText).c_str(), TrimArticleText(text).c_str()) != 0 ||
           initialKind != kind || initialGallery != gallery;
}

void ApplyRelativePathRule(CLinkTarget& target, bool saveFullPaths, const std::string& baseFolder)
{
    if (!saveFullPaths)
        target.MakeRelativePath(baseFolder);
}
