// quorvane.exe's Preferences over a restart: one change on each page, OK, exit, start again: every
// page shows its change and the store holds it under its key. First with the settings in the
// registry, then in a portable INI beside a copy of the program, where Cancel also leaves the INI as
// it was.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <gtest/gtest.h>

#include <string>

#include "resources/commands.h"
#include "shell/ui/preferences_res.h"
#include "tests/e2e/startup_options.h"
#include "tests/support/gui_driver.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr int kSnoozeFourHours = 6;

enum Page { kIndexPage, kArticlesPage, kDisplayPage, kFilesPage, kImportPage, kExportPage, kToolsPage };

// One value a page, as the pages show them.
struct Choices {
    bool showTimes = false;     // Index Window, with Show Dates ticked
    bool displayDate = false;   // Articles: Display Date in Article Window
    bool onTop = false;         // Display
    bool portable = false;      // Files, in portable use only
    bool openImported = false;  // Import
    int lineLength = 0;         // Export: Limit Line Length to this
    int snooze = 0;             // Tools: Default Snooze Time
};

bool Checked(HWND page, int id)
{
    return SendMessageA(GetDlgItem(page, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Click(HWND page, int id)
{
    SendMessageA(GetDlgItem(page, id), BM_CLICK, 0, 0);
}

// The program, started with its start-up windows off, and its Preferences sheet.
class CProgram {
public:
    // `exe`: the program to start; its settings must already hold the start-up windows off.
    explicit CProgram(const std::string& exe)
    {
        if (m_process.Start(exe))
            m_frame = gui::WaitForTopWindow("Personal Quorvane", nullptr, m_process.Id(), 60000);
    }
    HWND Frame() const { return m_frame; }
    bool OpenPreferences()
    {
        PostMessageA(m_frame, WM_COMMAND, IDM_FILE_PREFERENCES, 0);
        m_sheet = gui::WaitForTopWindow("Preferences", nullptr, m_process.Id(), 30000);
        return m_sheet != nullptr;
    }
    HWND Page(Page index)
    {
        SendMessageA(m_sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
        HWND page = nullptr;
        gui::WaitFor([&] {
            page = reinterpret_cast<HWND>(SendMessageA(m_sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
            return page && SendMessageA(m_sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(page), 0) == index;
        });
        return page;
    }
    // Ends the sheet with OK or Cancel and waits until it is gone.
    bool ClosePreferences(int button)
    {
        PostMessageA(m_sheet, WM_COMMAND, static_cast<WPARAM>(button), 0);
        return gui::WaitFor([&] { return !IsWindow(m_sheet); });
    }
    bool Exit()
    {
        PostMessageA(m_frame, WM_CLOSE, 0, 0);
        DWORD exitCode = 99;
        return m_process.WaitForExit(&exitCode, 60000) && exitCode == 0;
    }

    // What the pages show now.
    Choices Read()
    {
        Choices shown;
        shown.showTimes = Checked(Page(kIndexPage), IDC_PREF_SHOW_TIMES);
        shown.displayDate = Checked(Page(kArticlesPage), IDC_PREF_DISPLAY_DATE);
        shown.onTop = Checked(Page(kDisplayPage), IDC_PREF_ON_TOP);
        HWND files = Page(kFilesPage);
        shown.portable = IsWindowVisible(GetDlgItem(files, IDC_PREF_PORTABLE)) && Checked(files, IDC_PREF_PORTABLE);
        shown.openImported = Checked(Page(kImportPage), IDC_PREF_OPEN_IMPORTED);
        HWND exporting = Page(kExportPage);
        shown.lineLength = Checked(exporting, IDC_PREF_LIMIT_LINES)
                               ? static_cast<int>(GetDlgItemInt(exporting, IDC_PREF_LINE_LENGTH, nullptr, FALSE))
                               : 0;
        shown.snooze = static_cast<int>(SendMessageA(GetDlgItem(Page(kToolsPage), IDC_PREF_SNOOZE), CB_GETCURSEL, 0, 0));
        return shown;
    }
    // Sets every page to `wanted` through its controls (the portable box only where it shows).
    void Set(const Choices& wanted)
    {
        HWND index = Page(kIndexPage);
        if (!Checked(index, IDC_PREF_SHOW_DATES))
            Click(index, IDC_PREF_SHOW_DATES);
        if (Checked(index, IDC_PREF_SHOW_TIMES) != wanted.showTimes)
            Click(index, IDC_PREF_SHOW_TIMES);
        HWND articles = Page(kArticlesPage);
        if (Checked(articles, IDC_PREF_DISPLAY_DATE) != wanted.displayDate)
            Click(articles, IDC_PREF_DISPLAY_DATE);
        HWND display = Page(kDisplayPage);
        if (Checked(display, IDC_PREF_ON_TOP) != wanted.onTop)
            Click(display, IDC_PREF_ON_TOP);
        HWND files = Page(kFilesPage);
        if (IsWindowVisible(GetDlgItem(files, IDC_PREF_PORTABLE)) && Checked(files, IDC_PREF_PORTABLE) != wanted.portable)
            Click(files, IDC_PREF_PORTABLE);
        HWND importing = Page(kImportPage);
        if (Checked(importing, IDC_PREF_OPEN_IMPORTED) != wanted.openImported)
            Click(importing, IDC_PREF_OPEN_IMPORTED);
        HWND exporting = Page(kExportPage);
        Click(exporting, IDC_PREF_LIMIT_LINES);
        SetDlgItemInt(exporting, IDC_PREF_LINE_LENGTH, static_cast<UINT>(wanted.lineLength), FALSE);
        HWND tools = Page(kToolsPage);
        HWND snooze = GetDlgItem(tools, IDC_PREF_SNOOZE);
        SendMessageA(snooze, CB_SETCURSEL, static_cast<WPARAM>(wanted.snooze), 0);
        SendMessageA(tools, WM_COMMAND, MAKEWPARAM(IDC_PREF_SNOOZE, CBN_SELCHANGE), reinterpret_cast<LPARAM>(snooze));
    }

private:
    gui::CGuiProcess m_process;
    HWND m_frame = nullptr;
    HWND m_sheet = nullptr;
};

// The changes a run makes: each value the other way from what the pages showed first.
Choices Changed(const Choices& first, bool portableUse)
{
    Choices changed = first;
    changed.showTimes = !first.showTimes;
    changed.displayDate = !first.displayDate;
    changed.onTop = !first.onTop;
    changed.portable = portableUse && !first.portable;
    changed.openImported = !first.openImported;
    changed.lineLength = first.lineLength == 123 ? 124 : 123;
    changed.snooze = first.snooze == kSnoozeFourHours ? 0 : kSnoozeFourHours;
    return changed;
}

void ExpectShown(const Choices& shown, const Choices& wanted)
{
    EXPECT_EQ(shown.showTimes, wanted.showTimes) << "Index Window: Show Times";
    EXPECT_EQ(shown.displayDate, wanted.displayDate) << "Articles: Display Date";
    EXPECT_EQ(shown.onTop, wanted.onTop) << "Display: on top";
    EXPECT_EQ(shown.portable, wanted.portable) << "Files: portable";
    EXPECT_EQ(shown.openImported, wanted.openImported) << "Import: open imported articles";
    EXPECT_EQ(shown.lineLength, wanted.lineLength) << "Export: line length";
    EXPECT_EQ(shown.snooze, wanted.snooze) << "Tools: snooze";
}

// A stored number, from the registry or from the INI at `ini`.
struct CStore {
    std::string ini;
    int Get(const char* section, const char* key, int missing = -1) const
    {
        if (!ini.empty())
            return static_cast<int>(GetPrivateProfileIntA(section, key, missing, ini.c_str()));
        const std::string path = std::string("Software\\Harlowen Software\\Personal Quorvane\\") + section;
        HKEY hkey = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &hkey) != ERROR_SUCCESS)
            return missing;
        DWORD value = 0, size = sizeof value, type = 0;
        const bool ok = RegQueryValueExA(hkey, key, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
                            ERROR_SUCCESS &&
                        type == REG_DWORD;
        RegCloseKey(hkey);
        return ok ? static_cast<int>(value) : missing;
    }
};

void ExpectStored(const CStore& store, const Choices& wanted)
{
    EXPECT_EQ(store.Get("Index Display", "ShowTime"), wanted.showTimes ? 1 : 0);
    EXPECT_EQ(store.Get("Date", "DisplayDate"), wanted.displayDate ? 1 : 0);
    EXPECT_EQ(store.Get("QUORVANE", "OnTop"), wanted.onTop ? 1 : 0);
    // The start-up boxes were left as they were: the splash stays off, the welcome too.
    EXPECT_EQ(store.Get("QUORVANE", "Welcome"), 2);
    EXPECT_EQ(store.Get("QUORVANE", "InitOptions"), 1281);
    EXPECT_EQ(store.Get("Quorvane", "OpenImport"), wanted.openImported ? 1 : 0);
    EXPECT_EQ(store.Get("Quorvane", "SnoozeDuration"), wanted.snooze);
    EXPECT_EQ(store.Get("Quorvane", "ExportTextLineLength"), wanted.lineLength);
    if (!store.ini.empty())
        EXPECT_EQ(store.Get("Quorvane", "UsePortableNames"), wanted.portable ? 1 : 0);
}

// Start, change every page, OK, exit; start again: the pages show the changes. Returns the
// choices first shown, so that the caller can put them back.
Choices ChangeAndRestart(const std::string& exe, const CStore& store, bool portableUse)
{
    Choices first;
    Choices changed;
    {
        CProgram program(exe);
        EXPECT_NE(program.Frame(), nullptr);
        if (!program.Frame() || !program.OpenPreferences())
            return first;
        first = program.Read();
        changed = Changed(first, portableUse);
        program.Set(changed);
        EXPECT_TRUE(program.ClosePreferences(IDOK));
        // On top at once: the program applies it as Preferences returns, just after the sheet's
        // window is gone, so the check waits for that moment.
        HWND frame = program.Frame();
        gui::WaitFor([&] { return ((GetWindowLongA(frame, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0) == changed.onTop; });
        EXPECT_EQ((GetWindowLongA(frame, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, changed.onTop);
        EXPECT_TRUE(program.Exit());
    }
    ExpectStored(store, changed);
    {
        CProgram program(exe);
        EXPECT_NE(program.Frame(), nullptr);
        if (!program.Frame() || !program.OpenPreferences())
            return first;
        EXPECT_EQ((GetWindowLongA(program.Frame(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, changed.onTop);
        ExpectShown(program.Read(), changed);
        EXPECT_TRUE(program.ClosePreferences(IDCANCEL));
        EXPECT_TRUE(program.Exit());
    }
    return first;
}

}  // namespace

TEST(PreferencesRestart, EachPagesChangeComesBackFromTheRegistry)
{
    e2e::SetStartupWindows(false);
    const std::string exe = gui::ProgramBesideTest("quorvane.exe");
    const CStore registry;
    const Choices first = ChangeAndRestart(exe, registry, false);

    // Put back what the pages showed, for whatever runs next in this prefix.
    CProgram program(exe);
    ASSERT_NE(program.Frame(), nullptr);
    ASSERT_TRUE(program.OpenPreferences());
    program.Set(first);
    EXPECT_TRUE(program.ClosePreferences(IDOK));
    EXPECT_TRUE(program.Exit());
}

TEST(PreferencesRestart, EachPagesChangeComesBackFromAPortableIniAndCancelWritesNothing)
{
    CTempFolder folder;
    const std::string exe = folder.File("quorvane.exe");
    ASSERT_TRUE(CopyFileA(gui::ProgramBesideTest("quorvane.exe").c_str(), exe.c_str(), FALSE));
    // Section names are compared without regard to case: "QUORVANE" keys share this section.
    folder.Write("quorvane.ini", "[Quorvane]\r\nPortable=1\r\nInitOptions=1281\r\nShowTipOfTheDay=0\r\nWelcome=2\r\n");
    const CStore ini{folder.File("quorvane.ini")};
    ChangeAndRestart(exe, ini, true);

    // Cancel after changes on every page: the INI keeps its bytes.
    CProgram program(exe);
    ASSERT_NE(program.Frame(), nullptr);
    ASSERT_TRUE(program.OpenPreferences());
    const std::string before = folder.Read("quorvane.ini");
    program.Set(Changed(program.Read(), true));
    EXPECT_TRUE(program.ClosePreferences(IDCANCEL));
    EXPECT_EQ(folder.Read("quorvane.ini"), before);
    EXPECT_TRUE(program.Exit());
}
