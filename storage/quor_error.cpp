#include "storage/quor_error.h"

#include <new>

#include "framework/error_sink.h"
#include "framework/file.h"
#include "framework/string_table.h"

CQuorError::CQuorError(int code, const char* text) : m_code(code)
{
    // Running out of memory while copying the text still leaves a usable error.
    try {
        if (text)
            m_text = text;
    } catch (const std::bad_alloc&) {
        m_text.clear();
    }
}

std::string CQuorError::Message() const
{
    if (m_code == 0)
        return std::string();
    return QuorFormat1(QuorLoadString(MessageId()), m_text);
}

void CQuorError::Report() const
{
    if (m_code != 0)
        ShowErrorMessage(Message());
}

void ReportOutOfMemory()
{
    CQuorError(kOutOfMemory).Report();
}

int OsErrorToErrorCode(long osError)
{
    switch (osError) {
    case 2:  // file not found
    case 3:  // path not found
        return kFileNotFound;
    case 4:  // too many open files
        return kTooManyOpenFiles;
    case 5:  // access denied
        return kFileAccessDenied;
    case 8:  // not enough memory
        return kOutOfMemory;
    case 19:  // write protected
        return kWriteProtected;
    case 21:  // device not ready
        return kDriveNotReady;
    case 23:  // CRC error
    case 24:  // bad length (seek)
    case 25:  // seek error
    case 26:  // not a DOS disk
    case 27:  // sector not found
    case 29:  // write fault
    case 30:  // read fault
        return kDriveFault;
    case 32:  // sharing violation
    case 33:  // lock violation
    case 36:  // sharing buffer exceeded
        return kFileInUse;
    default:
        if (osError >= 64 && osError <= 72)  // network errors
            return kNetworkError;
        return kFileError;
    }
}

int FileExceptionToErrorCode(const CFileException& e)
{
    switch (e.m_cause) {
    case CFileException::fileNotFound:
        return kFileNotFound;
    case CFileException::accessDenied: {
        int code = OsErrorToErrorCode(e.m_osError);
        return code == kFileError ? kFileAccessDenied : code;
    }
    case CFileException::badSeek:
        return kFileAccess;
    case CFileException::hardIO:
        return kDriveFault;
    case CFileException::sharingViolation:
        return kFileInUse;
    case CFileException::diskFull:
        return kDiskFull;
    case CFileException::endOfFile:
        return kTruncatedFile;
    default:
        return OsErrorToErrorCode(e.m_osError);
    }
}

void RethrowAsQuorError(const std::string& path)
{
    try {
        throw;
    } catch (const CFileException& e) {
        throw CQuorError(FileExceptionToErrorCode(e), path);
    } catch (const std::bad_alloc&) {
        throw CQuorError(kOutOfMemory);
    }
}
