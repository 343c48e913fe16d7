// The application object on real windows, in the test's own thread: start-up and shut-down with
// a portable option store in a fresh folder, the start file, File New and File Open over each header
// format, the recent lists and help through its seam. Dialogs are answered by the test app; error
// messages are recorded.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "article/ui/article_frame.h"
#include "article/ui/article_view.h"
#include "controls/ui/font_select_res.h"
#include "controls/ui/font_win.h"
#include "controls/ui/themed_button.h"
#include "document/quorvane_doc.h"
#include "document/ui/file_property_sheet.h"
#include "framework/error_sink.h"
#include "framework/file.h"
#include "framework/string_table.h"
#include "framework/ui/tool_bar.h"
#include "index/current_query.h"
#include "index/ui/index_frame.h"
#include "index/ui/index_view.h"
#include "resources/commands.h"
#include "resources/resource.h"
#include "shell/app_settings.h"
#include "shell/app_startup.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/preferences_res.h"
#include "shell/ui/quorvane_app.h"
#include "storage/article_record.h"
#include "storage/file_system.h"
#include "storage/link_shell.h"
#include "tests/document/doc_test_support.h"
#include "tests/support/gui_driver.h"
#include "tests/support/temp_folder.h"

namespace {

std::vector<std::string> g_errors;
void RecordError(const std::string& message)
{
    g_errors.push_back(message);
}

class CRecordingHelp : public IHelpViewer {
public:
    void Show(const HelpCall& call) override { m_calls.push_back(call); }
    std::vector<HelpCall> m_calls;
};

class CTestApp : public CQuorvaneApp {
public:
    explicit CTestApp(const std::string& folder) : m_folder(folder) {}

    bool Start() { return InitInstance(); }
    FilePropertyServices FileProperties() { return FilePropertyServicesFor(); }
    // Closes the main frame (which writes its placement) and runs the shut-down.
    int Stop()
    {
        if (CWnd* main = GetMainWnd(); main && main->IsWindow())
            ::DestroyWindow(main->m_hWnd);
        SetMainWnd(nullptr);
        // The main window's end posted WM_QUIT to this thread, the test's: a modal loop of the next
        // test would take it and end at once.
        MSG quit;
        while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        return ExitInstance(0);
    }
    void Pump()
    {
        gui::WaitFor([] { return false; }, 200);
    }
    bool Command(unsigned id)
    {
        CCmdUIProbe probe(id);
        if (!OnCmdMsg(id, &probe) || !probe.m_enabled)
            return false;
        return OnCmdMsg(id, nullptr);
    }

    std::string ProgramPath() const override { return m_folder + "\\quorvane.exe"; }
    std::vector<std::string> CommandLineParams() const override { return m_params; }
    bool ChooseNewFilePath(const std::string& folder, std::string& path) override
    {
        m_dialogFolders.push_back(folder);
        path = m_answerPath;
        return !path.empty();
    }
    bool ChooseFileToOpen(const std::string& folder, std::string& path, bool& readOnly) override
    {
        m_dialogFolders.push_back(folder);
        path = m_answerPath;
        readOnly = m_answerReadOnly;
        return !path.empty();
    }
    int ChooseNewerFormatAction(const std::string& path) override
    {
        m_newerAsked.push_back(path);
        return m_newerAnswer;
    }
    void ShowNewerFormatNotice(const std::string& path) override { m_notices.push_back(path); }
    bool AskYesNo(const std::string& text) override
    {
        m_questions.push_back(text);
        return m_yes;
    }
    void Inform(const std::string& text, Icon) override { m_informed.push_back(text); }
    std::string RunDataFileCopyDialog(DataFileCopy, const std::string&) override { return m_copyPath; }
    // While the compaction runs the user tries New, Open, and New through its handler directly.
    bool RunCompaction() override
    {
        m_duringCompaction = {Command(IDM_FILE_NEW), Command(IDM_FILE_OPEN)};
        OnCmdMsg(IDM_FILE_NEW, nullptr);
        return false;
    }
    // The start-up windows are recorded; the splash "closes" at once, going on as it would.
    void ShowSplash(bool aboutMode, bool continueAfter) override
    {
        m_windows.push_back(aboutMode ? "about" : "splash");
        if (aboutMode)
            return;
        SetStartupFlag(kStartupSplashDone);
        if (continueAfter)
            MainFrame()->PostMessage(WM_COMMAND, kStartupStepsCommand, 0);
    }
    void RunTipOfTheDay(bool fromMenu) override { m_windows.push_back(fromMenu ? "tip from menu" : "tip"); }
    // While the update dialog is up the command is greyed and a second request does nothing.
    void RunUpdateCheck() override
    {
        m_windows.push_back("update check");
        CCmdUIProbe probe(IDM_HELP_UPDATE);
        OnCmdMsg(IDM_HELP_UPDATE, &probe);
        m_updateEnabledWhileUp = probe.m_enabled;
        OnCmdMsg(IDM_HELP_UPDATE, nullptr);
    }
    int RunWelcome(int) override
    {
        m_windows.push_back("welcome");
        return m_welcomeAnswer;
    }

    std::string m_folder;
    std::vector<std::string> m_params;
    std::string m_answerPath;
    bool m_answerReadOnly = false;
    int m_newerAnswer = IDCANCEL;
    bool m_yes = false;
    std::string m_copyPath;
    std::vector<std::string> m_dialogFolders;
    std::vector<std::string> m_newerAsked;
    std::vector<std::string> m_notices;
    std::vector<std::string> m_questions;
    std::vector<std::string> m_informed;
    std::vector<bool> m_duringCompaction;
    std::vector<std::string> m_windows;
    int m_welcomeAnswer = 1;
    bool m_updateEnabledWhileUp = true;
};

// The shell as the web commands reach it.
class CRecordingShell : public ILinkShell {
public:
    bool PathExists(const std::string&, bool&) override { return false; }
    intptr_t Execute(const char* verb, const std::string& file, const std::string&) override
    {
        m_opened.push_back(std::string(verb ? verb : "") + " " + file);
        return m_result;
    }
    std::string FolderProgram() override { return ""; }
    bool CanSearchMissing() override { return false; }
    std::string BaseFolder() override { return ""; }
    int FindMissing(std::string&, int32_t) override { return 0; }
    std::vector<std::string> m_opened;
    intptr_t m_result = 42;
};

class QuorvaneApp : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_errors.clear();
        m_previousSink = SetErrorSink(RecordError);
        SetErrorSink(m_previousSink);
        // A portable store: the INI beside the program, marked portable, so nothing reaches the
        // registry and each test starts from nothing.
        WriteIni("[Quorvane]\nPortable=1\n");
    }
    void TearDown() override
    {
        if (m_app)
            m_app->Stop();
        m_app.reset();
        SetErrorSink(m_previousSink);
    }
    void WriteIni(const std::string& text) { m_folder.Write("quorvane.ini", text); }
    void AppendIni(const std::string& text)
    {
        std::ofstream out(NativePath(m_folder.File("quorvane.ini")), std::ios::app);
        out << text;
    }
    CTestApp& Start()
    {
        m_app = std::make_unique<CTestApp>(m_folder.Path());
        // The application installs its message box as the error sink; the test records instead.
        SetErrorSink(RecordError);
        m_app->m_params = m_params;
        EXPECT_TRUE(m_app->Start());
        m_app->Pump();
        return *m_app;
    }
    void Restart()
    {
        m_app->Stop();
        m_app.reset();
        Start();
    }
    // A knowledge base of `articles` articles made through the document alone.
    std::string MakeFile(const std::string& name, int articles = 2)
    {
        const std::string path = m_folder.File(name);
        CRecordingHost silent;
        CQuorvaneDoc doc(silent);
        EXPECT_TRUE(doc.CreateNewFile(path));
        for (int i = 0; i < articles; ++i) {
            CArticleRecord record;
            record.SetTitle("article " + std::to_string(i));
            doc.AddArticle(record, false, false);
        }
        EXPECT_TRUE(doc.SaveModified());
        doc.DeleteContents();
        return path;
    }
    // The file with its header's version field set to `version`.
    std::string MakeFileOfVersion(const std::string& name, int version)
    {
        std::string path;
        if (version == 300) {
            path = m_folder.File(name);
            CDataFile file;
            file.Create(path, 300);
            file.Close();
            return path;
        }
        path = MakeFile(name);
        std::string bytes = m_folder.Read(name);
        bytes[2] = static_cast<char>(version & 0xFF);
        bytes[3] = static_cast<char>(version >> 8);
        m_folder.Write(name, bytes);
        return path;
    }
    // The index window of the open file, shown and active, or null.
    CIndexView* ShownIndexView()
    {
        CIndexFrame* frame = m_app->GetIndexFrame();
        if (!frame || !frame->IsWindowVisible() || m_app->MainFrame()->MDIGetActive() != frame)
            return nullptr;
        return dynamic_cast<CIndexView*>(frame->GetActiveView());
    }
    int TitleCount()
    {
        CIndexView* view = ShownIndexView();
        return view ? static_cast<int>(view->TitleList().SendMessage(LB_GETCOUNT)) : -1;
    }
    int IndexWindowCount()
    {
        int count = 0;
        for (HWND child = GetWindow(m_app->MainFrame()->GetMDIClient(), GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT))
            ++count;
        return count;
    }
    RECT MainRect()
    {
        WINDOWPLACEMENT place = {};
        place.length = sizeof place;
        GetWindowPlacement(m_app->GetMainWnd()->m_hWnd, &place);
        return place.rcNormalPosition;
    }
    std::string Caption() { return gui::GetText(m_app->GetMainWnd()->m_hWnd); }

    CTempFolder m_folder;
    std::vector<std::string> m_params;
    std::unique_ptr<CTestApp> m_app;
    ErrorSink m_previousSink = nullptr;
};

}  // namespace

TEST_F(QuorvaneApp, FirstStartCentresTheWindowAndARestartKeepsWhereTheUserPutIt)
{
    CTestApp& app = Start();
    const std::vector<std::string> steps = {"common controls", "gdiplus", "option store", "command line",
                                            "dialog font", "version", "recent files", "folders", "templates", "icons",
                                            "settings", "start file", "main frame", "splash", "placement",
                                            "shell command", "open start file", "on top"};
    EXPECT_EQ(app.StartupTrace(), steps);
    // No start file: command 101 ran the start-up steps, so every flag is set.
    EXPECT_EQ(app.GetStartupFlags(), uint32_t(kStartupAllDone));
    RECT desktop;
    GetClientRect(GetDesktopWindow(), &desktop);
    RECT first = MainRect();
    const int width = std::min<int>(desktop.right, 720), height = std::min<int>(desktop.bottom, 560);
    EXPECT_EQ(first.right - first.left, width);
    EXPECT_EQ(first.bottom - first.top, height);
    EXPECT_EQ(first.left, (desktop.right - width) / 2);
    EXPECT_EQ(first.top, (desktop.bottom - height) / 2);

    MoveWindow(app.GetMainWnd()->m_hWnd, 20, 30, 500, 400, TRUE);
    app.Pump();
    Restart();
    RECT again = MainRect();
    EXPECT_EQ(again.left, 20);
    EXPECT_EQ(again.top, 30);
    EXPECT_EQ(again.right - again.left, 500);
    EXPECT_EQ(again.bottom - again.top, 400);
    EXPECT_TRUE(g_errors.empty()) << g_errors.front();
}

TEST_F(QuorvaneApp, StartsMaximisedAndPullsAStrayCornerToTheDesktopCentre)
{
    AppendIni("[Quorvane Display]\nTop=5000\nLeft=10\nWidth=600\nHeight=450\nMaximized=3\n");
    CTestApp& app = Start();
    EXPECT_TRUE(IsZoomed(app.GetMainWnd()->m_hWnd));
    RECT desktop;
    GetClientRect(GetDesktopWindow(), &desktop);
    RECT normal = MainRect();
    EXPECT_EQ(normal.left, desktop.right / 2);
    EXPECT_EQ(normal.top, desktop.bottom / 2);
    EXPECT_EQ(normal.right - normal.left, 600);
}

TEST_F(QuorvaneApp, StartFileFromTheSettingsOrTheCommandLine)
{
    const std::string notes = MakeFile("notes.xrd");
    // LoadLastFile 2 with a bare name: the data folder's file.
    WriteIni("[Quorvane]\nPortable=1\nLoadLastFile=2\nLastFileName=notes.xrd\n[Directories]\nQuorvane Data=" +
             m_folder.Path() + "\n");
    CTestApp& app = Start();
    ASSERT_NE(app.GetOpenDocument(), nullptr);
    EXPECT_EQ(app.GetOpenDocument()->GetPathName(), notes);
    EXPECT_NE(Caption().find("notes.xrd"), std::string::npos);
    // A start file opened: command 101 waits, so the welcome and tip flags stay clear.
    EXPECT_EQ(app.GetStartupFlags(), uint32_t(kStartupSplashDone | kStartupStepsBegun));
    m_app->Stop();
    m_app.reset();

    // A missing last file: no file, LoadLastFile becomes 0, the start-up steps say which file.
    WriteIni("[Quorvane]\nPortable=1\nLoadLastFile=2\nLastFileName=gone.xrd\n[Directories]\nQuorvane Data=" +
             m_folder.Path() + "\n");
    CTestApp& missing = Start();
    EXPECT_EQ(missing.GetOpenDocument(), nullptr);
    ASSERT_EQ(missing.m_informed.size(), 1u);
    EXPECT_NE(missing.m_informed[0].find(m_folder.File("gone.xrd")), std::string::npos);
    EXPECT_EQ(missing.Settings().GetLoadLastFile(), 0);
    m_app->Stop();
    m_app.reset();

    // "quorvane.exe notes.xrd" opens its full path; a missing one says so and starts without a file.
    SetCurrentDirectoryA(m_folder.Path().c_str());
    m_params = {"notes.xrd"};
    CTestApp& named = Start();
    ASSERT_NE(named.GetOpenDocument(), nullptr);
    EXPECT_EQ(named.GetOpenDocument()->GetPathName(), notes);
    m_app->Stop();
    m_app.reset();
    m_params = {"gone.xrd"};
    g_errors.clear();
    CTestApp& gone = Start();
    EXPECT_EQ(gone.GetOpenDocument(), nullptr);
    ASSERT_EQ(g_errors.size(), 1u);
    EXPECT_EQ(g_errors[0], "Can not find the following data file specified in the shortcut target:\ngone.xrd");
    // It starts as if no file was named: the start-up steps ran.
    EXPECT_EQ(gone.GetStartupFlags(), uint32_t(kStartupAllDone));
}

TEST_F(QuorvaneApp, FileNewCreatesInTheChosenFolderAndTopsTheRecentList)
{
    CTestApp& app = Start();
    CreateDirectoryA(m_folder.File("kb").c_str(), nullptr);
    const std::string path = m_folder.File("kb\\fresh.xrd");
    app.m_answerPath = path;
    ASSERT_TRUE(app.Command(IDM_FILE_NEW));
    ASSERT_NE(app.GetOpenDocument(), nullptr);
    EXPECT_TRUE(app.GetOpenDocument()->CanModify());
    EXPECT_TRUE(FileExists(path));
    EXPECT_FALSE(FileExists(path + ".freespacecheck"));
    EXPECT_EQ(app.RecentFileList().GetEntry(0), path);
    EXPECT_EQ(app.Directories().GetExpandedFolder(CDirectories::kData), m_folder.File("kb"));

    // A second New closes the first file and starts in the folder of the first choice.
    const std::string second = m_folder.File("kb\\second.xrd");
    app.m_answerPath = second;
    ASSERT_TRUE(app.Command(IDM_FILE_NEW));
    EXPECT_EQ(app.m_dialogFolders.back(), m_folder.File("kb"));
    EXPECT_EQ(app.GetOpenDocument()->GetPathName(), second);
    EXPECT_EQ(app.RecentFileList().GetEntry(1), path);

    // A disk that takes no bytes: message 1127, no data file and no probe file left.
    struct FullDisk : IFileFaults {
        long Before(Call call, const std::string&, uint64_t, uint32_t, uint32_t*) override
        {
            return call == kWrite ? 112 : 0;
        }
    } full;
    const std::string third = m_folder.File("kb\\third.xrd");
    app.m_answerPath = third;
    app.m_yes = true;  // the open file closes even if its last save fails on that disk
    IFileFaults* previous = SetFileFaults(&full);
    app.Command(IDM_FILE_NEW);
    SetFileFaults(previous);
    ASSERT_FALSE(g_errors.empty());
    EXPECT_EQ(g_errors.back().find("There is not enough space on the disk to create:\n" + third), 0u);
    EXPECT_FALSE(FileExists(third));
    EXPECT_FALSE(FileExists(third + ".freespacecheck"));
}

TEST_F(QuorvaneApp, NewOpenAndTheCommandLineShowTheFileInTheIndexWindow)
{
    CTestApp& app = Start();
    EXPECT_EQ(app.GetIndexFrame(), nullptr);
    app.m_answerPath = MakeFile("three.xrd", 3);
    ASSERT_TRUE(app.Command(IDM_FILE_OPEN));
    ASSERT_NE(ShownIndexView(), nullptr);
    EXPECT_EQ(TitleCount(), 3);
    // The index window's menu shows, with the recent list in it.
    HMENU shown = GetMenu(app.GetMainWnd()->m_hWnd);
    EXPECT_EQ(shown, app.GetIndexTemplate()->GetSharedMenu());
    char text[300] = {};
    GetMenuStringA(shown, kFirstRecentFileCommand, text, sizeof text, MF_BYCOMMAND);
    EXPECT_EQ(std::string(text), app.RecentFileList().MenuText(0));

    // The close box leaves it open: it goes with its file.
    CIndexFrame* frame = app.GetIndexFrame();
    frame->SendMessage(WM_CLOSE);
    EXPECT_EQ(app.GetIndexFrame(), frame);

    // Another file takes its place: still one document in one index window.
    app.m_answerPath = MakeFile("five.xrd", 5);
    ASSERT_TRUE(app.Command(IDM_FILE_OPEN));
    EXPECT_EQ(TitleCount(), 5);
    EXPECT_EQ(app.GetIndexTemplate()->Documents().size(), 1u);
    EXPECT_EQ(IndexWindowCount(), 1);

    // A new file shows empty.
    app.m_answerPath = m_folder.File("fresh.xrd");
    ASSERT_TRUE(app.Command(IDM_FILE_NEW));
    EXPECT_EQ(TitleCount(), 0);
    EXPECT_EQ(app.GetIndexTemplate()->Documents().size(), 1u);
    EXPECT_EQ(IndexWindowCount(), 1);

    // A file that does not open leaves no window behind.
    app.m_answerPath = m_folder.Write("text.xrd", std::string(400, 'w'));
    app.Command(IDM_FILE_OPEN);
    EXPECT_EQ(app.GetIndexFrame(), nullptr);
    EXPECT_EQ(IndexWindowCount(), 0);
    EXPECT_TRUE(app.GetIndexTemplate()->Documents().empty());

    // LoadLastFile 1: the most recent file opens at start-up, in its index window.
    app.Settings().SetLoadLastFile(1);
    Restart();
    ASSERT_NE(m_app->GetOpenDocument(), nullptr);
    EXPECT_EQ(m_app->GetOpenDocument()->GetPathName(), m_folder.File("fresh.xrd"));
    EXPECT_EQ(TitleCount(), 0);

    // Named on the command line: the same window at start-up.
    m_app->Settings().SetLoadLastFile(0);
    m_app->Stop();
    m_app.reset();
    m_params = {m_folder.File("five.xrd")};
    Start();
    EXPECT_EQ(TitleCount(), 5);
}

TEST_F(QuorvaneApp, ArticlesOpenInTheirOwnWindowsAndTheirEditsReachTheFile)
{
    const std::string path = MakeFile("notes.xrd", 2);
    m_params = {path};
    CTestApp& app = Start();
    CQuorvaneDoc* document = app.GetOpenDocument();
    ASSERT_NE(document, nullptr);
    CMainFrame* main = app.MainFrame();
    auto activeArticle = [&]() -> CArticleView* {
        auto* frame = dynamic_cast<CArticleFrame*>(main->MDIGetActive());
        return frame ? frame->GetArticleView() : nullptr;
    };

    // File > New Article from the index window: an "Untitled" window with its title selected.
    ASSERT_NE(ShownIndexView(), nullptr);
    EXPECT_TRUE(main->ExecuteCommand(IDM_ARTICLE_NEW));
    app.Pump();
    CArticleView* fresh = activeArticle();
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->GetArticleId(), CArticleView::kNewArticle);
    const std::string untitled = fresh->TitleBox().GetWindowText();
    EXPECT_EQ(untitled.rfind("Untitled ", 0), 0u);
    DWORD start = 0, end = 0;
    fresh->TitleBox().SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, untitled.size());
    fresh->TitleBox().SetWindowText("Written in the program");
    fresh->Content().SetPlainText("Its text", false);
    fresh->AssignKeywordByName("garden");
    auto* freshFrame = dynamic_cast<CArticleFrame*>(main->MDIGetActive());
    EXPECT_TRUE(freshFrame->ExecuteCommand(IDM_ARTICLE_SAVE));
    const int32_t added = fresh->GetArticleId();
    EXPECT_NE(added, CArticleView::kNewArticle);
    EXPECT_EQ(document->GetArticleCount(), 3);

    // A stored article by id (what the index window's titles list asks for): its own window, and
    // asked again, the same window comes forward.
    CArticleIdSet all;
    document->GetAllArticleIds(all);
    const int32_t first = all.GetAt(0);
    document->OpenArticle(first);
    app.Pump();
    CArticleView* stored = activeArticle();
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->GetArticleId(), first);
    EXPECT_EQ(stored->TitleBox().GetWindowText(), "article 0");
    const int windows = IndexWindowCount();
    document->OpenArticle(added);
    app.Pump();
    EXPECT_EQ(activeArticle(), fresh);
    document->OpenArticle(first);
    app.Pump();
    EXPECT_EQ(activeArticle(), stored);
    EXPECT_EQ(IndexWindowCount(), windows);
    stored->TitleBox().SetWindowText("article 0, renamed");
    EXPECT_TRUE(dynamic_cast<CArticleFrame*>(main->MDIGetActive())->ExecuteCommand(IDM_ARTICLE_SAVE));

    // Window > Close All closes both saved article windows; the index window stays.
    EXPECT_TRUE(main->ExecuteCommand(IDM_WINDOW_CLOSE_ALL));
    app.Pump();
    EXPECT_EQ(IndexWindowCount(), windows - 2);
    EXPECT_EQ(activeArticle(), nullptr);

    // Closing the program closes the windows with their file; both edits are in it.
    m_app->Stop();
    m_app.reset();
    EXPECT_TRUE(g_errors.empty()) << g_errors.front();
    CRecordingHost host;
    CQuorvaneDoc reopened(host);
    ASSERT_TRUE(reopened.OnOpenDocument(path));
    EXPECT_EQ(reopened.GetArticleCount(), 3);
    EXPECT_STREQ(reopened.GetArticleTitle(first), "article 0, renamed");
    EXPECT_STREQ(reopened.GetArticleTitle(added), "Written in the program");
    EXPECT_GE(reopened.FindKeyword("garden"), 0);
    reopened.DeleteContents();
}

// Closing the program with an article window holding changes: Cancel in Save Article keeps the
// program, the window and its edits, with no question about a failed save; a write that does fail
// still asks (1300) whether to exit anyway.
TEST_F(QuorvaneApp, ArticleKeptOpenAtExitKeepsTheProgramAndOnlyAFailedWriteAsks)
{
    m_params = {MakeFile("notes.xrd", 2)};
    CTestApp& app = Start();
    CQuorvaneDoc* document = app.GetOpenDocument();
    ASSERT_NE(document, nullptr);
    CMainFrame* main = app.MainFrame();
    // Shared with the answer so that a window still open at the test's end answers safely.
    auto asked = std::make_shared<std::vector<std::string>>();
    auto answer = std::make_shared<int>(IDCANCEL);
    CArticleViewServices services = CArticleView::Services();
    services.askSaveArticle = [asked, answer](HWND, const std::string& title, bool&) {
        asked->push_back(title);
        return *answer;
    };
    CArticleView::SetServices(services);

    CArticleIdSet all;
    document->GetAllArticleIds(all);
    const int32_t first = all.GetAt(0);
    document->OpenArticle(first);
    app.Pump();
    auto* frame = dynamic_cast<CArticleFrame*>(main->MDIGetActive());
    ASSERT_NE(frame, nullptr);
    CArticleView* view = frame->GetArticleView();
    view->TitleBox().SetWindowText("article 0, not saved yet");
    ASSERT_TRUE(view->IsModified());

    main->SendMessage(WM_CLOSE, 0, 0);
    app.Pump();
    ASSERT_TRUE(main->IsWindow());
    EXPECT_EQ(*asked, (std::vector<std::string>{"article 0, not saved yet"}));
    EXPECT_TRUE(app.m_questions.empty());
    EXPECT_EQ(app.GetOpenDocument(), document);
    ASSERT_EQ(main->MDIGetActive(), frame);
    EXPECT_TRUE(view->IsModified());
    EXPECT_EQ(view->TitleBox().GetWindowText(), "article 0, not saved yet");
    EXPECT_TRUE(g_errors.empty()) << g_errors.front();

    // The user drops the edits (No) but a bookmark cannot be written to a full disk: now the save
    // did fail, and No to "exit anyway" keeps the program.
    document->SetBookmark(first, true);
    struct FullDisk : IFileFaults {
        long Before(Call call, const std::string&, uint64_t, uint32_t, uint32_t*) override
        {
            return call == kWrite ? 112 : 0;
        }
    } full;
    IFileFaults* previous = SetFileFaults(&full);
    *answer = IDNO;
    app.m_yes = false;
    main->SendMessage(WM_CLOSE, 0, 0);
    app.Pump();
    SetFileFaults(previous);
    ASSERT_TRUE(main->IsWindow());
    EXPECT_EQ(app.m_questions, (std::vector<std::string>{QuorLoadString(IDS_EXIT_UNSAVED)}));
    EXPECT_EQ(asked->size(), 2u);
    EXPECT_EQ(dynamic_cast<CArticleFrame*>(main->MDIGetActive()), nullptr);
    EXPECT_FALSE(g_errors.empty());
}

TEST_F(QuorvaneApp, NewAndOpenDoNothingWhileCompactRuns)
{
    CTestApp& app = Start();
    app.m_answerPath = m_folder.File("during.xrd");
    ASSERT_TRUE(app.Command(IDM_FILE_COMPACT));
    EXPECT_EQ(app.m_duringCompaction, std::vector<bool>({false, false}));
    EXPECT_TRUE(app.m_dialogFolders.empty());
    EXPECT_FALSE(FileExists(app.m_answerPath));
    EXPECT_FALSE(app.IsCompacting());
    // Afterwards both work again.
    EXPECT_TRUE(app.Command(IDM_FILE_NEW));
    EXPECT_TRUE(FileExists(app.m_answerPath));
}

TEST_F(QuorvaneApp, FileOpenByHeaderFormat)
{
    CTestApp& app = Start();
    const std::string current = MakeFile("current.xrd");
    app.m_answerPath = current;
    ASSERT_TRUE(app.Command(IDM_FILE_OPEN));
    ASSERT_NE(app.GetOpenDocument(), nullptr);
    EXPECT_EQ(app.GetOpenDocument()->GetArticleCount(), 2);

    // An older file opened read-only opens as it is and is the same bytes after closing.
    const std::string older = MakeFileOfVersion("older.xrd", 300);
    const std::string olderBytes = m_folder.Read("older.xrd");
    app.m_answerPath = older;
    app.m_answerReadOnly = true;
    ASSERT_TRUE(app.Command(IDM_FILE_OPEN));
    ASSERT_NE(app.GetOpenDocument(), nullptr);
    EXPECT_FALSE(app.GetOpenDocument()->CanModify());
    EXPECT_TRUE(app.IsFileOpen());
    EXPECT_FALSE(app.CanModify());
    app.m_answerReadOnly = false;

    // 450: the choices; Cancel opens nothing, Open Read-Only opens read-only.
    const std::string newer = MakeFileOfVersion("newer.xrd", 450);
    app.m_answerPath = newer;
    app.m_newerAnswer = IDCANCEL;
    app.Command(IDM_FILE_OPEN);
    EXPECT_EQ(app.m_newerAsked.size(), 1u);
    EXPECT_EQ(app.GetOpenDocument(), nullptr);
    EXPECT_EQ(m_folder.Read("older.xrd"), olderBytes);
    app.m_newerAnswer = 5;
    app.Command(IDM_FILE_OPEN);
    ASSERT_NE(app.GetOpenDocument(), nullptr);
    EXPECT_FALSE(app.GetOpenDocument()->CanModify());
    // Copy and Open: the copy opens, the original is left as it was.
    const std::string newerBytes = m_folder.Read("newer.xrd");
    app.m_newerAnswer = 4;
    app.m_copyPath = m_folder.File("copy.xrd");
    app.Command(IDM_FILE_OPEN);
    ASSERT_NE(app.GetOpenDocument(), nullptr);
    EXPECT_EQ(app.GetOpenDocument()->GetPathName(), m_folder.File("copy.xrd"));
    app.m_answerPath = current;
    app.Command(IDM_FILE_OPEN);
    EXPECT_EQ(m_folder.Read("newer.xrd"), newerBytes);

    // 500: the notice only.
    app.m_answerPath = MakeFileOfVersion("future.xrd", 500);
    app.Command(IDM_FILE_OPEN);
    EXPECT_EQ(app.m_notices.size(), 1u);
    EXPECT_EQ(app.GetOpenDocument(), nullptr);

    // Not a data file: message 1106.
    app.m_answerPath = m_folder.Write("text.xrd", std::string(400, 'w'));
    g_errors.clear();
    app.Command(IDM_FILE_OPEN);
    ASSERT_EQ(g_errors.size(), 1u);
    EXPECT_EQ(g_errors[0], "This file is not a Personal Quorvane data file:\n" + app.m_answerPath);
    EXPECT_EQ(app.GetOpenDocument(), nullptr);
}

TEST_F(QuorvaneApp, RecentListKeepsFourNewestFirstAndForgetsDeletedFiles)
{
    CTestApp& app = Start();
    std::vector<std::string> paths;
    for (int i = 0; i < 5; ++i) {
        paths.push_back(MakeFile("f" + std::to_string(i) + ".xrd", 0));
        app.m_answerPath = paths.back();
        ASSERT_TRUE(app.Command(IDM_FILE_OPEN));
    }
    ASSERT_EQ(app.RecentFileList().GetSize(), 4);
    EXPECT_EQ(app.RecentFileList().GetEntry(0), paths[4]);
    EXPECT_EQ(app.RecentFileList().GetEntry(3), paths[1]);
    // The menu shows them as commands 57616..57619.
    HMENU menu = GetMenu(app.GetMainWnd()->m_hWnd);
    char text[300] = {};
    GetMenuStringA(menu, kFirstRecentFileCommand + 1, text, sizeof text, MF_BYCOMMAND);
    EXPECT_EQ(std::string(text), app.RecentFileList().MenuText(1));
    EXPECT_EQ(std::string(text).substr(0, 3), "&2 ");
    EXPECT_EQ(std::string(text).substr(std::strlen(text) - 6), "f3.xrd");

    // Entry 3 deleted on disk: choosing it drops it from both lists.
    app.Command(IDM_FILE_OPEN);  // same file again, no change
    DeleteFileIfExists(paths[2]);
    app.Command(kFirstRecentFileCommand + 2);
    EXPECT_EQ(app.RecentFileList().GetSize(), 3);
    std::string own;
    for (int i = 0; app.OwnRecentFiles().GetAt(i, own); ++i)
        EXPECT_NE(own, paths[2]);

    // The list survives a restart (portable: the program's own list too).
    Restart();
    EXPECT_EQ(m_app->RecentFileList().GetSize(), 3);
    EXPECT_EQ(m_app->RecentFileList().GetEntry(0), paths[4]);
}

TEST_F(QuorvaneApp, AFailedSaveAsksBeforeTheFileIsClosed)
{
    CTestApp& app = Start();
    app.m_answerPath = MakeFile("kept.xrd");
    ASSERT_TRUE(app.Command(IDM_FILE_OPEN));
    g_errors.clear();
    // With nothing to save both close at once.
    EXPECT_TRUE(app.CloseOpenFile());
    EXPECT_TRUE(app.m_questions.empty());

    // A bookmark to write on a disk that takes nothing: before another open the user is asked
    // (1301), and No keeps the file and its window open; at exit the question is 1300.
    CArticleIdSet ids;
    app.GetOpenDocument()->GetAllArticleIds(ids);
    ASSERT_FALSE(ids.Values().empty());
    app.GetOpenDocument()->SetBookmark(ids.Values()[0], true);
    struct FullDisk : IFileFaults {
        long Before(Call call, const std::string&, uint64_t, uint32_t, uint32_t*) override
        {
            return call == kWrite ? 112 : 0;
        }
    } full;
    app.m_answerPath = MakeFile("other.xrd");
    IFileFaults* previous = SetFileFaults(&full);
    app.m_yes = false;
    app.Command(IDM_FILE_OPEN);
    ASSERT_EQ(app.m_questions.size(), 1u);
    EXPECT_EQ(app.m_questions[0], QuorLoadString(IDS_CLOSE_UNSAVED));
    ASSERT_NE(app.GetOpenDocument(), nullptr);
    EXPECT_EQ(app.GetOpenDocument()->GetPathName(), m_folder.File("kept.xrd"));
    EXPECT_NE(app.GetIndexFrame(), nullptr);
    EXPECT_FALSE(app.SaveAllModified());
    ASSERT_EQ(app.m_questions.size(), 2u);
    EXPECT_EQ(app.m_questions[1], QuorLoadString(IDS_EXIT_UNSAVED));
    app.m_yes = true;
    EXPECT_TRUE(app.SaveAllModified());
    SetFileFaults(previous);
}

TEST_F(QuorvaneApp, HelpGoesThroughTheSeam)
{
    CTestApp& app = Start();
    CRecordingHelp help;
    app.SetHelpViewer(&help);
    app.ShowHelp(0x1E112);
    app.ShowHelp(0x1809F);
    app.ShowHelp(0x40002);
    app.ShowHelp(0xFFFFFFFE);
    app.SetSplashShowing(true);
    app.ShowHelp(0x1E110);
    const std::vector<HelpCall> expected = {{HelpCall::kContext, 0x1E110, true},
                                            {HelpCall::kContext, 0x18006, true},
                                            {HelpCall::kContext, 258, false}};
    EXPECT_EQ(help.m_calls, expected);
}

TEST_F(QuorvaneApp, FilePropertiesFontTakesTheDefaultFontDialogAndAChangeReachesTheOpenWindows)
{
    CTestApp& app = Start();
    app.m_answerPath = MakeFile("font.xrd");
    ASSERT_TRUE(app.Command(IDM_FILE_OPEN));
    CIndexView* view = ShownIndexView();
    ASSERT_NE(view, nullptr);
    const FilePropertyServices services = app.FileProperties();

    // The Font button's dialog: "Auto" heads the colours; "Use Default" gives the program's default
    // font with the automatic colour.
    LogFont font = app.Settings().GetFileFont();
    SetFaceName(font, "Pinned Face");
    int32_t color = 0x00336699;
    std::atomic<bool> chosen{false};
    gui::CGuiThread ui([&] { chosen = services.chooseFont(nullptr, font, color); });
    HWND dialog = gui::WaitForTopWindow("Font");
    ASSERT_NE(dialog, nullptr);
    HWND colors = gui::FindControl(dialog, IDC_FONT_COLOR);
    ASSERT_NE(colors, nullptr);
    char first[32] = {};
    SendMessageA(colors, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
    EXPECT_STREQ(first, "Auto");
    ASSERT_TRUE(gui::ClickButton(dialog, IDC_FONT_USE_DEFAULT));
    ASSERT_TRUE(ui.Join());
    EXPECT_TRUE(chosen.load());
    EXPECT_EQ(color, -1);
    CGdiFontFaces faces;
    const LogFont standard = CFontSettings::DefaultFont(faces);
    EXPECT_EQ(GetFaceName(font), GetFaceName(standard));
    EXPECT_EQ(font.lfHeight, standard.lfHeight);

    // A changed file font reaches the open index window's lists.
    SetFaceName(font, "Courier New");
    app.Settings().SetFileFont(font);
    services.fontChanged();
    LOGFONTA shown = {};
    auto listFont = reinterpret_cast<HGDIOBJ>(view->TitleList().SendMessage(WM_GETFONT));
    ASSERT_NE(listFont, nullptr);
    ASSERT_NE(GetObjectA(listFont, sizeof shown, &shown), 0);
    EXPECT_STREQ(shown.lfFaceName, "Courier New");
}

TEST_F(QuorvaneApp, PreferencesOkRebuildsTheBarsWhenTheirStyleChanged)
{
    // Raised bars chosen in an earlier run.
    WriteIni("[Quorvane]\nPortable=1\nFlatToolbar=0\n");
    CTestApp& app = Start();
    const bool themed = CThemedButton::IsThemeActive();
    HWND before = app.MainFrame()->GetToolBar(kStandardBar)->m_hWnd;
    ASSERT_NE(before, nullptr);
    SetPropA(before, "QuorTestOldBar", reinterpret_cast<HANDLE>(1));

    // Display page: under visual styles the box is ticked already and the bars are due for a
    // rebuild; without them the user ticks it. OK either way.
    gui::CGuiThread user([&] {
        HWND sheet = gui::WaitForTopWindow("Preferences");
        if (!sheet)
            return;
        HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        if (!themed)
            SendMessageA(GetDlgItem(page, IDC_PREF_FLAT_TOOLBAR), BM_CLICK, 0, 0);
        PostMessageA(sheet, WM_COMMAND, IDOK, 0);
    });
    app.ShowPreferences(2, app.GetMainWnd()->m_hWnd);
    ASSERT_TRUE(user.Join());

    HWND after = app.MainFrame()->GetToolBar(kStandardBar)->m_hWnd;
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(GetPropA(after, "QuorTestOldBar"), nullptr) << "the bars were made again";
    EXPECT_NE(GetWindowLongA(after, GWL_STYLE) & TBSTYLE_FLAT, 0);
    EXPECT_EQ(app.Settings().GetFlatToolbar(), 1);
}

TEST_F(QuorvaneApp, TutorialOpensItsHelpTopic)
{
    CTestApp& app = Start();
    CRecordingHelp help;
    app.SetHelpViewer(&help);
    ASSERT_TRUE(app.Command(IDM_HELP_TUTORIAL));
    const std::vector<HelpCall> expected = {{HelpCall::kContext, 257, true}};
    EXPECT_EQ(help.m_calls, expected);
}

TEST_F(QuorvaneApp, SavedQueryMenuInTheEditMenu)
{
    CTestApp& app = Start();
    // The index window's Edit menu: the submenu after Build Query.
    HMENU menu = app.GetIndexTemplate()->GetSharedMenu();
    HMENU run = nullptr;
    for (int i = 0; i < GetMenuItemCount(menu) && !run; ++i) {
        HMENU sub = GetSubMenu(menu, i);
        for (int j = 0; sub && j + 1 < GetMenuItemCount(sub); ++j) {
            if (GetMenuItemID(sub, j) == IDM_EDIT_BUILD_QUERY)
                run = GetSubMenu(sub, j + 1);
        }
    }
    ASSERT_NE(run, nullptr);
    auto itemText = [run](int position) {
        char text[100] = {};
        GetMenuStringA(run, position, text, sizeof text, MF_BYPOSITION);
        return std::string(text);
    };

    app.UpdateSavedQueryMenus({}, false);
    ASSERT_EQ(GetMenuItemCount(run), 1);
    EXPECT_EQ(GetMenuItemID(run, 0), 32942u);
    EXPECT_EQ(itemText(0), "No Saved Queries");
    EXPECT_TRUE(GetMenuState(run, 0, MF_BYPOSITION) & MF_GRAYED);

    app.UpdateSavedQueryMenus({"first", "second"}, false);
    ASSERT_EQ(GetMenuItemCount(run), 2);
    EXPECT_EQ(itemText(1), "second");
    EXPECT_EQ(GetMenuItemID(run, 1), 32943u);
    EXPECT_FALSE(GetMenuState(run, 1, MF_BYPOSITION) & MF_GRAYED);

    // More names than ids: twenty, then "More Queries...".
    std::vector<std::string> names;
    for (int i = 0; i < 25; ++i)
        names.push_back("query " + std::to_string(i));
    app.UpdateSavedQueryMenus(names, true);
    ASSERT_EQ(GetMenuItemCount(run), 22);
    EXPECT_EQ(GetMenuItemID(run, 19), 32961u);
    EXPECT_TRUE(GetMenuState(run, 20, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(GetMenuItemID(run, 21), 32962u);
    EXPECT_EQ(itemText(21), "More Queries...");
}

TEST_F(QuorvaneApp, SavedQueryRunsFromTheMenuIntoQueryTitles)
{
    // Keyword fruit on two of three articles; a saved query of it and one that no longer compiles.
    const std::string path = m_folder.File("queries.xrd");
    {
        CRecordingHost silent;
        CQuorvaneDoc doc(silent);
        ASSERT_TRUE(doc.CreateNewFile(path));
        CKeywordIdSet fruit;
        fruit.Add(doc.AddKeyword("fruit", false));
        for (int i = 0; i < 3; ++i) {
            CArticleRecord record;
            record.SetTitle("article " + std::to_string(i));
            if (i != 1)
                record.SetKeywordIds(fruit);
            doc.AddArticle(record, false, false);
        }
        doc.GetQueryList().Add("Fruit", "fruit", CCurrentQuery::kOpenFrom, CCurrentQuery::kOpenTo);
        doc.GetQueryList().Add("Broken", "fruit AND gone", CCurrentQuery::kOpenFrom, CCurrentQuery::kOpenTo);
        ASSERT_TRUE(doc.SaveModified());
        doc.DeleteContents();
    }
    CTestApp& app = Start();
    app.m_answerPath = path;
    ASSERT_TRUE(app.Command(IDM_FILE_OPEN));
    ASSERT_NE(ShownIndexView(), nullptr);
    EXPECT_EQ(TitleCount(), 3);
    HWND frame = app.MainFrame()->m_hWnd;
    // Recent first: Broken, Fruit.
    ASSERT_TRUE(gui::ChooseMenuCommand(frame, IDM_EDIT_SAVED_QUERY_FIRST + 1));
    app.Pump();
    EXPECT_EQ(TitleCount(), 2);
    EXPECT_EQ(ShownIndexView()->Selection().GetTitlesMode(), kTitlesQuery);
    EXPECT_EQ(app.GetCurrentQuery()->GetText(), "fruit");
    char text[100] = {};
    GetMenuStringA(GetMenu(frame), IDM_EDIT_SAVED_QUERY_FIRST, text, sizeof text, MF_BYCOMMAND);
    EXPECT_EQ(std::string(text), "Fruit");  // it heads the menu now

    // Broken is reported and leaves the query and its titles.
    ASSERT_TRUE(gui::ChooseMenuCommand(frame, IDM_EDIT_SAVED_QUERY_FIRST + 1));
    app.Pump();
    ASSERT_EQ(g_errors.size(), 1u);
    EXPECT_EQ(TitleCount(), 2);
    EXPECT_EQ(app.GetCurrentQuery()->GetText(), "fruit");
    EXPECT_TRUE(app.GetCurrentQuery()->IsValid());
}

TEST_F(QuorvaneApp, StartUpWindowsRunInOrderAndOnlyWithoutAStartFile)
{
    using List = std::vector<std::string>;
    // First start: the splash, then (command 101) the tip and the welcome.
    CTestApp& app = Start();
    EXPECT_EQ(app.m_windows, (List{"splash", "tip", "welcome"}));
    EXPECT_EQ(app.GetStartupFlags(), uint32_t(kStartupAllDone));

    // Welcome unticked: stored as 2, no welcome next time, but a missing last file is still named.
    app.m_welcomeAnswer = 0;
    app.m_windows.clear();
    ASSERT_TRUE(app.Command(CQuorvaneApp::kStartupStepsCommand));
    m_app->Stop();
    m_app.reset();
    EXPECT_NE(m_folder.Read("quorvane.ini").find("Welcome=2"), std::string::npos);
    WriteIni("[Quorvane]\nPortable=1\nWelcome=2\nLoadLastFile=2\nLastFileName=" + m_folder.File("gone.xrd") + "\n");
    Start();
    EXPECT_EQ(m_app->m_windows, (List{"splash", "tip"}));
    ASSERT_EQ(m_app->m_informed.size(), 1u);
    EXPECT_NE(m_app->m_informed[0].find("gone.xrd"), std::string::npos);

    // No splash (InitOptions 0x501) and no tips: only the welcome.
    WriteIni("[Quorvane]\nPortable=1\nInitOptions=1281\nShowTipOfTheDay=0\n");
    Restart();
    EXPECT_EQ(m_app->m_windows, (List{"welcome"}));
    EXPECT_EQ(m_app->GetStartupFlags(), uint32_t(kStartupAllDone));
    // Only 0x500 or only 0x001 still shows the splash.
    WriteIni("[Quorvane]\nPortable=1\nInitOptions=1280\n");
    Restart();
    EXPECT_EQ(m_app->m_windows.front(), "splash");

    // With a start file, the splash only.
    const std::string notes = MakeFile("notes.xrd");
    WriteIni("[Quorvane]\nPortable=1\n");
    m_params = {notes};
    Restart();
    EXPECT_EQ(m_app->m_windows, (List{"splash"}));
    ASSERT_NE(m_app->GetOpenDocument(), nullptr);
}

TEST_F(QuorvaneApp, AboutTipAndWebCommands)
{
    using List = std::vector<std::string>;
    CTestApp& app = Start();
    app.m_windows.clear();
    ASSERT_TRUE(app.Command(IDM_HELP_ABOUT));
    ASSERT_TRUE(app.Command(IDM_HELP_TIP));
    EXPECT_EQ(app.m_windows, (List{"about", "tip from menu"}));
    // Check for Update: once, greyed while its dialog is up, enabled again after.
    ASSERT_TRUE(app.Command(IDM_HELP_UPDATE));
    EXPECT_EQ(app.m_windows, (List{"about", "tip from menu", "update check"}));
    EXPECT_FALSE(app.m_updateEnabledWhileUp);
    ASSERT_TRUE(app.Command(IDM_HELP_UPDATE));

    CRecordingShell shell;
    ILinkShell* previous = SetLinkShell(&shell);
    ASSERT_TRUE(app.Command(IDM_HELP_WEB));
    ASSERT_TRUE(app.Command(IDM_HELP_FORUM));
    ASSERT_TRUE(app.Command(IDM_HELP_EMAIL));
    EXPECT_EQ(shell.m_opened, (List{"open http://www.harlowen.example/", "open http://www.harlowen.example/forum/",
                                    "open mailto:support@harlowen.example"}));
    EXPECT_TRUE(app.m_informed.empty());
    // No browser: message 1000 with the address to type.
    shell.m_result = 2;
    ASSERT_TRUE(app.Command(IDM_HELP_WEB));
    ASSERT_EQ(app.m_informed.size(), 1u);
    EXPECT_NE(app.m_informed[0].find("unable to access a web browser"), std::string::npos);
    EXPECT_NE(app.m_informed[0].find("http://www.harlowen.example/"), std::string::npos);
    SetLinkShell(previous);
}

