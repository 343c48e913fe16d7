// The three channels through which the document tells its windows of changes. Each takes a code and
// two arguments p and n; the codes keep the numbers the windows and the document have always used
// (they cross between subsystems), and an argument that carries an id set or a text travels as a
// typed pointer inside ChannelArg. The real views implement the targets beside the framework's view
// interface; the document finds a channel by walking its view list.
#pragma once
#include <cstdint>
#include <string>

#include "index/index_channel.h"

// Hints of an article window's entry; the answer matters only for the questions. Hints 9, 10 and
// 12 to 16 are not sent by the document: Find, Replace, export and printing send them.
enum class ArticleHint : int32_t {
    kKeywordAssigned = 1,         // p keyword given to the shown article
    kKeywordDeleted = 2,          // p keyword
    kKeywordRenamed = 3,          // p keyword
    kPendingKeywordStored = 4,    // p pending id, n its stored id
    kBookmarkState = 5,           // p 0 or 1
    kUsesPendingKeyword = 6,      // question: nonzero when the window holds pending id p
    kDisplayChanged = 7,          // fonts or display settings
    kBookmarkOff = 8,
    kStatusPrompt = 10,           // p command: the string id of its prompt in the window's state, or 0
    kRedraw = 11,
    kSaveIfModified = 15,         // question: 1 when the article holds no unsaved changes afterwards
    kReload = 16,                 // the stored article changed underneath: load it again
    kActiveLinks = 17,            // p the active-links setting
    kReminderChanged = 18,
    kArticleDeleting = 19,        // the shown article is being deleted
};

// Requests of a report window's entry. Request 7 is not used.
enum class ReportRequest : int32_t {
    kKeywordChanged = 1,          // p keyword
    kDisplayRefresh = 2,
    kGetReportText = 3,           // p text to fill, n form (1 plain text, 2 RTF, 3 HTML body)
    kGetKeywordIds = 4,           // p keyword id set to fill with the keywords the report lists
    kKeywordDeleting = 5,         // p keyword about to be deleted
    kFilterArticleIds = 6,        // p article id set, kept to the report's range and dates
    kPrivateChanged = 8,          // private articles shown or hidden
    kGetCountWidth = 9,           // question: the count column's width
    kGetGroupIds = 10,            // p group id set to fill
    kGroupsChanged = 11,
};

// The kinds of report window.
enum class ReportKind : int32_t {
    kIndexReport = 1,
    kKeywordUsage = 2,
    kKeywordCloud = 3,
    kKeywordGroups = 4,
};

// The reports that list keywords, which hear of every keyword change.
constexpr ReportKind kKeywordReports[] = {ReportKind::kIndexReport, ReportKind::kKeywordUsage,
                                          ReportKind::kKeywordCloud};

// The index view: the IndexCode entry, and the title list kept in step with stored articles.
class CIndexNotifyTarget {
public:
    virtual ~CIndexNotifyTarget() = default;
    virtual int32_t IndexNotify(IndexCode code, ChannelArg p, int32_t n) = 0;
    // Places (or moves) the title of a stored article in the titles list.
    virtual void UpdateTitleForArticle(int32_t id, const CKeywordIdSet& keywords, bool highlight) = 0;
    // Takes a deleted article's title out of every list.
    virtual void RemoveArticleTitle(int32_t id) = 0;
};

// An article window.
class CArticleNotifyTarget {
public:
    virtual ~CArticleNotifyTarget() = default;
    // Every hint carries numbers only; the answer matters only for kUsesPendingKeyword.
    virtual int32_t OnDocumentNotify(ArticleHint hint, int32_t p, int32_t n) = 0;
    // The shown article; 0x80000001 for a new article not stored yet.
    virtual int32_t GetArticleId() const = 0;
    virtual bool IsModified() const = 0;
    // Saves the article when it holds changes (through the document's add or update).
    virtual void SaveIfModified() = 0;
    // The window's close check: saves or asks; true when the window may close.
    virtual bool PromptSaveAndClose() = 0;
    // Closes the window's frame (the article was deleted).
    virtual void CloseFrame() = 0;
};

// A report window.
class CReportQueryTarget {
public:
    virtual ~CReportQueryTarget() = default;
    virtual ReportKind GetReportKind() const = 0;
    virtual int32_t Query(ReportRequest request, ChannelArg p, int32_t n) = 0;
};
