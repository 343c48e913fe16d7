// The system's colour and font dialogs, data in and data out.
#pragma once
#include <windows.h>

#include "framework/ui/dialog.h"

class CColorDialog {
public:
    explicit CColorDialog(COLORREF initial = RGB(0, 0, 0), HWND owner = nullptr) : m_color(initial), m_owner(owner) {}
    // IDOK with the chosen colour in m_color, IDCANCEL otherwise.
    INT_PTR DoModal();

    COLORREF m_color;
    // The 16 custom colours, kept between runs of this object.
    COLORREF m_custom[16] = {};
    // Added to CC_RGBINIT.
    DWORD m_flags = 0;

private:
    HWND m_owner;
};

// The system's font dialog. The object is bound to the dialog through its hook while it runs, so a
// derived class handles the dialog's messages like any CDialog: its own controls (from a template of
// the program's, CF_ENABLETEMPLATE with `templateId`), initialisation and help. OK and Cancel stay
// the system's, which reads the chosen font back.
class CFontDialog : public CDialog {
public:
    // `templateId` 0: the system's own template.
    explicit CFontDialog(const LOGFONTA& initial, HWND owner = nullptr, int templateId = 0)
        : CDialog(templateId, owner), m_font(initial)
    {
    }
    // IDOK with the chosen font in m_font (and colour in m_color with CF_EFFECTS), IDCANCEL otherwise.
    INT_PTR DoModal();

    LOGFONTA m_font;
    COLORREF m_color = RGB(0, 0, 0);
    // Added to CF_INITTOLOGFONTSTRUCT | CF_SCREENFONTS | CF_ENABLEHOOK (and CF_ENABLETEMPLATE with a
    // template).
    DWORD m_flags = 0;
    // The chosen size in tenths of a point.
    int m_pointSize = 0;

protected:
    // OK and Cancel go to the system's dialog procedure, which ends the dialog itself.
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;

private:
    static UINT_PTR CALLBACK HookProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};
