// The framework's file: the one way portable code reaches a file on disk. POSIX natively, Win32 in the
// Windows builds (file_posix.cpp, file_win.cpp). Failures throw CFileException, which carries the
// cause and the OS error (a Win32 error number on both platforms, so that one mapping to the
// program's error codes serves both). Paths use backslashes on every platform; the POSIX half turns
// them into slashes before calling the system.
#pragma once
#include <cstdint>
#include <string>

class CFileException {
public:
    enum Cause {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile,
    };

    CFileException(Cause cause, long osError, const std::string& fileName = std::string())
        : m_cause(cause), m_osError(osError), m_fileName(fileName) {}
    virtual ~CFileException() = default;

    // The cause a Win32 error number stands for (genericException for numbers without one).
    static Cause OsErrorToCause(long osError);
    // Throws the exception for a Win32 error number.
    [[noreturn]] static void ThrowOsError(long osError, const std::string& fileName = std::string());

    Cause m_cause;
    long m_osError;  // Win32 error number; 0 when the failure did not come from the system
    std::string m_fileName;
};

// Test seam: every read, write, length change and flush of every CFile asks the installed faults
// object first (none by default). Answering 0 lets the call run; any other answer is the Win32 error
// number the call fails with. A write may also be cut short: *keep (n on entry) bytes are written
// before it fails.
class IFileFaults {
public:
    enum Call { kRead, kWrite, kSetLength, kFlush };
    virtual ~IFileFaults() = default;
    virtual long Before(Call call, const std::string& path, uint64_t offset, uint32_t n, uint32_t* keep) = 0;
};
// Installs `faults` (nullptr: none) and returns the previous one. The caller keeps ownership.
IFileFaults* SetFileFaults(IFileFaults* faults);

class CFile {
public:
    // Open flags: one access mode, one share mode, optionally modeCreate (create or truncate) or
    // modeCreateNew.
    enum OpenFlags : unsigned {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareExclusive = 0x0010,  // no other opener may read or write
        shareDenyWrite = 0x0020,  // other openers may read only
        shareDenyNone = 0x0040,
        modeCreate = 0x1000,
        // Creates the file and fails (ERROR_FILE_EXISTS) when one of that name exists: a file the
        // program makes only for a moment never replaces one of the user's.
        modeCreateNew = 0x2000,
    };
    enum SeekPosition { begin = 0, current = 1, end = 2 };

    CFile() = default;
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    // Closes the file, swallowing errors.
    virtual ~CFile();

    // Opens `path`; on failure returns false and fills *error when given (never throws).
    bool Open(const std::string& path, unsigned flags, CFileException* error = nullptr);
    // Reads up to n bytes at the position; returns the count read (less than n at the end of file).
    uint32_t Read(void* buffer, uint32_t n);
    // Writes n bytes at the position; a short write throws (diskFull when the disk has no room).
    void Write(const void* buffer, uint32_t n);
    // Moves the position; returns the new position. A negative result throws badSeek.
    uint64_t Seek(int64_t offset, SeekPosition from);
    uint64_t GetPosition() const { return m_position; }
    uint64_t GetLength() const;
    void SetLength(uint64_t length);
    void Flush();
    // Closes; errors throw. Abort closes and swallows errors.
    void Close();
    void Abort();

    bool IsOpen() const;
    const std::string& GetFilePath() const { return m_path; }

    // The read-only attribute of a file (false when it cannot be read).
    static bool IsReadOnlyFile(const std::string& path);

private:
    [[noreturn]] void ThrowLastError() const;
    // The installed faults' answer for a call at the position (0 without a faults object).
    long FaultBefore(IFileFaults::Call call, uint32_t n, uint32_t* keep = nullptr) const;
    void WriteAll(const void* buffer, uint32_t n);

#ifdef _WIN32
    void* m_handle = nullptr;  // HANDLE; nullptr when closed
#else
    int m_fd = -1;
#endif
    uint64_t m_position = 0;  // kept here so that reads and writes are one positioned system call
    std::string m_path;
};
