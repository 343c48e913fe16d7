#include "framework/ui/context_help.h"

#include "framework/ui/app.h"
#include "framework/ui/frame_wnd.h"

namespace {

bool IsOfThisThread(HWND hwnd)
{
    return hwnd && GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId();
}

// The deepest window of this thread under `point`, disabled ones included (WindowFromPoint passes
// over disabled children, which still have help).
HWND WindowUnder(POINT point)
{
    HWND hwnd = WindowFromPoint(point);
    if (!IsOfThisThread(hwnd))
        return nullptr;
    for (;;) {
        POINT client = point;
        ScreenToClient(hwnd, &client);
        HWND child = ChildWindowFromPointEx(hwnd, client, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
        if (!child || child == hwnd)
            return hwnd;
        hwnd = child;
    }
}

DWORD AskHelpHitTest(HWND hwnd, POINT point)
{
    POINT client = point;
    ScreenToClient(hwnd, &client);
    return static_cast<DWORD>(SendMessageA(hwnd, kHelpHitTestMessage, 0, MAKELPARAM(client.x, client.y)));
}

bool IsChild(HWND hwnd)
{
    return (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_CHILD) != 0;
}

// Reads the point of a mouse message: client coordinates of its window, screen ones for the
// non-client messages.
POINT MessagePoint(const MSG& msg)
{
    POINT point = {static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
    if (msg.message != WM_NCLBUTTONDOWN && msg.hwnd)
        ClientToScreen(msg.hwnd, &point);
    return point;
}

}  // namespace

DWORD HelpIdAtPoint(POINT point)
{
    HWND target = WindowUnder(point);
    if (!target)
        return 0;
    if (!IsChild(target)) {
        auto hit = static_cast<DWORD>(SendMessageA(target, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y)));
        if (hit != HTCLIENT && hit != HTNOWHERE && hit != static_cast<DWORD>(HTERROR))
            return kHelpIdNonClient + hit;
    }
    for (HWND hwnd = target; hwnd; hwnd = IsChild(hwnd) ? GetParent(hwnd) : nullptr) {
        if (DWORD answer = AskHelpHitTest(hwnd, point))
            return answer;
    }
    if (IsChild(target)) {
        if (int id = GetDlgCtrlID(target); id > 0 && !dynamic_cast<CFrameWnd*>(CWnd::FromHandle(target)))
            return kHelpIdControl + static_cast<DWORD>(id);
    }
    for (HWND hwnd = target; hwnd; hwnd = IsChild(hwnd) ? GetParent(hwnd) : nullptr) {
        if (auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandle(hwnd)); frame && frame->GetResourceId())
            return kHelpIdResource + static_cast<DWORD>(frame->GetResourceId());
    }
    return 0;
}

DWORD RunContextHelpMode(HWND frame)
{
    HWND root = GetAncestor(frame, GA_ROOT);
    HCURSOR helpCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32651));  // IDC_HELP
    // The capture brings the clicks on every window of the program here, even on disabled ones.
    SetCapture(root);
    SetCursor(helpCursor);
    DWORD helpId = 0;
    bool done = false;
    MSG msg;
    while (!done) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1)
            break;
        switch (msg.message) {
        case WM_LBUTTONDOWN:
        case WM_NCLBUTTONDOWN:
            helpId = HelpIdAtPoint(MessagePoint(msg));
            done = true;
            break;
        case WM_KEYDOWN:
            done = msg.wParam == VK_ESCAPE;
            break;
        case WM_RBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
        case WM_SYSKEYDOWN:
        case WM_CANCELMODE:
            done = true;
            break;
        case WM_MOUSEMOVE:
        case WM_NCMOUSEMOVE:
        case WM_SETCURSOR:
            SetCursor(helpCursor);
            break;
        case WM_KEYUP:
        case WM_CHAR:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONUP:
        case WM_NCLBUTTONUP:
            break;  // the rest of a key or a click stays with the mode
        default:
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            break;
        }
    }
    if (GetCapture() == root)
        ReleaseCapture();
    return helpId;
}

void ShowMainWindowHelp()
{
    CWinApp* app = CWinApp::Current();
    auto* frame = app ? dynamic_cast<CFrameWnd*>(app->GetMainWnd()) : nullptr;
    if (frame && frame->GetResourceId())
        app->ShowHelp(kHelpIdResource + static_cast<DWORD>(frame->GetResourceId()));
}
