// Starts quorvane.exe as a user would, waits for its main window, closes it and checks the exit code.
#include <gtest/gtest.h>

#include "tests/e2e/startup_options.h"
#include "tests/support/gui_driver.h"

TEST(Smoke, MainWindowOpensAndClosesCleanly)
{
    e2e::SetStartupWindows(false);
    gui::CGuiProcess program;
    ASSERT_TRUE(program.Start(gui::ProgramBesideTest("quorvane.exe")));

    HWND frame = gui::WaitForTopWindow("Personal Quorvane", nullptr, program.Id(), 60000);
    ASSERT_NE(frame, nullptr);

    PostMessageA(frame, WM_CLOSE, 0, 0);
    DWORD exitCode = 99;
    ASSERT_TRUE(program.WaitForExit(&exitCode, 60000));
    EXPECT_EQ(exitCode, 0u);
}
