// The application object of quorvane.exe: it runs the start-up sequence and the shut-down, owns the
// long-lived services (option store, folders, fonts, settings, recent files, the current query), is
// the document's host on Windows, and handles the commands that need no open data file: New, Open,
// the recent files and help. The open knowledge base is reached through GetOpenDocument.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "article/ui/article_doc_host.h"
#include "article/ui/article_view.h"
#include "document/compactor.h"
#include "document/quorvane_doc.h"
#include "document/ui/exchange_host_win.h"
#include "export/print_options.h"
#include "framework/command_line.h"
#include "framework/recent_file_list.h"
#include "framework/ui/app.h"
#include "framework/ui/doc_template.h"
#include "index/current_query.h"
#include "index/ui/index_view.h"
#include "shell/app_startup.h"
#include "shell/directories.h"
#include "shell/font_settings.h"
#include "shell/help_requests.h"
#include "shell/option_store.h"
#include "shell/recent_files.h"
#include "shell/ui/main_frame.h"
#include "shell/update_check.h"
#include "storage/link_shell.h"

class CAppSettings;
class CIndexFrame;
class CSplashWnd;

// Where help requests go: HTML Help in the program, a recorder in tests.
class IHelpViewer {
public:
    virtual ~IHelpViewer() = default;
    virtual void Show(const HelpCall& call) = 0;
};

// The framework's recent list as the program's recent-file operations see it.
class CRecentListMenu : public IRecentFileMenu {
public:
    explicit CRecentListMenu(CRecentFileList& list) : m_list(list) {}
    int GetSize() const override { return m_list.GetSize(); }
    std::string GetEntry(int index) const override { return m_list.GetEntry(index); }
    void Add(const std::string& path) override { m_list.Add(path); }
    void Remove(int index) override { m_list.Remove(index); }

private:
    CRecentFileList& m_list;
};

class CQuorvaneApp : public CWinApp, public CArticleDocHost, public IOpenFileState {
public:
    // Command posted to the main window that runs the start-up steps (tip of the day, welcome).
    static constexpr unsigned kStartupStepsCommand = 101;
    static constexpr unsigned kFileNewShellCommand = 57600;
    // Help > Tutorial opens this help topic.
    static constexpr uint32_t kTutorialHelpContext = 257;

    CQuorvaneApp();
    ~CQuorvaneApp() override;
    void ReportCommandException() override;

    COptionStore& Options() { return m_options; }
    CAppSettings& Settings() { return *m_settings; }
    CDirectories& Directories() { return m_directories; }
    CRecentFileList& RecentFileList() { return m_recentList; }
    CRecentFiles& OwnRecentFiles() { return m_recentFiles; }
    const std::string& GetVersionText() const { return m_version.text; }
    uint32_t GetVersionNumber() const { return m_version.number; }
    uint32_t GetStartupFlags() const { return m_startupFlags; }
    void SetStartupFlag(uint32_t flag) { m_startupFlags |= flag; }
    bool IsCompacting() const { return m_compacting; }
    void SetSplashShowing(bool showing) { m_splashShowing = showing; }
    CMainFrame* MainFrame() const;
    // The open knowledge base; null while no data file is open.
    CQuorvaneDoc* GetOpenDocument() const;
    // The index window's frame of the open knowledge base; null without one.
    CIndexFrame* GetIndexFrame() const;
    // The template through which data files are opened and created (the index window).
    CDocTemplate* GetIndexTemplate() const { return m_indexTemplate.get(); }

    // ---- Opening and creating data files ----
    // The open-document routine: closes the open file (asking when its save failed), probes the
    // header and converts, asks or refuses by its format. True when the file opened.
    bool OpenDataFile(const std::string& path, bool readOnly, bool openNewer);
    CQuorvaneDoc* OpenDocumentFile(const std::string& path);
    // The open file is saved and closed; when its save fails, message 1301 asks whether to close it
    // anyway (default No). False keeps it open, also when the user kept an article window open.
    bool CloseOpenFile();
    // The same at exit, with message 1300.
    bool SaveAllModified() override;
    // Rebuilds the Edit menu's Run Saved Query submenu in the menus.
    void UpdateSavedQueryMenus(const std::vector<std::string>& names, bool more) override;
    void ApplyOnTop();
    // ---- Preferences (quorvane_app_prefs.cpp) ----
    // Runs the Preferences sheet on page `page` (0 Index Window ... 6 Tools) over `parent`; after OK
    // the toolbars, the open file's links, the settings, the folders and the fonts follow.
    void ShowPreferences(int page, HWND parent);
    void ShowImportPreferences(HWND parent) { ShowPreferences(4, parent); }
    void ShowExportPreferences(HWND parent) { ShowPreferences(5, parent); }
    // The running program's save-without-warnings state.
    void SetCurrentAutoSave(int autoSave) { m_autoSave = autoSave; }
    int GetCurrentAutoSave() const { return m_autoSave; }
    // True once the spelling engine's library could be loaded (tried by name until it could).
    static bool IsSpellEngineAvailable();
    void ShowHelp(DWORD helpId) override;
    void SetHelpViewer(IHelpViewer* viewer) { m_helpViewer = viewer; }
    // The Recent File List entries are shown again in the menus.
    void UpdateRecentFileMenus();
    // The main frame's menus and the windows' shared menus, each once.
    std::vector<HMENU> ProgramMenus() const;

    bool OnCmdMsg(unsigned id, CCmdUI* ui) override;

    // ---- The document's host ----
    void SetCaption(const std::string& title) override;
    void AddToRecentFiles(const std::string& path) override;
    void ShowIndexFrame() override;
    void ActivateIndexFrame() override;
    void SetCurrentDocument(CQuorvaneDoc* document) override;
    void ApplySelectListMode() override;
    // The query dialogs over the open file and the index view's "Query Titles"
    // (quorvane_app_queries.cpp).
    bool RunBuildQuery(CQuorvaneDoc& document, std::string& text, int32_t& from, int32_t& to) override;
    bool RunManageQueries(CQuorvaneDoc& document, CCurrentQuery& current) override;
    int ChooseSavedQuery(CQuorvaneDoc& document) override;
    void ShowQueryTitles(const CArticleIdSet& found) override;
    // Remembers the chosen path: Copy and Open opens the copy.
    std::string ChooseDataFileCopy(DataFileCopy kind, const std::string& initialFolder) override;

    // ---- The open file as the status bar sees it ----
    bool IsFileOpen() override { return GetOpenDocument() != nullptr; }
    bool CanModify() override { return GetOpenDocument() && GetOpenDocument()->CanModify(); }

    // The start-up steps in the order they ran (tests).
    const std::vector<std::string>& StartupTrace() const { return m_startupTrace; }

protected:
    bool InitInstance() override;
    int ExitInstance(int exitCode) override;

    // The program's own path (tests put it elsewhere).
    virtual std::string ProgramPath() const;
    // The command line's parameters after the program's name.
    virtual std::vector<std::string> CommandLineParams() const;
    // The dialogs of New and Open, and the newer-format choice; tests answer them.
    virtual bool ChooseNewFilePath(const std::string& folder, std::string& path);
    virtual bool ChooseFileToOpen(const std::string& folder, std::string& path, bool& readOnly);
    // 3 open anyway, 4 copy and open, 5 open read-only, anything else cancel.
    virtual int ChooseNewerFormatAction(const std::string& path);
    virtual void ShowNewerFormatNotice(const std::string& path);
    // A Yes/No question with the exclamation icon and No as default.
    virtual bool AskYesNo(const std::string& text);
    // File > Compact's dialogs and the compaction itself; true when the result opened.
    virtual bool RunCompaction();
    // The Save dialog of a copy of a data file ("Copy File To", "Save Backup As").
    virtual std::string RunDataFileCopyDialog(DataFileCopy kind, const std::string& initialFolder);

    void OnFileNew();
    void OnFileOpen();
    void OnFileCompact();
    void OnUpdateFileNewOpen(CCmdUI& ui);
    void OnFilePreferences();
    void OnRecentFile(unsigned id);
    void OnUpdateRecentFile(CCmdUI& ui);
    void OnStartupSteps();
    void OnShellFileNew() {}

    // ---- Start-up windows, About and the web commands (quorvane_app_startup.cpp) ----
    // The splash (About mode: centred on the main window, no time-out); at start-up with
    // `continueAfter` it posts the start-up steps when it closes. Tests replace the windows.
    virtual void ShowSplash(bool aboutMode, bool continueAfter);
    // Tip of the Day; from the menu a missing tip file is reported.
    virtual void RunTipOfTheDay(bool fromMenu);
    // The Welcome dialog; returns its "Show This Screen at Startup" check.
    virtual int RunWelcome(int showAtStartup);
    // A start file that did not open: the start-up steps run after the splash after all (at once
    // when the splash, told that a file opens, has closed).
    void ContinueAfterSplash();
    void ShowWelcome();
    void OpenWebAddress(int addressId);
    void OnHelpAbout();
    void OnHelpTip();
    void OnHelpTutorial();
    void OnHelpWebSite();
    void OnHelpForum();
    void OnHelpEmail();
    // Check for Update: the dialog over the application's update check; a second request while it
    // is up does nothing (and the command is greyed).
    void OnHelpUpdate();
    // The list font made again from the open file's font and every window of the open document
    // refreshed, once.
    void RefreshOpenDocument();
    FilePropertyServices FilePropertyServicesFor() override;
    void OnUpdateHelpUpdate(CCmdUI& ui);
    // The update check's dialog (tests fetch from elsewhere).
    virtual void RunUpdateCheck();
    CUpdateCheck& UpdateCheck() { return m_updateCheck; }


private:
    void Trace(const char* step) { m_startupTrace.push_back(step); }
    void LoadVersion();
    void CreateDialogFont();
    void LoadIcons();
    void DestroyIcons();
    void ShowHtmlHelp(const HelpCall& call);
    bool SaveOpenFileBeforeClose(int question);
    // The document for a file about to be opened or created, with the application's services and
    // the pending open options.
    std::unique_ptr<CQuorvaneDoc> MakeDocument();
    void RegisterTemplates();
    // What the index window takes from the application: the option store, the settings, the fonts
    // and the main frame. The article windows are connected with it.
    void ConnectIndexWindow(CMainFrame& frame);
    // What the article windows take: the main frame that holds them and keeps their placement and
    // keyword-list width, its status bar, the settings and the fonts.
    void ConnectArticleWindows(CMainFrame& frame);
    // The list font made again from the open file's font.
    void MakeListFont(bool notify = true);
    // Opens `path` as the open knowledge base with the pending open options.
    bool OpenWithDocument(const std::string& path);
    bool CreateNewDataFile(const std::string& path);
    void CloseAllDocuments();
    // The command line's file: opened when it exists, else message 1153. False when it named a file
    // that did not open.
    bool ProcessShellCommand(const CCommandLineInfo& info);

    // Members in the order of their lifetimes.
    COptionStore m_options;
    CPrintOptions m_printOptions;
    CCurrentQuery m_currentQuery;
    CDirectories m_directories;
    CFontSettings m_fonts;
    std::unique_ptr<CAppSettings> m_settings;
    CRecentFiles m_recentFiles{m_directories};
    CRecentFileList m_recentList{CRecentFiles::kMaxFiles};
    std::unique_ptr<CWindowsExchangeHost> m_exchangeHost;
    std::unique_ptr<CCompactingConverter> m_converter;

    // Destroyed before the services above, which its documents use.
    std::unique_ptr<CDocTemplate> m_indexTemplate;
    CQuorvaneDoc* m_currentDocument = nullptr;
    // Read by the document that the index template makes while it opens a file.
    bool m_pendingReadOnly = false;
    bool m_pendingNewer = false;
    CIndexViewServices m_indexServices;
    CArticleViewServices m_articleServices;
    HFONT m_listFont = nullptr;

    uint32_t m_startupFlags = 0;
    bool m_compacting = false;
    bool m_splashShowing = false;
    bool m_portable = false;
    ProgramVersion m_version;
    HFONT m_dialogFont = nullptr;
    HICON m_icons[7] = {};
    ULONG_PTR m_gdiplusToken = 0;
    HMODULE m_gdiplus = nullptr;
    bool m_missingStartFile = false;
    std::string m_missingStartPath;
    int m_autoSave = 0;
    int m_snoozeDuration = 0;
    IHelpViewer* m_helpViewer = nullptr;
    std::vector<std::string> m_startupTrace;
    std::string m_lastCopyPath;
    CSplashWnd* m_splash = nullptr;  // owns itself; null once closed
    std::unique_ptr<ILinkShell> m_linkShell;
    CUpdateCheck m_updateCheck;
    bool m_updateCheckRunning = false;
};
