#include "index/ui/image_button.h"

#include "framework/ui/context_help.h"

bool CImageButton::Create(HWND parent, int id, const std::string& caption, HFONT font)
{
    RECT rect = {0, 0, 10, 10};
    if (!CreateControl("BUTTON", 0, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, rect, parent, id))
        return false;
    m_font = font;
    SetWindowText(caption);
    return true;
}

bool CImageButton::SetBitmap(int resourceId, COLORREF transparent, Placement placement)
{
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId), IMAGE_BITMAP, 0, 0, 0));
    m_image.Reset(bitmap);
    m_bitmapId = bitmap ? resourceId : 0;
    m_imageSize = {0, 0};
    m_transparent = transparent;
    m_placement = placement;
    if (bitmap) {
        BITMAP info = {};
        GetObjectA(bitmap, sizeof info, &info);
        m_imageSize = {info.bmWidth, info.bmHeight};
    }
    Invalidate();
    return bitmap != nullptr;
}

void CImageButton::Draw(const DRAWITEMSTRUCT& item)
{
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    bool pressed = (item.itemState & ODS_SELECTED) != 0;
    bool disabled = (item.itemState & ODS_DISABLED) != 0;
    int shift = pressed ? 1 : 0;
    FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));

    std::string caption = GetWindowText();
    HGDIOBJ oldFont = SelectObject(dc, m_font ? m_font : GetStockObject(DEFAULT_GUI_FONT));
    SIZE text = {};
    GetTextExtentPoint32A(dc, "Q", 1, &text);
    int x = (m_image && m_placement == kImageLeft ? m_imageSize.cx : 0) + 6 + shift;
    int y = rect.top + (rect.bottom - rect.top - text.cy) / 2 + shift;
    SetBkMode(dc, TRANSPARENT);
    if (disabled) {
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        TextOutA(dc, x + 1, y + 1, caption.c_str(), static_cast<int>(caption.size()));
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    } else {
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    }
    TextOutA(dc, x, y, caption.c_str(), static_cast<int>(caption.size()));
    SelectObject(dc, oldFont);

    if (m_image) {
        int width = rect.right - rect.left;
        int ix = m_placement == kImageCentered ? (width - m_imageSize.cx) / 2
                 : m_placement == kImageLeft   ? 4
                                               : rect.right - 7 - m_imageSize.cx;
        int iy = rect.top + (rect.bottom - rect.top - m_imageSize.cy) / 2;
        CMemoryDC memory(dc);
        HGDIOBJ old = SelectObject(memory, m_image.Get());
        TransparentBlt(dc, ix + shift, iy + shift, m_imageSize.cx, m_imageSize.cy, memory, 0, 0, m_imageSize.cx,
                       m_imageSize.cy, m_transparent);
        SelectObject(memory, old);
    }

    if (pressed) {
        FrameRect(dc, &rect, GetSysColorBrush(COLOR_BTNSHADOW));
    } else {
        HPEN light = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
        HPEN dark = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
        HGDIOBJ oldPen = SelectObject(dc, light);
        MoveToEx(dc, rect.left, rect.bottom - 1, nullptr);
        LineTo(dc, rect.left, rect.top);
        LineTo(dc, rect.right - 1, rect.top);
        SelectObject(dc, dark);
        LineTo(dc, rect.right - 1, rect.bottom - 1);
        LineTo(dc, rect.left - 1, rect.bottom - 1);
        SelectObject(dc, oldPen);
        DeleteObject(light);
        DeleteObject(dark);
    }
    if (item.itemState & ODS_FOCUS) {
        RECT focus = rect;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(dc, &focus);
    }
}

bool CImageButton::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == kHelpHitTestMessage && m_helpId != 0) {
        result = m_helpId;
        return true;
    }
    return false;
}

bool CImageButton::OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg != WM_DRAWITEM)
        return false;
    Draw(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
    result = TRUE;
    return true;
}
