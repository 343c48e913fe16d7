// A worker thread that starts suspended and is not deleted when it ends: its owner resumes it,
// waits for it and reads its exit code. An exception leaving the body is stopped at the thread's
// entry (exit code 1). Workers never touch windows; they post messages carrying window handles.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>

class CWorkerThread {
public:
    explicit CWorkerThread(std::function<unsigned()> body)
        : m_body(std::make_shared<std::function<unsigned()>>(std::move(body))) {}
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
    // Lets a thread that still runs go on alone: its handle is closed and nothing waits for it any
    // more. The thread keeps its body alive; the body must own (or share) everything it uses.
    void Detach();

private:
    static unsigned __stdcall Entry(void* param);

    // Shared with the running thread, which may outlive this object once detached.
    std::shared_ptr<std::function<unsigned()>> m_body;
    HANDLE m_handle = nullptr;
};
