// The Clear Bookmarked Title List question on real windows: its text, the focus on No, and which
// keys and buttons clear the list.
#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "document/ui/clear_bookmarks_dlg.h"
#include "document/ui/clear_bookmarks_dlg_res.h"
#include "tests/support/gui_driver.h"

namespace {

const char kText[] = "The bookmarked title list contains 3 articles.\nDo you want to clear the bookmarked title list?";

// Runs the dialog on a thread of its own; `answer` plays the user on the test thread.
INT_PTR RunDialog(const std::function<void(HWND)>& answer)
{
    std::atomic<INT_PTR> result{-1};
    gui::CGuiThread ui([&] {
        CClearBookmarksDlg dialog;
        dialog.m_text = kText;
        result = dialog.DoModal();
    });
    HWND dialog = gui::WaitForTopWindow("Clear Bookmarked Title List");
    EXPECT_NE(dialog, nullptr);
    if (dialog)
        answer(dialog);
    EXPECT_TRUE(ui.Join());
    return result;
}

}  // namespace

TEST(ClearBookmarksDlg, ShowsTheCountWithTheFocusOnNo)
{
    INT_PTR result = RunDialog([](HWND dialog) {
        EXPECT_EQ(gui::GetText(gui::FindControl(dialog, IDC_STATIC_CLEAR_BOOKMARKS_TEXT)), kText);
        GUITHREADINFO info = {sizeof info};
        EXPECT_TRUE(gui::WaitFor([&] {
            return GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) &&
                   info.hwndFocus == gui::FindControl(dialog, IDCANCEL);
        }));
        // Enter presses the button with the focus: No.
        gui::PressKey(gui::FindControl(dialog, IDCANCEL), VK_RETURN);
    });
    EXPECT_EQ(result, IDCANCEL);
}

TEST(ClearBookmarksDlg, EscapeKeepsTheListYesClearsIt)
{
    EXPECT_EQ(RunDialog([](HWND dialog) { gui::PressKey(gui::FindControl(dialog, IDCANCEL), VK_ESCAPE); }), IDCANCEL);
    EXPECT_EQ(RunDialog([](HWND dialog) { gui::ClickButton(dialog, IDOK); }), IDOK);
}
