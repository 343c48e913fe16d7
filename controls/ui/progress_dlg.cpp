#include "controls/ui/progress_dlg.h"

#include "framework/string_table.h"
#include "framework/ui/app.h"
#include "framework/ui/controls.h"
#include "resources/progress_dlg_res.h"

CProgressDlg::CProgressDlg(HWND parent) : CDialog(IDD_PROGRESS, parent)
{
}

bool CProgressDlg::CreateWithStop(int templateId)
{
    if (!Create(m_parent, templateId))
        return false;
    SetDlgItemText(IDCANCEL, "Stop");
    return true;
}

void CProgressDlg::SetMessage(int stringId)
{
    std::string text = QuorLoadString(stringId);
    if (!text.empty())
        SetText(text);
}

void CProgressDlg::SetText(const std::string& text)
{
    SetDlgItemText(IDC_PROGRESS_TEXT, text);
}

void CProgressDlg::StepIt()
{
    ++m_position;
    if (m_range > 0) {
        // The bar keeps its default range 0..100. Computed in 64 bits: position * 100 must not wrap.
        long long percent = static_cast<long long>(m_position) * 100 / m_range;
        CProgressCtrlHandle(GetDlgItem(IDC_PROGRESS_BAR)).SetPos(static_cast<int>(percent));
    }
}

bool CProgressDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CWinApp* app = CWinApp::Current();
    CWnd* main = app ? app->GetMainWnd() : nullptr;
    CenterWindow(main ? main->m_hWnd : nullptr);
    return true;
}

void CProgressDlg::OnCancel()
{
    m_canceled = 1;
}

void CProgressDlg::OnFinalMessage()
{
    delete this;
}

CProgressScope::CProgressScope(HWND mainWindow, CProgressDlg* dialog)
    : m_mainWindow(mainWindow), m_dialog(dialog ? dialog->m_hWnd : nullptr)
{
    if (m_mainWindow)
        EnableWindow(m_mainWindow, FALSE);
    if (m_dialog)
        EnableWindow(m_dialog, TRUE);
}

CProgressScope::~CProgressScope()
{
    // Enable the main window first, so the activation that leaves the destroyed dialog lands on it.
    if (m_mainWindow)
        EnableWindow(m_mainWindow, TRUE);
    if (m_dialog && IsWindow(m_dialog))
        DestroyWindow(m_dialog);
    RepostPendingQuit();
}
