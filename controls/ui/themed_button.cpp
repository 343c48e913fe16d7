#include "controls/ui/themed_button.h"

#include <new>
#include <string>
#include <vector>

#include "controls/button_look.h"
#include "controls/ui/owner_draw.h"
#include "controls/ui/visual_styles.h"

namespace {

constexpr int kPushButtonPart = 1;

std::wstring Widen(const std::string& text)
{
    int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

}  // namespace

CThemedButton::CThemedButton()
{
    ButtonVisualStyles().Load();
}

CThemedButton::~CThemedButton() = default;

bool CThemedButton::IsThemeActive()
{
    return ButtonVisualStyles().IsActive();
}

void CThemedButton::FreeThemeLibrary()
{
    ButtonVisualStyles().Free();
}

bool CThemedButton::Create(const std::string& caption, DWORD style, const RECT& rect, HWND parent, UINT id)
{
    return Subclass(CreateOwnerDrawButton(caption, style, rect, parent, id));
}

bool CThemedButton::SubclassButton(HWND button)
{
    if (!Subclass(button))
        return false;
    MakeOwnerDraw(button);
    return true;
}

void CThemedButton::SetBitmap(int id, COLORREF transparent)
{
    m_image.reset(new (std::nothrow) CMaskedBitmap);
    if (m_image)
        m_image->Load(id, transparent);
}

void CThemedButton::SetSecondBitmap(int id, COLORREF transparent)
{
    m_secondImage.reset(new (std::nothrow) CMaskedBitmap);
    if (m_secondImage)
        m_secondImage->Load(id, transparent);
}

SIZE CThemedButton::GetImageSize() const
{
    return m_image ? m_image->GetSize() : SIZE{0, 0};
}

void CThemedButton::SetStates(bool hot, bool defaultLook, bool pushedIn)
{
    if (hot == m_hot && defaultLook == m_defaultLook && pushedIn == m_pushedIn)
        return;
    m_hot = hot;
    m_defaultLook = defaultLook;
    m_pushedIn = pushedIn;
    RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

HFONT CThemedButton::Font() const
{
    HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

bool CThemedButton::OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg != WM_DRAWITEM)
        return false;
    ++m_drawCount;
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    result = TRUE;
    return true;
}

bool CThemedButton::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == WM_MOUSEMOVE && IsThemeActive() && !m_hot) {
        m_hot = true;
        Invalidate();
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, m_hWnd, HOVER_DEFAULT};
        TrackMouseEvent(&track);
    } else if (msg == WM_MOUSELEAVE && m_hot) {
        m_hot = false;
        Invalidate();
    }
    return false;
}

void CThemedButton::DrawItem(const DRAWITEMSTRUCT& item)
{
    if (IsThemeActive())
        DrawThemed(item);
    else
        DrawClassic(item);
}

void CThemedButton::DrawThemed(const DRAWITEMSTRUCT& item)
{
    CVisualStyles& styles = ButtonVisualStyles();
    CVisualStyles::HTheme theme = styles.m_openThemeData(m_hWnd, L"BUTTON");
    if (!theme) {
        DrawClassic(item);
        return;
    }
    button_look::Flags flags;
    flags.hot = m_hot;
    flags.focused = (item.itemState & ODS_FOCUS) != 0;
    flags.defaultLook = m_defaultLook;
    flags.selected = (item.itemState & ODS_SELECTED) != 0;
    flags.pushedIn = m_pushedIn;
    flags.disabled = (item.itemState & ODS_DISABLED) != 0;
    const int state = button_look::ThemedState(flags);
    const CMaskedBitmap* picture = m_image.get();
    if (flags.disabled && m_secondImage)
        picture = m_secondImage.get();
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    styles.m_drawThemeBackground(theme, dc, kPushButtonPart, state, &rect, nullptr);
    RECT caption = rect;
    DWORD format = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
    if (picture && !picture->IsEmpty()) {
        SIZE size = picture->GetSize();
        const int width = rect.right - rect.left;
        const int y = rect.top + (rect.bottom - rect.top - size.cy) / 2;
        int x;
        if (m_imageCentered || m_imageLeft) {
            x = rect.left + button_look::PictureLeft(width, size.cx, m_imageCentered, m_imageLeft);
            picture->Draw(dc, x, y);
        } else {
            x = rect.right - 7;
            picture->Draw(dc, x, y, true);
            x -= size.cx;
        }
        // A picture at the left leaves the caption the room after it.
        caption.left = m_imageLeft && !m_imageCentered ? x + size.cx + 6 : rect.left + 6;
        if (!m_imageLeft || m_imageCentered)
            caption.right = x;
        format = DT_SINGLELINE | DT_VCENTER;
    }
    std::wstring text = Widen(GetWindowText());
    CSelectObject font(dc, Font());
    styles.m_drawThemeText(theme, dc, kPushButtonPart, state, text.c_str(), static_cast<int>(text.size()), format, 0,
                           &caption);
    styles.m_closeThemeData(theme);
}

void CThemedButton::DrawClassic(const DRAWITEMSTRUCT& item)
{
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) || m_pushedIn;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const bool focusLook = (item.itemState & ODS_FOCUS) || m_defaultLook;
    FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
    CSelectObject font(dc, Font());
    const CMaskedBitmap* picture = m_image.get();
    if (disabled && m_secondImage)
        picture = m_secondImage.get();
    const bool hasPicture = picture && !picture->IsEmpty();
    const SIZE size = hasPicture ? picture->GetSize() : SIZE{0, 0};

    std::string text = GetWindowText();
    SIZE extent = {};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    RECT caption = rect;
    caption.top = rect.top + (rect.bottom - rect.top - extent.cy) / 2;
    UINT format = DT_SINGLELINE | DT_CENTER;
    if (hasPicture) {
        format = DT_SINGLELINE;
        caption.left = rect.left + (m_imageLeft ? size.cx + 6 : 6);
    }
    if (pressed)
        OffsetRect(&caption, 1, 1);
    SetBkMode(dc, TRANSPARENT);
    if (disabled) {
        RECT raised = caption;
        OffsetRect(&raised, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &raised, format);
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    } else {
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    }
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &caption, format);

    if (hasPicture) {
        const int width = rect.right - rect.left;
        int y = rect.top + (rect.bottom - rect.top - size.cy) / 2 + (pressed ? 2 : 0);
        if (m_imageCentered || m_imageLeft) {
            int x = rect.left + button_look::PictureLeft(width, size.cx, m_imageCentered, m_imageLeft) + (pressed ? 2 : 0);
            picture->Draw(dc, x, y);
        } else {
            picture->Draw(dc, rect.right - 7 + (pressed ? 2 : 0), y, true);
        }
    }

    RECT edge = rect;
    if (focusLook) {
        FrameSysColors(dc, edge, COLOR_3DDKSHADOW, COLOR_3DDKSHADOW);
        InflateRect(&edge, -1, -1);
    }
    if (pressed) {
        FrameSysColors(dc, edge, COLOR_BTNSHADOW, COLOR_BTNSHADOW);
    } else {
        FrameSysColors(dc, edge, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW);
        InflateRect(&edge, -1, -1);
        FrameSysColors(dc, edge, COLOR_3DLIGHT, COLOR_BTNSHADOW);
    }
    if (focusLook) {
        RECT focus = rect;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(dc, &focus);
    }
}
