// Keywords made in batches (the Add Keywords dialog's names, the lines of a keyword list) and the
// Keyword menu's commands that make them.
#include <new>
#include <string>
#include <unordered_set>
#include <vector>

#include "document/doc_errors.h"
#include "document/doc_host.h"
#include "document/keyword_list_file.h"
#include "document/quorvane_doc.h"
#include "framework/ansi_case.h"
#include "shell/directories.h"
#include "storage/keyword_record.h"
#include "storage/quor_error.h"

namespace {

std::string Folded(const std::string& name)
{
    std::string folded = name;
    AnsiLowerBuffer(&folded[0], folded.size());
    return folded;
}

}  // namespace

// The new keyword's record, its name in the name array, and the import batch's record of it; the
// caller tells the index view and flushes.
int32_t CQuorvaneDoc::WriteNewKeyword(const std::string& name)
{
    CKeywordRecord record;
    record.SetName(name);
    int32_t id = record.WriteNew(m_dataFile);
    if (m_keywordNames.size() <= static_cast<size_t>(id))
        m_keywordNames.resize(static_cast<size_t>(id) + 1);
    m_keywordNames[static_cast<size_t>(id)] = name;
    if (m_importBatch.IsRecording())
        m_importBatch.RecordKeyword(id);
    else
        m_importBatch.Clear();
    return id;
}

// The names are looked up in a set of the folded names made once per batch: 5,000 names checked one
// by one against 10,000 keywords would compare fifty million pairs. Each keyword record is written as
// it is made, inside one batch of the data file, so that the header and the allocation table are
// written once for all of them instead of once per keyword; the file is flushed once at the end (also
// after a failure, so what was made is kept).
void CQuorvaneDoc::AddKeywordBatch(const std::vector<std::string>& names, CKeywordIdSet& added)
{
    COperationCheck check(*this, "AddKeywordBatch");
    CKeywordIdSet made;
    try {
        CDataFile::CBatch batch(&m_dataFile);
        std::unordered_set<std::string> taken;
        taken.reserve(m_keywordNames.size() + names.size());
        for (const std::string& name : m_keywordNames)
            if (!name.empty())
                taken.insert(Folded(name));
        for (const std::string& name : names) {
            if (name.empty() || !taken.insert(Folded(name)).second)
                continue;
            made.Values().push_back(WriteNewKeyword(name));
        }
        batch.End();
    } catch (...) {
        made.Sort();
        added.Union(made);
        try {
            m_dataFile.Flush();
        } catch (...) {
            // The first failure is the one to report.
        }
        if (made.GetSize() > 0)
            NotifyIndexView(IndexCode::kAddAndSelectKeywords, &made);
        try {
            throw;
        } catch (const std::bad_alloc&) {
            throw CQuorError(kOutOfMemory);
        }
    }
    made.Sort();
    added.Union(made);
    m_dataFile.Flush();
    NotifyIndexView(IndexCode::kClearKeywordSelection);
    if (made.GetSize() > 0)
        NotifyIndexView(IndexCode::kAddAndSelectKeywords, &made);
}

void CQuorvaneDoc::OnAddKeywordsToIndex()
{
    if (CanModify())
        m_host.AddKeywordsToIndex(*this);
}

void CQuorvaneDoc::OnManageKeywordGroups()
{
    if (CanModify())
        m_host.ManageKeywordGroups(*this);
}

// The import is recorded, so Undo Import takes back exactly the keywords it made.
void CQuorvaneDoc::OnImportKeywordList()
{
    if (!CanModify())
        return;
    std::string start = m_directories ? m_directories->GetExpandedFolder(CDirectories::kImportExport) : std::string();
    std::string path = m_host.ChooseKeywordList(start);
    if (path.empty())
        return;
    CDocWaitCursor wait(m_host);
    SetImportRecording(true);
    ReportErrors([&] {
        CKeywordIdSet made;
        CKeywordListFile(*this).Import(path, made);
    });
    SetImportRecording(false);
}
