// The application's commands on data files: New, Open, the recent files and the open-document
// routine with its checks of older and newer formats; closing the open file; help; the menus the
// application rebuilds.
#include <algorithm>
#include <new>

#include "article/ui/article_dlgs.h"
#include "article/ui/article_keywords_dlg.h"
#include "article/ui/article_preview.h"
#include "article/ui/article_properties.h"
#include "article/ui/attachment_dlgs.h"
#include "article/ui/shared_keywords_dlg.h"
#include "controls/ui/font_select.h"
#include "controls/ui/font_win.h"
#include "document/doc_errors.h"
#include "document/ui/file_format_dlgs.h"
#include "document/ui/file_property_sheet.h"
#include "framework/string_table.h"
#include "framework/ui/common_dialogs.h"
#include "framework/ui/context_help.h"
#include "framework/ui/recent_file_menu.h"
#include "index/ui/index_frame.h"
#include "index/ui/index_view.h"
#include "resources/commands.h"
#include "resources/file_properties_res.h"
#include "resources/main_frame_res.h"
#include "resources/resource.h"
#include "shell/app_settings.h"
#include "shell/data_file_opening.h"
#include "shell/saved_query_menu.h"
#include "shell/ui/folder_browser.h"
#include "shell/ui/get_new_file_name_dlg.h"
#include "shell/ui/quorvane_app.h"
#include "storage/file_system.h"
#include "storage/quor_error.h"

namespace {

// OFN_FILEMUSTEXIST | OFN_SHOWHELP.
constexpr DWORD kOpenFlags = 0x1010;
constexpr unsigned kCommandNew = IDM_FILE_NEW;
constexpr unsigned kCommandOpen = IDM_FILE_OPEN;

// The folder part of `path` with its trailing backslash.
size_t FolderLength(const std::string& path)
{
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? 0 : slash + 1;
}

// EnumChildWindows callback: every descendant leaves its menu or capture mode.
BOOL CALLBACK CancelModeOfChild(HWND child, LPARAM)
{
    SendMessageA(child, WM_CANCELMODE, 0, 0);
    return TRUE;
}

}  // namespace

bool CQuorvaneApp::OnCmdMsg(unsigned id, CCmdUI* ui)
{
    using Row = CommandEntry<CQuorvaneApp>;
    static const Row kCommands[] = {
        Row(kCommandNew, &CQuorvaneApp::OnFileNew, &CQuorvaneApp::OnUpdateFileNewOpen),
        Row(kCommandOpen, &CQuorvaneApp::OnFileOpen, &CQuorvaneApp::OnUpdateFileNewOpen),
        Row(IDM_FILE_COMPACT, &CQuorvaneApp::OnFileCompact),
        Row(IDM_FILE_PREFERENCES, &CQuorvaneApp::OnFilePreferences),
        Row(kFileNewShellCommand, &CQuorvaneApp::OnShellFileNew),
        Row(kFirstRecentFileCommand, kLastRecentFileCommand, &CQuorvaneApp::OnRecentFile,
            &CQuorvaneApp::OnUpdateRecentFile),
        Row(kStartupStepsCommand, &CQuorvaneApp::OnStartupSteps),
        Row(IDM_HELP_ABOUT, &CQuorvaneApp::OnHelpAbout),
        Row(IDM_HELP_TIP, &CQuorvaneApp::OnHelpTip),
        Row(IDM_HELP_TUTORIAL, &CQuorvaneApp::OnHelpTutorial),
        Row(IDM_HELP_WEB, &CQuorvaneApp::OnHelpWebSite),
        Row(IDM_HELP_FORUM, &CQuorvaneApp::OnHelpForum),
        Row(IDM_HELP_EMAIL, &CQuorvaneApp::OnHelpEmail),
        Row(IDM_HELP_UPDATE, &CQuorvaneApp::OnHelpUpdate, &CQuorvaneApp::OnUpdateHelpUpdate),
    };
    if (RouteToTable(this, kCommands, id, ui))
        return true;
    return CWinApp::OnCmdMsg(id, ui);
}

void CQuorvaneApp::OnUpdateFileNewOpen(CCmdUI& ui)
{
    ui.Enable(!m_compacting);
}

void CQuorvaneApp::OnUpdateRecentFile(CCmdUI& ui)
{
    ui.Enable(m_recentList.GetSize() > 0);
}

// ---- Dialogs (tests answer them instead) ----

bool CQuorvaneApp::ChooseNewFilePath(const std::string& folder, std::string& path)
{
    CGetNewFileNameDlg dialog(MainWindow());
    dialog.m_initialDir = folder;
    if (dialog.DoModal() != IDOK)
        return false;
    path = dialog.m_fileName;
    return true;
}

bool CQuorvaneApp::ChooseFileToOpen(const std::string& folder, std::string& path, bool& readOnly)
{
    CFileDialog dialog(true, MainWindow());
    dialog.m_filter = QuorLoadString(IDS_DATA_FILE_FILTER);
    dialog.m_defaultExt = "xrd";
    dialog.m_flags = kOpenFlags;
    dialog.m_showReadOnly = true;
    dialog.m_initialDir = folder;
    if (dialog.DoModal() != IDOK)
        return false;
    path = dialog.m_fileName;
    readOnly = dialog.m_readOnly;
    return true;
}

int CQuorvaneApp::ChooseNewerFormatAction(const std::string& path)
{
    CNewerFormatOpenDlg dialog(MainWindow());
    dialog.m_versionText = GetVersionText();
    return static_cast<int>(dialog.DoModal());
}

void CQuorvaneApp::ShowNewerFormatNotice(const std::string& path)
{
    CNewerFormatDlg dialog(MainWindow());
    dialog.m_versionText = GetVersionText();
    dialog.DoModal();
}

bool CQuorvaneApp::AskYesNo(const std::string& text)
{
    const std::string caption = QuorLoadString(IDS_APP_NAME);
    return MessageBoxA(MainWindow(), text.c_str(), caption.c_str(),
                       MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) == IDYES;
}

// ---- Closing the open file ----

// The open file's close check. Only a failed write asks whether to go on anyway (`question`); an
// article window the user kept open (Cancel in Save Article) simply stops the close.
bool CQuorvaneApp::SaveOpenFileBeforeClose(int question)
{
    CQuorvaneDoc* document = GetOpenDocument();
    if (!document)
        return true;
    switch (document->SaveBeforeClose()) {
    case CQuorvaneDoc::SaveOutcome::kSaved:
        return true;
    case CQuorvaneDoc::SaveOutcome::kKept:
        return false;
    case CQuorvaneDoc::SaveOutcome::kFailed:
        break;
    }
    return AskYesNo(QuorLoadString(question));
}

bool CQuorvaneApp::SaveAllModified()
{
    return SaveOpenFileBeforeClose(IDS_EXIT_UNSAVED);
}

bool CQuorvaneApp::CloseOpenFile()
{
    return SaveOpenFileBeforeClose(IDS_CLOSE_UNSAVED);
}

void CQuorvaneApp::CloseAllDocuments()
{
    if (!m_indexTemplate)
        return;
    std::vector<CDocument*> documents;
    for (const std::unique_ptr<CDocument>& document : m_indexTemplate->Documents())
        documents.push_back(document.get());
    for (CDocument* document : documents) {
        // Destroying the last frame of a document frees it (through its template), so the frames
        // are taken first.
        std::vector<CFrameWnd*> frames;
        for (CDocumentView* view : document->Views()) {
            auto* shown = dynamic_cast<CView*>(view);
            CFrameWnd* frame = shown ? shown->GetParentFrame() : nullptr;
            if (frame && std::find(frames.begin(), frames.end(), frame) == frames.end())
                frames.push_back(frame);
        }
        if (frames.empty()) {
            m_indexTemplate->OnDocumentUnused(document);
            continue;
        }
        for (CFrameWnd* frame : frames)
            frame->DestroyWindow();
    }
}

std::unique_ptr<CQuorvaneDoc> CQuorvaneApp::MakeDocument()
{
    auto document = std::make_unique<CQuorvaneDoc>(*this);
    document->SetSettings(m_settings.get());
    document->SetDirectories(&m_directories);
    document->SetPrintOptions(&m_printOptions);
    document->SetConverter(m_converter.get());
    document->SetOpenOptions(m_pendingReadOnly, m_pendingNewer);
    return document;
}

void CQuorvaneApp::RegisterTemplates()
{
    // The report windows' template comes with those windows.
    m_indexTemplate = std::make_unique<CDocTemplate>(
        IDR_INDEX_FRAME, [this] { return std::unique_ptr<CDocument>(MakeDocument()); },
        [] { return static_cast<CMDIChildWnd*>(new CIndexFrame); },
        [] { return static_cast<CView*>(new CIndexView); });
    ArticleTemplate();
}

void CQuorvaneApp::ConnectIndexWindow(CMainFrame& frame)
{
    m_indexServices.profile = &m_options;
    m_indexServices.settings = m_settings.get();
    m_indexServices.listFont = m_listFont;
    m_indexServices.dialogFont = m_dialogFont;
    m_indexServices.mainDivider = [this] {
        CMainFrame* main = MainFrame();
        return main ? main->GetDivider() : 100;
    };
    m_indexServices.postToMainFrame = [this](UINT command) {
        if (CMainFrame* main = MainFrame())
            main->PostMessage(WM_COMMAND, command, 0);
    };
    m_indexServices.currentQuery = &m_currentQuery;
    m_indexServices.makeArticlePreview = [] { return std::unique_ptr<CIndexArticlePreview>(new CArticlePreview); };
    m_indexServices.pasteIntoArticle = [](CArticleNotifyTarget* window, UINT format, const std::string& text) {
        auto* view = dynamic_cast<CArticleView*>(window);
        if (!view)
            return false;
        view->SetInitialContent(format, text);
        return true;
    };
    m_indexServices.confirmDeleteArticles = [](CQuorvaneDoc& document, const CArticleIdSet& ids, HWND owner) {
        CDeleteArticlesDlg dialog(document, owner);
        dialog.m_ids.Copy(ids);
        return dialog.DoModal() == IDOK;
    };
    m_indexServices.editSharedKeywords = RunSharedKeywordsDialog;
    m_indexServices.showArticleProperties = [](CQuorvaneDoc& document, int32_t id, int page, HWND owner) {
        RunStoredArticleProperties(document, id, page, owner);
    };
    CIndexView::SetServices(m_indexServices);
    ConnectArticleWindows(frame);
}

void CQuorvaneApp::ConnectArticleWindows(CMainFrame& frame)
{
    SetArticleFrameOwner(&frame);
    m_articleServices.settings = m_settings.get();
    m_articleServices.listFont = m_listFont;
    m_articleServices.headerFont = m_dialogFont;
    m_articleServices.getKeywordWidth = [this] {
        CMainFrame* main = MainFrame();
        return main ? main->GetArticleKeywordWidth() : 100;
    };
    m_articleServices.setKeywordWidth = [this](int width) {
        if (CMainFrame* main = MainFrame())
            main->SetArticleKeywordWidth(width);
    };
    m_articleServices.statusText = [this](const std::string& text) {
        if (CMainFrame* main = MainFrame())
            main->GetStatusBar().SetPaneText(0, text);
    };
    // The main frame measures its own MDI client.
    m_articleServices.nextWindowRect = [this](int, int) {
        CMainFrame* main = MainFrame();
        return main ? main->GetNextArticleWindowRect() : RECT{0, 0, 0, 0};
    };
    m_articleServices.storeWindowSize = [this](int width, int height) {
        if (CMainFrame* main = MainFrame())
            main->StoreArticleWindowSize(RECT{0, 0, width, height});
    };
    CArticleView::SetServices(m_articleServices);
    CArticleKeywordsDlg::SetSettings(m_settings.get());
    // Article Attachment Properties browses for folders with the program's folder browser.
    CAttachmentPropertiesDlg::SetChoosers(nullptr, [](HWND owner, const std::string& title, std::string& folder) {
        CFolderBrowser browser(owner, std::string(), folder);
        browser.SetTitle(title);
        if (browser.DoModal() != IDOK)
            return false;
        browser.GetFolder(folder);
        return true;
    });
}

void CQuorvaneApp::MakeListFont(bool notify)
{
    if (!m_settings)
        return;
    const LOGFONTA logFont = ToLogFontA(m_settings->GetFileFont());
    HFONT font = CreateFontIndirectA(&logFont);
    if (!font)
        return;
    // The lists of a window still open keep the old font until they are told of the new one.
    HFONT old = m_listFont;
    m_listFont = font;
    m_indexServices.listFont = font;
    CIndexView::SetServices(m_indexServices);
    m_articleServices.listFont = font;
    CArticleView::SetServices(m_articleServices);
    if (CQuorvaneDoc* document = GetOpenDocument(); document && notify) {
        document->NotifyIndexView(IndexCode::kListFontChanged);
        document->NotifyArticleViews(ArticleHint::kDisplayChanged);
    }
    if (old)
        DeleteObject(old);
}

void CQuorvaneApp::RefreshOpenDocument()
{
    MakeListFont(false);
    if (CQuorvaneDoc* document = GetOpenDocument())
        document->RefreshViews();
}

FilePropertyServices CQuorvaneApp::FilePropertyServicesFor()
{
    FilePropertyServices services;
    services.chooseFont = [](HWND owner, LogFont& font, int32_t& color) {
        CGdiFontFaces faces;
        return CFontSelect::Choose(owner, font, color, CFontSettings::DefaultFont(faces));
    };
    services.browseFolder = [](HWND owner, std::string& folder) {
        CFolderBrowser browser(owner, "", folder);
        browser.SetTitle(QuorLoadString(IDS_LINK_LOCATION_BROWSE_TITLE));
        if (browser.DoModal() != IDOK)
            return false;
        browser.GetFolder(folder);
        return true;
    };
    services.fontChanged = [this] { RefreshOpenDocument(); };
    services.showHelp = [this](int templateId) { ShowHelp(kHelpIdResource + static_cast<DWORD>(templateId)); };
    return services;
}

// ---- File New ----

void CQuorvaneApp::OnFileNew()
{
    if (m_compacting)
        return;
    std::string path;
    if (!ChooseNewFilePath(m_directories.GetExpandedFolder(CDirectories::kData), path))
        return;
    if (!CloseOpenFile())
        return;
    CloseAllDocuments();
    m_directories.SetFolderFromPath(CDirectories::kData, path, FolderLength(path));
    CreateNewDataFile(path);
}

bool CQuorvaneApp::CreateNewDataFile(const std::string& path)
{
    bool created = false;
    ReportErrors([&] {
        ProbeFreeSpace(path);
        std::unique_ptr<CQuorvaneDoc> document = MakeDocument();
        if (!document->CreateNewFile(path)) {
            document->DeleteContents();
            return;
        }
        if (!m_indexTemplate->AddDocument(MainFrame(), std::move(document)))
            throw CQuorError(kOutOfMemory);
        ShowIndexFrame();
        AddToRecentFiles(path);
        created = true;
    });
    return created;
}

// ---- File Open and the open-document routine ----

void CQuorvaneApp::OnFileOpen()
{
    if (m_compacting)
        return;
    std::string path;
    bool readOnly = false;
    if (!ChooseFileToOpen(m_directories.GetExpandedFolder(CDirectories::kData), path, readOnly))
        return;
    if (!CloseOpenFile())
        return;
    CloseAllDocuments();
    m_directories.SetFolderFromPath(CDirectories::kData, path, FolderLength(path));
    OpenDataFile(path, readOnly, false);
}

CQuorvaneDoc* CQuorvaneApp::OpenDocumentFile(const std::string& path)
{
    return OpenDataFile(path, false, false) ? GetOpenDocument() : nullptr;
}

bool CQuorvaneApp::OpenDataFile(const std::string& path, bool readOnly, bool openNewer)
{
    if (!CloseOpenFile())
        return false;
    const std::string expanded = m_directories.ExpandDriveRelative(path);
    CloseAllDocuments();
    try {
        switch (DecideOpenStep(CDataFile::CheckFormat(expanded), readOnly, openNewer)) {
        case OpenStep::kConvert: {
            std::unique_ptr<CQuorvaneDoc> converter = MakeDocument();
            bool convertedReadOnly = false;
            if (!converter->ConvertOldFile(expanded, convertedReadOnly))
                return false;
            readOnly = readOnly || convertedReadOnly;
            break;
        }
        case OpenStep::kAskNewer:
            switch (ChooseNewerFormatAction(expanded)) {
            case 3:
                return OpenDataFile(expanded, readOnly, true);
            case 4: {
                std::unique_ptr<CQuorvaneDoc> copier = MakeDocument();
                m_lastCopyPath.clear();
                if (!copier->CopyFileTo(expanded) || m_lastCopyPath.empty())
                    return false;
                return OpenDataFile(m_lastCopyPath, readOnly, true);
            }
            case 5:
                return OpenDataFile(expanded, true, true);
            default:
                return false;
            }
        case OpenStep::kNotice:
            ShowNewerFormatNotice(expanded);
            return false;
        case OpenStep::kOpen:
            break;
        }
    } catch (const CQuorError& error) {
        error.Report();
        return false;
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
        return false;
    }
    m_pendingReadOnly = readOnly;
    m_pendingNewer = openNewer;
    if (CWnd* main = GetMainWnd())
        main->UpdateWindow();
    CDocument* opened = nullptr;
    try {
        opened = m_indexTemplate->OpenDocumentFile(MainFrame(), expanded);
    } catch (...) {
        m_pendingReadOnly = m_pendingNewer = false;
        ReportCommandException();
        return false;
    }
    m_pendingReadOnly = m_pendingNewer = false;
    if (!opened)
        return false;
    ShowIndexFrame();
    m_recentFiles.Add(expanded);
    return true;
}

// ---- File Compact ----

void CQuorvaneApp::OnFileCompact()
{
    // New and Open wait while it runs (its progress dialog pumps messages).
    m_compacting = true;
    try {
        RunCompaction();
    } catch (...) {
        m_compacting = false;
        ReportCommandException();
        return;
    }
    m_compacting = false;
}

bool CQuorvaneApp::RunCompaction()
{
    CCompactor compactor(*m_exchangeHost, &m_directories);
    return compactor.Run();
}

// ---- Recent files ----

void CQuorvaneApp::OnRecentFile(unsigned id)
{
    const int index = static_cast<int>(id - kFirstRecentFileCommand);
    CRecentListMenu menu(m_recentList);
    OpenRecentFile(
        index, menu, m_recentFiles, m_directories, [this](const std::string& path) { return OpenDataFile(path, false, false); },
        FileExists);
    UpdateRecentFileMenus();
}

void CQuorvaneApp::AddToRecentFiles(const std::string& path)
{
    m_recentList.Add(path);
    m_recentFiles.Add(path);
    UpdateRecentFileMenus();
}

void CQuorvaneApp::UpdateRecentFileMenus()
{
    CMainFrame* frame = MainFrame();
    if (!frame)
        return;
    for (HMENU menu : ProgramMenus())
        ApplyRecentFilesToMenu(menu, m_recentList);
    DrawMenuBar(frame->m_hWnd);
}

// ---- Menus ----

std::vector<HMENU> CQuorvaneApp::ProgramMenus() const
{
    std::vector<HMENU> menus;
    auto add = [&menus](HMENU menu) {
        if (menu && std::find(menus.begin(), menus.end(), menu) == menus.end())
            menus.push_back(menu);
    };
    if (CMainFrame* frame = MainFrame()) {
        add(frame->GetDefaultMenu());
        add(GetMenu(frame->m_hWnd));
    }
    if (m_indexTemplate)
        add(m_indexTemplate->GetSharedMenu());
    if (CDocTemplate* articles = GetArticleTemplate())
        add(articles->GetSharedMenu());
    return menus;
}

void CQuorvaneApp::UpdateSavedQueryMenus(const std::vector<std::string>& names, bool more)
{
    CMainFrame* frame = MainFrame();
    if (!frame)
        return;
    const std::vector<MenuItemModel> items =
        BuildSavedQueryMenu(names, more, QuorLoadString(IDS_NO_SAVED_QUERIES), QuorLoadString(IDS_MORE_QUERIES));
    for (HMENU menu : ProgramMenus()) {
        // The Edit menu: the last top-level popup whose first item is Undo.
        HMENU edit = nullptr;
        for (int i = GetMenuItemCount(menu) - 1; i >= 0 && !edit; --i) {
            HMENU sub = GetSubMenu(menu, i);
            if (sub && GetMenuItemID(sub, 0) == IDM_EDIT_UNDO)
                edit = sub;
        }
        if (!edit)
            continue;
        // The submenu after Build Query.
        HMENU run = nullptr;
        const int count = GetMenuItemCount(edit);
        for (int i = 0; i + 1 < count; ++i) {
            if (GetMenuItemID(edit, i) == IDM_EDIT_BUILD_QUERY) {
                run = GetSubMenu(edit, i + 1);
                break;
            }
        }
        if (!run)
            continue;
        while (GetMenuItemCount(run) > 0)
            DeleteMenu(run, 0, MF_BYPOSITION);
        for (const MenuItemModel& item : items) {
            if (item.separator)
                AppendMenuA(run, MF_SEPARATOR, 0, nullptr);
            else
                AppendMenuA(run, MF_STRING | (item.grayed ? MF_GRAYED : 0), item.id, item.text.c_str());
        }
    }
    DrawMenuBar(frame->m_hWnd);
}

// ---- The document's host ----

void CQuorvaneApp::SetCaption(const std::string& title)
{
    if (CMainFrame* frame = MainFrame())
        frame->UpdateTitle(title);
}

void CQuorvaneApp::ShowIndexFrame()
{
    // While a file opens its frame is not made yet: the open shows it once it is.
    CIndexFrame* frame = GetIndexFrame();
    if (frame && !frame->IsWindowVisible())
        frame->ShowStored();
}

void CQuorvaneApp::ActivateIndexFrame()
{
    ShowIndexFrame();
    CIndexFrame* frame = GetIndexFrame();
    if (!frame)
        return;
    if (IsIconic(frame->m_hWnd))
        frame->ShowWindow(SW_RESTORE);
    frame->MDIActivate();
}

void CQuorvaneApp::SetCurrentDocument(CQuorvaneDoc* document)
{
    CArticleDocHost::SetCurrentDocument(document);
    m_currentDocument = document;
    m_currentQuery.SetSource(document);
    if (document)
        MakeListFont();
    // The Run Saved Query submenu lists the open file's recent queries ("More Queries..." when the
    // file holds more than those).
    std::vector<std::string> names;
    bool more = false;
    if (document) {
        document->GetQueryList().GetRecentNames(names);
        more = document->GetQueryList().GetRecentCount() < document->GetQueryList().GetCount();
    }
    UpdateSavedQueryMenus(names, more);
}

void CQuorvaneApp::ApplySelectListMode()
{
    if (CQuorvaneDoc* document = GetOpenDocument(); document && m_settings)
        document->NotifyIndexView(IndexCode::kSetAndOrMode, m_settings->GetSelectListMode());
}

std::string CQuorvaneApp::ChooseDataFileCopy(DataFileCopy kind, const std::string& initialFolder)
{
    m_lastCopyPath = RunDataFileCopyDialog(kind, initialFolder);
    return m_lastCopyPath;
}

std::string CQuorvaneApp::RunDataFileCopyDialog(DataFileCopy kind, const std::string& initialFolder)
{
    return CArticleDocHost::ChooseDataFileCopy(kind, initialFolder);
}

// ---- Help ----

void CQuorvaneApp::ShowHtmlHelp(const HelpCall& call)
{
    // HTML Help's viewer is loaded on first use; without it help shows nothing.
    using HtmlHelpProc = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
    static HMODULE library = LoadLibraryA("hhctrl.ocx");
    static auto htmlHelp =
        library ? reinterpret_cast<HtmlHelpProc>(reinterpret_cast<void*>(GetProcAddress(library, "HtmlHelpA")))
                : nullptr;
    std::string file = ProgramPath();
    const size_t dot = file.find_last_of('.');
    const size_t slash = file.find_last_of('\\');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        file.erase(dot);
    file += ".chm";
    constexpr UINT kDisplayTopic = 0x0000;   // HH_DISPLAY_TOPIC
    constexpr UINT kHelpContext = 0x000F;    // HH_HELP_CONTEXT
    switch (call.kind) {
    case HelpCall::kQuit:
        WinHelpA(MainWindow(), nullptr, HELP_QUIT, 0);
        break;
    case HelpCall::kDefaultTopic:
        if (htmlHelp)
            htmlHelp(GetDesktopWindow(), file.c_str(), kDisplayTopic, 0);
        break;
    case HelpCall::kContext:
        if (htmlHelp)
            htmlHelp(GetDesktopWindow(), file.c_str(), kHelpContext, call.id);
        break;
    }
}

void CQuorvaneApp::ShowHelp(DWORD helpId)
{
    uint32_t reportHelp = 0;
    for (const HelpCall& call : PlanHelpCalls(helpId, m_splashShowing, reportHelp)) {
        if (call.cancelModes) {
            if (CWnd* main = GetMainWnd()) {
                main->SendMessage(WM_CANCELMODE);
                EnumChildWindows(main->m_hWnd, CancelModeOfChild, 0);
            }
            if (HWND capture = GetCapture())
                SendMessageA(capture, WM_CANCELMODE, 0, 0);
        }
        if (m_helpViewer)
            m_helpViewer->Show(call);
        else
            ShowHtmlHelp(call);
    }
}
