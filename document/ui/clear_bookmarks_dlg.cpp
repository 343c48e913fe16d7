#include "document/ui/clear_bookmarks_dlg.h"

#include "document/ui/clear_bookmarks_dlg_res.h"

CClearBookmarksDlg::CClearBookmarksDlg(HWND parent) : CIconDialog(IDD_CLEAR_BOOKMARKS, IDI_EXCLAMATION, parent) {}

bool CClearBookmarksDlg::OnInitDialog()
{
    CIconDialog::OnInitDialog();
    ::SetDlgItemTextA(m_hWnd, IDC_STATIC_CLEAR_BOOKMARKS_TEXT, m_text.c_str());
    HWND no = ::GetDlgItem(m_hWnd, IDCANCEL);
    // No becomes the default button as well, so Enter answers No too.
    ::SendMessageA(m_hWnd, DM_SETDEFID, IDCANCEL, 0);
    ::SendMessageA(::GetDlgItem(m_hWnd, IDOK), BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    ::SendMessageA(no, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    ::SetFocus(no);
    return false;  // the focus is set
}
