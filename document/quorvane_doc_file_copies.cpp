// Copies of the data file ("Save Backup As", "Copy File To") and of single keyed records.
#include <new>
#include <vector>

#include "document/doc_errors.h"
#include "document/doc_host.h"
#include "document/keyed_record_copy.h"
#include "document/quorvane_doc.h"
#include "framework/ansi_case.h"
#include "framework/file.h"
#include "shell/directories.h"
#include "storage/file_system.h"
#include "storage/quor_error.h"

namespace {
// The copy dialogs' block size.
constexpr uint32_t kCopyBlockSize = 16000;

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
}  // namespace

bool CQuorvaneDoc::BackUpFile(const std::string& path)
{
    return CopyFileChosen(path, CDocHost::DataFileCopy::kBackup);
}

bool CQuorvaneDoc::CopyFileTo(const std::string& path)
{
    return CopyFileChosen(path, CDocHost::DataFileCopy::kCopyTo);
}

bool CQuorvaneDoc::CopyFileChosen(const std::string& path, CDocHost::DataFileCopy kind)
{
    std::string start = m_directories ? m_directories->GetExpandedFolder(CDirectories::kData) : std::string();
    std::string target = m_host.ChooseDataFileCopy(kind, start);
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
        return CopyKeyedRecordBytes(m_dataFile, other, key);
    } catch (const CQuorError& error) {
        // A full disk concerns the whole copy the caller makes; anything else costs only this record.
        if (error.Code() == kDiskFull)
            throw;
    } catch (const std::bad_alloc&) {
    }
    return false;
}
