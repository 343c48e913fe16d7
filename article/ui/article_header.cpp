#include "article/ui/article_header.h"

#include "framework/string_table.h"
#include "resources/article_res.h"

namespace {

// What every header control does alike: Tab in WM_CHAR goes to the view, the mouse shows the
// control's prompt (`promptId`, 0 for none) and the context menu goes to the view after the control
// took the focus (with `rightButton` also on a right button release). True when the message was used.
bool HeaderMessage(const ArticleHeaderHooks* hooks, HWND control, UINT msg, WPARAM wParam, LPARAM lParam,
                   int promptId, bool rightButton, LRESULT& result)
{
    if (!hooks)
        return false;
    switch (msg) {
    case WM_CHAR:
        if (wParam != VK_TAB || !hooks->tab)
            return false;
        hooks->tab(control, GetKeyState(VK_SHIFT) < 0);
        result = 0;
        return true;
    case WM_MOUSEMOVE:
        if (promptId && hooks->statusText)
            hooks->statusText(QuorLoadString(promptId));
        return false;
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU: {
        if ((msg == WM_RBUTTONUP && !rightButton) || !hooks->contextMenu)
            return false;
        POINT screen = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (msg == WM_RBUTTONUP)
            ClientToScreen(control, &screen);
        SetFocus(control);
        hooks->contextMenu(control, screen);
        result = 0;
        return true;
    }
    default:
        return false;
    }
}

}  // namespace

bool CArticleTitleBox::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (HeaderMessage(m_hooks, m_hWnd, msg, wParam, lParam, IDS_ARTICLE_TITLE_PROMPT, true, result))
        return true;
    if (msg == WM_GETDLGCODE) {
        result = DefaultProc(msg, wParam, lParam) | DLGC_WANTALLKEYS;
        return true;
    }
    if (msg == WM_CHAR && wParam == VK_RETURN) {
        SetSel(-1, 0);
        SendMessage(EM_SCROLLCARET);
        if (m_hooks && m_hooks->titleEnter)
            m_hooks->titleEnter();
        result = 0;
        return true;
    }
    return false;
}

bool CArticleDateBox::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (HeaderMessage(m_hooks, m_hWnd, msg, wParam, lParam, IDS_ARTICLE_DATE_PROMPT, true, result))
        return true;
    if (msg == WM_CHAR && wParam == VK_RETURN) {
        result = 0;  // a multi-line edit would start a new line
        return true;
    }
    return CDateEdit::OnMessage(msg, wParam, lParam, result);
}

void CArticleTimeCtrl::SetTime(int seconds, bool edited)
{
    SetSecondsOfDay(seconds);
    m_edited = m_edited || edited;
}

bool CArticleTimeCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (HeaderMessage(m_hooks, m_hWnd, msg, wParam, lParam, IDS_ARTICLE_TIME_PROMPT, false, result))
        return true;
    if (msg == WM_CHAR)
        m_edited = true;
    else if (msg == WM_SETFOCUS && m_hooks && m_hooks->timeFocus)
        m_hooks->timeFocus();
    return false;
}

bool CArticleTimeCtrl::OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == DTN_DATETIMECHANGE)
        m_edited = true;
    return false;  // the view hears of it too
}

bool CArticleHeaderButton::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == WM_CHAR && HeaderMessage(m_hooks, m_hWnd, msg, wParam, lParam, 0, false, result))
        return true;
    return CThemedButton::OnMessage(msg, wParam, lParam, result);
}
