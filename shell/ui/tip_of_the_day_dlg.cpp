#include "shell/ui/tip_of_the_day_dlg.h"

#include "framework/string_table.h"
#include "resources/resource.h"
#include "resources/startup_dlgs_res.h"
#include "shell/app_settings.h"

namespace {

void SetRangeFormat(HWND edit, int first, int end, DWORD mask, DWORD effects, COLORREF color)
{
    CHARRANGE range = {first, end};
    SendMessageA(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMAT2A format = {};
    format.cbSize = sizeof format;
    format.dwMask = mask;
    format.dwEffects = effects;
    format.crTextColor = color;
    format.yHeight = 200;
    SendMessageA(edit, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}

}  // namespace

// ---- The tip pane ----

void CTipRichEdit::SetTipText(const std::string& text)
{
    SendMessage(EM_HIDESELECTION, TRUE, 0);
    SetWindowText("");
    SetRangeFormat(m_hWnd, 0, -1, CFM_SIZE | CFM_COLOR | CFM_UNDERLINE, 0, GetSysColor(COLOR_WINDOWTEXT));
    SendMessage(EM_SETSEL, 0, 0);
    // Streamed as plain text: WM_SETTEXT would take a tip beginning "{\rtf" as rich text.
    StreamIn(SF_TEXT, text);
    SendMessage(EM_HIDESELECTION, FALSE, 0);
}

void CTipRichEdit::ApplyLinks(std::vector<TipLink> links)
{
    m_links = std::move(links);
    SendMessage(EM_HIDESELECTION, TRUE, 0);
    for (const TipLink& link : m_links)
        SetRangeFormat(m_hWnd, link.first, link.last + 1, CFM_COLOR | CFM_UNDERLINE, CFE_UNDERLINE,
                       (link.kind & 1) ? kHelpLinkColor : kShellLinkColor);
    SendMessage(EM_SETSEL, 0, 0);
    SendMessage(EM_HIDESELECTION, FALSE, 0);
}

const TipLink* CTipRichEdit::LinkAtChar(int c) const
{
    for (const TipLink& link : m_links)
        if (link.first <= c && c <= link.last) return &link;
    return nullptr;
}

const TipLink* CTipRichEdit::LinkAtPoint(LPARAM point) const
{
    POINTL at = {static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
    const int c = static_cast<int>(SendMessage(EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&at)));
    return LinkAtChar(c);
}

bool CTipRichEdit::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_MOUSEMOVE:
        m_cursor = LinkAtPoint(lParam) ? LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_LINK_HAND_CURSOR))
                                       : LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
        return false;
    case WM_SETCURSOR:
        if (!m_cursor) return false;
        ::SetCursor(m_cursor);
        result = TRUE;
        return true;
    case WM_LBUTTONDOWN: {
        const TipLink* link = LinkAtPoint(lParam);
        if (!link) return false;
        const TipLink chosen = *link;
        SendMessage(EM_SETSEL, chosen.first, chosen.last + 1);
        if (chosen.kind != 0) {
            if (m_onHelp) m_onHelp(ParseHelpNumber(chosen.target));
        } else if (m_onOpen) {
            m_onOpen(chosen.target);
        }
        SendMessage(EM_SETSEL, 0, 0);
        result = 0;
        return true;
    }
    default:
        return false;
    }
}

// ---- The dialog ----

CTipOfTheDayDlg::CTipOfTheDayDlg(CAppSettings& settings, HWND parent)
    : CDialog(IDD_TIP_OF_THE_DAY, parent), m_settings(settings)
{
}

std::string CTipOfTheDayDlg::TipFilePathFor(const std::string& programPath)
{
    const size_t dot = programPath.rfind('.');
    const size_t slash = programPath.find_last_of("\\/");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return programPath + ".tod";
    return programPath.substr(0, dot) + ".tod";
}

bool CTipOfTheDayDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_pane.SubclassDlgItem(IDC_RICHEDIT_TIP, m_hWnd);
    m_pane.m_onHelp = m_onHelp;
    m_pane.m_onOpen = m_onOpen;
    m_paneColor = m_highContrast ? GetSysColor(COLOR_WINDOW) : kPaneColor;
    m_pane.SendMessage(EM_SETBKGNDCOLOR, 0, m_paneColor);
    ::CheckDlgButton(m_hWnd, IDC_CHECK_SHOW_TIPS, m_settings.GetShowTipOfTheDay() ? BST_CHECKED : BST_UNCHECKED);

    if (!m_file.Open(m_tipFilePath)) {
        if (m_reportMissingFile)
            ::MessageBoxA(m_hWnd, QuorLoadString(IDS_TIP_FILE_MISSING).c_str(), QuorLoadString(IDS_APP_NAME).c_str(),
                        MB_OK | MB_ICONINFORMATION);
        m_settings.SetShowTipOfTheDay(0);
        EndDialog(0);
        return true;
    }
    ShowNextTip();
    return true;
}

void CTipOfTheDayDlg::ShowNextTip()
{
    int next = m_settings.GetTipOfTheDay();
    std::vector<TipLink> links;
    std::string text;
    if (m_file.GetCount() <= 0)
        return;
    const bool read = ReadNextTip(m_file, next, links, text);
    m_settings.SetTipOfTheDay(next);
    if (!read)
        return;
    m_pane.SendMessage(WM_SETREDRAW, FALSE, 0);
    m_pane.SetTipText(text);
    m_pane.ApplyLinks(std::move(links));
    m_pane.SendMessage(WM_SETREDRAW, TRUE, 0);
    ::RedrawWindow(m_pane.m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
}

bool CTipOfTheDayDlg::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    if (id == IDC_BUTTON_NEXT_TIP && code == BN_CLICKED) {
        ShowNextTip();
        return true;
    }
    return CDialog::OnCommand(id, code, control, result);
}

void CTipOfTheDayDlg::OnCancel()
{
    m_settings.SetShowTipOfTheDay(::IsDlgButtonChecked(m_hWnd, IDC_CHECK_SHOW_TIPS) == BST_CHECKED ? 1 : 0);
    EndDialog(IDCANCEL);
}

bool CTipOfTheDayDlg::OnDestroy(LRESULT& result)
{
    if (m_file.IsOpen()) m_file.CloseQuietly();
    return CDialog::OnDestroy(result);
}

bool CTipOfTheDayDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == WM_PAINT) {
        PaintHeading();
        return true;
    }
    return CDialog::OnMessage(msg, wParam, lParam, result);
}

void CTipOfTheDayDlg::PaintHeading()
{
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    RECT frame = {};
    HWND heading = ::GetDlgItem(m_hWnd, IDC_STATIC_TIP_HEADING);
    ::GetWindowRect(heading, &frame);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&frame), 2);
    HBRUSH brush = CreateSolidBrush(m_paneColor);
    FillRect(dc, &frame, brush);
    DeleteObject(brush);
    if (HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_TIP_OF_THE_DAY)))
        DrawIcon(dc, frame.left + 16, frame.top + 10, icon);
    LOGFONTA face = {};
    face.lfHeight = -MulDiv(12, GetDeviceCaps(dc, LOGPIXELSY), 72);
    face.lfWeight = FW_BOLD;
    face.lfQuality = PROOF_QUALITY;
    face.lfPitchAndFamily = FF_ROMAN;
    lstrcpynA(face.lfFaceName, "Times New Roman", LF_FACESIZE);
    HFONT font = CreateFontIndirectA(&face);
    HGDIOBJ oldFont = SelectObject(dc, font);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColor = SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    RECT text = {frame.left + 60, frame.top + 10, frame.right - 10, frame.top + 10 + GetSystemMetrics(SM_CYICON)};
    const std::string heading_text = QuorLoadString(IDS_DID_YOU_KNOW);
    DrawTextA(dc, heading_text.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
    DeleteObject(font);
    ::EndPaint(m_hWnd, &paint);
}
