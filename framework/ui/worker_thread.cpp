#include "framework/ui/worker_thread.h"

#include <process.h>

#include "framework/callback_exceptions.h"
#include "framework/ui/wnd.h"

CWorkerThread::~CWorkerThread()
{
    if (m_handle) {
        WaitForSingleObject(m_handle, INFINITE);
        CloseHandle(m_handle);
    }
}

bool CWorkerThread::CreateSuspended()
{
    if (m_handle)
        return false;
    // _beginthreadex (not CreateThread) sets up the C runtime for the thread; 0 means failure.
    auto* body = new std::shared_ptr<std::function<unsigned()>>(m_body);
    uintptr_t handle = _beginthreadex(nullptr, 0, Entry, body, CREATE_SUSPENDED, nullptr);
    m_handle = reinterpret_cast<HANDLE>(handle);
    if (!m_handle)
        delete body;
    return m_handle != nullptr;
}

bool CWorkerThread::Resume()
{
    // ResumeThread answers the previous suspend count, (DWORD)-1 on failure.
    return m_handle && ResumeThread(m_handle) == 1;
}

bool CWorkerThread::Wait(DWORD timeoutMs)
{
    return m_handle && WaitForSingleObject(m_handle, timeoutMs) == WAIT_OBJECT_0;
}

DWORD CWorkerThread::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    if (m_handle)
        GetExitCodeThread(m_handle, &code);
    return code;
}

void CWorkerThread::Detach()
{
    if (m_handle) {
        CloseHandle(m_handle);
        m_handle = nullptr;
    }
}

unsigned __stdcall CWorkerThread::Entry(void* param)
{
    // The thread's own reference to the body, freed when the thread ends.
    std::unique_ptr<std::shared_ptr<std::function<unsigned()>>> body(
        static_cast<std::shared_ptr<std::function<unsigned()>>*>(param));
    try {
        return (**body)();
    } catch (...) {
        ReportCallbackException("worker thread");
        return 1;
    }
}
