// CFile on POSIX. The share modes become advisory flock() locks: exclusive takes an exclusive lock,
// deny-write a shared one, so that an exclusive opener and any other locking opener exclude each
// other as the Windows share modes do. errno values are turned into the Win32 error numbers that
// the rest of the program maps.
#include "framework/file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "framework/native_path.h"

namespace {

long ErrnoToOsError(int error)
{
    switch (error) {
    case ENOENT:
        return 2;
    case ENOTDIR:
        return 3;
    case EMFILE:
    case ENFILE:
        return 4;
    case EACCES:
    case EPERM:
    case EISDIR:
        return 5;
    case EBADF:
        return 6;
    case ENOMEM:
        return 8;
    case EROFS:
        return 19;
    case ENXIO:
    case ENODEV:
        return 21;
    case ESPIPE:
        return 25;
    case EIO:
        return 30;
    case EWOULDBLOCK:
    case EBUSY:
    case ETXTBSY:
        return 32;
    case EEXIST:
        return 80;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return 112;
    case ENAMETOOLONG:
        return 206;
    default:
        return 31;  // general failure
    }
}

}  // namespace

bool CFile::Open(const std::string& path, unsigned flags, CFileException* error)
{
    Abort();
    int oflags = O_CLOEXEC;
    switch (flags & 3) {
    case modeWrite:
        oflags |= O_WRONLY;
        break;
    case modeReadWrite:
        oflags |= O_RDWR;
        break;
    default:
        oflags |= O_RDONLY;
        break;
    }
    if (flags & modeCreateNew)
        oflags |= O_CREAT | O_EXCL;
    else if (flags & modeCreate)
        oflags |= O_CREAT | O_TRUNC;
    std::string native = NativePath(path);
    int fd = ::open(native.c_str(), oflags, 0666);
    int lockKind = (flags & shareDenyNone) == shareDenyNone ? 0
                   : (flags & shareDenyWrite) == shareDenyWrite ? LOCK_SH
                                                                : LOCK_EX;
    if (fd >= 0) {
        struct stat st;
        if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
            ::close(fd);
            fd = -1;
            errno = EISDIR;
        } else if (lockKind != 0 && flock(fd, lockKind | LOCK_NB) != 0) {
            int saved = errno;
            ::close(fd);
            fd = -1;
            errno = saved;
        }
    }
    if (fd < 0) {
        long osError = ErrnoToOsError(errno);
        if (error)
            *error = CFileException(CFileException::OsErrorToCause(osError), osError, path);
        return false;
    }
    m_fd = fd;
    m_position = 0;
    m_path = path;
    return true;
}

void CFile::ThrowLastError() const
{
    CFileException::ThrowOsError(ErrnoToOsError(errno), m_path);
}

uint32_t CFile::Read(void* buffer, uint32_t n)
{
    if (long fault = FaultBefore(IFileFaults::kRead, n))
        CFileException::ThrowOsError(fault, m_path);
    uint32_t done = 0;
    while (done < n) {
        ssize_t got = ::pread(m_fd, static_cast<char*>(buffer) + done, n - done,
                              static_cast<off_t>(m_position + done));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            ThrowLastError();
        }
        if (got == 0)
            break;
        done += static_cast<uint32_t>(got);
    }
    m_position += done;
    return done;
}

void CFile::WriteAll(const void* buffer, uint32_t n)
{
    uint32_t done = 0;
    while (done < n) {
        ssize_t put = ::pwrite(m_fd, static_cast<const char*>(buffer) + done, n - done,
                               static_cast<off_t>(m_position + done));
        if (put < 0) {
            if (errno == EINTR)
                continue;
            ThrowLastError();
        }
        if (put == 0)
            CFileException::ThrowOsError(112, m_path);
        done += static_cast<uint32_t>(put);
    }
    m_position += done;
}

uint64_t CFile::GetLength() const
{
    struct stat st;
    if (fstat(m_fd, &st) != 0)
        ThrowLastError();
    return static_cast<uint64_t>(st.st_size);
}

void CFile::SetLength(uint64_t length)
{
    if (long fault = FaultBefore(IFileFaults::kSetLength, 0))
        CFileException::ThrowOsError(fault, m_path);
    if (ftruncate(m_fd, static_cast<off_t>(length)) != 0)
        ThrowLastError();
}

void CFile::Flush()
{
    if (long fault = FaultBefore(IFileFaults::kFlush, 0))
        CFileException::ThrowOsError(fault, m_path);
    if (m_fd >= 0 && fsync(m_fd) != 0)
        ThrowLastError();
}

void CFile::Close()
{
    if (m_fd < 0)
        return;
    int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        ThrowLastError();
}

void CFile::Abort()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool CFile::IsOpen() const
{
    return m_fd >= 0;
}

bool CFile::IsReadOnlyFile(const std::string& path)
{
    struct stat st;
    if (stat(NativePath(path).c_str(), &st) != 0)
        return false;
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}
