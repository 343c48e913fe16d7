#include "controls/ui/color_popup.h"

#include <windowsx.h>

#include "controls/ui/owner_draw.h"
#include "framework/string_table.h"
#include "framework/ui/common_dialogs.h"
#include "framework/ui/gdi.h"
#include "resources/main_frame_res.h"

using namespace color_popup;

namespace {

RECT ToRect(const PopupRect& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

RECT ChildRect(HWND dialog, int id)
{
    RECT rect = {};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace

CColorPopup::CColorPopup(HWND parent) : CDialog(IDD_COLOR_POPUP, parent) {}
CColorPopup::~CColorPopup() = default;

COLORREF CColorPopup::GetColor() const
{
    return ColorOfItem(m_choice, m_customColor);
}

COLORREF CColorPopup::AutomaticColor() const
{
    switch (m_automaticMode) {
    case 1:
        return GetSysColor(COLOR_BTNFACE);
    case 2:
        return GetSysColor(COLOR_WINDOW);
    default:
        return GetSysColor(COLOR_WINDOWTEXT);
    }
}

bool CColorPopup::OnInitDialog()
{
    m_otherButton.SubclassButton(GetDlgItem(IDC_COLOR_OTHER));
    RECT grid = ChildRect(m_hWnd, IDC_COLOR_GRID);
    m_cells = LayOutCells({grid.left, grid.top, grid.right, grid.bottom});
    m_automatic = ChildRect(m_hWnd, IDC_COLOR_AUTOMATIC);
    m_other = ChildRect(m_hWnd, IDC_COLOR_OTHER);
    RECT swatch = ChildRect(m_hWnd, IDC_COLOR_CUSTOM);
    m_custom = ToRect(CustomSwatch({swatch.left, swatch.top, swatch.right, swatch.bottom}, m_cells.size,
                                   m_other.bottom - m_other.top));
    // The areas are only places; the popup paints them itself.
    for (int id : {IDC_COLOR_GRID, IDC_COLOR_AUTOMATIC, IDC_COLOR_CUSTOM})
        ::ShowWindow(::GetDlgItem(m_hWnd, id), SW_HIDE);

    // Under the button, inside the work area of its monitor.
    RECT window = GetWindowRect();
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    PopupRect work{0, 0, GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYFULLSCREEN)};
    if (GetMonitorInfoA(MonitorFromRect(&m_anchor, MONITOR_DEFAULTTONEAREST), &monitor))
        work = {monitor.rcWork.left, monitor.rcWork.top, monitor.rcWork.right, monitor.rcWork.bottom};
    PopupRect placed = PlacePopup({m_anchor.left, m_anchor.top, m_anchor.right, m_anchor.bottom},
                                  window.right - window.left, window.bottom - window.top, work);
    ::SetWindowPos(m_hWnd, nullptr, placed.left, placed.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

    InitialChoice initial = ChooseInitial(m_initialColor, m_customColor);
    m_choice = initial.choice;
    m_customColor = initial.custom;
    m_focusItem = kItemOther;
    m_otherButton.SetStates(false, true, false);
    SetCapture();
    SetFocus();
    return false;
}

RECT CColorPopup::ItemRect(int item) const
{
    if (item >= 0 && item < kCells)
        return ToRect(m_cells.Cell(item));
    switch (item) {
    case kItemAutomatic:
        return m_automatic;
    case kItemCustom:
        return m_custom;
    case kItemOther:
        return m_other;
    default:
        return RECT{};
    }
}

int CColorPopup::ItemAt(POINT client) const
{
    for (int item = kItemOther; item < kCells; ++item) {
        RECT rect = ItemRect(item);
        if (PtInRect(&rect, client))
            return item;
    }
    return kItemNone;
}

void CColorPopup::DrawItemFrame(HDC dc, int item)
{
    if (item == kItemOther || item == kItemNone)
        return;
    RECT rect = ItemRect(item);
    RECT outer = rect, middle = rect, inner = rect;
    InflateRect(&outer, 3, 3);
    InflateRect(&middle, 2, 2);
    InflateRect(&inner, 1, 1);
    if (item == m_hotItem)
        FrameSysColors(dc, outer, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
    else
        FrameSysColors(dc, outer, COLOR_BTNFACE, COLOR_BTNFACE);
    if (item == m_choice || (item == m_hotItem && m_pressed)) {
        FrameSysColors(dc, middle, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
        FrameSysColors(dc, inner, COLOR_3DDKSHADOW, COLOR_3DLIGHT);
    } else {
        FrameSysColors(dc, middle, COLOR_BTNFACE, COLOR_BTNFACE);
        FrameSysColors(dc, inner, COLOR_BTNFACE, COLOR_BTNFACE);
    }
}

void CColorPopup::Paint(HDC dc)
{
    RECT client = GetClientRect();
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    // Automatic: its text and a small swatch of the automatic colour.
    FrameRect(dc, &m_automatic, GetSysColorBrush(COLOR_BTNSHADOW));
    const int side = m_automatic.bottom - m_automatic.top - 8;
    RECT autoSwatch = {m_automatic.left + 8, m_automatic.top + 4, m_automatic.left + 8 + side, m_automatic.top + 4 + side};
    CBrush automatic(CreateSolidBrush(AutomaticColor()));
    FillRect(dc, &autoSwatch, automatic);
    FrameRect(dc, &autoSwatch, GetSysColorBrush(COLOR_BTNSHADOW));
    HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    CSelectObject selectFont(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    std::string text = QuorLoadString(IDS_COLOR_AUTOMATIC);
    RECT textRect = m_automatic;
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &textRect, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    // The custom swatch, then the cells.
    const bool noCustom = m_customColor == kAutomatic || m_customColor == static_cast<COLORREF>(-2);
    CBrush custom(CreateSolidBrush(noCustom ? AutomaticColor() : m_customColor));
    FillRect(dc, &m_custom, custom);
    FrameRect(dc, &m_custom, GetSysColorBrush(COLOR_BTNSHADOW));
    for (int cell = 0; cell < kCells; ++cell) {
        RECT rect = ItemRect(cell);
        CBrush brush(CreateSolidBrush(kPalette[cell]));
        FillRect(dc, &rect, brush);
        FrameRect(dc, &rect, GetSysColorBrush(COLOR_BTNSHADOW));
    }
    for (int item = kItemCustom; item < kCells; ++item)
        DrawItemFrame(dc, item);
}

void CColorPopup::SetFocusItem(int item)
{
    const int old = m_focusItem;
    m_focusItem = item;
    m_hotItem = item;
    CClientDC dc(m_hWnd);
    if (old != item)
        DrawItemFrame(dc, old);
    DrawItemFrame(dc, item);
    m_otherButton.SetStates(item == kItemOther && m_hotItem == kItemOther && !m_buttonPressed, item == kItemOther,
                            m_buttonPressed && m_pressed);
}

void CColorPopup::Choose(int item)
{
    if (item == kItemOther) {
        OpenColorDialog();
        return;
    }
    if (item == kItemNone) {
        EndDialog(kEndCancel);
        return;
    }
    m_choice = item;
    if (GetCapture() == m_hWnd)
        ReleaseCapture();
    EndDialog(EndCodeOfItem(item));
}

bool CColorPopup::RunColorDialog(COLORREF& color)
{
    CColorDialog dialog(color, m_hWnd);
    dialog.m_flags = CC_FULLOPEN;
    if (dialog.DoModal() != IDOK)
        return false;
    color = dialog.m_color;
    return true;
}

void CColorPopup::OpenColorDialog()
{
    m_otherButton.SetStates(false, m_focusItem == kItemOther, false);
    m_pressed = m_buttonPressed = false;
    if (GetCapture() == m_hWnd)
        ReleaseCapture();
    COLORREF color = m_customColor == kAutomatic ? 0 : m_customColor;
    m_inColorDialog = true;
    const bool chosen = RunColorDialog(color);
    m_inColorDialog = false;
    if (chosen) {
        m_customColor = color;
        m_choice = kItemCustom;
        EndDialog(kEndCustom);
        return;
    }
    // Cancelled: the popup goes on, holding the mouse again.
    SetCapture();
    SetFocus();
}

void CColorPopup::OnMouse(UINT msg, POINT client)
{
    const int item = ItemAt(client);
    switch (msg) {
    case WM_MOUSEMOVE:
        if (item != kItemNone) {
            int oldHot = m_hotItem;
            m_hotItem = kItemNone;
            if (oldHot != kItemNone && oldHot != item) {
                CClientDC dc(m_hWnd);
                DrawItemFrame(dc, oldHot);
            }
            SetFocusItem(item);
        } else if (m_hotItem != kItemNone) {
            int oldHot = m_hotItem;
            m_hotItem = kItemNone;
            CClientDC dc(m_hWnd);
            DrawItemFrame(dc, oldHot);
            m_otherButton.SetStates(false, m_focusItem == kItemOther, false);
        }
        break;
    case WM_LBUTTONDOWN: {
        m_pressed = true;
        const int oldHot = m_hotItem, oldFocus = m_focusItem;
        m_hotItem = kItemNone;
        m_focusItem = kItemNone;
        CClientDC dc(m_hWnd);
        DrawItemFrame(dc, oldHot);
        DrawItemFrame(dc, oldFocus);
        m_buttonPressed = item == kItemOther;
        if (item != kItemNone)
            SetFocusItem(item);
        break;
    }
    case WM_LBUTTONUP: {
        const bool wasPressed = m_pressed;
        m_pressed = false;
        if (item == kItemOther) {
            m_buttonPressed = false;
            OpenColorDialog();
        } else if (item != kItemNone) {
            Choose(item);
        } else {
            RECT clientRect = GetClientRect();
            m_buttonPressed = false;
            if (wasPressed && !PtInRect(&clientRect, client)) {
                if (GetCapture() == m_hWnd)
                    ReleaseCapture();
                EndDialog(kEndCancel);
            }
        }
        break;
    }
    default:
        break;
    }
}

bool CColorPopup::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_PAINT: {
        CPaintDC dc(m_hWnd);
        Paint(dc);
        result = 0;
        return true;
    }
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_GETDLGCODE:
        // The arrow keys, Enter and Esc come to the popup instead of moving between controls.
        result = DLGC_WANTALLKEYS | DLGC_WANTARROWS;
        return true;
    case WM_KEYDOWN:
        switch (wParam) {
        case VK_LEFT:
        case VK_UP:
            SetFocusItem(StepItem(m_focusItem, -1));
            return true;
        case VK_RIGHT:
        case VK_DOWN:
            SetFocusItem(StepItem(m_focusItem, +1));
            return true;
        case VK_RETURN:
            Choose(m_focusItem);
            return true;
        case VK_ESCAPE:
            OnCancel();
            return true;
        default:
            return false;
        }
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: {
        if (m_inColorDialog)
            return false;
        POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        OnMouse(msg, point);
        result = 0;
        return true;
    }
    default:
        return false;
    }
}

void CColorPopup::OnOK()
{
    Choose(m_focusItem);
}

void CColorPopup::OnCancel()
{
    if (GetCapture() == m_hWnd)
        ReleaseCapture();
    EndDialog(kEndCancel);
}

bool CColorPopup::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    if (id == IDC_COLOR_OTHER && code == BN_CLICKED) {
        OpenColorDialog();
        return true;
    }
    return CDialog::OnCommand(id, code, control, result);
}
