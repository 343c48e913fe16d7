// The three channels through which the document tells its windows of changes. Each takes a code and
// two arguments; an argument may carry a pointer to an id set that the receiver fills. The real
// views implement them beside the framework's view interface; the document finds a channel by
// walking its view list.
#pragma once
#include <cstdint>

class CKeywordIdSet;

// The index view: IndexNotify codes 1 to 46, and the title list kept in step with stored articles.
class CIndexNotifyTarget {
public:
    virtual ~CIndexNotifyTarget() = default;
    virtual int32_t IndexNotify(int code, intptr_t p, intptr_t n) = 0;
    // Places (or moves) the title of a stored article in the titles list.
    virtual void UpdateTitleForArticle(int32_t id, const CKeywordIdSet& keywords, bool highlight) = 0;
    // Takes a deleted article's title out of every list.
    virtual void RemoveArticleTitle(int32_t id) = 0;
};

// An article window.
class CArticleNotifyTarget {
public:
    virtual ~CArticleNotifyTarget() = default;
    // Hints 1 to 19; the answer matters only for hint 6 (does the window use pending keyword p).
    virtual int32_t OnDocumentNotify(int code, intptr_t p, intptr_t n) = 0;
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

// A report window: requests 1 to 11.
class CReportQueryTarget {
public:
    virtual ~CReportQueryTarget() = default;
    // 1 index report, 2 keyword usage, 3 keyword cloud, 4 keyword groups.
    virtual int GetReportKind() const = 0;
    virtual int32_t Query(int code, intptr_t p, intptr_t n) = 0;
};
