#include "shell/ui/quorvane_app.h"

#include <commctrl.h>

#include <new>

#include "shell/app_settings.h"
#include "shell/option_store_host.h"
#include "shell/ui/main_frame.h"
#include "storage/quor_error.h"

// The one application object; it exists before WinMain runs.
CQuorvaneApp theApp;

CQuorvaneApp::CQuorvaneApp() = default;
CQuorvaneApp::~CQuorvaneApp() = default;

bool CQuorvaneApp::InitInstance()
{
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
    try {
        throw;
    } catch (const CQuorError& error) {
        error.Report();
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
    } catch (...) {
        CQuorError(18).Report();
    }
}
