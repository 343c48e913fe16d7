// The base of windows of classes this program registers: frames, MDI frames and children, views.
// All of them share one window procedure, which binds the object passed to CreateWindowEx on
// WM_NCCREATE (for MDI children: the lParam of the MDICREATESTRUCT).
#pragma once
#include "framework/ui/wnd.h"

class CCustomWnd : public CWnd {
public:
    CCustomWnd() = default;
    // Destroys a window that still exists, after unbinding it.
    ~CCustomWnd() override;

    // Registers window class `name` with the shared window procedure, once per process; true when
    // it is registered (also by an earlier call).
    static bool RegisterWindowClass(const char* name, UINT style = CS_DBLCLKS, HICON icon = nullptr,
                                    HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));

    // Creates the window; `className` must be registered by RegisterWindowClass. Returns false when
    // CreateWindowEx fails (GetLastError tells why) or WM_CREATE refused it.
    bool CreateEx(DWORD exStyle, const char* className, const std::string& caption, DWORD style,
                  const RECT& rect, HWND parent, HMENU menuOrId);

    // Set for objects created with new that should delete themselves when their window is destroyed.
    bool m_autoDelete = false;

protected:
    void OnFinalMessage() override;
    LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};
