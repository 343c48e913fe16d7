// The Display and Files pages of the Preferences sheet.
#include <new>

#include "controls/ui/font_select.h"
#include "framework/string_table.h"
#include "framework/ui/file_dialog.h"
#include "resources/resource.h"
#include "shell/fit_text.h"
#include "shell/ui/folder_browser.h"
#include "shell/ui/pref_dialog.h"
#include "shell/ui/preferences_res.h"
#include "storage/quor_error.h"

// ---- Display ----

CPrefDisplay::CPrefDisplay(CPrefContext& context) : CPrefPage(IDD_PREF_DISPLAY, context) {}

bool CPrefDisplay::OnInitDialog()
{
    CPrefPage::OnInitDialog();
    ::EnableWindow(GetDlgItem(IDC_PREF_FLAT_TOOLBAR), !m_model.flatLocked);
    ShowFontText();
    return true;
}

void CPrefDisplay::DoDataExchange(CDataExchange& dx)
{
    dx.Check(IDC_PREF_FLAT_TOOLBAR, m_model.flatToolbar);
    dx.Check(IDC_PREF_LARGE_BUTTONS, m_model.largeButtons);
    dx.Check(IDC_PREF_WELCOME, m_model.welcome);
    dx.Check(IDC_PREF_SPLASH, m_model.splash);
    dx.Check(IDC_PREF_ON_TOP, m_model.onTop);
}

void CPrefDisplay::ShowFontText()
{
    SetDlgItemText(IDC_PREF_FONT_TEXT, DescribeFont(m_model.font, m_context.pixelsPerInch));
}

void CPrefDisplay::ChooseFont()
{
    LogFont font = m_model.font;
    int32_t color = m_model.DialogColor();
    if (!CFontSelect::Choose(m_hWnd, font, color, m_context.defaultFont))
        return;
    m_model.FontChosen(font, color);
    ShowFontText();
}

bool CPrefDisplay::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    if (code != BN_CLICKED)
        return CPrefPage::OnCommand(id, code, control, result);
    switch (id) {
    case IDC_PREF_FLAT_TOOLBAR:
    case IDC_PREF_LARGE_BUTTONS:
        m_model.ToolbarClicked();
        return true;
    case IDC_PREF_FONT:
        ChooseFont();
        return true;
    default:
        return CPrefPage::OnCommand(id, code, control, result);
    }
}

void CPrefDisplay::OnOK()
{
    m_model.Apply(m_context.settings, m_context.profile, m_context.fonts, m_context.host);
}

// ---- Files ----

namespace {

constexpr int kFolderTabStop = 80;

// The width of `text` in the static's font, in pixels.
int TextWidth(HWND control, const std::string& text)
{
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE size = {};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size.cx;
}

}  // namespace

CPrefFile::CPrefFile(CPrefContext& context) : CPrefPage(IDD_PREF_FILES, context) {}

bool CPrefFile::OnInitDialog()
{
    m_list.Subclass(GetDlgItem(IDC_PREF_FOLDERS));
    m_list.SetTabStop(kFolderTabStop);
    for (int i = 0; i < static_cast<int>(m_model.folders.size()); ++i) {
        const int index = m_list.AddString(m_model.LineText(i));
        m_list.SetItemData(index, i);
    }
    m_list.SetCurSel(0);
    ::EnableWindow(GetDlgItem(IDC_PREF_FOLDER_BROWSE), !m_model.rootMode);
    ::ShowWindow(GetDlgItem(IDC_PREF_PORTABLE), m_model.portableUse ? SW_SHOW : SW_HIDE);
    CPrefPage::OnInitDialog();
    ShowStartFile();
    UpdateStartBrowse();
    return true;
}

void CPrefFile::DoDataExchange(CDataExchange& dx)
{
    dx.Radio(IDC_PREF_START_NONE, m_model.startChoice);
    dx.Check(IDC_PREF_PORTABLE, m_model.portable);
}

void CPrefFile::ShowStartFile()
{
    HWND control = GetDlgItem(IDC_PREF_START_FILE);
    RECT client = {};
    ::GetClientRect(control, &client);
    SetDlgItemText(IDC_PREF_START_FILE,
                   WrapPathToWidth(m_model.startFile, client.right,
                                   [control](const std::string& text) { return TextWidth(control, text); }));
}

void CPrefFile::UpdateStartBrowse()
{
    ::EnableWindow(GetDlgItem(IDC_PREF_START_FILE_BROWSE),
                   ::IsDlgButtonChecked(m_hWnd, IDC_PREF_START_FILE_CHOICE) == BST_CHECKED);
}

void CPrefFile::BrowseFolder()
{
    const int line = m_list.GetCurSel();
    if (line < 0)
        return;
    const int folder = static_cast<int>(m_list.GetItemData(line));
    if (folder < 0 || folder >= static_cast<int>(m_model.folders.size()))
        return;
    try {
        const CPrefFileModel::Folder& entry = m_model.folders[static_cast<size_t>(folder)];
        std::string chosen;
        bool ok = false;
        if (m_context.chooseFolder) {
            ok = m_context.chooseFolder(entry.name, entry.path, chosen);
        } else {
            CFolderBrowser browser(m_hWnd, entry.name, entry.path);
            ok = browser.DoModal() == IDOK;
            browser.GetFolder(chosen);
        }
        if (!ok)
            return;
        m_model.SetFolderPath(folder, chosen);
        // The line is replaced in place and stays selected.
        m_list.DeleteString(line);
        m_list.InsertString(line, m_model.LineText(folder));
        m_list.SetItemData(line, folder);
        m_list.SetCurSel(line);
    } catch (const CQuorError& error) {
        error.Report();
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
    }
}

void CPrefFile::BrowseStartFile()
{
    const DWORD attributes = GetFileAttributesA(m_model.startFile.c_str());
    const bool exists = !m_model.startFile.empty() && attributes != INVALID_FILE_ATTRIBUTES &&
                        !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    std::string chosen;
    bool ok = false;
    if (m_context.chooseFile) {
        ok = m_context.chooseFile(exists ? m_model.startFile : m_context.directories.GetExpandedFolder(0), chosen);
    } else {
        CFileDialog dialog(true, m_hWnd);
        dialog.m_title = QuorLoadString(IDS_CHOOSE_START_FILE);
        dialog.m_filter = QuorLoadString(IDS_DATA_FILE_FILTER);
        dialog.m_defaultExt = "xrd";
        dialog.m_flags = OFN_HIDEREADONLY | OFN_SHOWHELP | OFN_FILEMUSTEXIST | OFN_SHAREAWARE;
        if (exists)
            dialog.m_fileName = m_model.startFile;
        else
            dialog.m_initialDir = m_context.directories.GetExpandedFolder(0);
        ok = dialog.DoModal() == IDOK;
        chosen = dialog.m_fileName;
    }
    if (!ok || chosen.empty())
        return;
    const size_t slash = chosen.find_last_of('\\');
    if (slash != std::string::npos)
        m_context.directories.SetFolderFromPath(0, chosen, slash + 1);
    m_model.startFile = chosen;
    ShowStartFile();
}

bool CPrefFile::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    if (code != BN_CLICKED)
        return CPrefPage::OnCommand(id, code, control, result);
    switch (id) {
    case IDC_PREF_FOLDER_BROWSE:
        BrowseFolder();
        return true;
    case IDC_PREF_START_FILE_BROWSE:
        BrowseStartFile();
        return true;
    case IDC_PREF_START_NONE:
    case IDC_PREF_START_RECENT:
    case IDC_PREF_START_FILE_CHOICE:
        UpdateStartBrowse();
        return true;
    default:
        return CPrefPage::OnCommand(id, code, control, result);
    }
}

bool CPrefFile::OnKillActive()
{
    m_list.HideTip();
    return CPrefPage::OnKillActive();
}

void CPrefFile::OnOK()
{
    try {
        m_model.Apply(m_context.settings, m_context.directories);
    } catch (const CQuorError& error) {
        error.Report();
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
    }
}
