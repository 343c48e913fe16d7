// The default-font dialog: the system's font dialog on template 1543 with a colour choice that
// knows "Auto" (the window-text colour, returned as -1), a colour button in place of "Select
// Color..." that opens the colour popup, and "Use Default", which ends the dialog with OK and the
// default font. Data in, data out: set the font, colour and automatic flag (and the default font)
// before DoModal, read GetLogFont and GetColor after IDOK.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include <string>

#include "controls/ui/color_button.h"
#include "framework/ui/common_dialogs.h"
#include "shell/font_settings.h"

class CFontSelect : public CFontDialog {
public:
    // The flags of the dialog besides its template and hook.
    static constexpr DWORD kFlags = CF_SCREENFONTS | CF_SHOWHELP | CF_EFFECTS | CF_ANSIONLY | CF_SCALABLEONLY;

    CFontSelect(const LOGFONTA& font, COLORREF color, bool automatic, HWND owner = nullptr);

    // The dialog over a stored font and colour (-1 for automatic), with `defaultFont` behind "Use
    // Default". After OK the chosen font and colour (-1 for automatic) are written back and true is
    // returned; after Cancel both are left as they were.
    static bool Choose(HWND owner, LogFont& font, int32_t& color, const LogFont& defaultFont);

    // In: what "Use Default" gives (9-point Arial, or the first family when there is no Arial).
    LOGFONTA m_defaultFont = {};

    // After IDOK: the default font when "Use Default" ended the dialog, else the chosen one.
    LOGFONTA GetLogFont() const { return m_useDefault ? m_defaultFont : m_font; }
    // After IDOK: -1 for automatic (and after "Use Default"), else the chosen colour.
    COLORREF GetColor() const;
    bool IsAutomatic() const { return m_autoColor; }
    bool UsedDefault() const { return m_useDefault; }
    // "Automatic", the name of the palette entry with the colour, or "Custom".
    const std::string& GetColorName() const { return m_colorName; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnHelp(HELPINFO* info) override;

private:
    HWND ColorCombo() const { return ::GetDlgItem(m_hWnd, kColorComboId); }
    // The colour of the selected entry.
    COLORREF SelectedColor() const;
    // After the selection changed: the flag, the button, the name and the sample follow.
    void SelectionChanged(bool refreshSample);
    void ChooseWithButton();
    void ShowHelpTopic(DWORD helpId) const;

    static constexpr int kColorComboId = 1139;

    bool m_autoColor;
    bool m_useDefault = false;
    int m_autoIndex = -1;
    int m_customIndex = -1;
    COLORREF m_customColor;
    CColorButton m_colorButton;
    std::string m_colorName;
};
