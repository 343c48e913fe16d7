#include "framework/file.h"

#include <algorithm>

// Win32 error numbers named by value, so that the portable half needs no Windows header.
CFileException::Cause CFileException::OsErrorToCause(long osError)
{
    switch (osError) {
    case 0:
        return none;
    case 2:  // file not found
        return fileNotFound;
    case 3:    // path not found
    case 15:   // invalid drive
    case 123:  // invalid name
    case 161:  // bad path name
    case 206:  // name too long
        return badPath;
    case 4:
        return tooManyOpenFiles;
    case 5:   // access denied
    case 19:  // write protected
    case 80:  // file exists
        return accessDenied;
    case 6:
        return invalidFile;
    case 16:
        return removeCurrentDir;
    case 18:
        return directoryFull;
    case 25:  // seek error
    case 131:  // negative seek
        return badSeek;
    case 21:  // device not ready
    case 23:  // CRC error
    case 26:  // not a DOS disk
    case 27:  // sector not found
    case 29:  // write fault
    case 30:  // read fault
    case 31:  // general failure
        return hardIO;
    case 32:
    case 36:
        return sharingViolation;
    case 33:
        return lockViolation;
    case 38:
        return endOfFile;
    case 39:   // handle disk full
    case 112:  // disk full
        return diskFull;
    default:
        return genericException;
    }
}

void CFileException::ThrowOsError(long osError, const std::string& fileName)
{
    throw CFileException(OsErrorToCause(osError), osError, fileName);
}

namespace {
IFileFaults* g_fileFaults = nullptr;
}

IFileFaults* SetFileFaults(IFileFaults* faults)
{
    IFileFaults* previous = g_fileFaults;
    g_fileFaults = faults;
    return previous;
}

long CFile::FaultBefore(IFileFaults::Call call, uint32_t n, uint32_t* keep) const
{
    if (!g_fileFaults)
        return 0;
    uint32_t ignored = n;
    return g_fileFaults->Before(call, m_path, m_position, n, keep ? keep : &ignored);
}

void CFile::Write(const void* buffer, uint32_t n)
{
    uint32_t keep = n;
    long fault = FaultBefore(IFileFaults::kWrite, n, &keep);
    if (fault != 0) {
        WriteAll(buffer, std::min(keep, n));
        CFileException::ThrowOsError(fault, m_path);
    }
    WriteAll(buffer, n);
}

CFile::~CFile()
{
    Abort();
}

uint64_t CFile::Seek(int64_t offset, SeekPosition from)
{
    int64_t base = from == begin ? 0 : from == current ? static_cast<int64_t>(m_position)
                                                       : static_cast<int64_t>(GetLength());
    int64_t target = base + offset;
    if (target < 0)
        throw CFileException(CFileException::badSeek, 131, m_path);  // negative seek
    m_position = static_cast<uint64_t>(target);
    return m_position;
}
