#include "shell/ui/quorvane_app.h"

#include <commctrl.h>

#include <atomic>
#include <new>

#include "framework/callback_exceptions.h"
#include "shell/app_settings.h"
#include "shell/option_store_host.h"
#include "shell/ui/main_frame.h"
#include "storage/quor_error.h"

// The one application object; it exists before WinMain runs.
CQuorvaneApp theApp;

namespace {

// Call inside a catch block only: the program's error shows its own message, memory exhaustion the
// out-of-memory message, anything else the internal error ("An unknown error has occurred").
void ReportHandledException()
{
    try {
        throw;
    } catch (const CQuorError& error) {
        error.Report();
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
    } catch (...) {
        CQuorError(kUnknownError).Report();
    }
}

// An exception stopped at a window procedure, dialog procedure, thread entry or OLE callback is a
// fault of the program: the user is told. A second one while the first box is up (the box pumps
// messages) is not stacked on top of it.
void ReportStoppedException(const char* /*where*/, const char* /*what*/)
{
    static std::atomic<bool> reporting{false};
    if (reporting.exchange(true))
        return;
    ReportHandledException();
    reporting = false;
}

}  // namespace

CQuorvaneApp::CQuorvaneApp() = default;
CQuorvaneApp::~CQuorvaneApp() = default;

bool CQuorvaneApp::InitInstance()
{
    SetCallbackExceptionSink(&ReportStoppedException);
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);

    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::unique_ptr<IOptionStoreHost> host = CreateSystemOptionStoreHost();
    m_options.Choose(*host, path, m_directories);
    m_settings = std::make_unique<CAppSettings>(m_options, m_fonts, m_directories);
    m_settings->ResetSettings();
    m_settings->LoadFromProfile();

    auto* frame = new CMainFrame(m_options, *m_settings);
    frame->m_autoDelete = true;
    if (!frame->LoadFrame()) {
        delete frame;
        return false;
    }
    SetMainWnd(frame);
    frame->RestoreAndShow(ShowCommand());
    return true;
}

int CQuorvaneApp::ExitInstance(int exitCode)
{
    m_options.FlushProfileCache();
    return CWinApp::ExitInstance(exitCode);
}

void CQuorvaneApp::ReportCommandException()
{
    ReportHandledException();
}
