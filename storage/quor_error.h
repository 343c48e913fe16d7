// The program's one exception type: an error code and an optional text (usually a file path) that
// fills the "%1" of the code's message. Thrown by value, caught by reference. Code 0 unwinds a
// cancelled operation without a message.
#pragma once
#include <string>

// Error codes. A code's message is string-table entry code + 1100 (see CQuorError::MessageId); the
// query compiler's codes (14000 and above) are string ids themselves and live with the compiler.
// The values are shared with the string table and must not change.
enum QuorErrorCode : int {
    kCancelled = 0,                // unwinds a cancelled operation; nothing is shown
    kOutOfMemory = 1,
    kInternalInitialization = 2,   // stored text could not be converted
    kNoSuchTableEntry = 3,         // a table or entry index out of range; no message text
    kCorruptedRecord = 5,          // broken block chain, bad check value, missing record
    kNotDataFile = 6,              // wrong magic
    kInvalidDataFile = 7,          // version below the oldest, wrong identifying text
    kNewerDataFile = 8,            // written by a newer version
    kFileAccess = 9,               // bad seek
    kTruncatedFile = 10,           // short header or block read
    kFileRead = 11,
    kDiskFull = 12,
    kDiskWriteFailed = 13,         // the disk may be write-protected
    kDiskFullOrDamaged = 14,
    kTooManyArticlesForKeyword = 16,
    kTextTooLong = 17,
    kUnknownError = 18,
    kTooManyTitles = 19,           // the title list could not hold every title
    kTooManyKeywords = 20,         // the keyword list could not hold every keyword
    kClipboardBusy = 21,           // another program holds the clipboard open
    kBadClipboardData = 22,        // the clipboard's data cannot be read
    kClipboardFormatMissing = 23,  // no articles of ours in the clipboard
    kReadOnlyNotCompacted = 36,    // a read-only file cannot be compacted
    kBookmarkListRepaired = 38,    // the bookmarked list was damaged and repaired on opening
    kRenameFailed = 45,
    kWrongPassword = 48,
    kArticleGone = 49,             // the target article no longer exists
    kPrivateLinkTarget = 51,       // a link to a private article while private articles stay hidden
    kShortcutTargetMissing = 53,
    kUnsavedArticles = 54,         // a quiet save of an open article was refused
    kCorruptedRecordType = 56,     // a keyword or group record of the wrong type: compacting may help
    // The file errors, mapped from the framework's file exceptions and the system's error numbers.
    kFileError = 100,
    kFileNotFound = 101,
    kTooManyOpenFiles = 102,
    kFileAccessDenied = 103,
    kWriteProtected = 104,
    kDriveNotReady = 105,
    kDriveFault = 106,
    kFileInUse = 107,
    kNetworkError = 108,
};

class CQuorError {
public:
    CQuorError() = default;
    explicit CQuorError(int code) : m_code(code) {}
    CQuorError(int code, const char* text);
    CQuorError(int code, const std::string& text) : CQuorError(code, text.c_str()) {}
    CQuorError(const CQuorError&) = default;
    CQuorError& operator=(const CQuorError&) = default;
    virtual ~CQuorError() = default;

    int Code() const { return m_code; }
    const std::string& Text() const { return m_text; }

    // The string-table number of the message: code + 1100 below 14000, otherwise the code itself.
    int MessageId() const { return m_code < 14000 ? m_code + 1100 : m_code; }
    // The message with "%1" replaced by the text; empty for code 0.
    std::string Message() const;

    // Shows the message to the user (a message box owned by the main window); nothing for code 0.
    void Report() const;

private:
    int m_code = 0;
    std::string m_text;
};

// Builds CQuorError(kOutOfMemory) and reports it.
void ReportOutOfMemory();

class CFileException;

// The error code of a framework file exception (codes 100 to 108, 9, 10 and 12).
int FileExceptionToErrorCode(const CFileException& e);
// The error code of a Win32 error number.
int OsErrorToErrorCode(long osError);

// Call inside a catch block only: rethrows the exception being handled as the program's error. A
// file exception becomes CQuorError(mapped code, path), a memory failure CQuorError(kOutOfMemory); anything
// else, CQuorError included, passes on unchanged.
[[noreturn]] void RethrowAsQuorError(const std::string& path);
