// The document's own check of its invariants (see quorvane_doc.h): every record read back from the
// data file and compared with the other side of each link and with the tables held in memory. It
// reads the whole file, so it runs only where asked: after every operation in the checking build
// (QUOR_CHECK_INVARIANTS, on with the sanitizers) and after every step of the randomised test.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <map>
#include <string>
#include <vector>

#include "document/quorvane_doc.h"
#include "framework/error_sink.h"
#include "framework/file.h"
#include "storage/article_record.h"
#include "storage/keyword_record.h"
#include "storage/quor_error.h"

namespace {

// A record that cannot be read (damaged, or private while hidden) takes no part in the check: the
// links are checked between the records that can be read.
template <class Record>
bool TryRead(Record& record, CDataFile& file, int32_t id)
{
    try {
        record.Read(file, id);
        return true;
    } catch (const CQuorError&) {
        return false;
    }
}

using IdLists = std::map<int32_t, std::vector<int32_t>>;

// True when `id` has a readable list holding `value`, or no readable list at all.
bool ListsOrUnknown(const IdLists& lists, int32_t id, int32_t value)
{
    auto found = lists.find(id);
    if (found == lists.end())
        return true;
    const std::vector<int32_t>& ids = found->second;
    return std::binary_search(ids.begin(), ids.end(), value);
}

bool IsNamed(const std::vector<std::string>& names, int32_t id)
{
    return id >= 0 && static_cast<size_t>(id) < names.size() && !names[static_cast<size_t>(id)].empty();
}

}  // namespace

bool CQuorvaneDoc::CheckInvariants(std::string* firstBreak)
{
    if (!IsOpen())
        return true;
    std::string why;
    auto fail = [&why](const std::string& what, int32_t a, int32_t b = -1) {
        if (!why.empty())
            return;
        char text[160];
        std::snprintf(text, sizeof text, what.c_str(), static_cast<int>(a), static_cast<int>(b));
        why = text;
    };
    // The check's reads are not the program's: injected file faults neither see nor fail them.
    struct FaultsOff {
        IFileFaults* saved = SetFileFaults(nullptr);
        ~FaultsOff() { SetFileFaults(saved); }
    } faultsOff;

    IdLists keywordsOfArticle, articlesOfKeyword, groupsOfKeyword, keywordsOfGroup;
    const int32_t articleCount = m_dataFile.GetTableCount(CDataFile::kArticleTable);
    for (int32_t id = 0; id < articleCount; ++id) {
        bool live = m_dataFile.GetEntry(CDataFile::kArticleTable, id) != kNoneId && !m_placeholderIds.Contains(id);
        if (live != m_allIds.Contains(id))
            fail(live ? "article %d is stored but not among all ids" : "all ids hold %d, which is no live article",
                 id);
        CArticleRecord record;
        if (live && TryRead(record, m_dataFile, id)) {
            CKeywordIdSet keywords;
            record.GetKeywordIds(keywords);
            keywordsOfArticle[id] = keywords.Values();
        }
    }
    for (int32_t id : m_allIds.Values())
        if (id >= articleCount)
            fail("all ids hold %d, past the article table", id);
    for (int32_t id : m_bookmarkedIds.Values())
        if (!m_allIds.Contains(id))
            fail("bookmark %d names no article", id);
    for (int32_t id : m_privateIds.Values())
        if (!m_allIds.Contains(id))
            fail("private id %d names no article", id);

    // The keyword and group tables: the live entries are exactly the named ones; `take` reads each.
    auto walkNamedTable = [&](int table, const std::vector<std::string>& names, const std::string& what,
                              auto&& take) {
        const int32_t count = m_dataFile.GetTableCount(table);
        for (int32_t id = 0; id < count || static_cast<size_t>(id) < names.size(); ++id) {
            bool live = id < count && m_dataFile.GetEntry(table, id) != kNoneId;
            if (live != IsNamed(names, id))
                fail(what + (live ? " %d is stored but has no name" : " %d has a name but no record"), id);
            if (live)
                take(id);
        }
    };
    walkNamedTable(CDataFile::kKeywordTable, m_keywordNames, "keyword", [&](int32_t id) {
        CKeywordRecord record;
        if (!TryRead(record, m_dataFile, id))
            return;
        CArticleIdSet articles;
        record.GetArticleIds(articles);
        articlesOfKeyword[id] = articles.Values();
        CGroupIdSet groups;
        record.GetGroupIds(groups);
        groupsOfKeyword[id] = groups.Values();
    });
    walkNamedTable(CDataFile::kGroupTable, m_groupNames, "group", [&](int32_t id) {
        CKeywordGroupRecord record;
        if (!TryRead(record, m_dataFile, id))
            return;
        CKeywordIdSet keywords;
        record.GetKeywordIds(keywords);
        keywordsOfGroup[id] = keywords.Values();
    });

    for (const auto& [article, keywords] : keywordsOfArticle)
        for (int32_t keyword : keywords)
            if (!IsNamed(m_keywordNames, keyword) || !ListsOrUnknown(articlesOfKeyword, keyword, article))
                fail("article %d names keyword %d, which does not list it", article, keyword);
    for (const auto& [keyword, articles] : articlesOfKeyword)
        for (int32_t article : articles)
            if (!m_allIds.Contains(article) || !ListsOrUnknown(keywordsOfArticle, article, keyword))
                fail("keyword %d lists article %d, which does not name it", keyword, article);
    for (const auto& [keyword, groups] : groupsOfKeyword)
        for (int32_t group : groups)
            if (!IsNamed(m_groupNames, group) || !ListsOrUnknown(keywordsOfGroup, group, keyword))
                fail("keyword %d names group %d, which does not list it", keyword, group);
    for (const auto& [group, keywords] : keywordsOfGroup)
        for (int32_t keyword : keywords)
            if (!IsNamed(m_keywordNames, keyword) || !ListsOrUnknown(groupsOfKeyword, keyword, group))
                fail("group %d lists keyword %d, which does not name it", group, keyword);

    if (firstBreak)
        *firstBreak = why;
    return why.empty();
}

#ifdef QUOR_CHECK_INVARIANTS

CQuorvaneDoc::COperationCheck::COperationCheck(CQuorvaneDoc& doc, const char* name)
    : m_doc(doc), m_name(name), m_outermost(doc.m_operationDepth++ == 0),
      m_exceptions(std::uncaught_exceptions())
{
    // Only an operation that starts on a sound document answers for the state it leaves: a file
    // opened damaged, or changed behind the document's back, is not its doing.
    try {
        m_heldBefore = m_outermost && m_doc.CheckInvariants();
    } catch (...) {
        m_heldBefore = false;
    }
    m_errorsBefore = GetShownErrorCount();
}

CQuorvaneDoc::COperationCheck::~COperationCheck()
{
    --m_doc.m_operationDepth;
    // An operation that failed (an exception on its way out, or an error shown to the user) may have
    // stopped half-way; the check is for the ones that completed.
    if (!m_heldBefore || std::uncaught_exceptions() != m_exceptions || GetShownErrorCount() != m_errorsBefore)
        return;
    std::string why;
    try {
        if (m_doc.CheckInvariants(&why))
            return;
    } catch (...) {
        return;  // the file could not be read back: the check has nothing to go on
    }
    std::fprintf(stderr, "document invariant broken by %s: %s\n", m_name, why.c_str());
    std::abort();
}

#endif
