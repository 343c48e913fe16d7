// Creating, opening, saving and closing the knowledge base.
#include "document/quorvane_doc.h"

#include <cstring>
#include <new>

#include "document/doc_errors.h"
#include "document/doc_host.h"
#include "document/doc_views.h"
#include "export/print_options.h"
#include "framework/file.h"
#include "shell/app_settings.h"
#include "shell/directories.h"
#include "shell/file_settings.h"
#include "storage/file_system.h"
#include "storage/keyed_record_stream.h"
#include "storage/keyword_record.h"
#include "storage/quor_error.h"

namespace {
// Keys of the id lists the document keeps itself.
constexpr int kBookmarkedKey = 1;
constexpr int kPrivateKey = 10;
constexpr int kPlaceholderKey = 12;

constexpr int kNoIndexAnswer = kNoneId;
}  // namespace

CQuorvaneDoc::CQuorvaneDoc(CDocHost& host) : m_host(host), m_password(std::make_unique<CFilePassword>())
{
    m_reminders.SetOwner(this);
}

CQuorvaneDoc::~CQuorvaneDoc()
{
    m_dataFile.CloseIfOpen();
}

void CQuorvaneDoc::SetOpenOptions(bool readOnly, bool allowNewer)
{
    m_openReadOnly = readOnly;
    m_openAllowNewer = allowNewer;
}

std::string CQuorvaneDoc::FileNameOf(const std::string& path)
{
    size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string CQuorvaneDoc::FileName() const
{
    return FileNameOf(m_dataFile.GetFilePath());
}

bool CQuorvaneDoc::CreateNewFile(const std::string& path)
{
    bool created = ReportErrors([&] {
        DeleteContents();
        SetPathName(path);
        m_host.ShowIndexFrame();
        m_importBatch.Clear();
        m_dataFile.Create(path, 400);
        m_host.SetCaption(GetTitle());
        m_host.SetCurrentDocument(this);
        ReadPrintRecords();
        m_queries.Load(m_dataFile);
        m_password->Load(m_dataFile);
        NotifyIndexView(IndexCode::kListFontChanged);
    });
    if (!created) {
        m_keywordNames.clear();
        m_articleIndex.clear();
    }
    return created;
}

bool CQuorvaneDoc::OnOpenDocument(const std::string& path)
{
    bool opened = ReportErrors([&] {
        DeleteContents();
        m_host.RepaintMainWindow();
        m_importBatch.Clear();
        m_dataFile.Open(path, m_openReadOnly, m_openAllowNewer);

        m_password->Load(m_dataFile);
        if (m_dataFile.IsPasswordAtOpen() && !m_host.PromptPassword(FileNameOf(path), *m_password))
            throw CQuorError(kWrongPassword, path);

        LoadTables();
        UpdateHiddenReminderArticles();

        // A bookmark of an article that no longer exists is dropped and the user told.
        int before = m_bookmarkedIds.GetSize();
        m_bookmarkedIds.Intersect(m_allIds);
        if (m_bookmarkedIds.GetSize() != before)
            CQuorError(kBookmarkListRepaired, path).Report();

        SetPathName(path);
        m_host.AddToRecentFiles(path);
        m_host.SetCaption(GetTitle());

        ReadPrintRecords();
        // The print dialog starts from the file's own choice of dates and keywords.
        if (m_printOptions) {
            m_printOptions->SetIncludeDates(m_pageLayout.GetPrintDates());
            m_printOptions->SetIncludeKeywords(m_pageLayout.GetPrintKeywords());
        }
        if (m_settings)
            CFileSettings(*m_settings).Load(m_dataFile);
        SetAttachmentsFolder();
        m_queries.Load(m_dataFile);
        m_reminders.Load(m_dataFile);
        NotifyIndexView(IndexCode::kListFontChanged);
        m_host.SetCurrentDocument(this);
        m_host.ShowIndexFrame();
    });
    // A failed open leaves nothing behind: no tables over a closed file, no caption naming it and no
    // application pointer to a document that is about to go.
    if (!opened)
        DeleteContents();
    return opened;
}

// Walks a table from entry 0 while records remain to be found and the table has entries: a free
// entry is passed over, and so is a record that reads as code 5; `read` stores one record. Stopping at the table's end
// keeps a damaged count from running the walk past it.
template <class Read>
static void WalkTable(CDataFile& file, int table, int32_t liveCount, Read read)
{
    int32_t entries = file.GetTableCount(table);
    int32_t found = 0;
    bool reported = false;
    for (int32_t id = 0; id < entries && found < liveCount; ++id) {
        if (file.GetEntry(table, id) == kNoneId)
            continue;
        try {
            read(id);
            ++found;
        } catch (const CQuorError& error) {
            if (error.Code() != kCorruptedRecord)
                throw;
            // An unreadable record is skipped and the rest of the file still opens; the first one
            // tells the user, once for the table however many there are.
            if (!reported)
                error.Report();
            reported = true;
        }
    }
}

void CQuorvaneDoc::LoadTables()
{
    try {
        WalkTable(m_dataFile, CDataFile::kKeywordTable, m_dataFile.GetKeywordCount(), [&](int32_t id) {
            CKeywordRecord record;
            record.Read(m_dataFile, id);
            if (m_keywordNames.size() <= static_cast<size_t>(id))
                m_keywordNames.resize(static_cast<size_t>(id) + 1);
            m_keywordNames[static_cast<size_t>(id)] = record.GetName();
        });

        m_dataFile.CollectArticleIds(m_allIds);
        ReadIdList(kPlaceholderKey, m_placeholderIds);
        m_allIds.Subtract(m_placeholderIds);
        m_allIds.ClearModified();

        ReadIdList(kBookmarkedKey, m_bookmarkedIds);
        ReadIdList(kPrivateKey, m_privateIds);

        WalkTable(m_dataFile, CDataFile::kGroupTable, m_dataFile.GetGroupCount(), [&](int32_t id) {
            CKeywordGroupRecord record;
            record.ReadName(m_dataFile, id);
            if (m_groupNames.size() <= static_cast<size_t>(id))
                m_groupNames.resize(static_cast<size_t>(id) + 1);
            m_groupNames[static_cast<size_t>(id)] = record.GetName();
        });
    } catch (const std::bad_alloc&) {
        m_keywordNames.clear();
        throw CQuorError(kOutOfMemory);
    } catch (...) {
        m_keywordNames.clear();
        throw;
    }
    if (GetKeywordGroupCount() == 0)
        NotifyIndexView(IndexCode::kShowGroupPane, 0, 1);
}

void CQuorvaneDoc::ReadIdList(int key, CArticleIdSet& set)
{
    set.RemoveAll();
    try {
        CKeyedRecordStream::ReadIdSet(&m_dataFile, key, set);
    } catch (const CQuorError& error) {
        if (error.Code() != kCorruptedRecord)
            throw;
        set.RemoveAll();
    }
    set.Sort();
    set.ClearModified();
}

void CQuorvaneDoc::WriteIdList(int key, CArticleIdSet& set)
{
    if (!set.IsModified() || !CanModify())
        return;
    CKeyedRecordStream::WriteIdSet(&m_dataFile, key, set);
    set.ClearModified();
}

void CQuorvaneDoc::WriteKeyedLists()
{
    WriteIdList(kBookmarkedKey, m_bookmarkedIds);
    WriteIdList(kPrivateKey, m_privateIds);
    WriteIdList(kPlaceholderKey, m_placeholderIds);
    if (m_reminders.IsModified() && CanModify()) {
        m_reminders.Save(m_dataFile);
        m_dataFile.Flush();
    }
}

// Closing writes the saved queries before the password record, Save File after it.
void CQuorvaneDoc::WriteKeyedRecords(bool queriesFirst)
{
    WriteKeyedLists();
    if (!CanModify())
        return;
    m_exportHeader.Save(m_dataFile);
    if (m_settings)
        CFileSettings(*m_settings).Save(m_dataFile);
    m_pageLayout.Save(m_dataFile);
    m_headerText.Save(m_dataFile);
    m_footerText.Save(m_dataFile);
    if (queriesFirst)
        m_queries.SaveIfModified(m_dataFile);
    m_password->Save(m_dataFile);
    if (!queriesFirst)
        m_queries.SaveIfModified(m_dataFile);
}

void CQuorvaneDoc::ReadPrintRecords()
{
    m_pageLayout.Load(m_dataFile);
    m_exportHeader.Load(m_dataFile);
    m_headerText.Load(m_dataFile);
    m_footerText.Load(m_dataFile);
}

// Relative link targets of a file resolve against its attachments folder: by the file's setting its
// own folder (1), a folder it names (2), or the configured attachments folder (0, and 2 without a
// folder).
void CQuorvaneDoc::SetAttachmentsFolder()
{
    if (!m_settings || !m_directories)
        return;
    std::string folder;
    int mode = m_settings->GetLinkLocationMode();
    if (mode == 1)
        folder = m_dataFile.GetFolder();
    else if (mode == 2)
        folder = m_settings->GetLinkLocationPath();
    if (mode == 0 || folder.empty())
        folder = m_directories->GetFolder(CDirectories::kAttachments, true);
    m_directories->SetFolder(CDirectories::kAttachments, folder);
}

CQuorvaneDoc::SaveOutcome CQuorvaneDoc::SaveBeforeClose()
{
    bool kept = false;
    // A window may close during its check; walk a copy of the list so that none is passed over.
    std::vector<CDocumentView*> views = Views();
    for (CDocumentView* view : views)
        if (auto* article = dynamic_cast<CArticleNotifyTarget*>(view))
            kept = !article->PromptSaveAndClose() || kept;
    bool written = ReportErrors([&] { WriteKeyedRecords(true); });
    NotifyIndexView(IndexCode::kSavePlacement);
    // A window the user kept open keeps the file open too, whatever else happened.
    if (kept)
        return SaveOutcome::kKept;
    return written ? SaveOutcome::kSaved : SaveOutcome::kFailed;
}

void CQuorvaneDoc::OnFileSave()
{
    COperationCheck check(*this, "OnFileSave");
    CDocWaitCursor wait(m_host);
    ReportErrors([&] {
        std::string path = m_dataFile.GetFilePath();
        if (!FileExists(path) || IsDirectory(path))
            throw CQuorError(kFileError, path);
        std::vector<CDocumentView*> views = Views();
        for (CDocumentView* view : views)
            if (auto* article = dynamic_cast<CArticleNotifyTarget*>(view))
                article->SaveIfModified();
        WriteKeyedRecords(false);
        m_host.FlushProfileCache();
        ReopenAfterSave();
    });
}

// Closes the data file and opens it again with the mode it had. When the reopen fails the document
// closes cleanly instead of keeping tables over a closed file.
void CQuorvaneDoc::ReopenAfterSave()
{
    std::string path = m_dataFile.GetFilePath();
    bool readOnly = m_dataFile.GetOpenMode() == CDataFile::kReadOnly;
    // The record key of an unlocked password lives only in the open file; it is carried over.
    uint8_t recordKey[16];
    std::memcpy(recordKey, m_dataFile.GetRecordKey(), sizeof recordKey);
    m_dataFile.Close();
    try {
        m_dataFile.Open(path, readOnly, m_openAllowNewer);
        m_dataFile.SetRecordKey(recordKey);
    } catch (...) {
        DeleteContents();
        throw;
    }
    m_dataFile.SetWritten(true);
}

bool CQuorvaneDoc::Flush()
{
    try {
        m_dataFile.Flush();
        return true;
    } catch (const CFileException& error) {
        CQuorError(FileExceptionToErrorCode(error), m_dataFile.GetFilePath()).Report();
    } catch (const CQuorError& error) {
        error.Report();
    }
    return false;
}

void CQuorvaneDoc::ResetTables()
{
    m_newArticleNumber = 1;
    m_keywordNames.clear();
    m_groupNames.clear();
    m_articleIndex.clear();
    m_bookmarkedIds.RemoveAll();
    m_privateIds.RemoveAll();
    m_placeholderIds.RemoveAll();
    m_allIds.RemoveAll();
    for (CIdSet* set : {static_cast<CIdSet*>(&m_bookmarkedIds), static_cast<CIdSet*>(&m_privateIds),
                        static_cast<CIdSet*>(&m_placeholderIds), static_cast<CIdSet*>(&m_allIds)})
        set->ClearModified();
    m_reminders.RemoveAll();
    m_queries.RemoveAll();
    m_pageLayout.SetBuiltInDefaults();
    m_password = std::make_unique<CFilePassword>();
    UpdateHiddenReminderArticles();
}

void CQuorvaneDoc::DeleteContents()
{
    try {
        ResetTables();
        m_dataFile.CloseIfOpen();
        m_host.CloseFindDialog();
        m_host.SetCaption(std::string());
        if (m_settings) {
            m_settings->ResetSettings();
            m_sortOrder = m_settings->GetSortOrder();
        }
        m_host.SetCurrentDocument(nullptr);
    } catch (const CQuorError& error) {
        m_dataFile.Abort();
        error.Report();
    } catch (const CFileException& error) {
        m_dataFile.Abort();
        CQuorError(FileExceptionToErrorCode(error), error.m_fileName).Report();
    } catch (const std::bad_alloc&) {
        m_dataFile.Abort();
        ReportOutOfMemory();
    }
}
