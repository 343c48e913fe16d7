#include "document/ui/file_format_dlgs.h"

#include <shellapi.h>

#include "document/ui/exchange_dlgs_res.h"
#include "framework/string_table.h"
#include "resources/resource.h"

CConvertFileDlg::CConvertFileDlg(HWND parent) : CDialog(IDD_CONVERT_FILE, parent) {}

void CConvertFileDlg::DoDataExchange(CDataExchange& dx)
{
    dx.Radio(IDC_RADIO_CONVERT, m_option);
}

// ShellExecute returns a value above 32 on success.
void OpenUpgradePage(HWND owner)
{
    std::string address = QuorLoadString(IDS_UPGRADE_ADDRESS);
    HINSTANCE result = ::ShellExecuteA(owner, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(result) <= 32)
        ::MessageBoxA(owner, QuorFormat1(QuorLoadString(IDS_UPGRADE_INFO_FAILED), address).c_str(),
                      QuorLoadString(IDS_APP_NAME).c_str(), MB_OK | MB_ICONEXCLAMATION);
}

CNewerFormatDlg::CNewerFormatDlg(HWND parent) : CIconDialog(IDD_NEWER_FORMAT, IDI_HAND, parent) {}

bool CNewerFormatDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_STATIC_NEWER_MESSAGE, QuorFormat1(QuorLoadString(IDS_NEWER_FORMAT_UNREADABLE), m_versionText));
    return true;
}

bool CNewerFormatDlg::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    if (id == IDC_BUTTON_UPGRADE_INFO && code == BN_CLICKED) {
        OpenUpgradePage(m_hWnd);
        return true;
    }
    return CIconDialog::OnCommand(id, code, control, result);
}

CNewerFormatOpenDlg::CNewerFormatOpenDlg(HWND parent) : CIconDialog(IDD_NEWER_FORMAT_OPEN, IDI_EXCLAMATION, parent) {}

bool CNewerFormatOpenDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_STATIC_NEWER_OPEN_MESSAGE, QuorFormat1(QuorLoadString(IDS_NEWER_FORMAT_READABLE), m_versionText));
    return true;
}

bool CNewerFormatOpenDlg::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    if (code != BN_CLICKED)
        return CIconDialog::OnCommand(id, code, control, result);
    switch (id) {
    case IDC_BUTTON_OPEN_ANYWAY:
    case IDC_BUTTON_COPY_AND_OPEN:
    case IDC_BUTTON_OPEN_READ_ONLY:
        EndDialog(static_cast<int>(id));
        return true;
    case IDC_BUTTON_UPGRADE_INFO:
        OpenUpgradePage(m_hWnd);
        return true;
    default:
        return CIconDialog::OnCommand(id, code, control, result);
    }
}
