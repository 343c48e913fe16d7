// Keywords: names and ids, pending keywords, and the keyword side of the article-keyword links.
#include <new>

#include "document/doc_errors.h"
#include "document/doc_host.h"
#include "document/doc_views.h"
#include "document/quorvane_doc.h"
#include "framework/ansi_case.h"
#include "storage/article_record.h"
#include "storage/keyword_record.h"
#include "storage/quor_error.h"

std::string CQuorvaneDoc::GetKeywordName(int32_t id) const
{
    if (id < 0)
        return m_pendingKeywords.Get(id);
    if (static_cast<size_t>(id) >= m_keywordNames.size())
        throw CQuorError(kCorruptedRecord, m_dataFile.GetFilePath());
    return m_keywordNames[static_cast<size_t>(id)];
}

int CQuorvaneDoc::GetKeywordCount() const
{
    return m_dataFile.GetOpenMode() ? m_dataFile.GetKeywordCount() : 0;
}

bool CQuorvaneDoc::IsValidKeywordId(int32_t id) const
{
    return id >= 0 && static_cast<size_t>(id) < m_keywordNames.size() &&
           !m_keywordNames[static_cast<size_t>(id)].empty();
}

int32_t CQuorvaneDoc::FindName(const std::vector<std::string>& names, const std::string& name)
{
    if (name.empty())
        return kNoneId;
    for (size_t id = 0; id < names.size(); ++id)
        if (!names[id].empty() && AnsiCompareNoCase(names[id].c_str(), name.c_str()) == 0)
            return static_cast<int32_t>(id);
    return kNoneId;
}

void CQuorvaneDoc::NonEmptyIds(const std::vector<std::string>& names, CIdSet& out)
{
    out.RemoveAll();
    for (size_t id = 0; id < names.size(); ++id)
        if (!names[id].empty())
            out.Values().push_back(static_cast<int32_t>(id));
}

void CQuorvaneDoc::SplitChanges(const CIdSet& before, const CIdSet& after, CIdSet& removed, CIdSet& added)
{
    removed.Copy(before);
    removed.Subtract(after);
    added.Copy(after);
    added.Subtract(before);
}

int32_t CQuorvaneDoc::FindKeyword(const std::string& name) const
{
    return FindName(m_keywordNames, name);
}

// An empty name gets no id: in the pool an empty slot is a free one, so a pending id for it would
// later be handed out again for another name.
int32_t CQuorvaneDoc::GetKeywordIdByName(const std::string& name)
{
    int32_t id = FindKeyword(name);
    if (id != kNoneId || name.empty())
        return id;
    try {
        return m_pendingKeywords.Add(name);
    } catch (const std::bad_alloc&) {
        throw CQuorError(kOutOfMemory);
    }
}

int32_t CQuorvaneDoc::AddKeyword(const std::string& name, bool select)
{
    COperationCheck check(*this, "AddKeyword");
    try {
        int32_t id = WriteNewKeyword(name);
        NotifyIndexView(IndexCode::kKeywordAdded, id, select ? 1 : 0);
        m_dataFile.Flush();
        return id;
    } catch (const std::bad_alloc&) {
        throw CQuorError(kOutOfMemory);
    }
}

// A pending id whose slot was already released names nothing and is dropped: storing its empty name
// would make a keyword that the name array takes for a free entry.
void CQuorvaneDoc::CommitPendingKeywords(CKeywordIdSet& keywords)
{
    COperationCheck check(*this, "CommitPendingKeywords");
    std::vector<int32_t>& ids = keywords.Values();
    std::vector<int32_t> committed;
    committed.reserve(ids.size());
    for (int32_t id : ids) {
        if (id >= 0) {
            committed.push_back(id);
            continue;
        }
        std::string name = m_pendingKeywords.Get(id);
        if (name.empty())
            continue;
        int32_t stored = FindKeyword(name);
        if (stored == kNoneId)
            stored = AddKeyword(name, false);
        NotifyArticleViews(ArticleHint::kPendingKeywordStored, id, stored);
        m_pendingKeywords.Remove(id);
        committed.push_back(stored);
    }
    ids.swap(committed);
    keywords.Sort();
}

void CQuorvaneDoc::PurgePendingKeywords()
{
    std::vector<int32_t> unused;
    int32_t pos = m_pendingKeywords.GetFirstPosition();
    while (pos >= 0) {
        int32_t id = m_pendingKeywords.GetNext(pos);
        bool used = false;
        for (CDocumentView* view : Views()) {
            auto* article = dynamic_cast<CArticleNotifyTarget*>(view);
            if (article && article->OnDocumentNotify(ArticleHint::kUsesPendingKeyword, id, 0) != 0) {
                used = true;
                break;
            }
        }
        if (!used)
            unused.push_back(id);
    }
    for (int32_t id : unused)
        m_pendingKeywords.Remove(id);
}

void CQuorvaneDoc::GetAllKeywordIds(CKeywordIdSet& out) const
{
    NonEmptyIds(m_keywordNames, out);
}

// Binary insertion sort: stable, so equal names keep their order.
template <class Less>
static void StableInsertionSort(std::vector<int32_t>& ids, Less less)
{
    for (size_t i = 1; i < ids.size(); ++i) {
        int32_t value = ids[i];
        size_t lo = 0;
        size_t hi = i;
        while (lo < hi) {
            size_t mid = (lo + hi) / 2;
            if (less(value, ids[mid]))
                hi = mid;
            else
                lo = mid + 1;
        }
        for (size_t j = i; j > lo; --j)
            ids[j] = ids[j - 1];
        ids[lo] = value;
    }
}

void CQuorvaneDoc::SortKeywordIdsByName(std::vector<int32_t>& ids) const
{
    StableInsertionSort(ids, [&](int32_t a, int32_t b) {
        return CompareText(GetKeywordName(a).c_str(), GetKeywordName(b).c_str()) < 0;
    });
}

void CQuorvaneDoc::ReadKeywordRecord(int32_t keyword, CKeywordRecord& record)
{
    record.Read(m_dataFile, keyword);
}

void CQuorvaneDoc::GetKeywordArticleIds(int32_t keyword, CArticleIdSet& out)
{
    out.RemoveAll();
    try {
        CKeywordRecord record;
        record.Read(m_dataFile, keyword);
        record.GetArticleIds(out);
    } catch (const CQuorError& error) {
        out.RemoveAll();
        if (error.Code() != kCorruptedRecord)
            error.Report();
    }
}

void CQuorvaneDoc::GetGroupsOfKeyword(int32_t keyword, CGroupIdSet& out)
{
    out.RemoveAll();
    try {
        CKeywordRecord record;
        record.Read(m_dataFile, keyword);
        record.GetGroupIds(out);
    } catch (const CQuorError& error) {
        out.RemoveAll();
        if (error.Code() != kCorruptedRecord)
            error.Report();
    }
}

// Applies `change` to the record of each keyword of `keywords` and writes it back; flushes once.
// `shortcut` (keyword) may make the change itself and answer true, in which case the record is not read.
template <class Change, class Shortcut>
static void ChangeKeywordRecords(CDataFile& file, const CIdSet& keywords, Change change, Shortcut shortcut)
{
    for (int32_t keyword : keywords.Values()) {
        if (shortcut(keyword))
            continue;
        CKeywordRecord record;
        record.Read(file, keyword);
        if (change(record))
            record.Write(file, keyword);
    }
    file.Flush();
}

template <class Change>
static void ChangeKeywordRecords(CDataFile& file, const CIdSet& keywords, Change change)
{
    ChangeKeywordRecords(file, keywords, change, [](int32_t) { return false; });
}

// A new article's id is the largest, so it joins the end of each keyword's list: only the blocks
// that change are written, not the whole list of a popular keyword.
void CQuorvaneDoc::AddArticleToKeywords(int32_t article, const CKeywordIdSet& keywords)
{
    ChangeKeywordRecords(
        m_dataFile, keywords, [&](CKeywordRecord& record) { return record.AddArticleId(article); },
        [&](int32_t keyword) {
            return CKeywordRecord::AppendArticleId(m_dataFile, keyword, article) != CKeywordRecord::kRewriteWhole;
        });
}

void CQuorvaneDoc::RemoveArticleFromKeywords(int32_t article, const CKeywordIdSet& keywords)
{
    ChangeKeywordRecords(m_dataFile, keywords, [&](CKeywordRecord& record) { return record.RemoveArticleId(article); });
}

void CQuorvaneDoc::AddGroupToKeywords(int32_t group, const CKeywordIdSet& keywords)
{
    ChangeKeywordRecords(m_dataFile, keywords, [&](CKeywordRecord& record) {
        CGroupIdSet groups;
        record.GetGroupIds(groups);
        if (groups.Contains(group))
            return false;
        groups.Add(group);
        record.SetGroupIds(groups);
        return true;
    });
}

void CQuorvaneDoc::RemoveGroupFromKeywords(int32_t group, const CKeywordIdSet& keywords)
{
    ChangeKeywordRecords(m_dataFile, keywords, [&](CKeywordRecord& record) {
        CGroupIdSet groups;
        record.GetGroupIds(groups);
        if (!groups.Contains(group))
            return false;
        groups.Remove(group);
        record.SetGroupIds(groups);
        return true;
    });
}

void CQuorvaneDoc::ReportKeywordChanged(int32_t keyword)
{
    for (ReportKind kind : kKeywordReports)
        QueryReportView(kind, ReportRequest::kKeywordChanged, keyword);
}

void CQuorvaneDoc::ClearBatchUnlessRecording()
{
    if (!m_importBatch.IsRecording())
        m_importBatch.Clear();
}

void CQuorvaneDoc::UpdateKeyword(int32_t id, const std::string& name, const CGroupIdSet& groups)
{
    COperationCheck check(*this, "UpdateKeyword");
    ReportErrors([&] {
        ClearBatchUnlessRecording();
        CKeywordRecord record;
        record.Read(m_dataFile, id);
        std::string oldName = record.GetName();
        CGroupIdSet oldGroups;
        record.GetGroupIds(oldGroups);
        record.SetName(name);
        record.SetGroupIds(groups);
        record.Write(m_dataFile, id);

        m_keywordNames[static_cast<size_t>(id)] = name;
        m_host.OnKeywordRenamed(id, oldName, name);
        m_queries.RewriteKeywordInAll(oldName, name);

        CKeywordIdSet self;
        self.Add(id);
        CGroupIdSet leftGroups;
        CGroupIdSet joinedGroups;
        SplitChanges(oldGroups, groups, leftGroups, joinedGroups);
        for (int32_t group : leftGroups.Values())
            ChangeGroupRecord(group, self, false);
        for (int32_t group : joinedGroups.Values())
            ChangeGroupRecord(group, self, true);

        NotifyIndexView(IndexCode::kKeywordRenamed, id);
        ReportKeywordChanged(id);
        if (oldGroups.GetSize() > 0)
            QueryReportView(ReportKind::kKeywordGroups, ReportRequest::kKeywordChanged, id);
        NotifyArticleViews(ArticleHint::kKeywordRenamed, id);
        m_dataFile.Flush();
    });
}

// Rewrites many articles: first makes sure every one of them can be read, so that a hidden private
// article stops the operation before anything changed.
void CQuorvaneDoc::CheckArticlesReadable(const CArticleIdSet& ids)
{
    for (int32_t id : ids.Values()) {
        CArticleRecord record;
        record.Read(m_dataFile, id);
    }
}

void CQuorvaneDoc::DeleteKeywords(const CKeywordIdSet& requested)
{
    COperationCheck check(*this, "DeleteKeywords");
    // An id that names no stored keyword (deleted already, pending, out of range) has nothing to
    // delete; taking it on would empty a name slot that does not exist.
    CKeywordIdSet keywords;
    for (int32_t id : requested.Values())
        if (IsValidKeywordId(id))
            keywords.Values().push_back(id);
    ClearBatchUnlessRecording();
    // Every article is read for the check, again to change it and once more to compare before
    // writing: kept, the disk gives each only once, and nearby articles in one read.
    CDataFile::CReadCache cache(&m_dataFile);
    std::vector<CArticleIdSet> articlesOf(keywords.Values().size());
    CArticleIdSet touched;
    for (size_t i = 0; i < keywords.Values().size(); ++i) {
        GetKeywordArticleIds(keywords.Values()[i], articlesOf[i]);
        touched.Union(articlesOf[i]);
    }
    CheckArticlesReadable(touched);

    for (size_t i = 0; i < keywords.Values().size(); ++i) {
        int32_t keyword = keywords.Values()[i];
        for (ReportKind kind : kKeywordReports)
            QueryReportView(kind, ReportRequest::kKeywordDeleting, keyword);
        for (int32_t article : articlesOf[i].Values()) {
            CArticleRecord record;
            record.Read(m_dataFile, article);
            CKeywordIdSet ids;
            record.GetKeywordIds(ids);
            ids.Remove(keyword);
            record.SetKeywordIds(ids);
            record.Write(m_dataFile, article);
        }

        CGroupIdSet groups;
        GetGroupsOfKeyword(keyword, groups);
        CKeywordIdSet self;
        self.Add(keyword);
        bool consistent = true;
        for (int32_t group : groups.Values()) {
            CKeywordIdSet members;
            try {
                GetGroupKeywordIds(group, members);
            } catch (const CQuorError& error) {
                if (!IsDamagedRecord(error))
                    throw;
                consistent = false;
                break;
            }
            if (!members.Contains(keyword)) {
                consistent = false;
                break;
            }
        }
        if (consistent) {
            for (int32_t group : groups.Values()) {
                try {
                    ChangeGroupRecord(group, self, false);
                } catch (const CQuorError& error) {
                    // A damaged group is passed over; a failing disk stops the deletion.
                    if (!IsDamagedRecord(error))
                        throw;
                }
            }
        } else {
            RemoveKeywordFromAllGroups(keyword);
        }

        NotifyArticleViews(ArticleHint::kKeywordDeleted, keyword);
        if (groups.GetSize() > 0)
            QueryReportView(ReportKind::kKeywordGroups, ReportRequest::kGroupsChanged);
        m_keywordNames[static_cast<size_t>(keyword)].clear();
        m_dataFile.DeleteKeywordEntry(keyword);
    }
    m_host.OnKeywordsDeleted(keywords);
    m_dataFile.Flush();
}

// Every failure passes on: the caller deletes `from` only after a merge that went through, so no
// article of `from` can lose the keyword without gaining `into`.
void CQuorvaneDoc::MergeKeyword(int32_t from, int32_t into)
{
    COperationCheck check(*this, "MergeKeyword");
    if (from == into)
        return;
    try {
        CArticleIdSet articles;
        GetKeywordArticleIds(from, articles);
        CKeywordIdSet target;
        target.Add(into);
        AssignKeywords(articles, target);
        CGroupIdSet groups;
        GetGroupsOfKeyword(from, groups);
        if (groups.GetSize() > 0) {
            AddKeywordsToGroups(target, groups);
            QueryReportView(ReportKind::kKeywordGroups, ReportRequest::kGroupsChanged);
        }
    } catch (const std::bad_alloc&) {
        throw CQuorError(kOutOfMemory);
    }
}

void CQuorvaneDoc::AssignKeywords(const CArticleIdSet& articles, const CKeywordIdSet& keywords)
{
    COperationCheck check(*this, "AssignKeywords");
    CDocWaitCursor wait(m_host);
    CDataFile::CReadCache cache(&m_dataFile);  // as in DeleteKeywords
    CheckArticlesReadable(articles);
    for (int32_t article : articles.Values()) {
        CArticleRecord record;
        LoadArticle(article, record);
        CKeywordIdSet ids;
        record.GetKeywordIds(ids);
        ids.Union(keywords);
        for (int32_t keyword : keywords.Values())
            NotifyArticleView(ArticleHint::kKeywordAssigned, article, keyword, 0);
        record.SetKeywordIds(ids);
        UpdateArticle(article, record, true);
    }
    for (int32_t keyword : keywords.Values()) {
        CKeywordRecord record;
        record.Read(m_dataFile, keyword);
        CArticleIdSet ids;
        record.GetArticleIds(ids);
        ids.Union(articles);
        record.SetArticleIds(ids);
        record.Write(m_dataFile, keyword);
        ReportKeywordChanged(keyword);
        m_dataFile.Flush();
    }
}

// The index view deletes the keywords (kDeleteKeywords) so that it can drop them from its lists; without
// an index view the document deletes them itself.
void CQuorvaneDoc::DeleteKeywordsThroughIndex(const CKeywordIdSet& keywords)
{
    if (GetIndexView())
        NotifyIndexView(IndexCode::kDeleteKeywords, &keywords);
    else
        DeleteKeywords(keywords);
}
