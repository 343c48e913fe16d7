#include "framework/ui/custom_wnd.h"

bool CCustomWnd::RegisterWindowClass(const char* name, UINT style, HICON icon, HBRUSH background)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExA(instance, name, &wc))
        return true;
    wc.style = style;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    return RegisterClassExA(&wc) != 0;
}

bool CCustomWnd::CreateEx(DWORD exStyle, const char* className, const std::string& caption, DWORD style,
                          const RECT& rect, HWND parent, HMENU menuOrId)
{
    HWND hwnd = CreateWindowExA(exStyle, className, caption.c_str(), style, rect.left, rect.top,
                                rect.right - rect.left, rect.bottom - rect.top, parent, menuOrId,
                                GetModuleHandleA(nullptr), this);
    return hwnd != nullptr;
}

CCustomWnd::~CCustomWnd()
{
    if (HWND hwnd = m_hWnd) {
        Unbind();
        ::DestroyWindow(hwnd);
    }
}

void CCustomWnd::OnFinalMessage()
{
    if (m_autoDelete)
        delete this;
}

LRESULT CCustomWnd::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(m_hWnd, msg, wParam, lParam);
}

LRESULT CALLBACK CCustomWnd::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (CWnd* bound = FromHandle(hwnd))
        return RouteMessage(bound, hwnd, msg, wParam, lParam);
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        void* param = create->lpCreateParams;
        if (create->dwExStyle & WS_EX_MDICHILD)
            param = reinterpret_cast<void*>(reinterpret_cast<MDICREATESTRUCTA*>(param)->lParam);
        if (auto* self = static_cast<CCustomWnd*>(param)) {
            self->Bind(hwnd);
            return RouteMessage(self, hwnd, msg, wParam, lParam);
        }
    }
    // Before WM_NCCREATE (WM_GETMINMAXINFO comes first) and after WM_NCDESTROY there is no object.
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}
