#include "document/ui/password_dlg.h"

#include "document/password_checks.h"
#include "document/ui/password_dlg_res.h"

namespace {
// The required-edit lists live for the program's run, so the dialogs can keep views of them.
constexpr int kCreateEdits[] = {IDC_EDIT_PASSWORD, IDC_EDIT_VERIFY_PASSWORD};
constexpr int kEnterEdits[] = {IDC_EDIT_PASSWORD};

void Finish(CDialog& dialog, PasswordDlgOutcome outcome)
{
    if (outcome == PasswordDlgOutcome::kCloseOk)
        dialog.EndDialog(IDOK);
    else if (outcome == PasswordDlgOutcome::kCloseCancel)
        dialog.EndDialog(IDCANCEL);
}
}  // namespace

CPasswordDlgBase::CPasswordDlgBase(int templateId, IDocPrompts& host, HWND parent, const int* required, int count)
    : CDialog(templateId, parent), m_host(host), m_required(required), m_requiredCount(count)
{
}

bool CPasswordDlgBase::OnInitDialog()
{
    CDialog::OnInitDialog();
    UpdateOkButton();
    return true;
}

// EN_CHANGE arrives through WM_COMMAND with the edit's id; the OK button follows the edits' text.
bool CPasswordDlgBase::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    if (code == EN_CHANGE) {
        UpdateOkButton();
        return true;
    }
    return CDialog::OnCommand(id, code, control, result);
}

void CPasswordDlgBase::UpdateOkButton()
{
    bool filled = true;
    for (int i = 0; i < m_requiredCount; ++i)
        if (GetDlgItemText(m_required[i]).empty())
            filled = false;
    GetDlgItem(IDOK).EnableWindow(filled);
}

CCreatePasswordDlg::CCreatePasswordDlg(CQuorvaneDoc& document, IDocPrompts& host, HWND parent)
    : CPasswordDlgBase(IDD_CREATE_PASSWORD, host, parent, kCreateEdits, 2), m_document(document)
{
}

void CCreatePasswordDlg::OnOK()
{
    Finish(*this, CreatePasswordOk(m_document, m_host, GetDlgItemText(IDC_EDIT_PASSWORD),
                                   GetDlgItemText(IDC_EDIT_VERIFY_PASSWORD)));
}

CChangePasswordDlg::CChangePasswordDlg(CQuorvaneDoc& document, IDocPrompts& host, HWND parent)
    : CPasswordDlgBase(IDD_CHANGE_PASSWORD, host, parent, nullptr, 0), m_document(document)
{
}

void CChangePasswordDlg::OnOK()
{
    Finish(*this, ChangePasswordOk(m_document, m_host, GetDlgItemText(IDC_EDIT_OLD_PASSWORD),
                                   GetDlgItemText(IDC_EDIT_NEW_PASSWORD), GetDlgItemText(IDC_EDIT_VERIFY_PASSWORD)));
}

CEnterPasswordDlg::CEnterPasswordDlg(CFilePassword& password, IDocPrompts& host, HWND parent)
    : CPasswordDlgBase(IDD_ENTER_PASSWORD, host, parent, kEnterEdits, 1), m_password(password)
{
}

// The static's own text is the format: its "%s" becomes the file name.
bool CEnterPasswordDlg::OnInitDialog()
{
    std::string format = GetDlgItemText(IDC_STATIC_FILE_NAME);
    size_t at = format.find("%s");
    if (at != std::string::npos)
        format.replace(at, 2, m_fileName);
    SetDlgItemText(IDC_STATIC_FILE_NAME, format);
    return CPasswordDlgBase::OnInitDialog();
}

void CEnterPasswordDlg::OnOK()
{
    Finish(*this, EnterPasswordOk(m_password, m_host, GetDlgItemText(IDC_EDIT_PASSWORD), m_showMessage != 0));
}
