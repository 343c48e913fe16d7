// Operations on many articles at once: undoing an import, duplicates, keyed-record and file copies,
// and the conversion of older data files.
#include <algorithm>
#include <cstdio>
#include <new>

#include "document/data_file_converter.h"
#include "document/doc_errors.h"
#include "document/doc_host.h"
#include "document/doc_views.h"
#include "document/quorvane_doc.h"
#include "framework/ansi_case.h"
#include "framework/file.h"
#include "framework/string_table.h"
#include "resources/resource.h"
#include "shell/directories.h"
#include "storage/article_record.h"
#include "storage/file_system.h"
#include "storage/keyed_record_stream.h"
#include "storage/quor_error.h"

namespace {
constexpr int kUndoImportQuestionId = 15010;
constexpr int kOpenImportedQuestionId = 8321;
constexpr int kConversionBackupMessageId = 5212;
constexpr int kConversionFailedMessageId = 8110;

// The answers of the "Convert File" dialog.
enum ConversionChoice { kConvert = 0, kBackUpThenConvert = 1, kOpenReadOnly = 2 };

// The copy dialogs' block size.
constexpr uint32_t kCopyBlockSize = 16000;

std::string FormatCounts(const char* pattern, int a, int b = 0, int c = 0)
{
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, pattern, a, b, c);
    return buffer;
}

// Two spellings of one path: compared without regard to case or slash direction, as Windows does.
bool IsSameFile(const std::string& a, const std::string& b)
{
    auto normal = [](std::string path) {
        for (char& c : path)
            if (c == '/')
                c = '\\';
        return path;
    };
    return AnsiCompareNoCase(normal(a).c_str(), normal(b).c_str()) == 0;
}

// Trailing blanks, tabs and line ends do not make two texts differ.
std::string TrimRight(const std::string& text)
{
    size_t end = text.find_last_not_of(" \t\r\n");
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}
}  // namespace

// The index view deletes the keywords (code 20) so that it can drop them from its lists; without
// an index view the document deletes them itself.
void CQuorvaneDoc::DeleteKeywordsThroughIndex(const CKeywordIdSet& keywords)
{
    if (GetIndexView())
        NotifyIndexView(IndexCode::kDeleteKeywords, &keywords);
    else
        DeleteKeywords(keywords);
}

void CQuorvaneDoc::UndoImport()
{
    ReportErrors([&] {
        std::string question = FormatCounts(QuorLoadString(kUndoImportQuestionId).c_str(),
                                            m_importBatch.Articles().GetSize(), m_importBatch.Keywords().GetSize(),
                                            m_importBatch.Groups().GetSize());
        if (!m_host.Confirm(question))
            return;
        CArticleIdSet articles;
        articles.Copy(m_importBatch.Articles());
        CKeywordIdSet keywords;
        keywords.Copy(m_importBatch.Keywords());
        CGroupIdSet groups;
        groups.Copy(m_importBatch.Groups());
        DeleteArticles(articles);
        if (keywords.GetSize() > 0)
            DeleteKeywordsThroughIndex(keywords);
        DeleteKeywordGroups(groups);
        m_importBatch.SetLocked(false);
        m_importBatch.Clear();
    });
}

void CQuorvaneDoc::OpenImportedArticles()
{
    std::vector<int32_t> ids;
    m_importBatch.GetArticleIds(ids);
    if (ids.size() > 5 &&
        !m_host.Confirm(FormatCounts(QuorLoadString(kOpenImportedQuestionId).c_str(), static_cast<int>(ids.size()))))
        return;
    for (int32_t id : ids) {
        try {
            OpenArticle(id);
        } catch (const CQuorError& error) {
            error.Report();
            return;
        }
    }
}

// A rich-text article's plain text comes from the host's rich-text control; older articles hold
// plain text.
std::string CQuorvaneDoc::PlainTextOf(const CArticleRecord& record)
{
    return record.GetVersion() > 4 ? m_host.RtfToPlainText(record.GetRtfText()) : record.GetText();
}

bool CQuorvaneDoc::AreDuplicates(int32_t a, int32_t b)
{
    try {
        const char* titleA = GetArticleTitle(a);
        const char* titleB = GetArticleTitle(b);
        if (!titleA || !titleB || TrimRight(titleA) != TrimRight(titleB))
            return false;
        CArticleRecord recordA;
        CArticleRecord recordB;
        LoadArticle(a, recordA);
        LoadArticle(b, recordB);
        return TrimRight(PlainTextOf(recordA)) == TrimRight(PlainTextOf(recordB));
    } catch (const CQuorError&) {
    } catch (const std::bad_alloc&) {
    }
    return false;
}

bool CQuorvaneDoc::FindDuplicates(std::vector<int32_t>& out)
{
    out.clear();
    CArticleIdSet all;
    GetAllArticleIds(all);
    if (all.GetSize() < 2)
        return true;
    const std::string caption = QuorLoadString(IDS_CHECK_DUPLICATES);
    std::vector<int32_t> ids = all.Values();
    SortArticleIds(caption, ids, 0);

    bool cancelled = false;
    m_host.BeginProgress(caption, std::string(), static_cast<int>(ids.size()));
    try {
        int32_t current = ids[0];
        bool inRun = false;
        size_t i = 1;
        while (i < ids.size()) {
            if (m_host.IsProgressCancelled()) {
                cancelled = true;
                break;
            }
            if (!m_host.PumpPendingMessage())
                continue;
            m_host.SetProgressText(FormatCounts(QuorLoadString(IDS_SCANNING_COUNT).c_str(), static_cast<int>(i) + 1, static_cast<int>(ids.size())));
            int32_t article = ids[i];
            if (AreDuplicates(current, article)) {
                if (!inRun) {
                    if (!out.empty())
                        out.push_back(-1);
                    out.push_back(current);
                    inRun = true;
                }
                out.push_back(article);
            } else {
                current = article;
                inRun = false;
            }
            m_host.StepProgress();
            ++i;
        }
    } catch (const std::bad_alloc&) {
        out.clear();
    }
    m_host.EndProgress();
    return !cancelled;
}

void CQuorvaneDoc::FindImportedDuplicates(std::vector<int32_t>& out)
{
    out.clear();
    CArticleIdSet all;
    GetAllArticleIds(all);
    all.Subtract(m_importBatch.Articles());
    std::vector<int32_t> stored = all.Values();
    std::vector<int32_t> imported = m_importBatch.Articles().Values();
    SortArticleIdsByTitle(stored);
    SortArticleIdsByTitle(imported);

    size_t s = 0;
    size_t i = 0;
    bool gap = false;
    while (s < stored.size() && i < imported.size()) {
        const char* titleS = GetArticleTitle(stored[s]);
        const char* titleI = GetArticleTitle(imported[i]);
        int order = CompareText(titleS ? titleS : "", titleI ? titleI : "");
        if (order < 0) {
            ++s;
            gap = true;
        } else if (order == 0 && AreDuplicates(stored[s], imported[i])) {
            if (gap && !out.empty())
                out.push_back(-1);
            gap = false;
            out.push_back(imported[i]);
            ++i;
        } else if (order == 0) {
            ++s;
            gap = true;
        } else {
            ++i;
            gap = true;
        }
    }
}

bool CQuorvaneDoc::ConfirmAndDeleteDuplicates(const CArticleIdSet& marked)
{
    std::string question = FormatCounts(QuorLoadString(IDS_DELETE_DUPLICATES_QUESTION).c_str(),
                                        marked.GetSize());
    if (!m_host.Confirm(question))
        return false;
    DeleteArticles(marked);
    return true;
}

void CQuorvaneDoc::HandleImportedDuplicates(int action)
{
    ReportErrors([&] {
        if (action == 2)
            return;
        std::vector<int32_t> runs;
        FindImportedDuplicates(runs);
        CArticleIdSet marked;
        if (action == 1) {
            for (int32_t id : runs)
                if (id >= 0)
                    marked.Add(id);
        } else if (!m_host.ChooseDuplicates(runs, true, marked)) {
            return;
        }
        if (marked.GetSize() == 0 || !ConfirmAndDeleteDuplicates(marked))
            return;
        m_importBatch.RemoveArticleIds(marked.Values());
        // New keywords that lost their last article go with them.
        CKeywordIdSet orphans;
        for (int32_t keyword : m_importBatch.Keywords().Values()) {
            CArticleIdSet articles;
            GetKeywordArticleIds(keyword, articles);
            if (articles.GetSize() == 0)
                orphans.Add(keyword);
        }
        if (orphans.GetSize() > 0) {
            DeleteKeywordsThroughIndex(orphans);
            m_importBatch.RemoveKeywordIds(orphans.Values());
        }
    });
}

void CQuorvaneDoc::CheckForDuplicateArticles()
{
    const std::string caption = QuorLoadString(IDS_CHECK_DUPLICATES);
    ReportErrors([&] {
        if (!PromptSaveArticles(caption, 0))
            return;
        std::vector<int32_t> runs;
        if (!FindDuplicates(runs))
            return;
        if (runs.empty()) {
            m_host.Inform(QuorLoadString(IDS_NO_DUPLICATES), CDocHost::kInformation);
            return;
        }
        CArticleIdSet marked;
        if (m_host.ChooseDuplicates(runs, false, marked) && marked.GetSize() > 0)
            ConfirmAndDeleteDuplicates(marked);
    });
}

// The article windows a scope covers. Scope 3, the active window, is the host's: the document sees
// no active window, so it covers none here.
std::vector<CArticleNotifyTarget*> CQuorvaneDoc::ArticleWindowsOfScope(int scope, bool modifiedOnly)
{
    CArticleIdSet chosen;
    if (scope == 2)
        NotifyIndexView(IndexCode::kGetListedArticleIds, &chosen);
    else if (scope == 4)
        NotifyIndexView(IndexCode::kGetHighlightedArticleIds, &chosen);
    std::vector<CArticleNotifyTarget*> windows;
    for (CDocumentView* view : Views()) {
        auto* article = dynamic_cast<CArticleNotifyTarget*>(view);
        if (!article || (modifiedOnly && !article->IsModified()))
            continue;
        int32_t id = article->GetArticleId();
        bool inScope = scope == 0 || (scope == 1 && IsBookmarked(id)) ||
                       ((scope == 2 || scope == 4) && chosen.Contains(id));
        if (inScope)
            windows.push_back(article);
    }
    return windows;
}

bool CQuorvaneDoc::SaveArticleWindows(int scope)
{
    for (CArticleNotifyTarget* window : ArticleWindowsOfScope(scope, true)) {
        window->SaveIfModified();
        if (window->IsModified())
            return false;
    }
    return true;
}

bool CQuorvaneDoc::PromptSaveArticles(const std::string& caption, int scope)
{
    if (ArticleWindowsOfScope(scope, true).empty())
        return true;
    if (!m_host.AskSaveUnsavedArticles(caption))
        return false;
    return SaveArticleWindows(scope);
}

bool CQuorvaneDoc::BackUpFile(const std::string& path)
{
    return CopyFileChosen(path, IDS_SAVE_BACKUP_AS);
}

bool CQuorvaneDoc::CopyFileTo(const std::string& path)
{
    return CopyFileChosen(path, IDS_COPY_FILE_TO);
}

bool CQuorvaneDoc::CopyFileChosen(const std::string& path, int titleId)
{
    std::string start = m_directories ? m_directories->GetExpandedFolder(CDirectories::kData) : std::string();
    std::string target = m_host.ChooseDataFileCopy(QuorLoadString(titleId), start);
    if (target.empty())
        return false;
    size_t slash = target.rfind('\\');
    if (m_directories && slash != std::string::npos)
        m_directories->SetFolderFromPath(CDirectories::kData, target, slash + 1);
    if (IsOpen() && IsSameFile(path, m_dataFile.GetFilePath()))
        return CopyDataFileTo(target);
    return CopyClosedFileTo(path, target);
}

bool CQuorvaneDoc::CopyDataFileTo(const std::string& target)
{
    if (IsSameFile(m_dataFile.GetFilePath(), target)) {
        CQuorError(kFileError, target).Report();
        return false;
    }
    if (!Flush())
        return false;
    // The open data file is held exclusively, so it is read through its own handle; every block
    // access of the data file seeks first, so moving its position here does no harm.
    return CopyBlocksTo(m_dataFile, target);
}

bool CQuorvaneDoc::CopyClosedFileTo(const std::string& source, const std::string& target)
{
    if (IsSameFile(source, target) || (IsOpen() && IsSameFile(m_dataFile.GetFilePath(), target))) {
        CQuorError(kFileError, target).Report();
        return false;
    }
    CFile in;
    CFileException error(CFileException::none, 0);
    if (!in.Open(source, CFile::modeRead | CFile::shareDenyWrite, &error)) {
        CQuorError(FileExceptionToErrorCode(error), source).Report();
        return false;
    }
    bool copied = CopyBlocksTo(in, target);
    in.Abort();  // only read: nothing to lose in closing
    return copied;
}

bool CQuorvaneDoc::CopyBlocksTo(CFile& in, const std::string& target)
{
    CFile out;
    CFileException error(CFileException::none, 0);
    if (!out.Open(target, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive, &error)) {
        CQuorError(FileExceptionToErrorCode(error), target).Report();
        return false;
    }
    try {
        std::vector<uint8_t> buffer(kCopyBlockSize);
        in.Seek(0, CFile::begin);
        for (;;) {
            uint32_t n = in.Read(buffer.data(), kCopyBlockSize);
            if (n == 0)
                break;
            out.Write(buffer.data(), n);
        }
        out.Close();
        return true;
    } catch (const CFileException& failure) {
        CQuorError(FileExceptionToErrorCode(failure), failure.m_fileName).Report();
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
    }
    out.Abort();
    DeleteFileIfExists(target);
    return false;
}

bool CQuorvaneDoc::CopyKeyedRecord(int key, CDataFile& other)
{
    try {
        std::vector<uint8_t> bytes;
        {
            CKeyedRecordStream in;
            in.Open(&m_dataFile, key, CRecordStream::kRead);
            bytes = in.ReadByteBlock();
            in.Close();
        }
        CKeyedRecordStream out;
        out.Open(&other, key, CRecordStream::kRewrite);
        out.WriteByteBlock(bytes.data(), static_cast<int32_t>(bytes.size()));
        out.Close();
        return true;
    } catch (const CQuorError& error) {
        // A full disk concerns the whole copy the caller makes; anything else costs only this record.
        if (error.Code() == kDiskFull)
            throw;
    } catch (const std::bad_alloc&) {
    }
    return false;
}

bool CQuorvaneDoc::ConvertOldFile(const std::string& path, bool& readOnly)
{
    bool mayOpen = false;
    ReportErrors([&] {
        int choice = m_host.ChooseConversion(path);
        if (choice == kOpenReadOnly) {
            readOnly = true;
            mayOpen = true;
            return;
        }
        if (choice != kConvert && choice != kBackUpThenConvert)
            return;
        if (!m_converter) {
            m_host.Inform(QuorFormat1(QuorLoadString(kConversionFailedMessageId), path), CDocHost::kExclamation);
            return;
        }
        if (choice == kConvert) {
            std::string backup = m_converter->Convert(path, true);
            mayOpen = true;
            m_host.Inform(QuorFormat1(QuorLoadString(kConversionBackupMessageId), backup), CDocHost::kInformation);
        } else if (BackUpFile(path)) {
            // The user's own backup replaces the converter's.
            m_converter->Convert(path, false);
            mayOpen = true;
        }
    });
    m_host.RepaintMainWindow();
    return mayOpen;
}
