#include "controls/ui/color_button.h"

#include <windowsx.h>

#include "controls/color_button_look.h"
#include "controls/ui/color_popup.h"
#include "controls/ui/owner_draw.h"
#include "framework/ui/gdi.h"
#include "resources/main_frame_res.h"

namespace {

constexpr int kBorderPart = 4;           // the combo box's border
constexpr int kDropButtonRightPart = 6;  // its drop button at the right (Windows 6 and later)
constexpr int kDropButtonPart = 1;       // its drop button on older systems
constexpr COLORREF kWhite = RGB(255, 255, 255);

bool IsVersion6OrLater()
{
    static const bool version6 = [] {
        OSVERSIONINFOA info = {sizeof info};
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        GetVersionExA(&info);
#pragma GCC diagnostic pop
        return info.dwMajorVersion > 5;
    }();
    return version6;
}

PopupRect ToPopupRect(const RECT& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

RECT ToRect(const PopupRect& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

CColorButton::CColorButton()
{
    VisualStyles().Load();
    m_arrow.Load(IDB_DROP_ARROW, kWhite);
}

CColorButton::~CColorButton() = default;

// The colour buttons keep their own entry points, apart from the push buttons'.
CVisualStyles& CColorButton::VisualStyles()
{
    static CVisualStyles styles;
    return styles;
}

bool CColorButton::IsThemeActive()
{
    return VisualStyles().IsActive();
}

bool CColorButton::Create(DWORD style, const RECT& rect, HWND parent, UINT id)
{
    return Subclass(CreateOwnerDrawButton("", style, rect, parent, id));
}

bool CColorButton::SubclassButton(HWND button)
{
    if (!Subclass(button))
        return false;
    MakeOwnerDraw(button);
    return true;
}

void CColorButton::SetColor(COLORREF color)
{
    m_color = color;
    if (m_hWnd)
        Invalidate(false);
}

void CColorButton::SetAutomaticIsFace(bool face)
{
    m_automaticIsFace = face;
    if (m_hWnd)
        Invalidate(false);
}

void CColorButton::SetCaption(const std::string& caption)
{
    m_caption = caption;
    if (m_hWnd)
        Invalidate(false);
}

void CColorButton::SetPressed(bool pressed)
{
    m_pushedIn = pressed;
    if (m_hWnd)
        Invalidate(false);
}

COLORREF CColorButton::ShownColor() const
{
    if (m_color != static_cast<COLORREF>(-1))
        return m_color;
    return GetSysColor(m_automaticIsFace ? COLOR_BTNFACE : COLOR_WINDOWTEXT);
}

bool CColorButton::IsOnArrow(LPARAM point) const
{
    return color_button::IsOnArrow(ToPopupRect(GetClientRect()), GET_X_LPARAM(point), GET_Y_LPARAM(point));
}

bool CColorButton::OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg != WM_DRAWITEM)
        return false;
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    result = TRUE;
    return true;
}

bool CColorButton::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // The button never sees the press, so it never clicks by itself: only the arrow asks the
        // owner for the popup.
        if (IsOnArrow(lParam)) {
            SetFocus();
            ::PostMessageA(::GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED),
                           reinterpret_cast<LPARAM>(m_hWnd));
        }
        result = 0;
        return true;
    case WM_CHAR:
    case WM_KEYDOWN:
    case WM_KEYUP:
        // A button clicks on the space bar's release after its press; neither reaches it.
        if (wParam == VK_SPACE) {
            result = 0;
            return true;
        }
        return false;
    case WM_MOUSEMOVE:
        if (VisualStyles().IsUsable()) {
            const bool arrowHot = IsOnArrow(lParam);
            if (!m_hot) {
                TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, m_hWnd, HOVER_DEFAULT};
                TrackMouseEvent(&track);
            }
            if (!m_hot || arrowHot != m_arrowHot) {
                m_hot = true;
                m_arrowHot = arrowHot;
                Invalidate(false);
            }
        }
        return false;
    case WM_MOUSELEAVE:
        if (m_hot || m_arrowHot) {
            m_hot = false;
            m_arrowHot = false;
            Invalidate(false);
        }
        return false;
    default:
        return false;
    }
}

void CColorButton::DrawItem(const DRAWITEMSTRUCT& item)
{
    if (!IsThemeActive() || !DrawThemed(item))
        DrawClassic(item);
}

void CColorButton::DrawSwatchAndCaption(HDC dc, const RECT& swatch, const RECT& caption)
{
    if (swatch.right > swatch.left) {
        FrameSysColors(dc, swatch, COLOR_3DDKSHADOW, COLOR_3DDKSHADOW);
        RECT inside = swatch;
        InflateRect(&inside, -1, -1);
        if (inside.right > inside.left && inside.bottom > inside.top) {
            CBrush brush(CreateSolidBrush(ShownColor()));
            FillRect(dc, &inside, brush);
        }
    }
    if (m_caption.empty() || caption.right <= caption.left)
        return;
    HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    CSelectObject selected(dc, font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(::IsWindowEnabled(m_hWnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    RECT text = caption;
    DrawTextA(dc, m_caption.c_str(), static_cast<int>(m_caption.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void CColorButton::DrawClassic(const DRAWITEMSTRUCT& item)
{
    HDC dc = item.hDC;
    const RECT client = item.rcItem;
    const color_button::Layout layout = color_button::LayOutClassic(ToPopupRect(client), !m_caption.empty());
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    FrameSysColors(dc, client, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT);

    RECT arrow = ToRect(layout.arrow);
    FillRect(dc, &arrow, GetSysColorBrush(COLOR_BTNFACE));
    const bool sunken = (item.itemState & ODS_SELECTED) || m_pushedIn;
    RECT inner = arrow;
    InflateRect(&inner, -1, -1);
    if (sunken) {
        FrameSysColors(dc, arrow, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
    } else {
        FrameSysColors(dc, arrow, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW);
        FrameSysColors(dc, inner, COLOR_BTNFACE, COLOR_BTNSHADOW);
    }
    if (!m_arrow.IsEmpty()) {
        const SIZE size = m_arrow.GetSize();
        const int shift = sunken ? 1 : 0;
        m_arrow.Draw(dc, arrow.left + (arrow.right - arrow.left - size.cx) / 2 + shift,
                     arrow.top + (arrow.bottom - arrow.top - size.cy) / 2 + shift);
    }
    if (item.itemState & ODS_FOCUS) {
        RECT focus = inner;
        InflateRect(&focus, -1, -1);
        DrawFocusRect(dc, &focus);
    }
    DrawSwatchAndCaption(dc, ToRect(layout.swatch), ToRect(layout.caption));
}

bool CColorButton::DrawThemed(const DRAWITEMSTRUCT& item)
{
    CVisualStyles& styles = VisualStyles();
    CVisualStyles::HTheme theme = styles.m_openThemeData(m_hWnd, L"ComboBox");
    if (!theme)
        return false;
    HDC dc = item.hDC;
    const RECT client = item.rcItem;
    const bool version6 = IsVersion6OrLater();
    const color_button::Layout layout =
        color_button::LayOutThemed(ToPopupRect(client), !m_caption.empty(), version6);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    styles.m_drawThemeBackground(theme, dc, kBorderPart, m_hot ? 2 : 1, &client, nullptr);
    RECT drop = ToRect(layout.arrow);
    styles.m_drawThemeBackground(theme, dc, version6 ? kDropButtonRightPart : kDropButtonPart,
                                 m_arrowHot || m_pushedIn ? 2 : 1, &drop, nullptr);
    styles.m_closeThemeData(theme);
    DrawSwatchAndCaption(dc, ToRect(layout.swatch), ToRect(layout.caption));
    return true;
}

bool CColorButton::RunPopup(int automaticMode, COLORREF& customColor)
{
    CColorPopup popup(::GetParent(m_hWnd));
    ::GetWindowRect(m_hWnd, &popup.m_anchor);
    popup.m_automaticMode = automaticMode;
    popup.m_initialColor = m_color;
    popup.m_customColor = customColor;
    SetPressed(true);
    const INT_PTR end = popup.DoModal();
    SetPressed(false);
    if (end == IDCANCEL || end < 0)
        return false;
    customColor = popup.m_customColor;
    SetColor(popup.GetColor());
    return true;
}
