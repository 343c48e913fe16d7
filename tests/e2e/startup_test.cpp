// quorvane.exe started as a new user: the splash, then Tip of the Day from the first tip, then the
// Welcome dialog; what the user chose there (the tip reached, the checks) holds at the next starts.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "resources/startup_dlgs_res.h"
#include "tests/e2e/startup_options.h"
#include "tests/support/gui_driver.h"

namespace {

HWND WaitForProgramWindow(const char* caption, const char* className, const gui::CGuiProcess& program,
                          DWORD timeoutMs = 60000)
{
    return gui::WaitForTopWindow(caption, className, program.Id(), timeoutMs);
}

void Press(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool Close(gui::CGuiProcess& program, HWND frame)
{
    PostMessageA(frame, WM_CLOSE, 0, 0);
    DWORD exitCode = 99;
    return program.WaitForExit(&exitCode, 60000) && exitCode == 0;
}

}  // namespace

TEST(StartUp, SplashThenTipOfTheDayThenWelcome)
{
    e2e::SetStartupWindows(true);
    {
        gui::CGuiProcess program;
        ASSERT_TRUE(program.Start(gui::ProgramBesideTest("quorvane.exe")));
        HWND splash = WaitForProgramWindow(nullptr, "QuorvaneSplash", program);
        ASSERT_NE(splash, nullptr);
        const DWORD seen = GetTickCount();
        HWND tip = WaitForProgramWindow("Tip of the Day", nullptr, program);
        ASSERT_NE(tip, nullptr);
        const DWORD splashTime = GetTickCount() - seen;
        EXPECT_FALSE(IsWindow(splash));
        EXPECT_GE(splashTime, 1700u);  // seen a moment after it appeared
        EXPECT_LT(splashTime, 6000u);
        EXPECT_EQ(gui::GetText(GetDlgItem(tip, IDC_RICHEDIT_TIP)).rfind("Type keywords", 0), 0u);
        EXPECT_EQ(SendMessageA(GetDlgItem(tip, IDC_CHECK_SHOW_TIPS), BM_GETCHECK, 0, 0), BST_CHECKED);
        DWORD stored = 0;
        EXPECT_TRUE(e2e::ReadProgramValue("TipOfTheDay", stored));
        EXPECT_EQ(stored, 1u);

        Press(tip, IDCANCEL);
        HWND welcome = WaitForProgramWindow("Welcome to Personal Quorvane", nullptr, program);
        ASSERT_NE(welcome, nullptr);
        EXPECT_FALSE(IsWindow(tip));
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        EXPECT_TRUE(gui::WaitFor([&] {
            return GetGUIThreadInfo(GetWindowThreadProcessId(welcome, nullptr), &info) &&
                   info.hwndFocus == GetDlgItem(welcome, IDC_BUTTON_OPEN_FILE);
        }));
        // Unticked: no welcome at the next start.
        SendMessageA(GetDlgItem(welcome, IDC_CHECK_SHOW_WELCOME), BM_SETCHECK, BST_UNCHECKED, 0);
        Press(welcome, IDC_BUTTON_CONTINUE);
        ASSERT_TRUE(gui::WaitFor([&] { return !IsWindow(welcome); }));
        HWND frame = WaitForProgramWindow("Personal Quorvane", nullptr, program);
        ASSERT_NE(frame, nullptr);
        EXPECT_TRUE(Close(program, frame));
        EXPECT_TRUE(e2e::ReadProgramValue("Welcome", stored));
        EXPECT_EQ(stored, 2u);
        EXPECT_TRUE(e2e::ReadProgramValue("ShowTipOfTheDay", stored));
        EXPECT_EQ(stored, 1u);
    }
    {
        // A key ends the splash at once; the tips go on with the second; unticked, they stop.
        gui::CGuiProcess program;
        ASSERT_TRUE(program.Start(gui::ProgramBesideTest("quorvane.exe")));
        HWND splash = WaitForProgramWindow(nullptr, "QuorvaneSplash", program);
        ASSERT_NE(splash, nullptr);
        PostMessageA(splash, WM_CHAR, 'x', 0);
        const DWORD pressed = GetTickCount();
        HWND tip = WaitForProgramWindow("Tip of the Day", nullptr, program);
        ASSERT_NE(tip, nullptr);
        EXPECT_LT(GetTickCount() - pressed, 1500u);
        EXPECT_EQ(gui::GetText(GetDlgItem(tip, IDC_RICHEDIT_TIP)).rfind("An address typed", 0), 0u);
        SendMessageA(GetDlgItem(tip, IDC_CHECK_SHOW_TIPS), BM_SETCHECK, BST_UNCHECKED, 0);
        Press(tip, IDCANCEL);
        ASSERT_TRUE(gui::WaitFor([&] { return !IsWindow(tip); }));
        HWND frame = WaitForProgramWindow("Personal Quorvane", nullptr, program);
        ASSERT_NE(frame, nullptr);
        // Neither the welcome nor anything else follows.
        EXPECT_EQ(WaitForProgramWindow("Welcome to Personal Quorvane", nullptr, program, 1000), nullptr);
        EXPECT_TRUE(Close(program, frame));
        DWORD stored = 9;
        EXPECT_TRUE(e2e::ReadProgramValue("ShowTipOfTheDay", stored));
        EXPECT_EQ(stored, 0u);
    }
    e2e::SetStartupWindows(false);
}
