#include "shell/ui/pref_dialog.h"

#include "framework/string_table.h"
#include "framework/ui/app.h"
#include "framework/ui/context_help.h"
#include "resources/resource.h"
#include "storage/date.h"

bool CPrefPage::OnHelp(HELPINFO* info)
{
    if (info->iContextType != HELPINFO_WINDOW)
        return false;
    if (CWinApp* app = CWinApp::Current())
        app->ShowHelp(kHelpIdResource + static_cast<DWORD>(GetTemplateId()));
    return true;
}

void CPrefPage::ShowMessage(int stringId, UINT icon) const
{
    MessageBoxA(m_hWnd, QuorLoadString(stringId).c_str(), QuorLoadString(IDS_APP_NAME).c_str(), MB_OK | icon);
}

CPrefDialog::CPrefDialog(HWND parent, CPrefContext& context)
    : CPropertySheet(QuorLoadString(IDS_PREFERENCES), parent),
      m_export(context),
      m_import(context),
      m_display(context),
      m_indexWindow(context),
      m_article(context),
      m_file(context),
      m_tools(context),
      m_context(context)
{
    AddPage(&m_indexWindow);
    AddPage(&m_article);
    AddPage(&m_display);
    AddPage(&m_file);
    AddPage(&m_import);
    AddPage(&m_export);
    AddPage(&m_tools);
    EnableHelpButton();
}

void CPrefDialog::Fill()
{
    CAppSettings& settings = m_context.settings;
    m_indexWindow.m_model.Fill(settings);
    m_article.m_model.Fill(settings, ::GetPivotYear());
    m_display.m_model.Fill(settings, m_context.profile, m_context.fonts, m_context.themeActive, m_context.flatAllowed);
    m_file.m_model.Fill(settings, m_context.directories, m_context.portableUse);
    m_import.m_model.Fill(settings);
    m_export.m_model.Fill(settings);
    m_tools.m_model.Fill(settings);
}

void CPrefDialog::OnHelpCommand()
{
    ShowMainWindowHelp();
}
