#include "shell/ui/acknowledgements_dlg.h"

#include "framework/string_table.h"
#include "resources/resource.h"
#include "resources/startup_dlgs_res.h"

CAcknowledgementsDlg::CAcknowledgementsDlg(HWND parent) : CDialog(IDD_ACKNOWLEDGEMENTS, parent) {}

bool CAcknowledgementsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ::SetDlgItemTextA(m_hWnd, IDC_EDIT_ACKNOWLEDGEMENTS, QuorLoadString(IDS_ACKNOWLEDGEMENTS_TEXT).c_str());
    return true;
}
