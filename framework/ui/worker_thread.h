// A worker thread that starts suspended and is not deleted when it ends: its owner resumes it,
// waits for it and reads its exit code. An exception leaving the body is stopped at the thread's
// entry (exit code 1). Workers never touch windows; they post messages carrying window handles.
#pragma once
#include <windows.h>

#include <functional>

class CWorkerThread {
public:
    explicit CWorkerThread(std::function<unsigned()> body) : m_body(std::move(body)) {}
    // Waits for a thread still running (the owner should have stopped it), then closes the handle.
    ~CWorkerThread();
    CWorkerThread(const CWorkerThread&) = delete;
    CWorkerThread& operator=(const CWorkerThread&) = delete;

    // Creates the thread suspended; false when it could not be created.
    bool CreateSuspended();
    // True when the thread was suspended and now runs.
    bool Resume();
    // True when the thread ended within `timeoutMs` (INFINITE: no limit).
    bool Wait(DWORD timeoutMs = INFINITE);
    // The body's result once the thread ended; STILL_ACTIVE before.
    DWORD ExitCode() const;
    HANDLE Handle() const { return m_handle; }

private:
    static unsigned __stdcall Entry(void* param);

    std::function<unsigned()> m_body;
    HANDLE m_handle = nullptr;
};
