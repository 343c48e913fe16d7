#include "article/ui/article_header.h"

#include "framework/string_table.h"
#include "resources/article_res.h"

namespace {

// Tab in WM_CHAR goes to the view; true when it was used.
bool HandleTab(const ArticleHeaderHooks* hooks, HWND control, WPARAM ch)
{
    if (ch != VK_TAB || !hooks || !hooks->tab)
        return false;
    hooks->tab(control, GetKeyState(VK_SHIFT) < 0);
    return true;
}

void ShowPrompt(const ArticleHeaderHooks* hooks, int id)
{
    if (hooks && hooks->statusText)
        hooks->statusText(QuorLoadString(id));
}

// WM_CONTEXTMENU or a right button release: the control takes the focus and the view shows its menu.
bool HandleContextMenu(const ArticleHeaderHooks* hooks, HWND control, UINT msg, LPARAM lParam)
{
    if (!hooks || !hooks->contextMenu)
        return false;
    POINT screen = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (msg == WM_RBUTTONUP)
        ClientToScreen(control, &screen);
    SetFocus(control);
    hooks->contextMenu(control, screen);
    return true;
}

}  // namespace

bool CArticleTitleBox::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_GETDLGCODE:
        result = DefaultProc(msg, wParam, lParam) | DLGC_WANTALLKEYS;
        return true;
    case WM_CHAR:
        if (HandleTab(m_hooks, m_hWnd, wParam)) {
            result = 0;
            return true;
        }
        if (wParam == VK_RETURN) {
            SetSel(-1, 0);
            SendMessage(EM_SCROLLCARET);
            if (m_hooks && m_hooks->titleEnter)
                m_hooks->titleEnter();
            result = 0;
            return true;
        }
        return false;
    case WM_MOUSEMOVE:
        ShowPrompt(m_hooks, IDS_ARTICLE_TITLE_PROMPT);
        return false;
    case WM_CONTEXTMENU:
    case WM_RBUTTONUP:
        result = 0;
        return HandleContextMenu(m_hooks, m_hWnd, msg, lParam);
    default:
        return false;
    }
}

bool CArticleDateBox::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_CHAR:
        if (HandleTab(m_hooks, m_hWnd, wParam)) {
            result = 0;
            return true;
        }
        if (wParam == VK_RETURN) {
            result = 0;
            return true;
        }
        return CDateEdit::OnMessage(msg, wParam, lParam, result);
    case WM_MOUSEMOVE:
        ShowPrompt(m_hooks, IDS_ARTICLE_DATE_PROMPT);
        return false;
    case WM_CONTEXTMENU:
    case WM_RBUTTONUP:
        result = 0;
        return HandleContextMenu(m_hooks, m_hWnd, msg, lParam);
    default:
        return CDateEdit::OnMessage(msg, wParam, lParam, result);
    }
}

void CArticleTimeCtrl::SetTime(int seconds, bool edited)
{
    SetSecondsOfDay(seconds);
    m_edited = m_edited || edited;
}

bool CArticleTimeCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_CHAR:
        if (HandleTab(m_hooks, m_hWnd, wParam)) {
            result = 0;
            return true;
        }
        m_edited = true;
        return false;
    case WM_SETFOCUS:
        if (m_hooks && m_hooks->timeFocus)
            m_hooks->timeFocus();
        return false;
    case WM_MOUSEMOVE:
        ShowPrompt(m_hooks, IDS_ARTICLE_TIME_PROMPT);
        return false;
    case WM_CONTEXTMENU:
        result = 0;
        return HandleContextMenu(m_hooks, m_hWnd, msg, lParam);
    default:
        return false;
    }
}

bool CArticleTimeCtrl::OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == DTN_DATETIMECHANGE)
        m_edited = true;
    return false;  // the view hears of it too
}

bool CArticleHeaderButton::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == WM_CHAR && HandleTab(m_hooks, m_hWnd, wParam)) {
        result = 0;
        return true;
    }
    return CThemedButton::OnMessage(msg, wParam, lParam, result);
}
