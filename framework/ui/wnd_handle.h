// A borrowed window handle: forwards calls to the window and never destroys it. Copy it freely.
#pragma once
#include <windows.h>

#include <string>

class CWndHandle {
public:
    CWndHandle(HWND hwnd = nullptr) : m_hWnd(hwnd) {}
    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageA(m_hWnd, msg, wParam, lParam);
    }
    bool PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageA(m_hWnd, msg, wParam, lParam) != FALSE;
    }

    // The text of the window (or control); empty on failure.
    std::string GetWindowText() const
    {
        int length = ::GetWindowTextLengthA(m_hWnd);
        std::string text(length > 0 ? static_cast<size_t>(length) + 1 : 1, '\0');
        int copied = ::GetWindowTextA(m_hWnd, &text[0], static_cast<int>(text.size()));
        text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
        return text;
    }
    bool SetWindowText(const std::string& text) const { return ::SetWindowTextA(m_hWnd, text.c_str()) != FALSE; }

    CWndHandle GetDlgItem(int id) const { return CWndHandle(::GetDlgItem(m_hWnd, id)); }
    std::string GetDlgItemText(int id) const { return GetDlgItem(id).GetWindowText(); }
    bool SetDlgItemText(int id, const std::string& text) const
    {
        return ::SetDlgItemTextA(m_hWnd, id, text.c_str()) != FALSE;
    }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    CWndHandle GetParent() const { return CWndHandle(::GetParent(m_hWnd)); }

    void EnableWindow(bool enable = true) const { ::EnableWindow(m_hWnd, enable); }
    bool IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd) != FALSE; }
    void ShowWindow(int command) const { ::ShowWindow(m_hWnd, command); }
    bool IsWindowVisible() const { return ::IsWindowVisible(m_hWnd) != FALSE; }
    bool IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }
    bool DestroyWindow() const { return ::DestroyWindow(m_hWnd) != FALSE; }
    HWND SetFocus() const { return ::SetFocus(m_hWnd); }
    bool Invalidate(bool erase = true) const { return ::InvalidateRect(m_hWnd, nullptr, erase) != FALSE; }
    bool UpdateWindow() const { return ::UpdateWindow(m_hWnd) != FALSE; }
    bool MoveWindow(int x, int y, int width, int height, bool repaint = true) const
    {
        return ::MoveWindow(m_hWnd, x, y, width, height, repaint) != FALSE;
    }
    RECT GetClientRect() const
    {
        RECT rect = {};
        ::GetClientRect(m_hWnd, &rect);
        return rect;
    }
    RECT GetWindowRect() const
    {
        RECT rect = {};
        ::GetWindowRect(m_hWnd, &rect);
        return rect;
    }
    // Centres this window over `other`, or over the work area when `other` is null or hidden.
    void CenterWindow(HWND other = nullptr) const;

    LONG_PTR GetStyle() const { return ::GetWindowLongPtrA(m_hWnd, GWL_STYLE); }
    HMENU GetMenu() const { return ::GetMenu(m_hWnd); }

    UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs) const { return ::SetTimer(m_hWnd, id, elapseMs, nullptr); }
    bool KillTimer(UINT_PTR id) const { return ::KillTimer(m_hWnd, id) != FALSE; }
    HWND SetCapture() const { return ::SetCapture(m_hWnd); }

    HWND m_hWnd;
};

inline void CWndHandle::CenterWindow(HWND other) const
{
    RECT area;
    if (other && ::IsWindowVisible(other) && !::IsIconic(other))
        ::GetWindowRect(other, &area);
    else
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT own = GetWindowRect();
    int width = own.right - own.left;
    int height = own.bottom - own.top;
    int x = area.left + (area.right - area.left - width) / 2;
    int y = area.top + (area.bottom - area.top - height) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
