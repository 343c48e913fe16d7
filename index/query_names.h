// What the query engine needs of the open knowledge base. The document implements it; tests use an
// in-memory fixture. Ids are 32-bit; 0x80000001 means none.
#pragma once
#include <cstdint>
#include <string>

class CArticleIdSet;
class CKeywordIdSet;

// Name lookup, all that compiling a query needs.
class CQueryNames {
public:
    virtual ~CQueryNames() = default;
    // The first keyword (group) whose name equals `name` without regard to case; 0x80000001 when
    // there is none or `name` is empty.
    virtual int32_t FindKeyword(const std::string& name) const = 0;
    virtual int32_t FindKeywordGroup(const std::string& name) const = 0;
};

// Everything that running a query reads. The sets are filled ascending. "Shown" ids leave out the
// private articles while these are hidden. Errors are CQuorError.
class CQuerySource : public CQueryNames {
public:
    // The articles that carry `keyword`; empty when the keyword has no record.
    virtual void GetKeywordArticleIds(int32_t keyword, CArticleIdSet& out) = 0;
    // The keywords of group `group`; raises when the group's record cannot be read.
    virtual void GetGroupKeywordIds(int32_t group, CKeywordIdSet& out) = 0;
    // Every shown article.
    virtual void GetAllArticleIds(CArticleIdSet& out) = 0;
    // The shown bookmarked articles.
    virtual void GetBookmarkedIds(CArticleIdSet& out) = 0;
    // The number of private articles, hidden or not.
    virtual int GetPrivateCount() = 0;
    // The keywords of article `article`, read from its record; raises when it cannot be read.
    virtual void GetArticleKeywordIds(int32_t article, CKeywordIdSet& out) = 0;
    // From the cached article index: attachments, and the article's own date (yyyymmdd;
    // 0x80000001 for a negative id).
    virtual int GetArticleAttachmentCount(int32_t article) = 0;
    virtual int32_t GetArticleDate(int32_t article) = 0;

    // The wait cursor, shown while a query is evaluated (the document passes it to its host).
    virtual void BeginWaitCursor() {}
    virtual void EndWaitCursor() {}
};
