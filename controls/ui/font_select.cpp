#include "controls/ui/font_select.h"

#include <vector>

#include "framework/ui/app.h"
#include "framework/ui/context_help.h"
#include "controls/ui/font_select_res.h"
#include "controls/ui/font_win.h"

namespace {

std::string ComboText(HWND combo, int index)
{
    const LRESULT length = ::SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0)
        return {};
    std::vector<char> text(static_cast<size_t>(length) + 1);
    ::SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

}  // namespace

CFontSelect::CFontSelect(const LOGFONTA& font, COLORREF color, bool automatic, HWND owner)
    : CFontDialog(font, owner, IDD_FONT_SELECT), m_autoColor(automatic), m_customColor(color)
{
    m_color = color;
    m_flags = kFlags;
}

bool CFontSelect::Choose(HWND owner, LogFont& font, int32_t& color, const LogFont& defaultFont)
{
    const bool automatic = color < 0;
    CFontSelect dialog(ToLogFontA(font), automatic ? 0 : static_cast<COLORREF>(color), automatic, owner);
    dialog.m_defaultFont = ToLogFontA(defaultFont);
    if (dialog.DoModal() != IDOK)
        return false;
    font = FromLogFontA(dialog.GetLogFont());
    color = static_cast<int32_t>(dialog.GetColor());
    return true;
}

COLORREF CFontSelect::GetColor() const
{
    return m_autoColor || m_useDefault ? static_cast<COLORREF>(-1) : m_color;
}

COLORREF CFontSelect::SelectedColor() const
{
    HWND combo = ColorCombo();
    const LRESULT selected = ::SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (selected < 0)
        return m_customColor;
    return static_cast<COLORREF>(::SendMessageA(combo, CB_GETITEMDATA, static_cast<WPARAM>(selected), 0));
}

bool CFontSelect::OnInitDialog()
{
    // The system filled the colour list and selected the caller's colour; "Auto" goes on top with
    // the window-text colour, "Custom" at the end with the caller's colour.
    HWND combo = ColorCombo();
    m_autoIndex = static_cast<int>(::SendMessageA(combo, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("Auto")));
    ::SendMessageA(combo, CB_SETITEMDATA, static_cast<WPARAM>(m_autoIndex), GetSysColor(COLOR_WINDOWTEXT));
    m_customIndex = static_cast<int>(::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Custom")));
    ::SendMessageA(combo, CB_SETITEMDATA, static_cast<WPARAM>(m_customIndex), m_customColor);
    ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(m_autoColor ? m_autoIndex : m_customIndex), 0);

    // The colour button takes the place and the tab position of "Select Color...".
    HWND select = ::GetDlgItem(m_hWnd, IDC_FONT_SELECT_COLOR);
    RECT place = {};
    if (select) {
        ::GetWindowRect(select, &place);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&place), 2);
        ::ShowWindow(select, SW_HIDE);
        ::EnableWindow(select, FALSE);
    }
    constexpr DWORD kButtonStyle = 0x5001000B;  // child, visible, tab stop, owner-drawn
    if (m_colorButton.Create(kButtonStyle, place, m_hWnd, IDC_FONT_COLOR_BUTTON)) {
        ::SetWindowPos(m_colorButton.m_hWnd, ::GetDlgItem(m_hWnd, IDC_FONT_COLOR_LABEL), 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ::SendMessageA(m_colorButton.m_hWnd, WM_SETFONT, ::SendMessageA(m_hWnd, WM_GETFONT, 0, 0), FALSE);
    }
    SelectionChanged(true);
    return true;
}

void CFontSelect::SelectionChanged(bool refreshSample)
{
    HWND combo = ColorCombo();
    const int selected = static_cast<int>(::SendMessageA(combo, CB_GETCURSEL, 0, 0));
    m_autoColor = selected == m_autoIndex;
    const COLORREF color = SelectedColor();
    if (m_colorButton.m_hWnd)
        m_colorButton.SetColor(m_autoColor ? static_cast<COLORREF>(-1) : color);
    m_colorName = "Custom";
    if (m_autoColor) {
        m_colorName = "Automatic";
    } else {
        const int count = static_cast<int>(::SendMessageA(combo, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            if (i != m_autoIndex && i != m_customIndex &&
                static_cast<COLORREF>(::SendMessageA(combo, CB_GETITEMDATA, static_cast<WPARAM>(i), 0)) == color) {
                m_colorName = ComboText(combo, i);
                break;
            }
        }
    }
    // The system's procedure redraws the sample in the selected colour on a selection change.
    if (refreshSample)
        ::SendMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(kColorComboId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

void CFontSelect::ChooseWithButton()
{
    m_colorButton.SetColor(m_autoColor ? static_cast<COLORREF>(-1) : SelectedColor());
    COLORREF custom = m_customColor;
    if (!m_colorButton.RunPopup(0, custom))
        return;
    HWND combo = ColorCombo();
    const COLORREF chosen = m_colorButton.GetColor();
    if (chosen == static_cast<COLORREF>(-1)) {
        ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(m_autoIndex), 0);
    } else {
        m_customColor = chosen;
        ::SendMessageA(combo, CB_SETITEMDATA, static_cast<WPARAM>(m_customIndex), chosen);
        ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(m_customIndex), 0);
    }
    SelectionChanged(true);
}

bool CFontSelect::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    switch (id) {
    case IDC_FONT_COLOR_BUTTON:
        if (code == BN_CLICKED)
            ChooseWithButton();
        return true;
    case kColorComboId:
        // The system's procedure repaints the sample too.
        if (code == CBN_SELCHANGE)
            SelectionChanged(false);
        return false;
    case IDC_FONT_USE_DEFAULT:
        if (code != BN_CLICKED)
            return false;
        // OK through the system's procedure, so that the dialog ends as after OK.
        m_useDefault = true;
        ::SendMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(m_hWnd, IDOK)));
        return true;
    case IDC_FONT_HELP:
        if (code != BN_CLICKED)
            return false;
        ShowHelpTopic(kHelpIdResource + IDD_FONT_SELECT);
        return true;
    default:
        return CFontDialog::OnCommand(id, code, control, result);
    }
}

bool CFontSelect::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == WM_SYSCOLORCHANGE && m_autoIndex >= 0) {
        ::SendMessageA(ColorCombo(), CB_SETITEMDATA, static_cast<WPARAM>(m_autoIndex), GetSysColor(COLOR_WINDOWTEXT));
        SelectionChanged(true);
    }
    return false;
}

bool CFontSelect::OnHelp(HELPINFO* info)
{
    if (info->iContextType != HELPINFO_WINDOW)
        return false;
    int id = info->iCtrlId;
    if (id == IDC_FONT_HELP || id == IDC_FONT_USE_DEFAULT)
        ShowHelpTopic(kHelpIdResource + IDD_FONT_SELECT);
    else
        ShowHelpTopic(kHelpIdControl + static_cast<DWORD>(id == IDC_FONT_COLOR_BUTTON ? kColorComboId : id));
    return true;
}

void CFontSelect::ShowHelpTopic(DWORD helpId) const
{
    if (CWinApp* app = CWinApp::Current())
        app->ShowHelp(helpId);
}
