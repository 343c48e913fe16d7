#include "controls/ui/date_edit.h"

bool CDateEdit::SubclassDlgItem(int id, HWND parent)
{
    if (!CEdit::SubclassDlgItem(id, parent))
        return false;
    ShowDate();
    return true;
}

bool CDateEdit::Create(HWND parent, const RECT& rect, int id, DWORD style)
{
    if (!CreateControl("EDIT", WS_EX_CLIENTEDGE, style | ES_RIGHT | ES_AUTOHSCROLL, rect, parent, id))
        return false;
    ShowDate();
    return true;
}

bool CDateEdit::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_GETDLGCODE: {
        // The dialog would take Enter for its default button: the field wants it, to move on.
        result = DefaultProc(msg, wParam, lParam);
        auto* key = reinterpret_cast<MSG*>(lParam);
        if (key && (key->message == WM_KEYDOWN || key->message == WM_CHAR) &&
            (key->wParam == VK_RETURN || key->wParam == VK_TAB))
            result |= DLGC_WANTMESSAGE;
        return true;
    }
    case WM_CHAR:
        if (wParam == VK_TAB || wParam == VK_RETURN) {
            HWND dialog = ::GetParent(m_hWnd);
            bool back = GetKeyState(VK_SHIFT) < 0;
            if (HWND next = GetNextDlgTabItem(dialog, m_hWnd, back))
                ::SetFocus(next);
            result = 0;
            return true;
        }
        return false;
    default:
        return false;
    }
}

bool CDateEdit::OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg != WM_COMMAND)
        return false;
    switch (HIWORD(wParam)) {
    case EN_CHANGE:
        OnTextChanged();
        break;
    case EN_KILLFOCUS:
        OnFocusLost();
        break;
    default:
        break;
    }
    return false;  // the parent hears of it too
}
