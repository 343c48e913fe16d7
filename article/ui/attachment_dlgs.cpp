#include "article/ui/attachment_dlgs.h"

#include <new>
#include <utility>

#include "article/article_properties_model.h"
#include "article/article_save_checks.h"
#include "framework/string_table.h"
#include "framework/ui/file_dialog.h"
#include "resources/article_properties_res.h"
#include "shell/directories.h"
#include "storage/link_shell.h"
#include "storage/quor_error.h"

namespace {

std::function<bool(HWND, const std::string&, std::string&)> g_chooseFile;
std::function<bool(HWND, const std::string&, std::string&)> g_chooseFolder;

bool PathExists(const std::string& path, bool& isFolder)
{
    isFolder = false;
    ILinkShell* shell = GetLinkShell();
    return shell && !path.empty() && shell->PathExists(path, isFolder);
}

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// The file-open dialog: file and path must exist, no read-only box, a Help button.
bool ChooseFileBySystem(HWND owner, const std::string& title, std::string& path)
{
    CFileDialog dialog(true, owner);
    dialog.m_title = title;
    dialog.m_filter = QuorLoadString(IDS_ALL_FILES_FILTER);
    bool folder = false;
    if (PathExists(path, folder) && !folder) {
        dialog.m_initialDir = FolderOf(path);
        dialog.m_fileName = path;
    } else {
        dialog.m_initialDir = FolderOf(path + "\\x");
    }
    dialog.m_flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_SHOWHELP;
    if (dialog.DoModal() != IDOK)
        return false;
    path = dialog.m_fileName;
    return true;
}

}  // namespace

CAttachmentPropertiesDlg::CAttachmentPropertiesDlg(HWND parent) : CDialog(IDD_ATTACHMENT_PROPERTIES, parent) {}

void CAttachmentPropertiesDlg::SetChoosers(std::function<bool(HWND, const std::string&, std::string&)> chooseFile,
                                           std::function<bool(HWND, const std::string&, std::string&)> chooseFolder)
{
    g_chooseFile = std::move(chooseFile);
    g_chooseFolder = std::move(chooseFolder);
}

bool CAttachmentPropertiesDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    std::string text;
    m_target.GetTarget(text);
    ::SetDlgItemTextA(m_hWnd, IDC_ATP_TARGET, text.c_str());
    m_initialText = TrimArticleText(text);
    m_initialKind = m_target.GetKind();
    int radio = IDC_ATP_FILE;
    if (m_initialKind == CLinkTarget::kFile) {
        ILinkShell* shell = GetLinkShell();
        bool folder = false;
        if (PathExists(m_target.GetFullPath(shell ? shell->BaseFolder() : std::string()), folder) && folder)
            radio = IDC_ATP_FOLDER;
    } else if (m_initialKind == CLinkTarget::kInternet) {
        radio = IDC_ATP_INTERNET;
    }
    ::CheckRadioButton(m_hWnd, IDC_ATP_FILE, IDC_ATP_INTERNET, radio);
    ::CheckDlgButton(m_hWnd, IDC_ATP_OPEN_LIST, m_target.IsInOpenList() ? BST_CHECKED : BST_UNCHECKED);
    m_initialGallery = m_target.IsInImageGallery();
    ::CheckDlgButton(m_hWnd, IDC_ATP_GALLERY, m_initialGallery ? BST_CHECKED : BST_UNCHECKED);
    if (m_hideInternet)
        ::ShowWindow(::GetDlgItem(m_hWnd, IDC_ATP_INTERNET), SW_HIDE);
    if (m_hideChecks) {
        ::ShowWindow(::GetDlgItem(m_hWnd, IDC_ATP_OPEN_LIST), SW_HIDE);
        ::ShowWindow(::GetDlgItem(m_hWnd, IDC_ATP_GALLERY), SW_HIDE);
    }
    if (m_captionId != -1)
        ::SetWindowTextA(m_hWnd, QuorLoadString(m_captionId).c_str());
    if (m_groupCaptionId != -1)
        ::SetDlgItemTextA(m_hWnd, IDC_ATP_TYPE_GROUP, QuorLoadString(m_groupCaptionId).c_str());
    UpdateOk();
    UpdateBrowse();
    return true;
}

int CAttachmentPropertiesDlg::ChosenKind() const
{
    return ::IsDlgButtonChecked(m_hWnd, IDC_ATP_INTERNET) == BST_CHECKED ? CLinkTarget::kInternet : CLinkTarget::kFile;
}

void CAttachmentPropertiesDlg::UpdateOk()
{
    const int length = ::GetWindowTextLengthA(::GetDlgItem(m_hWnd, IDC_ATP_TARGET));
    std::string text(static_cast<size_t>(length) + 1, '\0');
    ::GetDlgItemTextA(m_hWnd, IDC_ATP_TARGET, &text[0], length + 1);
    text.resize(static_cast<size_t>(length));
    ::EnableWindow(::GetDlgItem(m_hWnd, IDOK), !TrimArticleText(text).empty());
}

void CAttachmentPropertiesDlg::UpdateBrowse()
{
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_ATP_BROWSE), ChosenKind() == CLinkTarget::kFile);
}

void CAttachmentPropertiesDlg::OnBrowse()
{
    const bool folder = ::IsDlgButtonChecked(m_hWnd, IDC_ATP_FOLDER) == BST_CHECKED;
    CDirectories* directories = m_directories;
    const std::string start = directories ? directories->GetExpandedFolder(CDirectories::kAttachments) : std::string();
    std::string path = TrimArticleText(GetDlgItem(IDC_ATP_TARGET).GetWindowText());
    try {
        if (!folder) {
            const std::string title = QuorLoadString(m_fileTitleId != -1 ? m_fileTitleId : IDS_SELECT_ATTACHMENT_FILE);
            bool isFolder = false;
            std::string chosen = PathExists(path, isFolder) && !isFolder ? path : start;
            const bool chose = g_chooseFile ? g_chooseFile(m_hWnd, title, chosen) : ChooseFileBySystem(m_hWnd, title, chosen);
            if (!chose)
                return;
            if (directories)
                directories->SetFolder(CDirectories::kAttachments, FolderOf(chosen));
            path = chosen;
        } else {
            std::string chosen = path.empty() ? start : path;
            const std::string title = QuorLoadString(m_fileTitleId != -1 ? m_fileTitleId : IDS_SELECT_FOLDER_ATTACHMENT);
            if (!g_chooseFolder || !g_chooseFolder(m_hWnd, title, chosen))
                return;
            path = chosen;
        }
        ::SetDlgItemTextA(m_hWnd, IDC_ATP_TARGET, path.c_str());
        UpdateOk();
    } catch (const CQuorError& error) {
        error.Report();
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
    }
}

bool CAttachmentPropertiesDlg::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    switch (id) {
    case IDC_ATP_TARGET:
        if (code == EN_CHANGE)
            UpdateOk();
        return true;
    case IDC_ATP_FILE:
    case IDC_ATP_FOLDER:
    case IDC_ATP_INTERNET:
        if (code == BN_CLICKED)
            UpdateBrowse();
        return true;
    case IDC_ATP_BROWSE:
        if (code == BN_CLICKED)
            OnBrowse();
        return true;
    default:
        return CDialog::OnCommand(id, code, control, result);
    }
}

void CAttachmentPropertiesDlg::OnOK()
{
    std::string text = TrimArticleText(GetDlgItem(IDC_ATP_TARGET).GetWindowText());
    if (text.empty())
        return;
    const int kind = ChosenKind();
    const bool gallery = ::IsDlgButtonChecked(m_hWnd, IDC_ATP_GALLERY) == BST_CHECKED;
    const bool openList = ::IsDlgButtonChecked(m_hWnd, IDC_ATP_OPEN_LIST) == BST_CHECKED;
    m_targetChanged =
        IsAttachmentTargetChanged(m_initialText, m_initialKind, m_initialGallery, text, kind, gallery);
    try {
        m_target.Set(kind, text, m_target.GetFlags(), -1);
        m_target.SetInOpenList(openList);
        m_target.SetInImageGallery(gallery);
    } catch (const CQuorError& error) {
        error.Report();
        return;
    }
    EndDialog(IDOK);
}

// ---- Detach Attachments ----

CDetachAttachmentsDlg::CDetachAttachmentsDlg(HWND parent) : CDialog(IDD_DETACH_ATTACHMENTS, parent) {}

bool CDetachAttachmentsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list.SubclassDlgItem(IDC_DETACH_LIST, m_hWnd);
    m_list.SetItemHeight();
    for (int i = 0; i < m_attachments.GetSize(); ++i) {
        const CLinkTarget* target = m_attachments.Item(i);
        if (target && m_list.AddItem(*target, true) < 0)
            break;
    }
    // No is the default button (the template's DEFPUSHBUTTON); the dialog manager gives the focus.
    return true;
}

bool CDetachAttachmentsDlg::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    if (id == IDC_DETACH_YES) {
        EndDialog(IDYES);
        return true;
    }
    if (id == IDC_DETACH_NO || id == IDCANCEL) {
        EndDialog(IDNO);
        return true;
    }
    return CDialog::OnCommand(id, code, control, result);
}
