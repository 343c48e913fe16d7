#include "framework/ui/wnd.h"

#include "framework/callback_exceptions.h"

#include <string>

CWnd::~CWnd()
{
    if (m_hWnd && FromHandle(m_hWnd) == this)
        Unbind();
}

CWnd* CWnd::FromHandle(HWND hwnd)
{
    return hwnd ? reinterpret_cast<CWnd*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)) : nullptr;
}

void CWnd::Bind(HWND hwnd)
{
    m_hWnd = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void CWnd::Unbind()
{
    SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, 0);
    m_hWnd = nullptr;
}

bool CWnd::ReflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    HWND child = nullptr;
    switch (msg) {
    case WM_COMMAND:
        child = reinterpret_cast<HWND>(lParam);  // null for menus and accelerators
        break;
    case WM_NOTIFY:
        child = reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
        break;
    case WM_DRAWITEM:
        // Menus are owner-drawn with CtlType ODT_MENU and carry no control window.
        if (reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->CtlType != ODT_MENU)
            child = reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem;
        break;
    case WM_MEASUREITEM: {
        // Arrives while a fixed-height owner-drawn control is being created, before it can be bound;
        // then there is no object and the parent handles it.
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (measure->CtlType != ODT_MENU)
            child = ::GetDlgItem(m_hWnd, static_cast<int>(measure->CtlID));
        break;
    }
    case WM_COMPAREITEM:
        child = reinterpret_cast<COMPAREITEMSTRUCT*>(lParam)->hwndItem;
        break;
    case WM_DELETEITEM:
        child = reinterpret_cast<DELETEITEMSTRUCT*>(lParam)->hwndItem;
        break;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        child = reinterpret_cast<HWND>(lParam);
        break;
    default:
        return false;
    }
    CWnd* object = FromHandle(child);
    return object && object != this && object->OnReflectedMessage(msg, wParam, lParam, result);
}

bool CWnd::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (ReflectToChild(msg, wParam, lParam, result))
        return true;
    switch (msg) {
    case WM_CREATE:
        return OnCreate(reinterpret_cast<CREATESTRUCTA*>(lParam), result);
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam), result);
    case WM_NOTIFY:
        return OnNotify(reinterpret_cast<NMHDR*>(lParam), result);
    case WM_SIZE:
        return OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam), result);
    case WM_TIMER:
        return OnTimer(wParam, result);
    case WM_CLOSE:
        return OnClose(result);
    case WM_DESTROY:
        return OnDestroy(result);
    case WM_INITMENUPOPUP:
        return OnInitMenuPopup(reinterpret_cast<HMENU>(wParam), LOWORD(lParam), HIWORD(lParam) != 0, result);
    default:
        return OnMessage(msg, wParam, lParam, result);
    }
}

LRESULT CWnd::RouteMessage(CWnd* self, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    try {
        if (!self->Dispatch(msg, wParam, lParam, result))
            result = self->DefaultProc(msg, wParam, lParam);
    } catch (...) {
        ReportCallbackException("window procedure");
    }
    if (msg == WM_NCDESTROY)
        self->EndOfWindow();
    return result;
}

void CWnd::EndOfWindow()
{
    // The window is gone: unbind even when a handler threw, then let the object end itself.
    Unbind();
    try {
        OnFinalMessage();
    } catch (...) {
        ReportCallbackException("final message");
    }
}
