// The Index Window and Articles pages of the Preferences sheet.
#include <shlobj.h>

#include "framework/string_table.h"
#include "framework/ui/controls.h"
#include "framework/ui/file_dialog.h"
#include "resources/resource.h"
#include "shell/ui/pref_dialog.h"
#include "shell/ui/preferences_res.h"

// ---- Index Window ----

CPrefIndexWindow::CPrefIndexWindow(CPrefContext& context) : CPrefPage(IDD_PREF_INDEX_WINDOW, context) {}

bool CPrefIndexWindow::OnInitDialog()
{
    m_titleColor.SubclassButton(GetDlgItem(IDC_PREF_TITLE_COLOR));
    m_dateColor.SubclassButton(GetDlgItem(IDC_PREF_DATE_COLOR));
    m_previewColor.SubclassButton(GetDlgItem(IDC_PREF_PREVIEW_COLOR));
    ShowColor(m_titleColor, m_model.values.titleColor);
    ShowColor(m_dateColor, m_model.values.dateColor);
    ShowColor(m_previewColor, m_model.values.previewColor);
    CPrefPage::OnInitDialog();
    UpdateShowTime();
    return true;
}

void CPrefIndexWindow::DoDataExchange(CDataExchange& dx)
{
    CPrefIndexWindowModel::Values& v = m_model.values;
    dx.Radio(IDC_PREF_SHOW_ALL_TITLES, v.titlesList);
    dx.Check(IDC_PREF_SHOW_BOOKMARKS, v.showTag);
    dx.Check(IDC_PREF_SHOW_ATTACHMENTS, v.showAttachment);
    dx.Check(IDC_PREF_SHOW_LINKS, v.showHypertext);
    dx.Check(IDC_PREF_SHOW_PRIVACY, v.showPrivate);
    dx.Check(IDC_PREF_SHOW_REMINDERS, v.showReminders);
    dx.Check(IDC_PREF_SHOW_DATES, v.showDate);
    dx.Check(IDC_PREF_SHOW_TIMES, v.showTime);
}

void CPrefIndexWindow::ShowColor(CColorButton& button, int32_t color)
{
    button.SetColor(static_cast<COLORREF>(color));
    button.SetCaption(CPrefIndexWindowModel::ColorCaption(color));
    ::InvalidateRect(button.m_hWnd, nullptr, TRUE);
}

void CPrefIndexWindow::ChooseColor(CColorButton& button, int32_t& color, int automaticMode)
{
    if (!button.RunPopup(automaticMode, m_customColor))
        return;
    color = static_cast<int32_t>(button.GetColor());
    ShowColor(button, color);
}

void CPrefIndexWindow::UpdateShowTime()
{
    const int showDate = ::IsDlgButtonChecked(m_hWnd, IDC_PREF_SHOW_DATES) == BST_CHECKED ? 1 : 0;
    m_model.values.showTime = ::IsDlgButtonChecked(m_hWnd, IDC_PREF_SHOW_TIMES) == BST_CHECKED ? 1 : 0;
    m_model.ShowDateClicked(showDate);
    ::CheckDlgButton(m_hWnd, IDC_PREF_SHOW_TIMES, static_cast<UINT>(m_model.values.showTime));
    ::EnableWindow(GetDlgItem(IDC_PREF_SHOW_TIMES), CPrefIndexWindowModel::IsShowTimeEnabled(showDate));
}

bool CPrefIndexWindow::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    if (code != BN_CLICKED)
        return CPrefPage::OnCommand(id, code, control, result);
    switch (id) {
    case IDC_PREF_SHOW_DATES:
        // Unticking Show Dates unticks Show Times; ticking it again offers Show Times, unticked.
        if (::IsDlgButtonChecked(m_hWnd, IDC_PREF_SHOW_DATES) == BST_CHECKED)
            ::CheckDlgButton(m_hWnd, IDC_PREF_SHOW_TIMES, BST_UNCHECKED);
        UpdateShowTime();
        return true;
    case IDC_PREF_TITLE_COLOR:
        ChooseColor(m_titleColor, m_model.values.titleColor, 0);
        return true;
    case IDC_PREF_DATE_COLOR:
        ChooseColor(m_dateColor, m_model.values.dateColor, 0);
        return true;
    case IDC_PREF_PREVIEW_COLOR:
        ChooseColor(m_previewColor, m_model.values.previewColor, 1);
        return true;
    default:
        return CPrefPage::OnCommand(id, code, control, result);
    }
}

void CPrefIndexWindow::OnOK()
{
    m_model.Apply(m_context.settings, m_context.host);
}

// ---- Articles ----

CPrefArticle::CPrefArticle(CPrefContext& context) : CPrefPage(IDD_PREF_ARTICLES, context) {}

bool CPrefArticle::OnInitDialog()
{
    // The up-down keeps its default range (100 down to 0): the year moves by its deltas alone.
    ::SendDlgItemMessageA(m_hWnd, IDC_PREF_END_YEAR_SPIN, UDM_SETBUDDY,
                        reinterpret_cast<WPARAM>(static_cast<HWND>(GetDlgItem(IDC_PREF_END_YEAR))), 0);
    SetDlgItemText(IDC_PREF_FOLDER_PROGRAM, m_model.programPath);
    CPrefPage::OnInitDialog();
    SetDlgItemText(IDC_PREF_START_YEAR, std::to_string(CPrefArticleModel::StartYear(m_model.endYear)));
    UpdateBrowse();
    return true;
}

void CPrefArticle::DoDataExchange(CDataExchange& dx)
{
    CPrefArticleModel& m = m_model;
    dx.Radio(IDC_PREF_SIZE_AUTOMATIC, m.artSize);
    dx.Radio(IDC_PREF_LINKS_VISIBLE, m.activeLinks);
    dx.Check(IDC_PREF_AUTO_OPEN_FILE, m.autoOpenFile);
    dx.Check(IDC_PREF_AUTO_OPEN_INTERNET, m.autoOpenInternet);
    dx.Check(IDC_PREF_FOLDER_PROGRAM_CHECK, m.userFolderBrowser);
    dx.Check(IDC_PREF_SHOW_GALLERY, m.showImageGallery);
    dx.Radio(IDC_PREF_GALLERY_SMALL, m.galleryImageSize);
    dx.Number(IDC_PREF_END_YEAR, m.endYear, CPrefArticleModel::kMinEndYear, CPrefArticleModel::kMaxEndYear);
    dx.Check(IDC_PREF_DISPLAY_DATE, m.displayDate);
    dx.Check(IDC_PREF_DISPLAY_TIME, m.displayTime);
    dx.Check(IDC_PREF_AUTO_SAVE, m.autoSave);
    dx.Check(IDC_PREF_DEFAULT_TITLE, m.defaultTitle);
    dx.Check(IDC_PREF_DEFAULT_KEYWORDS, m.defaultKeywords);
}

void CPrefArticle::UpdateBrowse()
{
    ::EnableWindow(GetDlgItem(IDC_PREF_BROWSE), ::IsDlgButtonChecked(m_hWnd, IDC_PREF_FOLDER_PROGRAM_CHECK) == BST_CHECKED);
}

void CPrefArticle::BrowseProgram()
{
    char programFiles[MAX_PATH] = {};
    SHGetSpecialFolderPathA(m_hWnd, programFiles, CSIDL_PROGRAM_FILES, FALSE);
    std::string chosen;
    bool ok = false;
    if (m_context.chooseFile) {
        ok = m_context.chooseFile(programFiles, chosen);
    } else {
        CFileDialog dialog(true, m_hWnd);
        dialog.m_defaultExt = "exe";
        dialog.m_filter = QuorLoadString(IDS_PROGRAM_FILES_FILTER);
        dialog.m_flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST;
        dialog.m_initialDir = programFiles;
        ok = dialog.DoModal() == IDOK;
        chosen = dialog.m_fileName;
    }
    if (!ok)
        return;
    m_model.programPath = chosen;
    SetDlgItemText(IDC_PREF_FOLDER_PROGRAM, chosen);
}

bool CPrefArticle::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    if (id == IDC_PREF_END_YEAR && code == EN_CHANGE) {
        SetDlgItemText(IDC_PREF_START_YEAR, CPrefArticleModel::StartYearText(GetDlgItemText(IDC_PREF_END_YEAR)));
        return true;
    }
    if (code != BN_CLICKED)
        return CPrefPage::OnCommand(id, code, control, result);
    switch (id) {
    case IDC_PREF_FOLDER_PROGRAM_CHECK:
        UpdateBrowse();
        return true;
    case IDC_PREF_AUTO_SAVE:
        m_model.autoSaveClicked = true;
        return true;
    case IDC_PREF_BROWSE:
        BrowseProgram();
        return true;
    default:
        return CPrefPage::OnCommand(id, code, control, result);
    }
}

bool CPrefArticle::OnNotify(NMHDR* header, LRESULT& result)
{
    if (header->idFrom == IDC_PREF_END_YEAR_SPIN && header->code == UDN_DELTAPOS) {
        // The up arrow sends a delta of -1 with the default range: the year is the number less it.
        const auto* change = reinterpret_cast<NMUPDOWN*>(header);
        BOOL read = FALSE;
        const int number = static_cast<int>(::GetDlgItemInt(m_hWnd, IDC_PREF_END_YEAR, &read, TRUE));
        SetDlgItemText(IDC_PREF_END_YEAR, std::to_string(CPrefArticleModel::StepYear(number, change->iDelta)));
        result = 0;
        return true;
    }
    return CPrefPage::OnNotify(header, result);
}

bool CPrefArticle::OnKillActive()
{
    if (!CPrefPage::OnKillActive())
        return false;
    if (!m_model.MissingProgram())
        return true;
    ShowMessage(IDS_FOLDER_PROGRAM_MISSING, MB_ICONEXCLAMATION);
    ::SetFocus(GetDlgItem(IDC_PREF_FOLDER_PROGRAM_CHECK));
    return false;
}

void CPrefArticle::OnOK()
{
    m_model.Apply(m_context.settings, m_context.host);
}
