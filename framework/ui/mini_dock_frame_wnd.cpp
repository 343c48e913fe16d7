#include "framework/ui/mini_dock_frame_wnd.h"

#include <windowsx.h>

#include "framework/ui/control_bar.h"
#include "framework/ui/dock_site.h"

const char CMiniDockFrameWnd::kClassName[] = "QuorMiniDockFrame";

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;

}  // namespace

bool CMiniDockFrameWnd::Create(HWND owner, int left, int top)
{
    if (!RegisterWindowClass(kClassName, CS_DBLCLKS, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)))
        return false;
    RECT rect = {left, top, left + 100, top + 40};
    if (!CreateEx(kExStyle, kClassName, m_bar->GetWindowText(), kStyle, rect, owner, nullptr))
        return false;
    ::SetParent(m_bar->m_hWnd, m_hWnd);
    FitToBar();
    return true;
}

void CMiniDockFrameWnd::FitToBar()
{
    SIZE size = m_bar->CalcFixedLayout();
    RECT rect = {0, 0, size.cx, size.cy};
    AdjustWindowRectEx(&rect, kStyle, FALSE, kExStyle);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(m_bar->m_hWnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CMiniDockFrameWnd::OnClose(LRESULT& result)
{
    // The close box hides the bar; the bar stays floating for when it is shown again.
    m_site->OnFloatingClosed(m_bar);
    result = 0;
    return true;
}

bool CMiniDockFrameWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_NCLBUTTONDOWN:
        if (wParam == HTCAPTION) {
            // Our own drag instead of the system's move, so that a drop over the frame docks.
            POINT screen = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            POINT grab = screen;
            ::ScreenToClient(m_bar->m_hWnd, &grab);
            m_site->TrackDrag(m_bar, grab, m_hWnd);
            result = 0;
            return true;
        }
        return false;
    case WM_MOUSEACTIVATE:
        // A click on a floating bar leaves the activation with the frame.
        result = MA_NOACTIVATE;
        return true;
    case WM_NOTIFY:
    case WM_COMMAND:
        // Bars notify the frame directly; anything else of theirs that lands here goes on to it.
        result = ::SendMessageA(::GetWindow(m_hWnd, GW_OWNER), msg, wParam, lParam);
        return true;
    default:
        return false;
    }
}
