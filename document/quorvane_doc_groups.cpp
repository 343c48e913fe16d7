// Keyword groups: names and ids, and the group side of the keyword-group links.
#include <algorithm>
#include <new>

#include "document/doc_errors.h"
#include "document/doc_host.h"
#include "document/quorvane_doc.h"
#include "framework/ansi_case.h"
#include "framework/string_table.h"
#include "resources/resource.h"
#include "storage/keyword_record.h"
#include "storage/quor_error.h"

std::string CQuorvaneDoc::GetKeywordGroupName(int32_t id) const
{
    if (id < 0 || static_cast<size_t>(id) >= m_groupNames.size())
        throw CQuorError(kCorruptedRecord, m_dataFile.GetFilePath());
    return m_groupNames[static_cast<size_t>(id)];
}

int32_t CQuorvaneDoc::FindKeywordGroup(const std::string& name) const
{
    return FindName(m_groupNames, name);
}

int32_t CQuorvaneDoc::FindKeywordGroupByName(const std::string& name) const
{
    return FindKeywordGroup(name);
}

void CQuorvaneDoc::GetAllKeywordGroupIds(CGroupIdSet& out) const
{
    NonEmptyIds(m_groupNames, out);
}

void CQuorvaneDoc::SortGroupIdsByName(std::vector<int32_t>& ids) const
{
    std::stable_sort(ids.begin(), ids.end(), [&](int32_t a, int32_t b) {
        return CompareText(GetKeywordGroupName(a).c_str(), GetKeywordGroupName(b).c_str()) < 0;
    });
}

int CQuorvaneDoc::GetKeywordGroupCount() const
{
    return m_dataFile.GetOpenMode() ? m_dataFile.GetGroupCount() : 0;
}

void CQuorvaneDoc::LoadKeywordGroup(int32_t id, CKeywordGroupRecord& record)
{
    record.Read(m_dataFile, id);
}

void CQuorvaneDoc::GetGroupKeywordIds(int32_t group, CKeywordIdSet& out)
{
    CKeywordGroupRecord record;
    record.Read(m_dataFile, group);
    record.GetKeywordIds(out);
}

// Adds the keywords to (or removes them from) group `group`'s own record.
void CQuorvaneDoc::ChangeGroupRecord(int32_t group, const CKeywordIdSet& keywords, bool add)
{
    CKeywordGroupRecord record;
    record.Read(m_dataFile, group);
    CKeywordIdSet members;
    record.GetKeywordIds(members);
    for (int32_t keyword : keywords.Values()) {
        if (add)
            members.Add(keyword);
        else
            members.Remove(keyword);
    }
    record.SetKeywordIds(members);
    record.Write(m_dataFile, group);
}

int32_t CQuorvaneDoc::AddKeywordGroup(CKeywordGroupRecord& record)
{
    COperationCheck check(*this, "AddKeywordGroup");
    try {
        CKeywordIdSet keywords;
        record.GetKeywordIds(keywords);
        PrepareKeywordSet(keywords);
        record.SetKeywordIds(keywords);
        int32_t id = record.WriteNew(m_dataFile);
        AddGroupToKeywords(id, keywords);
        if (m_groupNames.size() <= static_cast<size_t>(id))
            m_groupNames.resize(static_cast<size_t>(id) + 1);
        m_groupNames[static_cast<size_t>(id)] = record.GetName();
        if (m_importBatch.IsRecording())
            m_importBatch.RecordGroup(id);
        else
            m_importBatch.Clear();
        m_dataFile.Flush();
        NotifyIndexView(IndexCode::kGroupAdded, id, 0);
        QueryReportView(ReportKind::kKeywordGroups, ReportRequest::kGroupsChanged);
        return id;
    } catch (const std::bad_alloc&) {
        throw CQuorError(kOutOfMemory);
    }
}

void CQuorvaneDoc::UpdateKeywordGroup(int32_t id, CKeywordGroupRecord& record)
{
    COperationCheck check(*this, "UpdateKeywordGroup");
    if (id < 0)
        return;
    try {
        ClearBatchUnlessRecording();
        CKeywordGroupRecord stored;
        stored.Read(m_dataFile, id);
        std::string oldName = stored.GetName();
        CKeywordIdSet oldKeywords;
        stored.GetKeywordIds(oldKeywords);

        CKeywordIdSet newKeywords;
        record.GetKeywordIds(newKeywords);
        PrepareKeywordSet(newKeywords);
        record.SetKeywordIds(newKeywords);
        CKeywordIdSet removed;
        CKeywordIdSet added;
        SplitChanges(oldKeywords, newKeywords, removed, added);
        RemoveGroupFromKeywords(id, removed);
        AddGroupToKeywords(id, added);
        bool membershipChanged = removed.GetSize() > 0 || added.GetSize() > 0;

        record.Write(m_dataFile, id);
        m_dataFile.Flush();

        bool renamed = oldName != record.GetName();
        if (renamed) {
            m_groupNames[static_cast<size_t>(id)] = record.GetName();
            m_host.OnGroupRenamed(id, oldName, record.GetName());
            // Saved queries name groups by text: without this a saved query would turn into
            // "possibly deleted keywords or keyword groups" after the rename.
            m_queries.RewriteGroupInAll(oldName, record.GetName());
            int32_t highlight = NotifyIndexView(IndexCode::kGroupRemoved, id);
            NotifyIndexView(IndexCode::kGroupAdded, id, highlight);
        }
        if (membershipChanged) {
            NotifyIndexView(IndexCode::kGroupsChanged, id);
            QueryReportView(ReportKind::kKeywordGroups, ReportRequest::kGroupsChanged);
        } else if (renamed) {
            QueryReportView(ReportKind::kKeywordGroups, ReportRequest::kGroupsChanged);
        }
    } catch (const std::bad_alloc&) {
        throw CQuorError(kOutOfMemory);
    }
}

void CQuorvaneDoc::DeleteKeywordGroup(int32_t id)
{
    COperationCheck check(*this, "DeleteKeywordGroup");
    ClearBatchUnlessRecording();
    CKeywordGroupRecord record;
    record.Read(m_dataFile, id);
    CKeywordIdSet keywords;
    record.GetKeywordIds(keywords);
    RemoveGroupFromKeywords(id, keywords);
    m_dataFile.DeleteGroupEntry(id);
    m_groupNames[static_cast<size_t>(id)].clear();
    m_dataFile.Flush();
    m_host.OnGroupDeleted(id);
    NotifyIndexView(IndexCode::kGroupRemoved, id);
    NotifyIndexView(IndexCode::kGroupsChanged, id);
    QueryReportView(ReportKind::kKeywordGroups, ReportRequest::kGroupsChanged);
}

void CQuorvaneDoc::DeleteKeywordGroups(const CGroupIdSet& ids)
{
    COperationCheck check(*this, "DeleteKeywordGroups");
    for (int32_t id : ids.Values())
        DeleteKeywordGroup(id);
}

// Merging a group into itself would end by deleting it; it changes nothing instead.
void CQuorvaneDoc::MergeKeywordGroup(int32_t from, int32_t into)
{
    COperationCheck check(*this, "MergeKeywordGroup");
    if (from == into)
        return;
    ClearBatchUnlessRecording();
    CKeywordIdSet keywords;
    GetGroupKeywordIds(from, keywords);
    AddGroupToKeywords(into, keywords);
    CKeywordGroupRecord target;
    target.Read(m_dataFile, into);
    CKeywordIdSet members;
    target.GetKeywordIds(members);
    members.Union(keywords);
    target.SetKeywordIds(members);
    target.Write(m_dataFile, into);
    m_dataFile.Flush();
    DeleteKeywordGroup(from);
}

void CQuorvaneDoc::AddKeywordsToGroups(const CKeywordIdSet& keywords, const CGroupIdSet& groups)
{
    COperationCheck check(*this, "AddKeywordsToGroups");
    CDocWaitCursor wait(m_host);
    for (int32_t group : groups.Values()) {
        CKeywordGroupRecord record;
        record.Read(m_dataFile, group);
        CKeywordIdSet members;
        record.GetKeywordIds(members);
        members.Union(keywords);
        record.SetKeywordIds(members);
        UpdateKeywordGroup(group, record);
    }
    for (int32_t keyword : keywords.Values()) {
        CKeywordRecord record;
        record.Read(m_dataFile, keyword);
        CGroupIdSet ids;
        record.GetGroupIds(ids);
        ids.Union(groups);
        record.SetGroupIds(ids);
        record.Write(m_dataFile, keyword);
    }
    m_dataFile.Flush();
}

bool CQuorvaneDoc::AreKeywordGroupsConsistent(int32_t keyword)
{
    CGroupIdSet groups;
    GetGroupsOfKeyword(keyword, groups);
    for (int32_t group : groups.Values()) {
        try {
            CKeywordIdSet members;
            GetGroupKeywordIds(group, members);
            if (!members.Contains(keyword))
                return false;
        } catch (const CQuorError& error) {
            if (!IsDamagedRecord(error))
                throw;
            return false;
        }
    }
    return true;
}

// Calls `visit` for each entry of `table` up to the table's end, so that a damaged count cannot carry
// a walk past it. A free entry is passed over, and so is one that `visit` finds damaged; any other
// failure (a failing or full disk) stops the walk.
template <class Visit>
static void ForEachReadableEntry(CDataFile& file, int table, Visit visit)
{
    int32_t entries = file.GetTableCount(table);
    for (int32_t id = 0; id < entries; ++id) {
        if (file.GetEntry(table, id) == kNoneId)
            continue;
        try {
            visit(id);
        } catch (const CQuorError& error) {
            if (!IsDamagedRecord(error))
                throw;
        }
    }
}

void CQuorvaneDoc::RemoveKeywordFromAllGroups(int32_t keyword)
{
    COperationCheck check(*this, "RemoveKeywordFromAllGroups");
    ForEachReadableEntry(m_dataFile, CDataFile::kGroupTable, [&](int32_t group) {
        CKeywordGroupRecord record;
        record.Read(m_dataFile, group);
        CKeywordIdSet members;
        record.GetKeywordIds(members);
        if (!members.Contains(keyword))
            return;
        members.Remove(keyword);
        record.SetKeywordIds(members);
        record.Write(m_dataFile, group);
    });
}

// Rebuilds every keyword's group list from the group records. An entry that cannot be read is passed
// over, and so is one keyword of a group, without losing the group's other keywords.
void CQuorvaneDoc::RepairGroupLinks()
{
    COperationCheck check(*this, "RepairGroupLinks");
    m_host.BeginProgress(QuorLoadString(127), QuorLoadString(IDS_FIXING_GROUP_LISTS),
                         GetKeywordCount() + GetKeywordGroupCount());
    try {
        ForEachReadableEntry(m_dataFile, CDataFile::kKeywordTable, [&](int32_t keyword) {
            CKeywordRecord record;
            record.Read(m_dataFile, keyword);
            CGroupIdSet groups;
            record.GetGroupIds(groups);
            if (groups.GetSize() > 0) {
                record.SetGroupIds(CGroupIdSet());
                record.Write(m_dataFile, keyword);
            }
            m_host.StepProgress();
        });
        ForEachReadableEntry(m_dataFile, CDataFile::kGroupTable, [&](int32_t group) {
            CKeywordIdSet members;
            GetGroupKeywordIds(group, members);
            // Every list was emptied above, so the group is simply added.
            for (int32_t keyword : members.Values()) {
                if (!IsValidKeywordId(keyword))
                    continue;
                try {
                    CKeywordRecord record;
                    record.Read(m_dataFile, keyword);
                    CGroupIdSet groups;
                    record.GetGroupIds(groups);
                    groups.Add(group);
                    record.SetGroupIds(groups);
                    record.Write(m_dataFile, keyword);
                } catch (const CQuorError& error) {
                    if (!IsDamagedRecord(error))
                        throw;
                }
            }
            m_host.StepProgress();
        });
        m_dataFile.Flush();
    } catch (...) {
        m_host.EndProgress();
        throw;
    }
    m_host.EndProgress();
}
