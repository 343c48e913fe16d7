#include "framework/ui/subclassed_wnd.h"

CSubclassedWnd::~CSubclassedWnd()
{
    Unsubclass();
}

bool CSubclassedWnd::Subclass(HWND hwnd)
{
    if (!hwnd || FromHandle(hwnd) || m_hWnd)
        return false;
    Bind(hwnd);
    // SetWindowLongPtr answers the previous procedure.
    m_controlProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
    if (!m_controlProc) {
        Unbind();
        return false;
    }
    return true;
}

bool CSubclassedWnd::CreateControl(const char* className, DWORD exStyle, DWORD style, const RECT& rect, HWND parent,
                                   int id)
{
    HWND hwnd = CreateWindowExA(exStyle, className, "", style, rect.left, rect.top, rect.right - rect.left,
                                rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleA(nullptr), nullptr);
    if (!hwnd)
        return false;
    if (!Subclass(hwnd)) {
        ::DestroyWindow(hwnd);
        return false;
    }
    return true;
}

void CSubclassedWnd::Unsubclass()
{
    if (!m_hWnd)
        return;
    SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_controlProc));
    Unbind();
    m_controlProc = nullptr;
}

LRESULT CSubclassedWnd::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcA(m_controlProc, m_hWnd, msg, wParam, lParam);
}

LRESULT CALLBACK CSubclassedWnd::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    // The procedure is installed only together with the object and removed before it goes, so an
    // object is always there; WM_NCDESTROY unbinds after the control's own procedure ran.
    auto* self = static_cast<CSubclassedWnd*>(FromHandle(hwnd));
    if (!self)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    return RouteMessage(self, hwnd, msg, wParam, lParam);
}
