// quorvane.exe started twice in one prefix: what the user left at close (which bars show, the
// window's place and size) is what the next start shows.
#include <windows.h>

#include <gtest/gtest.h>

#include "resources/commands.h"
#include "resources/main_frame_res.h"
#include "tests/e2e/startup_options.h"
#include "tests/support/gui_driver.h"

namespace {

bool IsShown(HWND hwnd)
{
    return hwnd && (GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

// Starts the program and waits for its frame and its first layout of the bars.
HWND StartProgram(gui::CGuiProcess& program)
{
    e2e::SetStartupWindows(false);
    if (!program.Start(gui::ProgramBesideTest("quorvane.exe")))
        return nullptr;
    HWND frame = gui::WaitForTopWindow("Personal Quorvane", nullptr, program.Id(), 60000);
    if (frame)
        gui::WaitFor([&] { return IsShown(GetDlgItem(frame, IDR_STANDARD_BAR)); });
    return frame;
}

bool CloseProgram(gui::CGuiProcess& program, HWND frame)
{
    PostMessageA(frame, WM_CLOSE, 0, 0);
    DWORD exitCode = 99;
    return program.WaitForExit(&exitCode, 60000) && exitCode == 0;
}

}  // namespace

TEST(Restart, BarsAndTheWindowsPlaceComeBack)
{
    RECT placed = {60, 40, 60 + 720, 40 + 520};
    {
        gui::CGuiProcess program;
        HWND frame = StartProgram(program);
        ASSERT_NE(frame, nullptr);
        if (IsZoomed(frame))
            ShowWindow(frame, SW_RESTORE);
        // The Tools bar shown, the Format bar hidden, the window moved and sized.
        if (!IsShown(GetDlgItem(frame, IDR_TOOLS_BAR)))
            PostMessageA(frame, WM_COMMAND, IDM_VIEW_TOOLS_BAR, 0);
        ASSERT_TRUE(gui::WaitFor([&] { return IsShown(GetDlgItem(frame, IDR_TOOLS_BAR)); }));
        if (IsShown(GetDlgItem(frame, IDR_FORMAT_BAR)))
            PostMessageA(frame, WM_COMMAND, IDM_VIEW_FORMAT_BAR, 0);
        ASSERT_TRUE(gui::WaitFor([&] { return !IsShown(GetDlgItem(frame, IDR_FORMAT_BAR)); }));
        SetWindowPos(frame, nullptr, placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        RECT now = {};
        ASSERT_TRUE(gui::WaitFor([&] { return GetWindowRect(frame, &now) && EqualRect(&now, &placed); }));
        ASSERT_TRUE(CloseProgram(program, frame));
    }
    {
        gui::CGuiProcess program;
        HWND frame = StartProgram(program);
        ASSERT_NE(frame, nullptr);
        EXPECT_TRUE(IsShown(GetDlgItem(frame, IDR_TOOLS_BAR)));
        EXPECT_FALSE(IsShown(GetDlgItem(frame, IDR_FORMAT_BAR)));
        EXPECT_TRUE(IsShown(GetDlgItem(frame, IDR_STANDARD_BAR)));
        EXPECT_TRUE(IsShown(GetDlgItem(frame, IDR_BROWSE_BAR)));
        RECT now = {};
        GetWindowRect(frame, &now);
        EXPECT_EQ(now.left, placed.left);
        EXPECT_EQ(now.top, placed.top);
        EXPECT_EQ(now.right - now.left, placed.right - placed.left);
        EXPECT_EQ(now.bottom - now.top, placed.bottom - placed.top);

        // Put back as first start has them, for whatever runs next in this prefix.
        PostMessageA(frame, WM_COMMAND, IDM_VIEW_TOOLS_BAR, 0);
        PostMessageA(frame, WM_COMMAND, IDM_VIEW_FORMAT_BAR, 0);
        EXPECT_TRUE(gui::WaitFor([&] { return IsShown(GetDlgItem(frame, IDR_FORMAT_BAR)); }));
        ASSERT_TRUE(CloseProgram(program, frame));
    }
}
