#include "controls/ui/item_tip_wnd.h"

#include <string>

#include "controls/popup_layout.h"
#include "framework/ui/gdi.h"
#include "framework/ui/list_box.h"

namespace {

const char kTipClass[] = "QuorItemTip";

// The work area of the monitor that holds `rect`; the full screen when it lies on none.
PopupRect WorkAreaOf(const RECT& rect)
{
    if (HMONITOR monitor = MonitorFromRect(&rect, MONITOR_DEFAULTTONULL)) {
        MONITORINFO info = {};
        info.cbSize = sizeof info;
        if (GetMonitorInfoA(monitor, &info))
            return {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
    }
    return {0, 0, GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYFULLSCREEN)};
}

}  // namespace

bool ItemTipScreenRect(HWND list, int index, const std::string& text, int tabStop, RECT& screen, int textStart)
{
    RECT item = {};
    if (::SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) == LB_ERR)
        return false;
    item.left += textStart;
    CClientDC dc(list);
    CSelectObject font(dc, reinterpret_cast<HFONT>(::SendMessageA(list, WM_GETFONT, 0, 0)));
    DWORD extent = GetTabbedTextExtentA(dc, text.c_str(), static_cast<int>(text.size()), 1, &tabStop);
    RECT tip = item;
    if (item.left + static_cast<LONG>(LOWORD(extent)) + 4 > tip.right)
        tip.right = item.left + LOWORD(extent) + 4;
    if (EqualRect(&tip, &item))
        return false;
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&tip), 2);
    PopupRect placed = ClampHorizontally({tip.left, tip.top, tip.right, tip.bottom}, WorkAreaOf(tip));
    screen = {placed.left, placed.top, placed.right, placed.bottom};
    return true;
}

bool CItemTipWnd::Create(HWND ownerList)
{
    // CS_SAVEBITS: the tip comes and goes over the list often; the system restores what it covered.
    if (!RegisterWindowClass(kTipClass, CS_SAVEBITS | CS_HREDRAW | CS_VREDRAW, nullptr, nullptr))
        return false;
    m_ownerList = ownerList;
    RECT rect = {0, 0, 0, 0};
    return CreateEx(0, kTipClass, "", WS_POPUP | WS_BORDER, rect, ownerList, nullptr);
}

void CItemTipWnd::ShowAt(const RECT& screenRect, int item)
{
    if (item != m_item) {
        m_item = item;
        Invalidate();
    }
    RECT current = GetWindowRect();
    UINT flags = SWP_SHOWWINDOW | SWP_NOACTIVATE;
    if (EqualRect(&current, &screenRect))
        flags |= SWP_NOMOVE | SWP_NOSIZE;
    SetWindowPos(m_hWnd, HWND_TOPMOST, screenRect.left, screenRect.top, screenRect.right - screenRect.left,
                 screenRect.bottom - screenRect.top, flags);
}

void CItemTipWnd::Hide()
{
    if (IsWindow())
        ShowWindow(SW_HIDE);
}

bool CItemTipWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_PAINT:
        Paint();
        return true;
    case WM_ERASEBKGND:
        result = 1;  // WM_PAINT fills the whole client area
        return true;
    case WM_MOUSEACTIVATE:
        result = MA_NOACTIVATE;
        return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: {
        // The tip lies over the item: the click belongs to the list, in the list's coordinates.
        Hide();
        POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        MapWindowPoints(m_hWnd, m_ownerList, &point, 1);
        if (::IsWindow(m_ownerList))
            ::SendMessageA(m_ownerList, msg, 0, MAKELPARAM(point.x, point.y));
        result = 0;
        return true;
    }
    default:
        return false;
    }
}

std::string CItemTipWnd::TextOf(int item) const
{
    if (m_textOf)
        return m_textOf(item);
    return CListBoxHandle(m_ownerList).GetText(item);
}

void CItemTipWnd::Paint()
{
    CPaintDC dc(m_hWnd);
    CListBoxHandle list(m_ownerList);
    // The item may have gone since the tip was shown (deleted, or the list emptied): no text then.
    if (!::IsWindow(m_ownerList) || !IsListItem(m_item, list.GetCount()))
        return;
    int saved = SaveDC(dc);
    SelectObject(dc, reinterpret_cast<HFONT>(list.SendMessage(WM_GETFONT)));
    RECT client = GetClientRect();
    bool highlighted = list.SendMessage(LB_GETSEL, static_cast<WPARAM>(m_item)) > 0;
    if (highlighted) {
        FillRect(dc, &client, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    } else {
        CBrush white(CreateSolidBrush(RGB(255, 255, 255)));
        FillRect(dc, &client, white);
    }
    SetBkMode(dc, TRANSPARENT);
    std::string text = TextOf(m_item);
    int tabStop = m_tabStop;
    TabbedTextOutA(dc, 1, m_textTop - 1, text.c_str(), static_cast<int>(text.size()), 1, &tabStop, -1);
    RestoreDC(dc, saved);
}
