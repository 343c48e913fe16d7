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
    LOGFONTA font = m_font;
    CHOOSEFONTA choose = {};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = m_owner;
    choose.lpLogFont = &font;
    choose.rgbColors = m_color;
    choose.Flags = CF_INITTOLOGFONTSTRUCT | CF_SCREENFONTS | m_flags;
    if (!ChooseFontA(&choose))
        return IDCANCEL;
    m_font = font;
    m_color = choose.rgbColors;
    m_pointSize = choose.iPointSize;
    return IDOK;
}
