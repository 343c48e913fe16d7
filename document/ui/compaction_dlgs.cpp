#include "document/ui/compaction_dlgs.h"

#include "document/ui/exchange_dlgs_res.h"
#include "framework/string_table.h"
#include "framework/ui/file_dialog.h"
#include "resources/resource.h"
#include "shell/directories.h"

// ---- Convert while compacting ----------------------------------------------------------------------

CCompactConvertDlg::CCompactConvertDlg(HWND parent) : CIconDialog(IDD_COMPACT_CONVERT, IDI_QUESTION, parent) {}

// FALSE: the focus was set here (on No) and the system must not move it.
bool CCompactConvertDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_STATIC_SOURCE_PATH, m_path);
    ::SetFocus(GetDlgItem(IDNO));
    return false;
}

bool CCompactConvertDlg::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    if (id == IDYES || id == IDNO) {
        EndDialog(static_cast<int>(id));
        return true;
    }
    return CIconDialog::OnCommand(id, code, control, result);
}

// ---- Damaged Articles Found ------------------------------------------------------------------------

CDamagedArticlesDlg::CDamagedArticlesDlg(CDirectories* directories, HWND parent)
    : CDialog(IDD_DAMAGED_ARTICLES, parent), m_directories(directories)
{
}

bool CDamagedArticlesDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    std::string doing = QuorLoadString(m_mode == 1 ? IDS_COMPACTING : IDS_CONVERTING);
    SetDlgItemText(IDC_STATIC_MESSAGE, QuorFormatArgs(QuorLoadString(IDS_DAMAGED_ARTICLES_FOUND), {doing, m_destination}));
    SetDlgItemText(IDC_STATIC_DAMAGED_PATH, m_damagedPath);
    ::SetFocus(GetDlgItem(IDC_BUTTON_FILENAME));
    return false;
}

bool CDamagedArticlesDlg::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    if (id == IDC_BUTTON_FILENAME && code == BN_CLICKED) {
        ChooseFile();
        return true;
    }
    return CDialog::OnCommand(id, code, control, result);
}

void CDamagedArticlesDlg::ChooseFile()
{
    CFileDialog dialog(false, m_hWnd);
    dialog.m_title = QuorLoadString(IDS_SAVE_PARTIAL_ARTICLES_TO);
    dialog.m_filter = QuorLoadString(IDS_DATA_FILE_FILTER);
    dialog.m_defaultExt = "xrd";
    dialog.m_flags = OFN_SHOWHELP | OFN_PATHMUSTEXIST;
    if (m_damagedPath.empty())
        dialog.m_initialDir = m_directories ? m_directories->GetExpandedFolder(CDirectories::kData) : std::string();
    else
        dialog.m_fileName = m_damagedPath;
    if (dialog.DoModal() != IDOK)
        return;
    m_damagedPath = dialog.m_fileName;
    size_t slash = m_damagedPath.find_last_of('\\');
    if (m_directories && slash != std::string::npos)
        m_directories->SetFolderFromPath(CDirectories::kData, m_damagedPath, slash + 1);
    SetDlgItemText(IDC_STATIC_DAMAGED_PATH, m_damagedPath);
}

// Without a file the user confirms that the damaged articles are discarded (No is the default).
void CDamagedArticlesDlg::OnOK()
{
    if (m_damagedPath.empty()) {
        int answer = ::MessageBoxA(m_hWnd, QuorLoadString(IDS_DISCARD_DAMAGED_ARTICLES).c_str(),
                                   QuorLoadString(IDS_APP_NAME).c_str(), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
        if (answer != IDYES) {
            ::SetFocus(GetDlgItem(IDC_BUTTON_FILENAME));
            return;
        }
    }
    EndDialog(IDOK);
}

// ---- Damaged File Report ---------------------------------------------------------------------------

CDamagedFileReportDlg::CDamagedFileReportDlg(HWND parent) : CIconDialog(IDD_DAMAGED_FILE_REPORT, IDI_ASTERISK, parent) {}

bool CDamagedFileReportDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    std::string what = QuorLoadString(m_mode == 1 ? IDS_COMPACTION : IDS_CONVERSION);
    SetDlgItemText(IDC_STATIC_MESSAGE, QuorFormat1(QuorLoadString(IDS_REPAIR_HEADING), what));
    SetDlgItemText(IDC_EDIT_REPORT, m_report);
    return true;
}
