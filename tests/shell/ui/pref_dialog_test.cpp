// The Preferences sheet on real windows over the in-memory option store: its tabs and buttons, help,
// and each page's controls as the user meets them. The sheet runs on a thread of its own; the test
// thread plays the user.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <gtest/gtest.h>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "framework/ui/app.h"
#include "framework/ui/context_help.h"
#include "framework/ui/frame_wnd.h"
#include "shell/memory_profile_store.h"
#include "shell/ui/pref_dialog.h"
#include "shell/ui/preferences_res.h"
#include "storage/date.h"
#include "tests/support/gui_driver.h"
#include "tests/support/help_recording_app.h"

namespace {

constexpr int kMainFrameResource = 127;
const int kApplyButton = 0x3021;

class CRecordingHost : public IPreferenceHost {
public:
    void RefreshIndexDisplay() override { ++refreshes; }
    void ApplyPreviewColor() override { ++previews; }
    void DateDisplayChanged() override { ++dateChanges; }
    void SetCurrentAutoSave(int) override {}
    void ApplyOnTop() override { ++onTops; }
    std::atomic<int> refreshes{0}, previews{0}, dateChanges{0}, onTops{0};
};

LRESULT Send(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return SendMessageA(hwnd, msg, wParam, lParam);
}

// A click on a page's control that opens no window: sent, so that its effect shows at once.
bool Click(HWND page, int id)
{
    HWND button = GetDlgItem(page, id);
    if (!button || !IsWindowVisible(button) || !IsWindowEnabled(button))
        return false;
    Send(button, BM_CLICK);
    return true;
}

bool IsChecked(HWND page, int id)
{
    return Send(GetDlgItem(page, id), BM_GETCHECK) == BST_CHECKED;
}

HWND FocusOfThreadOf(HWND hwnd)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &info);
    return info.hwndFocus;
}

HICON SystemIcon(int id)
{
    return LoadIconA(nullptr, MAKEINTRESOURCEA(id));
}

class PrefDialogTest : public ::testing::Test {
protected:
    PrefDialogTest()
    {
        dirs.Load(store, "C:\\Q\\quorvane.exe", false);
        for (int i = 0; i < 4; ++i)
            dirs.SetConfiguredFolder(i, "C:\\Folder" + std::to_string(i));
        settings.SetWindowTextColorSource([] { return 0u; });
        settings.ResetSettings();
        SetFaceName(context.defaultFont, "Pinned Face");
        context.defaultFont.lfHeight = -12;
        context.pixelsPerInch = 96;
        context.chooseFolder = [this](const std::string&, const std::string&, std::string& chosen) {
            chosen = m_folderAnswer;
            return true;
        };
    }
    ~PrefDialogTest() override { ::SetPivotYear(0); }

    // Runs the sheet on `page` with a main frame for help; waits until it shows.
    void Open(int page = 0)
    {
        m_ui = std::make_unique<gui::CGuiThread>([this, page] {
            CFrameWnd frame;
            if (frame.Create("Preferences owner", kMainFrameResource))
                m_app.SetMainWnd(&frame);
            CPrefDialog dialog(frame.m_hWnd, context);
            m_dialog = &dialog;
            dialog.Fill();
            if (m_beforeRun)
                m_beforeRun(dialog);
            dialog.SetActivePage(page);
            m_result = dialog.DoModal();
            m_dialog = nullptr;
            m_app.SetMainWnd(nullptr);
        });
        m_sheet = gui::WaitForTopWindow("Preferences");
        ASSERT_NE(m_sheet, nullptr);
    }
    HWND Page() const { return reinterpret_cast<HWND>(Send(m_sheet, PSM_GETCURRENTPAGEHWND)); }
    int PageIndex() const
    {
        return static_cast<int>(Send(m_sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(Page())));
    }
    void Select(int index)
    {
        PostMessageA(m_sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
        ASSERT_TRUE(gui::WaitFor([&] { return PageIndex() == index; }));
    }
    void Close(int button)
    {
        ASSERT_TRUE(gui::ClickButton(m_sheet, button));
        ASSERT_TRUE(m_ui->Join());
    }
    // Waits for message box `text`, checks its icon (unless 0) and answers OK.
    void ExpectMessage(const std::string& text, int icon)
    {
        HWND box = gui::WaitForMessageBox(text);
        ASSERT_NE(box, nullptr) << text;
        if (icon)
            EXPECT_EQ(gui::MessageBoxIcon(box), SystemIcon(icon)) << text;
        ASSERT_TRUE(gui::ClickButton(box, IDOK));
        ASSERT_TRUE(gui::WaitFor([&] { return !::IsWindow(box); }));
    }

    CHelpRecordingApp m_app;
    CMemoryProfileStore store;
    CFontSettings fonts;
    CDirectories dirs;
    CAppSettings settings{store, fonts, dirs};
    CRecordingHost host;
    CPrefContext context{settings, store, fonts, dirs, host};
    std::function<void(CPrefDialog&)> m_beforeRun;
    std::string m_folderAnswer = "D:\\Chosen";
    std::unique_ptr<gui::CGuiThread> m_ui;
    std::atomic<CPrefDialog*> m_dialog{nullptr};
    std::atomic<INT_PTR> m_result{0};
    HWND m_sheet = nullptr;
};

}  // namespace

TEST_F(PrefDialogTest, SevenTabsOkCancelHelpAndHelpGoesToTheMainWindowOrThePage)
{
    Open(7);
    HWND tabs = reinterpret_cast<HWND>(Send(m_sheet, PSM_GETTABCONTROL));
    ASSERT_NE(tabs, nullptr);
    const char* names[] = {"Index Window", "Articles", "Display", "Files", "Import", "Export", "Tools"};
    ASSERT_EQ(Send(tabs, TCM_GETITEMCOUNT), 7);
    for (int i = 0; i < 7; ++i) {
        char text[64] = {};
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        Send(tabs, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        EXPECT_STREQ(text, names[i]);
    }
    EXPECT_EQ(PageIndex(), 0) << "start page 7 shows Index Window";
    EXPECT_FALSE(IsWindowVisible(gui::FindControl(m_sheet, kApplyButton)));
    for (int id : {IDOK, IDCANCEL, IDHELP})
        EXPECT_TRUE(IsWindowVisible(gui::FindControl(m_sheet, id))) << id;

    const DWORD mainWindowHelp = kHelpIdResource + kMainFrameResource;
    ASSERT_TRUE(gui::ClickButton(m_sheet, IDHELP));
    ASSERT_TRUE(gui::WaitFor([&] { return m_app.m_count == 1; }));
    EXPECT_EQ(m_app.m_last.load(), mainWindowHelp);

    HELPINFO info = {};
    info.cbSize = sizeof info;
    info.iContextType = HELPINFO_WINDOW;
    info.hItemHandle = gui::FindControl(m_sheet, IDOK);
    info.iCtrlId = IDOK;
    EXPECT_EQ(Send(m_sheet, WM_HELP, 0, reinterpret_cast<LPARAM>(&info)), TRUE);
    EXPECT_EQ(m_app.m_last.load(), mainWindowHelp) << "F1 on OK";

    Select(1);
    info.hItemHandle = GetDlgItem(Page(), IDC_PREF_AUTO_SAVE);
    info.iCtrlId = IDC_PREF_AUTO_SAVE;
    Send(Page(), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(m_app.m_last.load(), kHelpIdResource + IDD_PREF_ARTICLES) << "F1 on a page's control";

    Close(IDCANCEL);
    EXPECT_EQ(m_result.load(), IDCANCEL);
    EXPECT_TRUE(store.Writes().empty()) << "Cancel writes nothing";
}

TEST_F(PrefDialogTest, StartPageMinusOneShowsIndexWindowAndFourShowsImport)
{
    for (int page : {-1, 4}) {
        Open(page);
        EXPECT_EQ(PageIndex(), page == 4 ? 4 : 0);
        Close(IDCANCEL);
    }
}

TEST_F(PrefDialogTest, IndexWindowShowTimesFollowsShowDatesAndOnlyARealChangeRefreshes)
{
    Open();
    HWND page = Page();
    ASSERT_TRUE(IsChecked(page, IDC_PREF_SHOW_DATES));
    Send(GetDlgItem(page, IDC_PREF_SHOW_TIMES), BM_SETCHECK, BST_CHECKED);
    ASSERT_TRUE(Click(page, IDC_PREF_SHOW_DATES));
    EXPECT_FALSE(IsChecked(page, IDC_PREF_SHOW_TIMES));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_PREF_SHOW_TIMES)));
    ASSERT_TRUE(Click(page, IDC_PREF_SHOW_DATES));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_PREF_SHOW_TIMES)));
    EXPECT_FALSE(IsChecked(page, IDC_PREF_SHOW_TIMES));
    ASSERT_TRUE(Click(page, IDC_PREF_SHOW_NO_TITLES));
    Close(IDOK);
    EXPECT_EQ(m_result.load(), IDOK);
    EXPECT_EQ(settings.GetInitList(), 2);
    EXPECT_EQ(host.refreshes.load(), 0) << "only the titles-list choice changed";

    Open();
    ASSERT_TRUE(Click(Page(), IDC_PREF_SHOW_REMINDERS));
    Close(IDOK);
    EXPECT_EQ(host.refreshes.load(), 1);
    EXPECT_EQ(host.previews.load(), 1);
    EXPECT_EQ(settings.GetShowReminderStatus(), 1);
}

TEST_F(PrefDialogTest, ArticlesYearWindowUpArrowAndTheProgramCheck)
{
    Open(1);
    HWND page = Page();
    HWND end = GetDlgItem(page, IDC_PREF_END_YEAR);
    HWND start = GetDlgItem(page, IDC_PREF_START_YEAR);
    gui::SetText(end, "50");
    EXPECT_EQ(gui::GetText(start), "0");
    gui::SetText(end, "2029");
    EXPECT_EQ(gui::GetText(start), "1930");

    // A press on the up arrow of the up-down.
    HWND spin = GetDlgItem(page, IDC_PREF_END_YEAR_SPIN);
    RECT r = {};
    GetClientRect(spin, &r);
    Send(spin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.right / 2, 2));
    Send(spin, WM_LBUTTONUP, 0, MAKELPARAM(r.right / 2, 2));
    EXPECT_EQ(gui::GetText(end), "2030");
    EXPECT_EQ(gui::GetText(start), "1931");

    gui::SetText(end, "10000");
    PostMessageA(m_sheet, PSM_SETCURSEL, 2, 0);
    ExpectMessage("between 0 and 9999", 0);
    EXPECT_EQ(PageIndex(), 1);
    gui::SetText(end, "2029");

    ASSERT_TRUE(Click(page, IDC_PREF_FOLDER_PROGRAM_CHECK));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_PREF_BROWSE)));
    PostMessageA(m_sheet, PSM_SETCURSEL, 2, 0);
    ExpectMessage("Please specify program to open folder attachments", 32515);  // IDI_EXCLAMATION
    EXPECT_EQ(PageIndex(), 1) << "the page stays";
    EXPECT_EQ(FocusOfThreadOf(m_sheet), GetDlgItem(page, IDC_PREF_FOLDER_PROGRAM_CHECK));

    context.chooseFile = [](const std::string&, std::string& chosen) {
        chosen = "C:\\Tools\\browse.exe";
        return true;
    };
    ASSERT_TRUE(Click(page, IDC_PREF_BROWSE));
    EXPECT_EQ(gui::GetText(GetDlgItem(page, IDC_PREF_FOLDER_PROGRAM)), "C:\\Tools\\browse.exe");
    Close(IDOK);
    EXPECT_EQ(m_result.load(), IDOK);
    EXPECT_EQ(settings.GetPivotYear(), 2029);
    EXPECT_EQ(ExpandTwoDigitYear(30), 1930) << "a year typed 30 after OK";
    EXPECT_EQ(settings.GetFolderBrowserName(), "C:\\Tools\\browse.exe");
    EXPECT_EQ(settings.GetUserFolderBrowser(), 1);
}

TEST_F(PrefDialogTest, DisplayStartupBoxesVisualStylesAndUseDefaultFont)
{
    context.themeActive = true;
    Open(2);
    HWND page = Page();
    EXPECT_TRUE(IsChecked(page, IDC_PREF_FLAT_TOOLBAR));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_PREF_FLAT_TOOLBAR))) << "visual styles lock flat bars";
    EXPECT_TRUE(IsChecked(page, IDC_PREF_SPLASH));
    ASSERT_TRUE(Click(page, IDC_PREF_ON_TOP));

    PostMessageA(GetDlgItem(page, IDC_PREF_FONT), BM_CLICK, 0, 0);
    HWND font = gui::WaitForTopWindow("Font");
    ASSERT_NE(font, nullptr);
    HWND colors = gui::FindControl(font, 1139);
    char first[32] = {};
    Send(colors, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
    EXPECT_STREQ(first, "Auto");
    ASSERT_TRUE(gui::ClickButton(font, 1027));  // Use Default
    ASSERT_TRUE(gui::WaitFor([&] { return !IsWindow(font); }));
    EXPECT_EQ(gui::GetText(GetDlgItem(page, IDC_PREF_FONT_TEXT)), "Pinned Face, 9 pt");

    store.ClearWrites();
    Close(IDOK);
    EXPECT_EQ(store.Find("QUORVANE", "InitOptions"), nullptr) << "an untouched splash box writes nothing";
    ASSERT_NE(store.Find("QUORVANE", "OnTop"), nullptr);
    EXPECT_EQ(store.Find("QUORVANE", "OnTop")->number, 1);
    EXPECT_EQ(host.onTops.load(), 1);
    bool automatic = false;
    fonts.GetColor(automatic);
    EXPECT_TRUE(automatic);
    EXPECT_EQ(GetFaceName(fonts.GetLogFont()), "Pinned Face");

    Open(2);
    ASSERT_TRUE(Click(Page(), IDC_PREF_SPLASH));
    Close(IDOK);
    ASSERT_NE(store.Find("QUORVANE", "InitOptions"), nullptr);
    EXPECT_EQ(store.Find("QUORVANE", "InitOptions")->number, 1281);
}

TEST_F(PrefDialogTest, FilesBrowseReplacesTheLineInPlaceAndALongStartFileWraps)
{
    m_beforeRun = [](CPrefDialog& dialog) {
        dialog.m_file.m_model.startFile =
            "C:\\Documents and Settings\\Somebody\\My Documents\\Knowledge Bases\\Everything I Know.xrd";
    };
    Open(3);
    HWND page = Page();
    HWND list = GetDlgItem(page, IDC_PREF_FOLDERS);
    ASSERT_EQ(Send(list, LB_GETCOUNT), 4);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(page, IDC_PREF_PORTABLE))) << "portable box only in portable use";
    EXPECT_NE(gui::GetText(GetDlgItem(page, IDC_PREF_START_FILE)).find("\r\n"), std::string::npos);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_PREF_FOLDER_BROWSE)));

    Send(list, LB_SETCURSEL, 2);
    ASSERT_TRUE(Click(page, IDC_PREF_FOLDER_BROWSE));
    char line[MAX_PATH] = {};
    Send(list, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(line));
    EXPECT_STREQ(line, "Attachments\tD:\\Chosen");
    EXPECT_EQ(Send(list, LB_GETCURSEL), 2);
    EXPECT_EQ(Send(list, LB_GETITEMDATA, 2), 2);

    ASSERT_TRUE(Click(page, IDC_PREF_START_NONE));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_PREF_START_FILE_BROWSE)));
    ASSERT_TRUE(Click(page, IDC_PREF_START_FILE_CHOICE));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_PREF_START_FILE_BROWSE)));
    Close(IDOK);
    EXPECT_EQ(dirs.GetFolder(2, false), "D:\\Chosen");
    EXPECT_EQ(settings.GetLoadLastFile(), 2);

    m_beforeRun = nullptr;
    settings.SetLastFileName("");
    Open(3);
    ASSERT_TRUE(Click(Page(), IDC_PREF_START_FILE_CHOICE));
    Close(IDOK);
    EXPECT_EQ(settings.GetLoadLastFile(), 0) << "Open File: with no file";

    // Root mode (an old INI file moved every folder to the program's drive): the folders stay put.
    dirs.MoveToProgramDrive(store, "E:\\Quorvane\\quorvane.exe");
    Open(3);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(Page(), IDC_PREF_FOLDER_BROWSE)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(Page(), IDC_PREF_FOLDERS)));
    Close(IDCANCEL);
}

TEST_F(PrefDialogTest, ToolsSnoozeAndReminderTime)
{
    settings.SetDefaultReminder(0, 3661);
    Open(6);
    HWND page = Page();
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_PREF_SPELLING_OPTIONS))) << "no spelling engine";
    SYSTEMTIME shown = {};
    Send(GetDlgItem(page, IDC_PREF_REMINDER_TIME), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown));
    EXPECT_EQ(shown.wHour * 3600 + shown.wMinute * 60 + shown.wSecond, 3661);
    HWND snooze = GetDlgItem(page, IDC_PREF_SNOOZE);
    ASSERT_EQ(Send(snooze, CB_GETCOUNT), 8);
    Send(snooze, CB_SETCURSEL, 6);
    ASSERT_TRUE(Click(page, IDC_PREF_REMINDER_AT));
    Close(IDOK);
    EXPECT_EQ(settings.GetSnoozeDuration(), 6);
    int type = 0, time = 0;
    settings.GetDefaultReminder(type, time);
    EXPECT_EQ(type, 1);
    EXPECT_EQ(time, 3661);
}

TEST_F(PrefDialogTest, ExportLineLengthEncodingsAndTheCustomCheck)
{
    Open(5);
    HWND page = Page();
    HWND combo = GetDlgItem(page, IDC_PREF_ENCODING_LIST);
    ASSERT_EQ(Send(combo, CB_GETCOUNT), 4);
    char label[64] = {};
    Send(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(label));
    EXPECT_STREQ(label, "Western (Windows-1252)");
    int low = 0, high = 0;
    Send(GetDlgItem(page, IDC_PREF_LINE_LENGTH_SPIN), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
         reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(low, 1);
    EXPECT_EQ(high, 500);

    struct Case {
        int button;
        bool combo;
        bool edit;
    } cases[] = {{IDC_PREF_ENCODING_NONE, false, false},
                 {IDC_PREF_ENCODING_PREDEFINED, true, false},
                 {IDC_PREF_ENCODING_CUSTOM, false, true}};
    for (const Case& c : cases) {
        ASSERT_TRUE(Click(page, c.button));
        EXPECT_EQ(IsWindowEnabled(combo) != FALSE, c.combo) << c.button;
        EXPECT_EQ(IsWindowEnabled(GetDlgItem(page, IDC_PREF_ENCODING_TEXT)) != FALSE, c.edit) << c.button;
    }
    gui::SetText(GetDlgItem(page, IDC_PREF_ENCODING_TEXT), "   ");
    PostMessageA(m_sheet, PSM_SETCURSEL, 6, 0);
    ExpectMessage("Please type the encoding string", 32513);  // IDI_HAND, the stop icon
    EXPECT_EQ(PageIndex(), 5);
    EXPECT_EQ(FocusOfThreadOf(m_sheet), GetDlgItem(page, IDC_PREF_ENCODING_TEXT));

    ASSERT_TRUE(Click(page, IDC_PREF_ENCODING_NONE));
    gui::SetText(GetDlgItem(page, IDC_PREF_LINE_LENGTH), "10000");
    PostMessageA(m_sheet, PSM_SETCURSEL, 6, 0);
    ExpectMessage("between 1 and 9999", 0);
    gui::SetText(GetDlgItem(page, IDC_PREF_LINE_LENGTH), "600");
    Select(6);
    EXPECT_EQ(settings.GetExportTextLineLength(), 600) << "leaving the page stores its values";
    Select(5);
    ASSERT_TRUE(Click(Page(), IDC_PREF_NO_LINE_LIMIT));
    Select(6);
    Close(IDCANCEL);
    EXPECT_EQ(settings.GetExportTextLineLength(), 0) << "a left Export page keeps its values after Cancel";
    EXPECT_TRUE(store.Writes().empty());

    Open(5);
    EXPECT_TRUE(IsChecked(Page(), IDC_PREF_NO_LINE_LIMIT));
    EXPECT_EQ(gui::GetText(GetDlgItem(Page(), IDC_PREF_LINE_LENGTH)), "70");
    Close(IDCANCEL);
}
