#include "shell/ui/format_tool_bar.h"

#include <commctrl.h>
#include <richedit.h>

#include "controls/ui/format_target.h"
#include "resources/commands.h"
#include "resources/main_frame_res.h"
#include "shell/ui/main_frame.h"

namespace {

constexpr COLORREF kMaskColor = RGB(255, 0, 255);

TEXTMETRICA FontMetrics(HFONT font)
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return metrics;
}

// The combo's list when dropped: 8 lines of the bar font.
int DroppedHeight(HFONT font)
{
    TEXTMETRICA metrics = FontMetrics(font);
    return 8 * (metrics.tmHeight + metrics.tmExternalLeading);
}

int AverageCharWidth(HFONT font)
{
    return FontMetrics(font).tmAveCharWidth;
}

}  // namespace

CFormatToolBar::CFormatToolBar(CMainFrame* frame)
    : CMainFrameBar(frame, kFormatBar), m_nameCombo(frame), m_sizeCombo(frame)
{
}

CFormatToolBar::~CFormatToolBar() = default;

bool CFormatToolBar::OnCreateBar()
{
    if (!CMainFrameBar::OnCreateBar())
        return false;
    LOGFONTA logFont = {};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof logFont, &logFont);
    m_font.Reset(CreateFontIndirectA(&logFont));
    const int charWidth = AverageCharWidth(m_font);
    const int dropped = DroppedHeight(m_font);
    const DWORD comboStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWN;

    SetButtonInfo(3, IDM_FORMAT_FONT_NAME, BTNS_SEP, 32 * charWidth);
    RECT rect = GetItemRect(3);
    rect.bottom = rect.top + dropped;
    if (!m_nameCombo.Create(m_hWnd, rect, IDM_FORMAT_FONT_NAME, comboStyle | CBS_SORT))
        return false;
    m_nameCombo.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), TRUE);

    SetButtonInfo(5, IDM_FORMAT_FONT_SIZE, BTNS_SEP, 8 * charWidth);
    rect = GetItemRect(5);
    rect.bottom = rect.top + dropped;
    if (!m_sizeCombo.Create(m_hWnd, rect, IDM_FORMAT_FONT_SIZE, comboStyle))
        return false;
    m_sizeCombo.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), TRUE);

    // Centre each combo on the buttons' height; a combo taller than a button stays at the top.
    const int buttonHeight = ToolBarButtonSize(m_sizeMode);
    for (CComboBox* combo : {static_cast<CComboBox*>(&m_nameCombo), static_cast<CComboBox*>(&m_sizeCombo)}) {
        RECT comboRect = combo->GetWindowRect();
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&comboRect), 2);
        const int height = comboRect.bottom - comboRect.top;
        if (height < buttonHeight)
            ::SetWindowPos(combo->m_hWnd, nullptr, comboRect.left, comboRect.top + (buttonHeight - height) / 2, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const int textColor = CommandToIndex(IDM_FORMAT_TEXT_COLOR);
    if (textColor >= 0)
        SetButtonStyle(textColor, BTNS_BUTTON);
    return true;
}

void CFormatToolBar::SetTextColor(COLORREF color)
{
    if (color != kKeepColor)
        m_textColor = color;
    const bool small = m_sizeMode == 0;
    DrawSwatch(kTextColorImage, m_textColor == kAutomatic ? GetSysColor(COLOR_WINDOWTEXT) : m_textColor,
               small ? IDB_TEXT_COLOR_16 : IDB_TEXT_COLOR_24, small ? IDB_TEXT_COLOR_16_DISABLED : IDB_TEXT_COLOR_24_DISABLED);
}

void CFormatToolBar::SetHighlightColor(COLORREF color)
{
    if (color != kKeepColor)
        m_highlightColor = color;
    const bool small = m_sizeMode == 0;
    DrawSwatch(kHighlightImage, m_highlightColor == kAutomatic ? GetSysColor(COLOR_WINDOW) : m_highlightColor,
               small ? IDB_HIGHLIGHT_16 : IDB_HIGHLIGHT_24, small ? IDB_HIGHLIGHT_16_DISABLED : IDB_HIGHLIGHT_24_DISABLED);
}

void CFormatToolBar::DrawSwatch(int image, COLORREF color, int normalId, int disabledId)
{
    if (!m_hWnd)
        return;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    const int ids[2] = {normalId, disabledId};
    HIMAGELIST lists[2] = {m_images.normal, m_images.disabled};
    for (int k = 0; k < 2; ++k) {
        CBitmap picture(LoadBitmapA(instance, MAKEINTRESOURCEA(ids[k])));
        if (!picture || !lists[k])
            continue;
        BITMAP info = {};
        GetObjectA(picture, sizeof info, &info);
        CMemoryDC pictureDC;
        CMemoryDC maskDC;
        CBitmap mask(CreateBitmap(info.bmWidth, info.bmHeight, 1, 1, nullptr));
        {
            CSelectObject selectPicture(pictureDC, picture);
            // The colour bar along the bottom: two lines in the colour.
            CPen pen(CreatePen(PS_SOLID, 1, color));
            CSelectObject selectPen(pictureDC, pen);
            const bool small = m_sizeMode == 0;
            const int y[2] = {small ? 15 : 21, small ? 14 : 22};
            for (int line : y) {
                MoveToEx(pictureDC, small ? 0 : 1, line, nullptr);
                LineTo(pictureDC, small ? 16 : 23, line);
            }
            // The mask: 1 where the picture is magenta.
            CSelectObject selectMask(maskDC, mask);
            SetBkColor(pictureDC, kMaskColor);
            BitBlt(maskDC, 0, 0, info.bmWidth, info.bmHeight, pictureDC, 0, 0, SRCCOPY);
        }
        ImageList_Replace(lists[k], image, picture, mask);
    }
    RedrawWindow(m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
}

void CFormatToolBar::OnUpdateCmdUI(CFrameWnd* target)
{
    CToolBar::OnUpdateCmdUI(target);
    if (!m_nameCombo.IsWindow() || !m_sizeCombo.IsWindow())
        return;
    const bool focusInCombo = [&] {
        HWND focus = GetFocus();
        return focus && (focus == m_nameCombo.m_hWnd || IsChild(m_nameCombo.m_hWnd, focus) ||
                         focus == m_sizeCombo.m_hWnd || IsChild(m_sizeCombo.m_hWnd, focus));
    }();
    if (focusInCombo)
        return;
    IFormatTarget* view = m_mainFrame ? m_mainFrame->GetActiveArticleView() : nullptr;
    HWND content = view ? view->GetActiveContent() : nullptr;
    if (!content) {
        if (m_nameCombo.IsWindowEnabled())
            m_nameCombo.EnableWindow(false);
        if (m_sizeCombo.IsWindowEnabled())
            m_sizeCombo.EnableWindow(false);
        return;
    }
    CHARFORMATA format = {};
    format.cbSize = sizeof format;
    ::SendMessageA(content, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    if (format.dwMask & CFM_FACE)
        m_nameCombo.SelectFace(format.szFaceName);
    else if (m_nameCombo.GetCurSel() != CB_ERR)
        m_nameCombo.SetCurSel(-1);
    if (format.dwMask & CFM_SIZE)
        m_sizeCombo.SelectSize(static_cast<int>(format.yHeight));
    else if (m_sizeCombo.GetCurSel() != CB_ERR)
        m_sizeCombo.SetCurSel(-1);
    const bool editable = view->CanModify();
    if (m_nameCombo.IsWindowEnabled() != editable)
        m_nameCombo.EnableWindow(editable);
    if (m_sizeCombo.IsWindowEnabled() != editable)
        m_sizeCombo.EnableWindow(editable);
}
