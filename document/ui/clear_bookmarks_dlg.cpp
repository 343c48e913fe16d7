#include "document/ui/clear_bookmarks_dlg.h"

#include "document/ui/clear_bookmarks_dlg_res.h"

CClearBookmarksDlg::CClearBookmarksDlg(HWND parent) : CIconDialog(IDD_CLEAR_BOOKMARKS, IDI_EXCLAMATION, parent) {}

bool CClearBookmarksDlg::OnInitDialog()
{
    CIconDialog::OnInitDialog();
    ::SetDlgItemTextA(m_hWnd, IDC_STATIC_CLEAR_BOOKMARKS_TEXT, m_text.c_str());
    MakeNoTheDefault();
    return false;  // the focus is set
}
