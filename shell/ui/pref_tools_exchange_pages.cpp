// The Import, Export and Tools pages of the Preferences sheet.
#include "export/html_export_file.h"
#include "framework/ui/controls.h"
#include "resources/resource.h"
#include "shell/ui/pref_dialog.h"
#include "shell/ui/preferences_res.h"
#include "storage/date.h"

// ---- Import ----

CPrefImport::CPrefImport(CPrefContext& context) : CPrefPage(IDD_PREF_IMPORT, context) {}

void CPrefImport::DoDataExchange(CDataExchange& dx)
{
    dx.Radio(IDC_PREF_IMPORT_TODAY, m_model.importDate);
    dx.Check(IDC_PREF_OPEN_IMPORTED, m_model.openImport);
    dx.Radio(IDC_PREF_DUPLICATES_REPORT, m_model.duplicateAction);
    dx.Radio(IDC_PREF_TITLE_FULL_PATH, m_model.defaultTitle);
}

void CPrefImport::OnOK()
{
    m_model.Apply(m_context.settings);
}

// ---- Export ----

CPrefExport::CPrefExport(CPrefContext& context) : CPrefPage(IDD_PREF_EXPORT, context) {}

bool CPrefExport::OnInitDialog()
{
    CComboBoxHandle combo(GetDlgItem(IDC_PREF_ENCODING_LIST));
    std::string label, charset;
    for (int i = 0; CHtmlExportFile::GetCharsetEntry(i, label, charset); ++i)
        combo.AddString(label);
    CUpDownCtrlHandle(GetDlgItem(IDC_PREF_LINE_LENGTH_SPIN)).SetRange(CPrefExportModel::kMinLineLength,
                                                                       CPrefExportModel::kUpDownMax);
    CPrefPage::OnInitDialog();
    UpdateEncoding();
    return true;
}

void CPrefExport::DoDataExchange(CDataExchange& dx)
{
    dx.Radio(IDC_PREF_LIMIT_LINES, m_model.lineChoice);
    dx.Number(IDC_PREF_LINE_LENGTH, m_model.lineLength, CPrefExportModel::kMinLineLength,
              CPrefExportModel::kMaxLineLength);
    dx.Radio(IDC_PREF_ENCODING_NONE, m_model.htmlType);
    dx.ComboIndex(IDC_PREF_ENCODING_LIST, m_model.encodeSet);
    dx.Text(IDC_PREF_ENCODING_TEXT, m_model.customSet);
}

void CPrefExport::UpdateEncoding()
{
    int type = 0;
    if (::IsDlgButtonChecked(m_hWnd, IDC_PREF_ENCODING_PREDEFINED) == BST_CHECKED)
        type = 1;
    else if (::IsDlgButtonChecked(m_hWnd, IDC_PREF_ENCODING_CUSTOM) == BST_CHECKED)
        type = 2;
    ::EnableWindow(GetDlgItem(IDC_PREF_ENCODING_LIST), CPrefExportModel::IsComboEnabled(type));
    ::EnableWindow(GetDlgItem(IDC_PREF_ENCODING_TEXT), CPrefExportModel::IsCustomEnabled(type));
}

bool CPrefExport::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    if (code == BN_CLICKED &&
        (id == IDC_PREF_ENCODING_NONE || id == IDC_PREF_ENCODING_PREDEFINED || id == IDC_PREF_ENCODING_CUSTOM)) {
        UpdateEncoding();
        return true;
    }
    return CPrefPage::OnCommand(id, code, control, result);
}

bool CPrefExport::OnKillActive()
{
    // The values go into the settings whenever the page is left, OK included: a later Cancel keeps
    // them in memory, and the next save of the settings stores them.
    if (!CPrefPage::OnKillActive())
        return false;
    if (m_model.MissingCustomSet()) {
        ShowMessage(IDS_CUSTOM_ENCODING_MISSING, MB_ICONSTOP);
        ::SetFocus(GetDlgItem(IDC_PREF_ENCODING_TEXT));
        return false;
    }
    m_model.Store(m_context.settings);
    return true;
}

// ---- Tools ----

CPrefTools::CPrefTools(CPrefContext& context) : CPrefPage(IDD_PREF_TOOLS, context) {}

bool CPrefTools::OnInitDialog()
{
    ::EnableWindow(GetDlgItem(IDC_PREF_SPELLING_OPTIONS), m_context.spellEngineAvailable);
    CComboBoxHandle combo(GetDlgItem(IDC_PREF_SNOOZE));
    for (const std::string& label : CPrefToolsModel::SnoozeLabels())
        combo.AddString(label);
    m_time.Subclass(GetDlgItem(IDC_PREF_REMINDER_TIME));
    const std::string picture = GetTimePicture(true);
    m_time.SendMessage(DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>(picture.c_str()));
    m_time.SetSecondsOfDay(m_model.reminderTime);
    CPrefPage::OnInitDialog();
    return true;
}

void CPrefTools::DoDataExchange(CDataExchange& dx)
{
    dx.Check(IDC_PREF_UPDATE_QUERIES, m_model.autoUpdateQuery);
    dx.Check(IDC_PREF_REMINDER_SOUND, m_model.playSound);
    dx.ComboIndex(IDC_PREF_SNOOZE, m_model.snooze);
    dx.Radio(IDC_PREF_REMINDER_NOW, m_model.reminderType);
}

bool CPrefTools::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    if (id == IDC_PREF_SPELLING_OPTIONS && code == BN_CLICKED) {
        if (m_context.spellingOptions)
            m_context.spellingOptions();
        return true;
    }
    return CPrefPage::OnCommand(id, code, control, result);
}

void CPrefTools::OnOK()
{
    m_model.reminderTime = m_time.GetSecondsOfDay();
    m_model.Apply(m_context.settings);
}
