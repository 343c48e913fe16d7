// A control given behaviour of our own: its window procedure is replaced by ours, which offers each
// message to the object's handlers and passes the rest to the control's own procedure. Reflected
// notifications from the parent reach OnReflectedMessage. Works for controls of dialog templates
// and for controls we create.
#pragma once
#include "framework/ui/wnd.h"

class CSubclassedWnd : public CWnd {
public:
    CSubclassedWnd() = default;
    // Gives the control its own procedure back (the control stays: its parent owns it).
    ~CSubclassedWnd() override;

    // False when `hwnd` is null or already has an object.
    bool Subclass(HWND hwnd);
    bool SubclassDlgItem(int id, HWND parent) { return Subclass(::GetDlgItem(parent, id)); }
    // Creates a control of window class `className` as child `id` of `parent` over `rect` and
    // subclasses it; false (and no window) on failure.
    bool CreateControl(const char* className, DWORD exStyle, DWORD style, const RECT& rect, HWND parent, int id);
    void Unsubclass();

protected:
    LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    WNDPROC m_controlProc = nullptr;
};
