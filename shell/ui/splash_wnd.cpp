#include "shell/ui/splash_wnd.h"

#include "framework/string_table.h"
#include "resources/resource.h"
#include "resources/startup_dlgs_res.h"
#include "shell/link_finder.h"
#include "shell/ui/acknowledgements_dlg.h"
#include "shell/ui/bitmap_palette.h"

namespace {

constexpr const char kSplashClass[] = "QuorvaneSplash";

}  // namespace

CSplashWnd::~CSplashWnd()
{
    FreeBitmap();
}

void CSplashWnd::FreeBitmap()
{
    if (m_bitmap) DeleteObject(m_bitmap);
    m_bitmap = nullptr;
    if (m_palette) DeleteObject(m_palette);
    m_palette = nullptr;
}

bool CSplashWnd::Show(bool aboutMode, bool continueAfter, HWND mainWnd)
{
    m_seconds = aboutMode ? -1 : 2;
    m_continue = continueAfter;
    m_mainWnd = mainWnd;
    if (!RegisterWindowClass(kSplashClass, 0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)))
        return false;
    RECT none = {0, 0, 0, 0};
    if (!CreateEx(0, kSplashClass, "", WS_POPUP, none, mainWnd, nullptr))
        return false;
    RECT over = {};
    if (aboutMode && mainWnd)
        ::GetWindowRect(mainWnd, &over);
    else
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &over, 0);
    const int x = over.left + (over.right - over.left - m_bitmapInfo.bmWidth) / 2;
    const int y = over.top + (over.bottom - over.top - m_bitmapInfo.bmHeight) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::ShowWindow(m_hWnd, SW_SHOW);
    ::UpdateWindow(m_hWnd);
    if (m_onShowing) m_onShowing(true);
    return true;
}

bool CSplashWnd::OnCreate(CREATESTRUCTA*, LRESULT& result)
{
    m_bitmap = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_SPLASH), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (m_bitmap)
        GetObjectA(m_bitmap, sizeof m_bitmapInfo, &m_bitmapInfo);
    if (m_bitmap && IsPaletteDisplay())
        m_palette = CreateBitmapPalette(m_bitmap);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, m_bitmapInfo.bmWidth, m_bitmapInfo.bmHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    m_start = GetTickCount();
    m_timer = ::SetTimer(m_hWnd, kTimerId, kTimerMs, nullptr);
    ::SetCapture(m_hWnd);
    ::SetFocus(m_hWnd);
    result = 0;
    return true;
}

bool CSplashWnd::OnTimer(UINT_PTR id, LRESULT& result)
{
    if (id != kTimerId) return false;
    if (!IsAboutMode() && !m_closing && IsTimeUp(m_start, GetTickCount())) {
        m_closing = true;
        ::PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
    }
    result = 0;
    return true;
}

bool CSplashWnd::OnClose(LRESULT& result)
{
    if (m_onShowing) m_onShowing(false);
    FreeBitmap();
    if (m_timer) ::KillTimer(m_hWnd, kTimerId);
    m_timer = 0;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    if (!IsAboutMode() && m_continue && m_mainWnd)
        ::PostMessageA(m_mainWnd, WM_COMMAND, kContinueCommand, 0);
    if (m_onFinished) m_onFinished();
    ::DestroyWindow(m_hWnd);
    result = 0;
    return true;
}

bool CSplashWnd::InArea(const RECT& area, POINT at) const
{
    return PtInRect(&area, at) != FALSE;
}

void CSplashWnd::OnLeftButton(POINT at)
{
    if (InArea(kHomePageArea, at)) {
        const std::string address = QuorLoadString(IDS_HOME_PAGE_ADDRESS);
        if (m_onOpenLink)
            m_onOpenLink(address);
        else
            CLinkFinder::OpenLink(address);
        ::SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
    } else if (IsAboutMode() && InArea(kAcknowledgementsArea, at)) {
        // The dialog needs the mouse the splash holds.
        ::ReleaseCapture();
        if (m_onAcknowledgements) {
            m_onAcknowledgements(m_hWnd);
        } else {
            CAcknowledgementsDlg dialog(m_hWnd);
            dialog.DoModal();
        }
    }
    ::PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
}

bool CSplashWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_PAINT:
        Paint();
        result = 0;
        return true;
    case WM_MOUSEMOVE: {
        const POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const bool overLink = InArea(kHomePageArea, at) || (IsAboutMode() && InArea(kAcknowledgementsArea, at));
        ::SetCursor(overLink ? LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_LINK_HAND_CURSOR))
                           : LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));  // IDC_ARROW
        result = 0;
        return true;
    }
    case WM_LBUTTONDOWN:
        OnLeftButton({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        result = 0;
        return true;
    case WM_CHAR:
        ::PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
        result = 0;
        return true;
    case WM_QUERYNEWPALETTE:
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
        result = TRUE;
        return true;
    case WM_PALETTECHANGED:
        if (reinterpret_cast<HWND>(wParam) != m_hWnd) ::InvalidateRect(m_hWnd, nullptr, TRUE);
        result = 0;
        return true;
    default:
        return false;
    }
}

void CSplashWnd::Paint()
{
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    HPALETTE oldPalette = nullptr;
    if (m_palette) {
        oldPalette = SelectPalette(dc, m_palette, FALSE);
        RealizePalette(dc);
    }
    if (m_bitmap) {
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, m_bitmap);
        BitBlt(dc, 0, 0, m_bitmapInfo.bmWidth, m_bitmapInfo.bmHeight, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    LOGFONTA face = {};
    HGDIOBJ base = m_interfaceFont ? static_cast<HGDIOBJ>(m_interfaceFont) : GetStockObject(DEFAULT_GUI_FONT);
    GetObjectA(base, sizeof face, &face);
    face.lfHeight = -11;
    HFONT plain = CreateFontIndirectA(&face);
    face.lfUnderline = TRUE;
    HFONT underlined = CreateFontIndirectA(&face);
    HGDIOBJ oldFont = SelectObject(dc, plain);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColor = SetTextColor(dc, PALETTERGB(0, 0, 0));
    auto draw = [dc](const std::string& text, RECT box) {
        DrawTextA(dc, text.c_str(), -1, &box, DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
    };
    const RECT version = {240, 60, 423, 74};
    draw(QuorFormat1(QuorLoadString(IDS_VERSION), m_versionText), version);
    if (m_portable) {
        SIZE letter = {};
        GetTextExtentPoint32A(dc, "a", 1, &letter);
        draw(QuorLoadString(IDS_PORTABLE_MODE),
             {version.left, version.top + letter.cy, version.right, version.bottom + letter.cy});
    }
    draw(QuorLoadString(IDS_NOTICE), {100, 195, 423, 209});
    SelectObject(dc, underlined);
    draw(QuorLoadString(IDS_HOME_PAGE_TEXT), {253, 174, 423, 190});
    if (IsAboutMode())
        draw(QuorLoadString(IDS_ACKNOWLEDGEMENTS_LINK), kAcknowledgementsArea);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
    DeleteObject(plain);
    DeleteObject(underlined);
    if (m_palette) SelectPalette(dc, oldPalette, FALSE);
    ::EndPaint(m_hWnd, &paint);
}
