// CFile on Win32: CreateFileA with the share mode asked for; reads and writes give their offset in
// an OVERLAPPED structure, which on a synchronous handle makes each one a single positioned call.
#include "framework/file.h"

#include <windows.h>

namespace {

HANDLE AsHandle(void* handle)
{
    return static_cast<HANDLE>(handle);
}

OVERLAPPED AtOffset(uint64_t position)
{
    OVERLAPPED overlapped = {};
    overlapped.Offset = static_cast<DWORD>(position);
    overlapped.OffsetHigh = static_cast<DWORD>(position >> 32);
    return overlapped;
}

}  // namespace

bool CFile::Open(const std::string& path, unsigned flags, CFileException* error)
{
    Abort();
    DWORD access = GENERIC_READ;
    if ((flags & 3) == modeWrite)
        access = GENERIC_WRITE;
    else if ((flags & 3) == modeReadWrite)
        access = GENERIC_READ | GENERIC_WRITE;
    DWORD share = 0;  // shareExclusive
    if ((flags & shareDenyNone) == shareDenyNone)
        share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    else if ((flags & shareDenyWrite) == shareDenyWrite)
        share = FILE_SHARE_READ;
    DWORD disposition = (flags & modeCreateNew) ? CREATE_NEW : (flags & modeCreate) ? CREATE_ALWAYS : OPEN_EXISTING;
    HANDLE handle = CreateFileA(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                                nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        long osError = static_cast<long>(GetLastError());
        if (error)
            *error = CFileException(CFileException::OsErrorToCause(osError), osError, path);
        return false;
    }
    m_handle = handle;
    m_position = 0;
    m_path = path;
    return true;
}

void CFile::ThrowLastError() const
{
    CFileException::ThrowOsError(static_cast<long>(GetLastError()), m_path);
}

uint32_t CFile::Read(void* buffer, uint32_t n)
{
    if (long fault = FaultBefore(IFileFaults::kRead, n))
        CFileException::ThrowOsError(fault, m_path);
    uint32_t done = 0;
    while (done < n) {
        OVERLAPPED at = AtOffset(m_position + done);
        DWORD got = 0;
        // ReadFile past the end of a synchronous file succeeds with 0 bytes or fails with
        // ERROR_HANDLE_EOF when an offset is given: both mean end of file here.
        if (!ReadFile(AsHandle(m_handle), static_cast<char*>(buffer) + done, n - done, &got, &at)) {
            if (GetLastError() == ERROR_HANDLE_EOF)
                break;
            ThrowLastError();
        }
        if (got == 0)
            break;
        done += got;
    }
    m_position += done;
    return done;
}

void CFile::WriteAll(const void* buffer, uint32_t n)
{
    uint32_t done = 0;
    while (done < n) {
        OVERLAPPED at = AtOffset(m_position + done);
        DWORD put = 0;
        if (!WriteFile(AsHandle(m_handle), static_cast<const char*>(buffer) + done, n - done, &put, &at))
            ThrowLastError();
        if (put == 0)
            CFileException::ThrowOsError(ERROR_DISK_FULL, m_path);
        done += put;
    }
    m_position += done;
}

uint64_t CFile::GetLength() const
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(AsHandle(m_handle), &size))
        ThrowLastError();
    return static_cast<uint64_t>(size.QuadPart);
}

void CFile::SetLength(uint64_t length)
{
    if (long fault = FaultBefore(IFileFaults::kSetLength, 0))
        CFileException::ThrowOsError(fault, m_path);
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(length);
    if (!SetFilePointerEx(AsHandle(m_handle), at, nullptr, FILE_BEGIN) || !SetEndOfFile(AsHandle(m_handle)))
        ThrowLastError();
}

void CFile::Flush()
{
    if (long fault = FaultBefore(IFileFaults::kFlush, 0))
        CFileException::ThrowOsError(fault, m_path);
    if (m_handle && !FlushFileBuffers(AsHandle(m_handle)))
        ThrowLastError();
}

void CFile::Close()
{
    if (!m_handle)
        return;
    HANDLE handle = AsHandle(m_handle);
    m_handle = nullptr;
    if (!CloseHandle(handle))
        ThrowLastError();
}

void CFile::Abort()
{
    if (m_handle)
        CloseHandle(AsHandle(m_handle));
    m_handle = nullptr;
}

bool CFile::IsOpen() const
{
    return m_handle != nullptr;
}

bool CFile::IsReadOnlyFile(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}
