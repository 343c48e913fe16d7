// Error reports as the user sees them: a message box owned by the main window, captioned with the
// application's name, with the exclamation icon and one OK button.
#include <windows.h>

#include <gtest/gtest.h>
#include <atomic>

#include "framework/ui/app.h"
#include "framework/ui/frame_wnd.h"
#include "storage/quor_error.h"
#include "tests/support/gui_driver.h"
#include "tests/support/test_main_frame.h"

namespace {

int VisibleButtons(HWND box)
{
    int count = 0;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[16] = {};
        GetClassNameA(child, name, sizeof name);
        if (lstrcmpiA(name, "Button") == 0 && IsWindowVisible(child))
            ++count;
    }
    return count;
}

}  // namespace

TEST(ErrorBox, ReportShowsTheMessageOwnedByTheMainWindow)
{
    CWinApp app;
    std::atomic<HWND> mainWindow{nullptr};
    std::atomic<bool> codeZeroReturned{false};
    gui::CGuiThread ui([&] {
        CTestMainFrame frame(app, "Error host");
        if (!frame.Handle())
            return;
        mainWindow = frame.Handle();
        CQuorError().Report();
        codeZeroReturned = true;
        CQuorError(kCorruptedRecord, "C:\\data\\notes.xrd").Report();
        CQuorError(kOutOfMemory).Report();
    });

    // Code 0 shows nothing: the call returns at once without a box to answer.
    ASSERT_TRUE(gui::WaitFor([&] { return codeZeroReturned.load(); }));

    HWND box = gui::WaitForMessageBox("This data file has been corrupted:");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(gui::MessageBoxText(box), "This data file has been corrupted:\nC:\\data\\notes.xrd");
    EXPECT_EQ(gui::GetText(box), "Personal Quorvane");
    EXPECT_EQ(GetWindow(box, GW_OWNER), mainWindow.load());
    EXPECT_EQ(gui::MessageBoxIcon(box), LoadIconA(nullptr, MAKEINTRESOURCEA(32515)));  // IDI_EXCLAMATION
    EXPECT_EQ(VisibleButtons(box), 1);
    ASSERT_TRUE(gui::AnswerMessageBox("This data file has been corrupted:", IDOK));

    ASSERT_TRUE(gui::AnswerMessageBox("Not enough memory to complete the requested task.", IDOK));
    ASSERT_TRUE(ui.Join());
}
