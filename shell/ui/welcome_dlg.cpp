#include "shell/ui/welcome_dlg.h"

#include "controls/ui/themed_button.h"
#include "framework/string_table.h"
#include "resources/commands.h"
#include "resources/resource.h"
#include "resources/startup_dlgs_res.h"
#include "shell/ui/bitmap_palette.h"
#include "shell/ui/main_frame.h"

namespace {

constexpr COLORREF kTransparent = 0xFF00FF;
constexpr unsigned kFirstRecentCommand = 57616;
constexpr unsigned kFileNewCommand = 32799;
constexpr unsigned kFileOpenCommand = 57601;

struct ButtonArt {
    int id;
    int image;
    int second;  // 0: none
};
constexpr ButtonArt kButtonArt[] = {
    {IDC_BUTTON_NEW_FILE, IDB_WELCOME_NEW, IDB_WELCOME_NEW_2},
    {IDC_BUTTON_OPEN_FILE, IDB_WELCOME_OPEN, IDB_WELCOME_OPEN_2},
    {IDC_BUTTON_TUTORIAL, IDB_WELCOME_TUTORIAL, 0},
    {IDC_BUTTON_OPEN_RECENT, IDB_WELCOME_RECENT, IDB_WELCOME_RECENT_2},
    {IDC_BUTTON_CONTINUE, IDB_WELCOME_CONTINUE, 0},
};

}  // namespace

CWelcomeDlg::CWelcomeDlg(HWND parent) : CDialog(IDD_WELCOME, parent) {}

CWelcomeDlg::~CWelcomeDlg()
{
    if (m_bitmap) DeleteObject(m_bitmap);
    if (m_palette) DeleteObject(m_palette);
}

bool CWelcomeDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ::SetDlgItemTextA(m_hWnd, IDC_STATIC_WELCOME_HEADING, QuorLoadString(IDS_NOTICE).c_str());
    ::CheckDlgButton(m_hWnd, IDC_CHECK_SHOW_WELCOME, m_showAtStartup ? BST_CHECKED : BST_UNCHECKED);
    MakeRoomForPicture();
    for (const ButtonArt& art : kButtonArt) {
        auto button = std::make_unique<CThemedButton>();
        if (!button->SubclassButton(::GetDlgItem(m_hWnd, art.id)))
            continue;
        button->SetImageLeft();
        button->SetBitmap(art.image, kTransparent);
        if (art.second) button->SetSecondBitmap(art.second, kTransparent);
        m_buttons.push_back(std::move(button));
    }
    if (CMainFrame* frame = MainFrame()) frame->RegisterDialog(m_hWnd);
    FillRecentFiles();
    ::SetFocus(::GetDlgItem(m_hWnd, IDC_BUTTON_OPEN_FILE));
    return false;  // the focus is set
}

// The main frame the dialog shows over: the window its commands go to, when that is the frame.
CMainFrame* CWelcomeDlg::MainFrame() const
{
    return dynamic_cast<CMainFrame*>(CWnd::FromHandle(m_commandTarget));
}

void CWelcomeDlg::MakeRoomForPicture()
{
    m_bitmap = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_WELCOME), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!m_bitmap)
        return;
    GetObjectA(m_bitmap, sizeof m_bitmapInfo, &m_bitmapInfo);
    if (IsPaletteDisplay())
        m_palette = CreateBitmapPalette(m_bitmap);
    RECT client = {}, window = {};
    ::GetClientRect(m_hWnd, &client);
    ::GetWindowRect(m_hWnd, &window);
    const int extra = m_bitmapInfo.bmWidth > client.right ? m_bitmapInfo.bmWidth - client.right : 0;
    const int down = m_bitmapInfo.bmHeight + 10;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, window.right - window.left + extra + 10, window.bottom - window.top + down,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT r = {};
        ::GetWindowRect(child, &r);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&r), 2);
        ::SetWindowPos(child, nullptr, r.left + (extra + 10) / 2, r.top + down, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CWelcomeDlg::FillRecentFiles()
{
    HWND combo = ::GetDlgItem(m_hWnd, IDC_COMBO_RECENT);
    RECT client = {};
    ::GetClientRect(combo, &client);
    HDC dc = ::GetDC(combo);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(combo, WM_GETFONT, 0, 0)));
    auto fits = [&](const std::string& text) {
        SIZE size = {};
        ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx <= client.right - client.left;
    };
    for (size_t i = 0; i < m_recentPaths.size() && i < 4; ++i) {
        if (m_recentPaths[i].empty()) continue;
        const std::string shown = RecentItemText(m_recentPaths[i], fits);
        const LRESULT item = ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown.c_str()));
        if (item >= 0)
            ::SendMessageA(combo, CB_SETITEMDATA, static_cast<WPARAM>(item), kFirstRecentCommand + i);
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(combo, dc);
    if (::SendMessageA(combo, CB_GETCOUNT, 0, 0) <= 0) {
        ::EnableWindow(combo, FALSE);
        ::EnableWindow(::GetDlgItem(m_hWnd, IDC_BUTTON_OPEN_RECENT), FALSE);
    } else {
        ::SendMessageA(combo, CB_SETCURSEL, 0, 0);
    }
}

void CWelcomeDlg::Choose(unsigned command)
{
    m_showAtStartup = ::IsDlgButtonChecked(m_hWnd, IDC_CHECK_SHOW_WELCOME) == BST_CHECKED ? 1 : 0;
    if (command && m_commandTarget)
        ::PostMessageA(m_commandTarget, WM_COMMAND, command, 0);
    EndDialog(IDOK);
}

bool CWelcomeDlg::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    if (code != BN_CLICKED)
        return CDialog::OnCommand(id, code, control, result);
    switch (id) {
    case IDC_BUTTON_TUTORIAL:
        Choose(IDM_HELP_TUTORIAL);
        return true;
    case IDC_BUTTON_NEW_FILE:
        Choose(kFileNewCommand);
        return true;
    case IDC_BUTTON_OPEN_FILE:
        Choose(kFileOpenCommand);
        return true;
    case IDC_BUTTON_OPEN_RECENT: {
        HWND combo = ::GetDlgItem(m_hWnd, IDC_COMBO_RECENT);
        const LRESULT item = ::SendMessageA(combo, CB_GETCURSEL, 0, 0);
        if (item < 0) return true;
        Choose(static_cast<unsigned>(::SendMessageA(combo, CB_GETITEMDATA, static_cast<WPARAM>(item), 0)));
        return true;
    }
    case IDC_BUTTON_CONTINUE:
        Choose(0);
        return true;
    default:
        return CDialog::OnCommand(id, code, control, result);
    }
}

void CWelcomeDlg::OnOK()
{
    // Enter presses the button that has the focus.
    HWND focus = ::GetFocus();
    const int id = focus && ::GetParent(focus) == m_hWnd ? ::GetDlgCtrlID(focus) : 0;
    if (id) ::PostMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(focus));
}

void CWelcomeDlg::OnCancel()
{
    // Escape and the close box do not close it: a choice is asked for.
}

bool CWelcomeDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg != WM_PAINT || !m_bitmap)
        return CDialog::OnMessage(msg, wParam, lParam, result);
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    HPALETTE oldPalette = nullptr;
    if (m_palette) {
        oldPalette = ::SelectPalette(dc, m_palette, FALSE);
        ::RealizePalette(dc);
    }
    RECT client = {};
    ::GetClientRect(m_hWnd, &client);
    HDC memory = ::CreateCompatibleDC(dc);
    HGDIOBJ old = ::SelectObject(memory, m_bitmap);
    ::BitBlt(dc, (client.right - m_bitmapInfo.bmWidth) / 2, 5, m_bitmapInfo.bmWidth, m_bitmapInfo.bmHeight, memory, 0,
             0, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    if (m_palette) ::SelectPalette(dc, oldPalette, FALSE);
    ::EndPaint(m_hWnd, &paint);
    return true;
}

bool CWelcomeDlg::OnDestroy(LRESULT& result)
{
    m_showAtStartup = ::IsDlgButtonChecked(m_hWnd, IDC_CHECK_SHOW_WELCOME) == BST_CHECKED ? 1 : 0;
    if (CMainFrame* frame = MainFrame()) frame->UnregisterDialog(m_hWnd);
    return CDialog::OnDestroy(result);
}
