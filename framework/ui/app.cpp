#include "framework/ui/app.h"

#include <string>

#include "framework/callback_exceptions.h"
#include "framework/error_sink.h"
#include "framework/string_table.h"
#include "framework/ui/frame_wnd.h"
#include "framework/ui/ole_drop_target.h"
#include "resources/resource.h"

namespace {

CWinApp* g_app = nullptr;

bool g_quitPending = false;
WPARAM g_quitCode = 0;

// The message box of every error message: owned by the main window, captioned with the
// application's name.
void ShowErrorBox(const std::string& message)
{
    CWnd* main = g_app ? g_app->GetMainWnd() : nullptr;
    HWND owner = main && main->IsWindow() ? main->m_hWnd : nullptr;
    std::string caption = QuorLoadString(IDS_APP_NAME);
    MessageBoxA(owner, message.c_str(), caption.c_str(), MB_ICONEXCLAMATION | MB_OK);
}

ErrorSink g_previousSink = nullptr;

}  // namespace

CWinApp::CWinApp()
{
    g_app = this;
    g_previousSink = SetErrorSink(ShowErrorBox);
}

CWinApp::~CWinApp()
{
    SetErrorSink(g_previousSink);
    g_app = nullptr;
}

CWinApp* CWinApp::Current()
{
    return g_app;
}

int CWinApp::Main(int showCommand)
{
    m_showCommand = showCommand;
    // Drag and drop and the OLE clipboard need OLE on this, the user-interface thread.
    COleInit ole;
    int exitCode = 1;
    try {
        if (InitInstance())
            exitCode = Run();
    } catch (...) {
        ReportCallbackException("application start-up");
    }
    return ExitInstance(exitCode);
}

int CWinApp::Run()
{
    MSG msg;
    for (;;) {
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE))
            OnIdle();
        // GetMessage returns 0 for WM_QUIT and -1 for an invalid window handle argument.
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0)
            return static_cast<int>(msg.wParam);
        if (got == -1)
            continue;
        if (!PreTranslateMessage(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        RepostPendingQuit();
    }
}

bool CWinApp::PreTranslateMessage(MSG* msg)
{
    try {
        for (HWND hwnd = msg->hwnd; hwnd; hwnd = GetParent(hwnd)) {
            CWnd* wnd = CWnd::FromHandle(hwnd);
            if (wnd && wnd->PreTranslateMessage(msg))
                return true;
            if (wnd == m_mainWnd)
                return false;
        }
        // Messages for windows outside the main window (or for no window) still reach its
        // accelerators.
        return m_mainWnd && m_mainWnd->IsWindow() && m_mainWnd->PreTranslateMessage(msg);
    } catch (...) {
        ReportCallbackException("message pre-translation");
        return false;
    }
}

void CWinApp::ReportCommandException()
{
    ReportCallbackException("command handler");
}

void CWinApp::OnIdle()
{
    try {
        if (auto* frame = dynamic_cast<CFrameWnd*>(m_mainWnd))
            frame->OnIdleUpdateCmdUI();
    } catch (...) {
        ReportCallbackException("idle update");
    }
}

int PumpPendingMessage()
{
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        return 1;
    switch (msg.message) {
    case WM_COMMAND:
    case WM_CLOSE:
        return 0;
    case WM_SYSCOMMAND:
        if ((msg.wParam & 0xFFF0) == SC_CLOSE)
            return 0;
        break;
    case WM_QUIT:
        g_quitPending = true;
        g_quitCode = msg.wParam;
        return 0;
    default:
        break;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return 0;
}

void RepostPendingQuit()
{
    if (g_quitPending) {
        g_quitPending = false;
        PostQuitMessage(static_cast<int>(g_quitCode));
    }
}
