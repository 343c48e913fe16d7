#include "framework/ui/common_dialogs.h"

#include <commdlg.h>

INT_PTR CColorDialog::DoModal()
{
    CHOOSECOLORA choose = {};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = m_owner;
    choose.rgbResult = m_color;
    choose.lpCustColors = m_custom;
    choose.Flags = CC_RGBINIT | m_flags;
    if (!ChooseColorA(&choose))
        return IDCANCEL;
    m_color = choose.rgbResult;
    return IDOK;
}

INT_PTR CFontDialog::DoModal()
{
    m_modal = true;
    LOGFONTA font = m_font;
    CHOOSEFONTA choose = {};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = m_parent;
    choose.lpLogFont = &font;
    choose.rgbColors = m_color;
    choose.Flags = CF_INITTOLOGFONTSTRUCT | CF_SCREENFONTS | CF_ENABLEHOOK | m_flags;
    choose.lpfnHook = HookProc;
    choose.lCustData = reinterpret_cast<LPARAM>(this);
    if (m_templateId) {
        choose.Flags |= CF_ENABLETEMPLATE;
        choose.hInstance = GetModuleHandleA(nullptr);
        choose.lpTemplateName = MAKEINTRESOURCEA(m_templateId);
    }
    BOOL chosen = ChooseFontA(&choose);
    // The hook may not see the last messages of the dialog: the window is gone either way.
    if (m_hWnd)
        Unbind();
    if (!chosen)
        return IDCANCEL;
    m_font = font;
    m_color = choose.rgbColors;
    m_pointSize = choose.iPointSize;
    return IDOK;
}

bool CFontDialog::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    if (id == IDOK || id == IDCANCEL)
        return false;
    return CDialog::OnCommand(id, code, control, result);
}

UINT_PTR CALLBACK CFontDialog::HookProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* self = static_cast<CFontDialog*>(FromHandle(hwnd));
    if (!self && msg == WM_INITDIALOG) {
        // The hook's WM_INITDIALOG carries the CHOOSEFONT, whose lCustData is our pointer.
        self = reinterpret_cast<CFontDialog*>(reinterpret_cast<CHOOSEFONTA*>(lParam)->lCustData);
        self->BindDialog(hwnd);
    }
    // Nonzero: the system's procedure leaves the message alone.
    return self ? static_cast<UINT_PTR>(HandleMessage(self, hwnd, msg, wParam, lParam)) : 0;
}
