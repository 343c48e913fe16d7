#include "shell/quorvane_app.h"

#include <commctrl.h>

#include <new>

#include "framework/string_table.h"
#include "framework/ui/mdi_wnd.h"
#include "resources/resource.h"
#include "storage/quor_error.h"

// The one application object; it exists before WinMain runs.
CQuorvaneApp theApp;

bool CQuorvaneApp::InitInstance()
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
    InitCommonControlsEx(&icc);

    auto* frame = new CMDIFrameWnd;
    frame->m_autoDelete = true;
    if (!frame->Create(QuorLoadString(IDS_APP_NAME), IDR_MAINFRAME)) {
        delete frame;
        return false;
    }
    SetMainWnd(frame);
    frame->ShowWindow(ShowCommand());
    frame->UpdateWindow();
    return true;
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
