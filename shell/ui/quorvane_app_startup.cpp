// The start-up windows of the application (splash, Tip of the Day, Welcome), the About box and the
// commands that open the maker's web pages.
#include "framework/string_table.h"
#include "framework/ui/rich_edit.h"
#include "resources/resource.h"
#include "shell/app_settings.h"
#include "shell/link_finder.h"
#include "shell/ui/quorvane_app.h"
#include "shell/ui/splash_wnd.h"
#include "shell/ui/tip_of_the_day_dlg.h"
#include "shell/ui/update_check_dlg.h"
#include "shell/ui/update_list_fetch_win.h"
#include "shell/ui/welcome_dlg.h"
#include "storage/link_shell.h"

namespace {

constexpr const char kProgramSection[] = "QUORVANE";
constexpr int kWelcomeHidden = 2;

}  // namespace

void CQuorvaneApp::ShowSplash(bool aboutMode, bool continueAfter)
{
    if (m_splash) return;
    auto* splash = new CSplashWnd;
    splash->m_autoDelete = true;
    splash->m_versionText = m_version.text;
    splash->m_portable = m_portable;
    splash->m_interfaceFont = m_dialogFont;
    splash->m_onShowing = [this](bool showing) { m_splashShowing = showing; };
    splash->m_onFinished = [this, aboutMode, continueAfter] {
        m_splash = nullptr;
        m_startupFlags |= kStartupSplashDone;
    };
    CMainFrame* frame = MainFrame();
    m_splash = splash;
    if (!splash->Show(aboutMode, continueAfter, frame ? frame->m_hWnd : nullptr)) {
        m_splash = nullptr;
        delete splash;
        m_startupFlags |= kStartupSplashDone;
        if (!aboutMode && continueAfter && frame)
            frame->PostMessage(WM_COMMAND, kStartupStepsCommand, 0);
    }
}

void CQuorvaneApp::ContinueAfterSplash()
{
    if (m_splash)
        m_splash->SetContinue(true);
    else if (CMainFrame* frame = MainFrame())
        frame->PostMessage(WM_COMMAND, kStartupStepsCommand, 0);
}

void CQuorvaneApp::RunTipOfTheDay(bool fromMenu)
{
    LoadRichEdit();
    CTipOfTheDayDlg dialog(*m_settings, MainWindow());
    dialog.m_reportMissingFile = fromMenu ? 1 : 0;
    dialog.m_tipFilePath = CTipOfTheDayDlg::TipFilePathFor(ProgramPath());
    dialog.m_highContrast = MainFrame() && MainFrame()->IsHighContrast();
    dialog.m_onHelp = [this](uint32_t context) { ShowHelp(context); };
    dialog.m_onOpen = [](const std::string& target) { CLinkFinder::OpenLink(target); };
    dialog.DoModal();
}

int CQuorvaneApp::RunWelcome(int showAtStartup)
{
    CWelcomeDlg dialog(MainWindow());
    dialog.m_showAtStartup = showAtStartup;
    dialog.m_commandTarget = MainWindow();
    for (int i = 0; i < m_recentList.GetSize() && i < 4; ++i)
        dialog.m_recentPaths.push_back(m_directories.ExpandDriveRelative(m_recentList.GetEntry(i)));
    dialog.DoModal();
    return dialog.m_showAtStartup;
}

void CQuorvaneApp::ShowWelcome()
{
    if (m_missingStartFile) {
        m_missingStartFile = false;
        Inform(QuorFormat1(QuorLoadString(IDS_LAST_FILE_MISSING), m_missingStartPath), kExclamation);
    }
    try {
        if (m_options.GetInt(kProgramSection, "Welcome", 1) == kWelcomeHidden)
            return;
        const int show = RunWelcome(1);
        m_options.WriteInt(kProgramSection, "Welcome", show ? 1 : kWelcomeHidden);
    } catch (const CFileException&) {
    }
}

void CQuorvaneApp::OnStartupSteps()
{
    m_startupFlags |= kStartupStepsBegun;
    if (m_settings->GetShowTipOfTheDay())
        RunTipOfTheDay(false);
    m_startupFlags |= kStartupTipDone;
    ShowWelcome();
    m_startupFlags |= kStartupWelcomeDone;
}

void CQuorvaneApp::OnHelpAbout()
{
    ShowSplash(true, false);
}

void CQuorvaneApp::OnHelpTip()
{
    RunTipOfTheDay(true);
}

// The maker's pages go through the guarded shell like every link; a browser that cannot be
// started is reported with the address, so the user can type it.
void CQuorvaneApp::OpenWebAddress(int addressId)
{
    const std::string address = QuorLoadString(addressId);
    const std::string safe = SafeInternetAddress(address);
    ILinkShell* shell = GetLinkShell();
    if (!shell || safe.empty() || shell->Execute("open", safe, "") <= 32)
        Inform(QuorFormat1(QuorLoadString(IDS_UPGRADE_INFO_FAILED), address), kExclamation);
}

// The tutorial is the help file's topic 257.
void CQuorvaneApp::OnHelpTutorial()
{
    ShowHelp(kTutorialHelpContext);
}

void CQuorvaneApp::OnHelpWebSite()
{
    OpenWebAddress(IDS_HOME_PAGE_ADDRESS);
}

void CQuorvaneApp::OnHelpForum()
{
    OpenWebAddress(IDS_FORUM_ADDRESS);
}

void CQuorvaneApp::OnHelpEmail()
{
    OpenWebAddress(IDS_SUPPORT_MAIL_ADDRESS);
}

void CQuorvaneApp::OnHelpUpdate()
{
    if (m_updateCheckRunning)
        return;
    m_updateCheckRunning = true;
    try {
        RunUpdateCheck();
    } catch (...) {
        m_updateCheckRunning = false;
        throw;
    }
    m_updateCheckRunning = false;
}

void CQuorvaneApp::OnUpdateHelpUpdate(CCmdUI& ui)
{
    ui.Enable(!m_updateCheckRunning);
}

void CQuorvaneApp::RunUpdateCheck()
{
    CUpdateCheckDlg dialog(m_updateCheck, *m_settings, std::make_shared<CWinInetListFetcher>(), MainWindow());
    dialog.m_openAddress = [](const std::string& address) { CLinkFinder::OpenLink(address); };
    dialog.DoModal();
}
