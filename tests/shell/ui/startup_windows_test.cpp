// The start-up windows on real windows, in the test's own process: the Tip of the Day dialog with its
// links, the splash and About box (time-out, keys, click areas, palette), the Welcome dialog's
// buttons and keys, the Acknowledgements and the folder browser. Links and help go to recorders.
#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "framework/ui/custom_wnd.h"
#include "framework/ui/rich_edit.h"
#include "resources/commands.h"
#include "resources/resource.h"
#include "resources/startup_dlgs_res.h"
#include "shell/app_settings.h"
#include "shell/directories.h"
#include "shell/font_settings.h"
#include "shell/memory_profile_store.h"
#include "shell/ui/acknowledgements_dlg.h"
#include "shell/ui/bitmap_palette.h"
#include "shell/ui/folder_browser.h"
#include "shell/ui/splash_wnd.h"
#include "shell/ui/tip_of_the_day_dlg.h"
#include "shell/ui/welcome_dlg.h"
#include "tests/support/gui_driver.h"
#include "tests/support/temp_folder.h"

namespace {

// ---- A tip file ----

void Put16(std::string& b, unsigned v)
{
    b += static_cast<char>(v & 0xFF);
    b += static_cast<char>(v >> 8 & 0xFF);
}
void Put32(std::string& b, unsigned v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

struct TestTip {
    unsigned kind;
    std::string text;
    std::vector<TipLink> links;
};

std::string TipFile(const std::vector<TestTip>& tips)
{
    std::string records;
    std::vector<unsigned> offsets;
    for (const TestTip& t : tips) {
        offsets.push_back(static_cast<unsigned>(12 + 4 * tips.size() + records.size()));
        std::string links;
        for (const TipLink& l : t.links) {
            Put16(links, l.first);
            Put16(links, l.last);
            Put16(links, l.kind);
            Put16(links, static_cast<unsigned>(l.target.size() + 1));
            links += l.target + '\0';
        }
        Put16(records, t.kind);
        Put16(records, static_cast<unsigned>(6 + links.size()));
        Put16(records, static_cast<unsigned>(t.links.size()));
        records += links;
        Put32(records, static_cast<unsigned>(t.text.size() + 1));
        records += t.text + '\0';
    }
    std::string b = "QVTD";
    Put16(b, 100);
    Put16(b, static_cast<unsigned>(tips.size()));
    Put32(b, 12);
    for (unsigned o : offsets) Put32(b, o);
    return b + records;
}

// A button's click as its parent receives it (BN_CLICKED), without the mouse capture a posted click
// needs from a window that is not in front. Posted, as a click is: a dialog that ends inside a sent
// message loses what it posted last.
bool Press(HWND dialog, int id)
{
    HWND button = GetDlgItem(dialog, id);
    if (!button || !IsWindowEnabled(button)) return false;
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return true;
}
void Untick(HWND dialog, int id)
{
    SendMessageA(GetDlgItem(dialog, id), BM_SETCHECK, BST_UNCHECKED, 0);
}

std::string PaneText(HWND pane)
{
    return RichEditStreamOut(pane, SF_TEXT);
}

CHARFORMAT2A FormatAt(HWND pane, int first, int end)
{
    CHARRANGE range = {first, end};
    SendMessageA(pane, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMAT2A format = {};
    format.cbSize = sizeof format;
    SendMessageA(pane, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return format;
}

// A click in the pane on character `c`.
void ClickChar(HWND pane, int c)
{
    POINTL at = {};
    SendMessageA(pane, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&at), c);
    SendMessageA(pane, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x + 2, at.y + 4));
    SendMessageA(pane, WM_LBUTTONUP, 0, MAKELPARAM(at.x + 2, at.y + 4));
}

struct TipOfTheDay : ::testing::Test {
    TipOfTheDay()
    {
        dirs.SetPersonalFolderSource([] { return std::string(); });
        LoadRichEdit();
    }
    int StoredInt(const char* key)
    {
        return store.GetInt("Quorvane", key, -99);
    }
    // Runs the dialog on a thread of its own; `drive` runs on the test thread with the dialog's window.
    void Run(const std::string& path, int report, const std::function<void(HWND)>& drive)
    {
        gui::CGuiThread thread([&] {
            CTipOfTheDayDlg dlg(settings);
            dlg.m_tipFilePath = path;
            dlg.m_reportMissingFile = report;
            dlg.m_onHelp = [&](uint32_t id) { helped.push_back(id); };
            dlg.m_onOpen = [&](const std::string& t) { opened.push_back(t); };
            result = dlg.DoModal();
        });
        if (drive) {
            HWND found = gui::WaitForTopWindow("Tip of the Day", nullptr, GetCurrentProcessId());
            ASSERT_NE(found, nullptr);
            drive(found);
        }
        ASSERT_TRUE(thread.Join());
    }

    CTempFolder folder;
    CMemoryProfileStore store;
    CFontSettings fonts;
    CDirectories dirs;
    CAppSettings settings{store, fonts, dirs};
    std::vector<uint32_t> helped;
    std::vector<std::string> opened;
    INT_PTR result = -5;
};

}  // namespace

TEST_F(TipOfTheDay, ShowsTipsInTurnWithTheirLinksAndStoresWhereItStopped)
{
    const std::string path = folder.Write("quorvane.tod", TipFile({
        {0, "Open www.x.org or read help.", {{5, 13, 0, "http://www.x.org/"}, {23, 26, 1, "0x101"}}},
        {3, "Not for the dialog.", {}},
        {0, "{\\rtf1 typed as it is}", {}},
    }));
    settings.SetShowTipOfTheDay(1);
    Run(path, 1, [&](HWND dialog) {
        HWND pane = GetDlgItem(dialog, IDC_RICHEDIT_TIP);
        EXPECT_EQ(PaneText(pane), "Open www.x.org or read help.");
        EXPECT_EQ(StoredInt("TipOfTheDay"), 1);
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_CHECK_SHOW_TIPS), BST_CHECKED);

        // The pane's links: blue for a shell target, dark green for help, underlined; the rest plain.
        CHARFORMAT2A shellLink = FormatAt(pane, 5, 14);
        EXPECT_EQ(shellLink.crTextColor, CTipRichEdit::kShellLinkColor);
        EXPECT_TRUE(shellLink.dwEffects & CFE_UNDERLINE);
        CHARFORMAT2A helpLink = FormatAt(pane, 23, 27);
        EXPECT_EQ(helpLink.crTextColor, CTipRichEdit::kHelpLinkColor);
        EXPECT_TRUE(helpLink.dwEffects & CFE_UNDERLINE);
        CHARFORMAT2A plain = FormatAt(pane, 0, 4);
        EXPECT_FALSE(plain.dwEffects & CFE_UNDERLINE);
        EXPECT_EQ(plain.crTextColor, GetSysColor(COLOR_WINDOWTEXT));
        EXPECT_EQ(static_cast<COLORREF>(SendMessageA(pane, EM_SETBKGNDCOLOR, 0, CTipOfTheDayDlg::kPaneColor)),
                  CTipOfTheDayDlg::kPaneColor);

        ClickChar(pane, 24);
        ClickChar(pane, 7);
        ClickChar(pane, 17);  // plain text: nothing
        EXPECT_EQ(helped, (std::vector<uint32_t>{257}));
        EXPECT_EQ(opened, (std::vector<std::string>{"http://www.x.org/"}));

        // Next Tip skips the tip of another kind; a tip that looks like rich text shows as typed.
        Press(dialog, IDC_BUTTON_NEXT_TIP);
        gui::WaitFor([&] { return StoredInt("TipOfTheDay") == 3; });
        EXPECT_EQ(PaneText(pane), "{\\rtf1 typed as it is}");
        EXPECT_EQ(StoredInt("TipOfTheDay"), 3);
        // After the last tip it wraps to the first.
        Press(dialog, IDC_BUTTON_NEXT_TIP);
        gui::WaitFor([&] { return StoredInt("TipOfTheDay") == 1; });
        EXPECT_EQ(PaneText(pane), "Open www.x.org or read help.");
        EXPECT_EQ(StoredInt("TipOfTheDay"), 1);

        // Unticked and closed: the tips no longer show at start-up.
        Untick(dialog, IDC_CHECK_SHOW_TIPS);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(StoredInt("ShowTipOfTheDay"), 0);

    // The next run goes on after the tip shown last; a stored number beyond the count starts at 0.
    settings.SetTipOfTheDay(2);
    Run(path, 1, [&](HWND dialog) {
        EXPECT_EQ(PaneText(GetDlgItem(dialog, IDC_RICHEDIT_TIP)), "{\\rtf1 typed as it is}");
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_CHECK_SHOW_TIPS), BST_UNCHECKED);
        PostMessageA(dialog, WM_CLOSE, 0, 0);
    });
    settings.SetTipOfTheDay(40);
    Run(path, 1, [&](HWND dialog) {
        EXPECT_EQ(PaneText(GetDlgItem(dialog, IDC_RICHEDIT_TIP)), "Open www.x.org or read help.");
        PostMessageA(dialog, WM_CLOSE, 0, 0);
    });
}

TEST_F(TipOfTheDay, AMissingOrBadFileIsReportedOnlyFromTheMenuAndSwitchesTipsOff)
{
    const std::string bad = folder.Write("bad.tod", "QVTX not a tip file");
    for (const std::string& path : {folder.File("missing.tod"), bad}) {
        settings.SetShowTipOfTheDay(1);
        Run(path, 0, nullptr);
        EXPECT_EQ(result, 0) << path;
        EXPECT_EQ(StoredInt("ShowTipOfTheDay"), 0) << path;
        EXPECT_EQ(gui::FindMessageBox("Tip of the Day File"), nullptr);

        settings.SetShowTipOfTheDay(1);
        gui::CGuiThread thread([&] {
            CTipOfTheDayDlg dlg(settings);
            dlg.m_tipFilePath = path;
            dlg.m_reportMissingFile = 1;
            result = dlg.DoModal();
        });
        EXPECT_TRUE(gui::AnswerMessageBox("Unable to open the Tip of the Day File: quorvane.tod.", IDOK));
        ASSERT_TRUE(thread.Join());
        EXPECT_EQ(result, 0);
        EXPECT_EQ(StoredInt("ShowTipOfTheDay"), 0);
    }
}

TEST_F(TipOfTheDay, HighContrastUsesTheSystemWindowColour)
{
    const std::string path = folder.Write("quorvane.tod", TipFile({{0, "a tip", {}}}));
    COLORREF seen = 0;
    gui::CGuiThread thread([&] {
        CTipOfTheDayDlg dlg(settings);
        dlg.m_tipFilePath = path;
        dlg.m_highContrast = true;
        dlg.m_onHelp = [](uint32_t) {};
        dlg.DoModal();
        seen = dlg.PaneColor();
    });
    HWND dialog = gui::WaitForTopWindow("Tip of the Day", nullptr, GetCurrentProcessId());
    ASSERT_NE(dialog, nullptr);
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    ASSERT_TRUE(thread.Join());
    EXPECT_EQ(seen, GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(CTipOfTheDayDlg::TipFilePathFor("C:\\Prog.dir\\quorvane.exe"), "C:\\Prog.dir\\quorvane.tod");
    EXPECT_EQ(CTipOfTheDayDlg::TipFilePathFor("C:\\Prog.dir\\quorvane"), "C:\\Prog.dir\\quorvane.tod");
}

// ---- Splash and About ----

namespace {

struct SplashRun {
    std::atomic<HWND> window{nullptr};
    std::atomic<DWORD> shownAt{0};
    std::atomic<DWORD> closedAt{0};
    std::atomic<int> finished{0};
    std::vector<std::string> opened;
    std::atomic<int> acknowledgements{0};
    std::atomic<bool> showing{false};
    std::unique_ptr<gui::CGuiThread> thread;

    void Start(bool about)
    {
        thread = std::make_unique<gui::CGuiThread>([this, about] {
            auto* splash = new CSplashWnd;
            splash->m_autoDelete = true;
            splash->m_versionText = "4.0.0.1";
            splash->m_onShowing = [this](bool on) { showing = on; };
            splash->m_onFinished = [this] {
                closedAt = GetTickCount();
                ++finished;
            };
            splash->m_onOpenLink = [this](const std::string& a) { opened.push_back(a); };
            splash->m_onAcknowledgements = [this](HWND) { ++acknowledgements; };
            shownAt = GetTickCount();
            if (!splash->Show(about, false, nullptr)) {
                delete splash;
                return;
            }
            window = splash->m_hWnd;
            MSG msg;
            while (finished == 0 && GetMessageA(&msg, nullptr, 0, 0) > 0) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        });
        gui::WaitFor([this] { return window.load() != nullptr; });
    }
    bool WaitClosed(DWORD ms = gui::kTimeoutMs)
    {
        return gui::WaitFor([this] { return finished > 0; }, ms) && thread->Join();
    }
};

}  // namespace

TEST(Splash, AtStartUpClosesByItselfAfterTwoSeconds)
{
    SplashRun run;
    run.Start(false);
    ASSERT_NE(run.window.load(), nullptr);
    EXPECT_TRUE(run.showing);
    RECT rect = {};
    GetWindowRect(run.window, &rect);
    EXPECT_EQ(rect.right - rect.left, 440);
    EXPECT_EQ(rect.bottom - rect.top, 280);
    // Centred on the desktop's work area.
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR((rect.left + rect.right) / 2, (work.left + work.right) / 2, 1);
    ASSERT_TRUE(run.WaitClosed());
    const DWORD shown = run.closedAt - run.shownAt;
    EXPECT_GE(shown, 2000u);
    EXPECT_LT(shown, 2600u);  // one 250 ms tick, and Wine's scheduling under load
    EXPECT_FALSE(run.showing);
    EXPECT_EQ(run.finished, 1);
}

TEST(Splash, AKeyOrAClickEndsItAtOnce)
{
    struct Case {
        bool about;
        UINT msg;
        POINT at;
        int acknowledgements;
        size_t opened;
    } cases[] = {
        {false, WM_CHAR, {}, 0, 0},
        {true, WM_CHAR, {}, 0, 0},
        {false, WM_LBUTTONDOWN, {10, 10}, 0, 0},
        {false, WM_LBUTTONDOWN, {400, 260}, 0, 0},  // the acknowledgements area at start-up only closes
        {true, WM_LBUTTONDOWN, {400, 260}, 1, 0},
        {true, WM_LBUTTONDOWN, {300, 180}, 0, 1},   // the home page
    };
    for (const Case& c : cases) {
        SplashRun run;
        run.Start(c.about);
        ASSERT_NE(run.window.load(), nullptr);
        PostMessageA(run.window, c.msg, c.msg == WM_CHAR ? 'x' : MK_LBUTTON, MAKELPARAM(c.at.x, c.at.y));
        ASSERT_TRUE(run.WaitClosed(1500)) << c.about << " " << c.msg << " " << c.at.x;
        EXPECT_LT(run.closedAt - run.shownAt, 1500u);
        EXPECT_EQ(run.acknowledgements, c.acknowledgements) << c.at.x;
        ASSERT_EQ(run.opened.size(), c.opened) << c.at.x;
        if (c.opened) EXPECT_EQ(run.opened[0], "http://www.harlowen.example/");
    }
}

TEST(Splash, TheAboutBoxStaysUntilClosed)
{
    SplashRun run;
    run.Start(true);
    ASSERT_NE(run.window.load(), nullptr);
    EXPECT_FALSE(gui::WaitFor([&] { return run.finished > 0; }, 2600));
    EXPECT_TRUE(IsWindow(run.window));
    PostMessageA(run.window, WM_CHAR, ' ', 0);
    EXPECT_TRUE(run.WaitClosed());
}

TEST(Splash, ElapsedTicksSurviveTheTickCountWrapping)
{
    EXPECT_FALSE(CSplashWnd::IsTimeUp(0xFFFFFF00u, 0xFFFFFF00u + 1999));
    EXPECT_TRUE(CSplashWnd::IsTimeUp(0xFFFFFF00u, 0xFFFFFF00u + 2000));  // wraps past zero
    EXPECT_TRUE(CSplashWnd::IsTimeUp(0xFFFFF000u, 0x10u));
    EXPECT_FALSE(CSplashWnd::IsTimeUp(100, 100));
}

TEST(Splash, ThePicturesPaletteIsItsColourTable)
{
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_SPLASH), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(bitmap, nullptr);
    std::vector<PALETTEENTRY> entries = BitmapPaletteEntries(bitmap);
    ASSERT_EQ(entries.size(), 256u);
    // The paper colour and the band colour, red first.
    EXPECT_EQ(entries[0].peRed, 250);
    EXPECT_EQ(entries[0].peGreen, 248);
    EXPECT_EQ(entries[0].peBlue, 236);
    EXPECT_EQ(entries[1].peRed, 40);
    EXPECT_EQ(entries[1].peBlue, 150);
    EXPECT_EQ(entries[0].peFlags, 0);
    HPALETTE palette = CreateBitmapPalette(bitmap);
    ASSERT_NE(palette, nullptr);
    PALETTEENTRY got = {};
    EXPECT_EQ(GetPaletteEntries(palette, 1, 1, &got), 1u);
    EXPECT_EQ(got.peRed, 40);
    DeleteObject(palette);
    DeleteObject(bitmap);
}

// ---- Welcome ----

namespace {

// The main window the Welcome dialog posts its choice to.
class CCommandRecorder : public CCustomWnd {
public:
    std::vector<unsigned> m_commands;

protected:
    bool OnCommand(UINT id, UINT, HWND, LRESULT& result) override
    {
        m_commands.push_back(id);
        result = 0;
        return true;
    }
};

struct WelcomeRun {
    std::vector<std::string> recent;
    int showAtStartup = 1;
    INT_PTR result = -5;
    std::vector<unsigned> commands;

    void Run(const std::function<void(HWND)>& drive)
    {
        gui::CGuiThread thread([&] {
            CCustomWnd::RegisterWindowClass("QuorTestCommandRecorder");
            CCommandRecorder target;
            target.CreateEx(0, "QuorTestCommandRecorder", "target", WS_POPUP, RECT{0, 0, 10, 10}, nullptr, nullptr);
            CWelcomeDlg dlg;
            dlg.m_recentPaths = recent;
            dlg.m_commandTarget = target.m_hWnd;
            dlg.m_showAtStartup = showAtStartup;
            result = dlg.DoModal();
            showAtStartup = dlg.m_showAtStartup;
            gui::WaitFor([&] { return !target.m_commands.empty(); }, 300);
            commands = target.m_commands;
        });
        HWND dialog = gui::WaitForTopWindow("Welcome to Personal Quorvane", nullptr, GetCurrentProcessId());
        ASSERT_NE(dialog, nullptr);
        drive(dialog);
        ASSERT_TRUE(thread.Join());
    }
};

HWND FocusOf(HWND dialog)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
    return info.hwndFocus;
}

}  // namespace

TEST(Welcome, EachButtonPostsItsCommandAndCloses)
{
    struct Case {
        int button;
        std::vector<unsigned> posted;
    } cases[] = {
        {IDC_BUTTON_NEW_FILE, {32799}},
        {IDC_BUTTON_OPEN_FILE, {57601}},
        {IDC_BUTTON_TUTORIAL, {IDM_HELP_TUTORIAL}},
        {IDC_BUTTON_OPEN_RECENT, {57616}},
        {IDC_BUTTON_CONTINUE, {}},
    };
    for (const Case& c : cases) {
        WelcomeRun run;
        run.recent = {"C:\\Notes\\a.xrd"};
        run.Run([&](HWND dialog) { EXPECT_TRUE(Press(dialog, c.button)); });
        EXPECT_EQ(run.result, IDOK) << c.button;
        EXPECT_EQ(run.commands, c.posted) << c.button;
    }
}

TEST(Welcome, FocusEnterEscapeAndTheRecentList)
{
    const std::string longPath =
        "C:\\A folder with a rather long name\\and another one below it\\and one more\\knowledge.xrd";
    WelcomeRun run;
    run.recent = {"C:\\Notes\\a.xrd", "", longPath};
    run.Run([&](HWND dialog) {
        HWND openFile = GetDlgItem(dialog, IDC_BUTTON_OPEN_FILE);
        EXPECT_TRUE(gui::WaitFor([&] { return FocusOf(dialog) == openFile; }));
        // Escape and the close box leave it open.
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        PostMessageA(dialog, WM_CLOSE, 0, 0);
        gui::WaitFor([] { return false; }, 200);
        EXPECT_TRUE(IsWindowVisible(dialog));
        // The combo: the long path as its file name; empty entries left out.
        HWND combo = GetDlgItem(dialog, IDC_COMBO_RECENT);
        ASSERT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 2);
        char text[MAX_PATH] = {};
        SendMessageA(combo, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(text));
        EXPECT_STREQ(text, "knowledge.xrd");
        EXPECT_EQ(SendMessageA(combo, CB_GETITEMDATA, 1, 0), 57618);
        EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0);
        SendMessageA(combo, CB_SETCURSEL, 1, 0);
        // Unticked, and Enter with the focus on Open Recent presses it.
        Untick(dialog, IDC_CHECK_SHOW_WELCOME);
        SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_BUTTON_OPEN_RECENT)), TRUE);
        // What the dialog manager sends for Enter when no default button is set.
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(run.result, IDOK);
    EXPECT_EQ(run.commands, (std::vector<unsigned>{57618}));  // the full path's recent-file command
    EXPECT_EQ(run.showAtStartup, 0);
}

TEST(Welcome, WithoutRecentFilesTheListAndOpenRecentAreDisabled)
{
    WelcomeRun run;
    run.Run([&](HWND dialog) {
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_COMBO_RECENT)));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_BUTTON_OPEN_RECENT)));
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_CHECK_SHOW_WELCOME), BST_CHECKED);
        // The picture above the buttons: the dialog grew by its height and 10.
        RECT button = {};
        GetWindowRect(GetDlgItem(dialog, IDC_BUTTON_NEW_FILE), &button);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&button), 2);
        EXPECT_GE(button.top, 70 + 10);
        Press(dialog, IDC_BUTTON_CONTINUE);
    });
    EXPECT_TRUE(run.commands.empty());
    EXPECT_EQ(run.showAtStartup, 1);
}

// ---- Acknowledgements and the folder browser ----

TEST(Acknowledgements, ShowsItsTextReadOnly)
{
    gui::CGuiThread thread([] {
        CAcknowledgementsDlg dlg;
        dlg.DoModal();
    });
    HWND dialog = gui::WaitForTopWindow("Acknowledgements", nullptr, GetCurrentProcessId());
    ASSERT_NE(dialog, nullptr);
    HWND text = GetDlgItem(dialog, IDC_EDIT_ACKNOWLEDGEMENTS);
    EXPECT_NE(gui::GetText(text).find("zlib"), std::string::npos);
    EXPECT_TRUE(GetWindowLongA(text, GWL_STYLE) & ES_READONLY);
    Press(dialog, IDOK);
    EXPECT_TRUE(thread.Join());
}

TEST(FolderBrowser, CancelKeepsThePathAndTooLongAFolderIsNotUsed)
{
    CTempFolder folder;
    CFolderBrowser browser(nullptr, "Export", folder.Path());
    EXPECT_EQ(browser.GetTitle(), "Choose the default folder for Export Files.");
    INT_PTR result = -5;
    gui::CGuiThread thread([&] {
        OleInitialize(nullptr);
        result = browser.DoModal();
        OleUninitialize();
    });
    HWND dialog = nullptr;
    ASSERT_TRUE(gui::WaitFor([&] {
        dialog = gui::FindTopWindow(nullptr, "#32770", GetCurrentProcessId());
        return dialog != nullptr;
    }));
    EXPECT_TRUE(Press(dialog, IDCANCEL));
    ASSERT_TRUE(thread.Join());
    EXPECT_EQ(result, IDCANCEL);
    std::string path;
    browser.GetFolder(path);
    EXPECT_EQ(path, folder.Path());

    CFolderBrowser tooLong(nullptr, "Export", std::string(260, 'a'));
    tooLong.GetFolder(path);
    EXPECT_EQ(path, "");
    CFolderBrowser justFits(nullptr, "Export", std::string(259, 'a'));
    justFits.GetFolder(path);
    EXPECT_EQ(path.size(), 259u);
}
