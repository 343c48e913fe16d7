#include "shell/ui/quorvane_app.h"

#include <commctrl.h>

#include <atomic>
#include <new>

#include "article/ui/article_keywords_dlg.h"
#include "controls/ui/font_win.h"
#include "framework/callback_exceptions.h"
#include "framework/string_table.h"
#include "framework/ui/recent_file_menu.h"
#include "index/ui/index_frame.h"
#include "resources/commands.h"
#include "resources/resource.h"
#include "shell/app_settings.h"
#include "shell/option_store_host.h"
#include "shell/ui/windows_link_shell.h"
#include "storage/file_system.h"
#include "storage/quor_error.h"

namespace {

constexpr const char kProgramSection[] = "QUORVANE";
// InitOptions bits that together switch the splash window off.
constexpr int kNoSplash = 0x501;
constexpr int kFileNotFoundCode = 53;
// Icons shared by the windows, loaded once.
constexpr int kIconIds[7] = {219, 414, 415, 418, 148, 147, 143};

// GDI+ through its flat entry points, loaded at run time.
struct GdiplusStartupInput {
    UINT32 version = 1;
    void* debugCallback = nullptr;
    BOOL suppressBackgroundThread = FALSE;
    BOOL suppressExternalCodecs = FALSE;
};
using GdiplusStartupProc = int(WINAPI*)(ULONG_PTR*, const GdiplusStartupInput*, void*);
using GdiplusShutdownProc = void(WINAPI*)(ULONG_PTR);

// Call inside a catch block only: the program's error shows its own message, memory exhaustion the
// out-of-memory message, anything else the internal error ("An unknown error has occurred").
void ReportHandledException()
{
    try {
        throw;
    } catch (const CQuorError& error) {
        error.Report();
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
    } catch (...) {
        CQuorError(kUnknownError).Report();
    }
}

// An exception stopped at a window procedure, dialog procedure, thread entry or OLE callback is a
// fault of the program: the user is told. A second one while the first box is up (the box pumps
// messages) is not stacked on top of it.
void ReportStoppedException(const char* /*where*/, const char* /*what*/)
{
    static std::atomic<bool> reporting{false};
    if (reporting.exchange(true))
        return;
    ReportHandledException();
    reporting = false;
}

}  // namespace

CQuorvaneApp::CQuorvaneApp() : m_currentQuery(nullptr) {}

CQuorvaneApp::~CQuorvaneApp()
{
    if (GetLinkShell() == m_linkShell.get())
        SetLinkShell(nullptr);
    m_indexTemplate.reset();
    CIndexView::SetServices(CIndexViewServices());
    CArticleView::SetServices(CArticleViewServices());
    CArticleKeywordsDlg::SetSettings(nullptr);
    if (m_listFont)
        DeleteObject(m_listFont);
    if (m_gdiplus) {
        if (m_gdiplusToken) {
            if (auto shutdown = reinterpret_cast<GdiplusShutdownProc>(
                    reinterpret_cast<void*>(GetProcAddress(m_gdiplus, "GdiplusShutdown"))))
                shutdown(m_gdiplusToken);
        }
        FreeLibrary(m_gdiplus);
    }
    if (m_dialogFont)
        DeleteObject(m_dialogFont);
}

std::string CQuorvaneApp::ProgramPath() const
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

std::vector<std::string> CQuorvaneApp::CommandLineParams() const
{
    return SplitCommandLine(GetCommandLineA());
}

CMainFrame* CQuorvaneApp::MainFrame() const
{
    return dynamic_cast<CMainFrame*>(GetMainWnd());
}

CQuorvaneDoc* CQuorvaneApp::GetOpenDocument() const
{
    if (!m_indexTemplate)
        return nullptr;
    for (const std::unique_ptr<CDocument>& document : m_indexTemplate->Documents()) {
        auto* open = dynamic_cast<CQuorvaneDoc*>(document.get());
        if (open && open->IsOpen())
            return open;
    }
    return nullptr;
}

CIndexFrame* CQuorvaneApp::GetIndexFrame() const
{
    if (!m_indexTemplate)
        return nullptr;
    for (const std::unique_ptr<CDocument>& document : m_indexTemplate->Documents()) {
        for (CDocumentView* view : document->Views()) {
            if (auto* index = dynamic_cast<CIndexView*>(view))
                return dynamic_cast<CIndexFrame*>(index->GetParentFrame());
        }
    }
    return nullptr;
}

// ---- Start-up ----

bool CQuorvaneApp::InitInstance()
{
    m_startupTrace.clear();
    SetCallbackExceptionSink(&ReportStoppedException);
    Trace("common controls");
    InitCommonControls();
    INITCOMMONCONTROLSEX icc = {sizeof icc, 0x1FF};  // the Windows 95 classes and the date controls
    InitCommonControlsEx(&icc);

    Trace("gdiplus");
    m_gdiplus = LoadLibraryA("gdiplus.dll");
    if (m_gdiplus) {
        auto startup = reinterpret_cast<GdiplusStartupProc>(
            reinterpret_cast<void*>(GetProcAddress(m_gdiplus, "GdiplusStartup")));
        GdiplusStartupInput input;
        if (!startup || startup(&m_gdiplusToken, &input, nullptr) != 0)
            m_gdiplusToken = 0;
    }

    m_linkShell = std::make_unique<CWindowsLinkShell>(&m_directories);
    SetLinkShell(m_linkShell.get());

    Trace("option store");
    const std::string programPath = ProgramPath();
    std::unique_ptr<IOptionStoreHost> storeHost = CreateSystemOptionStoreHost();
    m_options.Choose(*storeHost, programPath, m_directories);
    m_portable = m_options.IsPortable();

    Trace("command line");
    CCommandLineInfo commandLine;
    commandLine.ParseParams(CommandLineParams());
    const bool namedFile = commandLine.m_shellCommand != CCommandLineInfo::FileNew;
    if (!commandLine.m_fileName.empty()) {
        // The full path the file system reports for the name, when the file is there.
        char full[MAX_PATH] = {};
        char* namePart = nullptr;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(commandLine.m_fileName.c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            FindClose(search);
            if (GetFullPathNameA(commandLine.m_fileName.c_str(), MAX_PATH, full, &namePart) > 0 &&
                GetFullPathNameA(commandLine.m_fileName.c_str(), MAX_PATH, full, &namePart) < MAX_PATH)
                commandLine.m_fileName = full;
        }
    }

    Trace("dialog font");
    CreateDialogFont();
    Trace("version");
    LoadVersion();

    Trace("recent files");
    m_recentList.Load([this](const std::string& section, const std::string& key) {
        return m_options.GetString(section, key, std::string());
    });
    CRecentListMenu menuList(m_recentList);
    if (m_recentList.GetSize() == 0)
        FillRecentFilesFromProfile(menuList, m_options);
    if (m_portable) {
        m_directories.SetDrive(programPath);
        m_recentFiles.SetPortable(true);
        m_recentFiles.Load(m_options);
        RebuildRecentFilesFromOwnList(menuList, m_recentFiles, m_options);
    }
    Trace("folders");
    m_directories.Load(m_options, programPath, true);

    Trace("templates");
    try {
        RegisterTemplates();
    } catch (const std::bad_alloc&) {
        m_indexTemplate.reset();
        return false;
    }

    Trace("icons");
    LoadIcons();

    // The settings come before the start file (LoadLastFile) and the main frame (its bars).
    Trace("settings");
    m_fonts.Load(m_options, *std::make_unique<CGdiFontFaces>());
    m_settings = std::make_unique<CAppSettings>(m_options, m_fonts, m_directories);
    m_settings->ResetSettings();
    m_settings->LoadFromProfile();
    if (m_portable)
        m_directories.SetPortable(m_settings->GetUsePortableNames() != 0);
    m_autoSave = m_settings->GetAutoSave();
    m_currentQuery.SetSource(nullptr);
    SetCurrentQuery(&m_currentQuery);
    SetOptionStore(&m_options);

    Trace("start file");
    StartFileChoice start;
    if (!namedFile) {
        try {
            start = ChooseStartFile(m_settings->GetLoadLastFile(), m_settings->GetLastFileName(),
                                    m_recentList.GetSize(), m_directories, FileExists);
        } catch (const std::bad_alloc&) {
            start = StartFileChoice();
        }
        if (start.missing) {
            m_settings->SetLoadLastFile(0);
            m_missingStartFile = true;
            m_missingStartPath = start.missingPath;
        }
    }

    Trace("main frame");
    auto* frame = new (std::nothrow) CMainFrame(m_options, *m_settings);
    if (!frame) {
        m_indexTemplate.reset();
        return false;
    }
    frame->m_autoDelete = true;
    if (!frame->LoadFrame()) {
        delete frame;
        m_indexTemplate.reset();
        return false;
    }
    SetMainWnd(frame);
    frame->SetOpenFileState(this);
    ConnectIndexWindow(*frame);
    UpdateRecentFileMenus();

    Trace("splash");
    m_startupFlags |= kStartupStepsBegun;
    const bool startFileOpens = namedFile || start.kind != StartFileChoice::kNone;
    const bool splashShown = (m_options.GetInt(kProgramSection, "InitOptions", 0) & kNoSplash) != kNoSplash;
    if (splashShown)
        ShowSplash(false, !startFileOpens);
    else
        m_startupFlags |= kStartupSplashDone;

    Trace("placement");
    RECT desktop = {};
    GetClientRect(GetDesktopWindow(), &desktop);
    frame->ShowAtPlacement(ChooseMainWindowPlacement(m_options, desktop.right, desktop.bottom));

    m_exchangeHost = std::make_unique<CWindowsExchangeHost>(*this, &m_directories, frame->m_hWnd);
    m_exchangeHost->m_openDataFile = [this](const std::string& path) { OpenDataFile(path, false, false); };
    m_converter = std::make_unique<CCompactingConverter>(*m_exchangeHost, &m_directories);

    Trace("shell command");
    bool startFileFailed = false;
    if (namedFile && !ProcessShellCommand(commandLine))
        startFileFailed = true;

    Trace("open start file");
    if (start.kind == StartFileChoice::kMostRecent)
        frame->PostMessage(WM_COMMAND, kFirstRecentFileCommand, 0);
    else if (start.kind == StartFileChoice::kPath && !OpenDocumentFile(start.path))
        startFileFailed = true;

    // Without a start file the start-up steps run at once, or after the splash; a start file that
    // did not open counts as none.
    if (splashShown) {
        if (startFileOpens && startFileFailed)
            ContinueAfterSplash();
    } else if (!startFileOpens || startFileFailed) {
        frame->PostMessage(WM_COMMAND, kStartupStepsCommand, 0);
    }

    Trace("on top");
    ApplyOnTop();
    m_snoozeDuration = m_settings->GetSnoozeDuration();
    return true;
}

bool CQuorvaneApp::ProcessShellCommand(const CCommandLineInfo& info)
{
    if (info.m_shellCommand != CCommandLineInfo::FileOpen)
        return true;  // printing and DDE are not offered; New creates nothing
    if (!FileExists(info.m_fileName)) {
        CQuorError(kFileNotFoundCode, info.m_fileName).Report();
        return false;
    }
    if (!OpenDocumentFile(info.m_fileName))
        return false;
    m_recentFiles.Add(info.m_fileName);
    return true;
}

void CQuorvaneApp::CreateDialogFont()
{
    LOGFONTA font = {};
    HGDIOBJ stock = GetStockObject(DEFAULT_GUI_FONT);
    if (!stock || GetObjectA(stock, sizeof font, &font) == 0) {
        font = LOGFONTA{};
        font.lfHeight = 8;
        font.lfWeight = FW_NORMAL;
        lstrcpynA(font.lfFaceName, "MS Shell Dlg", LF_FACESIZE);
    }
    m_dialogFont = CreateFontIndirectA(&font);
}

void CQuorvaneApp::LoadVersion()
{
    m_version = ProgramVersion();
    std::string path = ProgramPath();
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0)
        return;
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data()))
        return;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed ||
        length < sizeof(VS_FIXEDFILEINFO))
        return;
    m_version = MakeProgramVersion(fixed->dwProductVersionMS, fixed->dwProductVersionLS);
    m_updateCheck.SetOwnVersion(fixed->dwProductVersionMS, fixed->dwProductVersionLS);
}

void CQuorvaneApp::LoadIcons()
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    for (int i = 0; i < 7; ++i)
        m_icons[i] = LoadIconA(instance, MAKEINTRESOURCEA(kIconIds[i]));
}

void CQuorvaneApp::DestroyIcons()
{
    // Icons from LoadIcon are shared resources: DestroyIcon is not called on them.
    for (HICON& icon : m_icons)
        icon = nullptr;
}

// ---- Shut-down ----

int CQuorvaneApp::ExitInstance(int exitCode)
{
    // Each step is tried on its own: one failure must not cost the others, least of all the last
    // write of the portable settings' cache.
    auto step = [this](auto&& run) {
        try {
            run();
        } catch (...) {
            ReportCommandException();
        }
    };
    step([&] { m_directories.Save(m_options); });
    step([&] { m_fonts.Save(m_options); });
    step([&] { m_recentFiles.Save(m_options); });
    step([&] {
        m_recentList.Save([this](const std::string& section, const std::string& key, const std::string& value) {
            m_options.WriteString(section, key, value);
        });
    });
    step([&] { DestroyIcons(); });
    step([&] {
        if (!m_options.FlushProfileCache())
            throw CQuorError(kDiskFullOrDamaged, m_options.GetProfileName());
    });
    return CWinApp::ExitInstance(exitCode);
}

void CQuorvaneApp::ApplyOnTop()
{
    CWnd* main = GetMainWnd();
    if (!main || !main->IsWindow())
        return;
    const bool onTop = m_options.GetInt(kProgramSection, "OnTop", 0) == 1;
    SetWindowPos(main->m_hWnd, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CQuorvaneApp::ReportCommandException()
{
    ReportHandledException();
}
