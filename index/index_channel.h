// The index view's coded entry: the codes the document, the article windows and the commands send
// it, and the argument p that every channel of the document takes (a number, or a typed pointer to an
// id set or a text). The codes keep the numbers they have always had.
#pragma once
#include <cstdint>
#include <string>

class CArticleIdSet;
class CGroupIdSet;
class CKeywordIdSet;

// Codes of the index view's entry. A question's answer is the entry's result; codes 38 to 40 are
// not used.
enum class IndexCode : int32_t {
    kBookmarkChanged = 1,         // p article, n on/off
    kKeywordAdded = 2,            // p keyword, n highlight flag
    kArticleTitleChanged = 3,     // p article: its title, dates or flags changed
    kIsCatalog = 4,               // question: the catalog flag
    kIsVisible = 5,               // question: whether the view's window is visible
    kShowIndexWindow = 6,         // p catalog mode wanted (0 or 1)
    kListFontChanged = 7,
    kGetListedArticleIds = 8,     // p article id set to fill with every listed title
    kBookmarksCleared = 9,
    kKeywordRenamed = 10,         // p keyword
    kDateFormatChanged = 11,
    kAddAndSelectKeywords = 12,   // p keyword id set
    kGetSelectedKeywords = 13,    // p keyword id set to fill; answer: the AND/OR mode
    kSortOrderChanged = 14,
    kGetTitlesMode = 15,          // question: the titles-list mode
    kClearTitleSelection = 16,
    kClearKeywordSelection = 17,
    kGetAndOrMode = 18,           // question
    kSetAndOrMode = 19,           // p 0 or 1
    kDeleteKeywords = 20,         // p keyword id set to delete
    kGetPreviewFlags = 21,        // question
    kTogglePreview = 22,          // p bit mask
    kArticleChanged = 23,         // p article: added or stored again
    kSetLinkDisplay = 24,         // p the active-links setting
    kPreviewColorChanged = 25,
    kGetHighlightedArticleIds = 26,  // p article id set to fill with the highlighted titles
    kOpenNeighbour = 27,          // p article, n 1 next, other values previous
    kDisplayPrefsChanged = 28,
    kTitlesCaption = 29,          // rewrite the titles caption
    kRerunTitles = 30,            // re-run the titles list by its mode
    kCyclePreview = 31,
    kSavePlacement = 32,
    kSetIndexMode = 33,           // p 0 or 1
    kGetIndexMode = 34,           // question: the requested index mode
    kCycleIndexMode = 35,
    kGroupAdded = 36,             // p group, n highlight flag
    kGroupRemoved = 37,           // p group; answer: 1 when it was highlighted
    kIsGroupPaneVisible = 41,     // question
    kShowGroupPane = 42,          // p show, n 0 when the user changed it
    kGroupsChanged = 43,          // p group (passed on)
    kRemindersChanged = 44,
    kManageReminders = 45,
    kSelectKeywords = 46,         // p keyword id set to highlight (others stay)
};

// Argument p of a channel: a number (an id, a flag, a value) or a pointer to an id set or a text
// that the receiver fills or reads. A receiver gets a pointer back only as the type it was sent
// with (null otherwise), so one code's argument is never read as another's.
class ChannelArg {
public:
    ChannelArg(int32_t value = 0) : m_value(value) {}
    ChannelArg(CArticleIdSet* ids) : m_kind(Kind::kArticleIds), m_pointer(ids) {}
    ChannelArg(CKeywordIdSet* ids) : m_kind(Kind::kKeywordIds), m_pointer(ids) {}
    ChannelArg(const CKeywordIdSet* ids) : m_kind(Kind::kKeywordIdsToRead), m_pointer(const_cast<CKeywordIdSet*>(ids)) {}
    ChannelArg(CGroupIdSet* ids) : m_kind(Kind::kGroupIds), m_pointer(ids) {}
    ChannelArg(std::string* text) : m_kind(Kind::kText), m_pointer(text) {}

    // The number; 0 when p carries a pointer.
    int32_t Value() const { return m_value; }
    bool HasPointer() const { return m_kind != Kind::kNumber; }

    CArticleIdSet* ArticleIds() const { return As<CArticleIdSet>(Kind::kArticleIds); }
    CKeywordIdSet* KeywordIds() const { return As<CKeywordIdSet>(Kind::kKeywordIds); }
    // A keyword id set to read, sent writable or not.
    const CKeywordIdSet* KeywordIdsToRead() const
    {
        return m_kind == Kind::kKeywordIdsToRead ? static_cast<const CKeywordIdSet*>(m_pointer) : KeywordIds();
    }
    CGroupIdSet* GroupIds() const { return As<CGroupIdSet>(Kind::kGroupIds); }
    std::string* Text() const { return As<std::string>(Kind::kText); }

private:
    enum class Kind { kNumber, kArticleIds, kKeywordIds, kKeywordIdsToRead, kGroupIds, kText };
    template <class T>
    T* As(Kind kind) const { return m_kind == kind ? static_cast<T*>(m_pointer) : nullptr; }

    Kind m_kind = Kind::kNumber;
    int32_t m_value = 0;
    void* m_pointer = nullptr;
};
