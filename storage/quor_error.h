// The program's one exception type: an error code and an optional text (usually a file path) that
// fills the "%1" of the code's message. Thrown by value, caught by reference. Code 0 unwinds a
// cancelled operation without a message.
#pragma once
#include <string>

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

// Builds CQuorError(1) and reports it.
void ReportOutOfMemory();

class CFileException;

// The error code of a framework file exception (codes 100 to 108, 9, 10 and 12).
int FileExceptionToErrorCode(const CFileException& e);
// The error code of a Win32 error number.
int OsErrorToErrorCode(long osError);

// Call inside a catch block only: rethrows the exception being handled as the program's error. A
// file exception becomes CQuorError(mapped code, path), a memory failure CQuorError(1); anything
// else, CQuorError included, passes on unchanged.
[[noreturn]] void RethrowAsQuorError(const std::string& path);
