// The compactor's entry points, the run around the passes, and the safe replacement of the
// destination. The passes themselves are in compactor_passes.cpp.
#include "document/compactor.h"

#include <cstdio>
#include <new>

#include "document/compaction_rules.h"
#include "document/exchange_host.h"
#include "storage/file_password.h"
#include "storage/file_system.h"
#include "storage/quor_error.h"
#include "framework/ansi_case.h"
#include "framework/native_path.h"
#include "framework/string_table.h"
#include "resources/resource.h"
#include "shell/directories.h"

namespace {

// The position just after the last '.', or the end when the path has none.
size_t ExtensionOffset(const std::string& path)
{
    size_t dot = path.rfind('.');
    size_t slash = path.find_last_of("\\/");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path.size();
    return dot + 1;
}

// The path up to and including its last '.' (a '.' is added when it has none).
std::string PathStem(const std::string& path)
{
    size_t offset = ExtensionOffset(path);
    std::string stem = path.substr(0, offset);
    if (offset == path.size() && (stem.empty() || stem.back() != '.'))
        stem += '.';
    return stem;
}

bool SamePath(const std::string& a, const std::string& b)
{
    return AnsiCompareNoCase(a.c_str(), b.c_str()) == 0;
}

// The first name stem + "%03d" that names no file.
std::string FreeNumberedName(const std::string& path)
{
    std::string stem = PathStem(path);
    for (int n = 0; n < 1000; ++n) {
        char number[8];
        std::snprintf(number, sizeof number, "%03d", n);
        std::string candidate = stem + number;
        if (!FileExists(candidate))
            return candidate;
    }
    throw CQuorError(kFileError, path);
}

void SetDataFolderFrom(CDirectories* directories, const std::string& path)
{
    size_t slash = path.find_last_of('\\');
    if (directories && slash != std::string::npos)
        directories->SetFolderFromPath(CDirectories::kData, path, slash + 1);
}

std::string DataFolder(CDirectories* directories)
{
    return directories ? directories->GetExpandedFolder(CDirectories::kData) : std::string();
}

}  // namespace

CCompactor::CCompactor(CExchangeHost& host, CDirectories* directories) : m_host(host), m_directories(directories)
{
}

CCompactor::~CCompactor()
{
    CloseFiles();
    CloseDamagedFile();
}

void CCompactor::SetPaths(const std::string& source, const std::string& destination)
{
    m_sourcePath = source;
    m_destinationPath = destination;
    m_reportedSourcePath = source;
}

bool CCompactor::MoveFile(const std::string& from, const std::string& to)
{
    return std::rename(NativePath(from).c_str(), NativePath(to).c_str()) == 0;
}

// ---- Entry points ---------------------------------------------------------------------------------

bool CCompactor::Run()
{
    m_mode = kCompacting;
    bool started = false;
    bool compacting = false;
    try {
        std::string source = m_host.ChooseCompactSource(DataFolder(m_directories));
        if (source.empty())
            return false;
        if (CFile::IsReadOnlyFile(source))
            throw CQuorError(kReadOnlyNotCompacted, source);
        SetDataFolderFrom(m_directories, source);

        int format = 1;
        std::string destination = m_host.ChooseCompactDestination(DataFolder(m_directories), format);
        if (destination.empty())
            return false;
        if (format == 2) {
            if (!m_host.Confirm(QuorLoadString(IDS_OLDER_FORMAT_TARGET), CExchangeHost::kExclamation))
                return false;
            m_targetVersion = 300;
        }
        SetDataFolderFrom(m_directories, destination);

        started = true;
        SetPaths(source, destination);
        if (CDataFile::ReadVersion(source) < 400 && !m_host.ConfirmCompactConversion(source))
            throw CQuorError(kCancelled);
        compacting = true;
        Compact(false, true, true);
        ShowOutcome();
        CloseDamagedFile();
        m_host.OpenDataFile(m_destinationPath);
        return true;
    } catch (const CQuorError& error) {
        CloseDamagedFile();
        // Compact has reported its own errors; the entry steps report theirs here.
        if (!compacting && error.Code() != kCancelled && error.Code() != kWrongPassword)
            error.Report();
        if (!started)
            return false;
        int message = error.Code() == kCancelled ? IDS_COMPACTION_CANCELED : IDS_COMPACTION_FAILED;
        m_host.Inform(QuorFormat1(QuorLoadString(message), m_sourcePath), CExchangeHost::kInformation);
    } catch (const std::bad_alloc&) {
        CloseDamagedFile();
        ReportOutOfMemory();
    }
    return false;
}

bool CCompactor::Convert(const std::string& path, bool deleteOriginal)
{
    m_mode = kConverting;
    m_targetVersion = 400;
    SetPaths(path, path);
    try {
        Compact(deleteOriginal, false, true);
        if (NeedsReport())
            m_host.ShowDamagedFileReport(m_mode, BuildReport());
        CloseDamagedFile();
        return true;
    } catch (const CQuorError& error) {
        CloseDamagedFile();
        int message = error.Code() == kCancelled ? IDS_CONVERSION_CANCELED : IDS_CONVERSION_FAILED;
        m_host.Inform(QuorFormat1(QuorLoadString(message), path), CExchangeHost::kInformation);
    } catch (const std::bad_alloc&) {
        CloseDamagedFile();
        ReportOutOfMemory();
    }
    return false;
}

std::string CCompactingConverter::Convert(const std::string& path, bool keepBackup)
{
    CCompactor compactor(m_host, m_directories);
    // The compactor has told the user of a failure; code 0 says so to the document.
    if (!compactor.Convert(path, !keepBackup))
        throw CQuorError(kCancelled);
    return keepBackup ? compactor.GetReportedSourcePath() : std::string();
}

// ---- The run --------------------------------------------------------------------------------------

void CCompactor::Compact(bool deleteOriginal, bool askUnusedKeywords, bool askUnusedGroups)
{
    m_counts = Counts();
    m_reportedSourcePath = m_sourcePath;
    m_groupMap.clear();
    m_keywordMap.clear();
    m_articleMap.clear();
    m_keywords.clear();
    m_groups.clear();
    m_listedStart.clear();
    m_listedKeywords.clear();
    m_linkingArticles.clear();
    m_privateArticles.RemoveAll();
    m_placeholderArticles.RemoveAll();

    std::string temporary;
    bool progress = false;
    try {
        temporary = FreeNumberedName(m_destinationPath);
        m_sourceVersion = CDataFile::ReadVersion(m_sourcePath);
        OpenSource();
        CreateDestination(temporary);

        int64_t range = 2 * (int64_t{m_source.GetKeywordCount()} + m_source.GetArticleCount());
        if (m_targetVersion >= 400)
            range += 2 * int64_t{m_source.GetGroupCount()};
        m_host.BeginProgress(QuorLoadString(IDS_COMPACT_CAPTION), std::string(), CExchangeHost::CappedRange(range));
        progress = true;

        if (m_targetVersion >= 400)
            TransferGroups(askUnusedGroups);
        TransferKeywords(askUnusedKeywords);
        TransferArticles();
        if (m_targetVersion >= 400)
            AssignKeywordsToGroups();
        AssignArticlesToKeywords();
        AdjustLinks();
        TransferLists();
        if (m_targetVersion >= 400)
            TransferReminders();
        CopyKeyedRecords();

        progress = false;
        m_host.EndProgress();
        // The new file is complete on disk before anything is renamed.
        m_destination.Flush();
        m_destination.Close();
        m_source.Close();
        ReplaceDestination(temporary, deleteOriginal);
    } catch (const std::bad_alloc&) {
        if (progress)
            m_host.EndProgress();
        CloseFiles();
        if (!temporary.empty())
            DeleteFileIfExists(temporary);
        ReportOutOfMemory();
        throw CQuorError(kOutOfMemory);
    } catch (const CQuorError& error) {
        if (progress)
            m_host.EndProgress();
        error.Report();
        CloseFiles();
        if (!temporary.empty())
            DeleteFileIfExists(temporary);
        throw;
    }
}

void CCompactor::OpenSource()
{
    // Read-only: nothing the run does can change the source.
    m_source.Open(m_sourcePath, true);
    CFilePassword password;
    try {
        password.Load(m_source);
    } catch (const CQuorError& error) {
        // A damaged password record leaves the private articles unreadable; they count as lost and
        // the rest of the file is still recovered.
        if (error.Code() != kCorruptedRecord)
            throw;
        return;
    }
    if (password.HasPassword() && !m_host.PromptPassword(m_sourcePath, password))
        throw CQuorError(kWrongPassword, m_sourcePath);
}

void CCompactor::CreateDestination(const std::string& temporary)
{
    m_destination.Create(temporary, m_targetVersion);
    if (m_targetVersion < 300)
        return;
    // The same record key keeps masked fields readable with the source's password.
    m_destination.SetRecordKey(m_source.GetRecordKey());
    int32_t flags = m_source.GetFlags();
    if (flags & CDataFile::kFlagProtectAll)
        m_destination.SetProtectAll(true);
    else if (flags & CDataFile::kFlagPasswordAtOpen)
        m_destination.SetPasswordAtOpen(true);
}

void CCompactor::BeforeRecord()
{
    if (m_host.IsProgressCancelled())
        throw CQuorError(kCancelled);
    while (m_host.PumpPendingMessage() == 0) {
    }
}

void CCompactor::CloseFiles()
{
    m_destination.CloseIfOpen();
    m_source.CloseIfOpen();
}

void CCompactor::CloseDamagedFile()
{
    if (m_damaged.GetOpenMode() != CDataFile::kClosed) {
        try {
            m_damaged.Flush();
        } catch (const CQuorError&) {
        }
        m_damaged.CloseIfOpen();
    }
}

// ---- Replacing the destination --------------------------------------------------------------------

std::string CCompactor::SideName(const std::string& path) const
{
    return FreeNumberedName(path);
}

void CCompactor::ReplaceDestination(const std::string& temporary, bool deleteOriginal)
{
    // Renames made so far, undone in reverse order when a later one fails.
    struct Move {
        std::string from, to;
    };
    std::vector<Move> done;
    std::vector<std::string> discard;
    auto move = [&](const std::string& from, const std::string& to) {
        if (!MoveFile(from, to))
            throw CQuorError(kRenameFailed, from);
        done.push_back({from, to});
    };
    try {
        bool inPlace = SamePath(m_destinationPath, m_sourcePath);
        if (inPlace && !deleteOriginal) {
            std::string backup = PathStem(m_sourcePath) + "BAK";
            if (FileExists(backup)) {
                std::string aside = SideName(m_destinationPath);
                move(backup, aside);
                discard.push_back(aside);
            }
            move(m_sourcePath, backup);
            m_reportedSourcePath = backup;
        } else if (FileExists(m_destinationPath)) {
            std::string aside = SideName(m_destinationPath);
            move(m_destinationPath, aside);
            discard.push_back(aside);
        }
        move(temporary, m_destinationPath);
    } catch (...) {
        for (auto it = done.rbegin(); it != done.rend(); ++it)
            MoveFile(it->to, it->from);
        m_reportedSourcePath = m_sourcePath;
        throw;
    }
    for (const std::string& path : discard)
        DeleteFileIfExists(path);
}

// ---- Reports --------------------------------------------------------------------------------------

bool CCompactor::NeedsReport() const
{
    return m_counts.keywordsLost > 0 || m_counts.damagedArticles > 0 || m_counts.listsRepaired;
}

std::string CCompactor::BuildReport() const
{
    int pattern = m_counts.listsRepaired ? IDS_REPORT_LISTS_REPAIRED : IDS_REPORT;
    std::string text = FormatReportPattern(
        QuorLoadString(pattern),
        {m_counts.articlesRecovered, m_counts.articlesPartiallyRecovered,
         m_counts.damagedArticles - m_counts.articlesPartiallyRecovered, m_counts.keywordsRecovered,
         m_counts.keywordsLost, m_reportedSourcePath, m_destinationPath});
    if (!m_damagedPath.empty())
        text += QuorFormat1(QuorLoadString(IDS_REPORT_PARTIAL_FILE), m_damagedPath);
    return text;
}

void CCompactor::ShowOutcome()
{
    if (NeedsReport())
        m_host.ShowDamagedFileReport(m_mode, BuildReport());
    else
        m_host.Inform(QuorFormat1(QuorLoadString(IDS_COMPACTION_COMPLETED), m_destinationPath),
                      CExchangeHost::kInformation);
}
