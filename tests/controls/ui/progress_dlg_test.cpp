// The progress dialog and the message pump of long operations, on real windows: the operation runs
// on the test thread, as it runs on the program's one user-interface thread.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>
#include <stdexcept>

#include "controls/ui/progress_dlg.h"
#include "framework/ui/app.h"
#include "framework/ui/frame_wnd.h"
#include "resources/progress_dlg_res.h"
#include "resources/resource.h"
#include "tests/support/gui_driver.h"

namespace {

const unsigned kIdRecord = 40001;

// A main window that counts what reaches it.
class CCountingFrame : public CFrameWnd {
public:
    bool OnCmdMsg(unsigned id, CCmdUI* ui) override
    {
        static const CommandEntry<CCountingFrame> kCommands[] = {
            {kIdRecord, &CCountingFrame::OnRecord},
        };
        return RouteToTable(this, kCommands, id, ui) || CFrameWnd::OnCmdMsg(id, ui);
    }
    void OnRecord() { ++m_commands; }

    int m_commands = 0;
    int m_closes = 0;
    int m_paints = 0;

protected:
    bool OnClose(LRESULT& result) override
    {
        ++m_closes;
        return true;
    }
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        if (msg == WM_PAINT)
            ++m_paints;
        return CFrameWnd::OnMessage(msg, wParam, lParam, result);
    }
};

// Handles every waiting message as the operation loop does; returns how many calls it took.
int PumpUntilEmpty()
{
    int calls = 1;
    while (PumpPendingMessage() == 0 && calls < 10000)
        ++calls;
    return calls;
}

int BarPosition(HWND dialog)
{
    return static_cast<int>(SendDlgItemMessageA(dialog, IDC_PROGRESS_BAR, PBM_GETPOS, 0, 0));
}

class ProgressTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_frame.Create("Long operation host", 0));
        m_frame.ShowWindow(SW_SHOW);
        m_frame.UpdateWindow();
        PumpUntilEmpty();
    }

    CCountingFrame m_frame;
};

}  // namespace

TEST_F(ProgressTest, PumpSwallowsCommandsAndClosesWhilePaintingAndCancelWork)
{
    auto* dialog = new CProgressDlg(m_frame.m_hWnd);
    ASSERT_TRUE(dialog->CreateWithStop(IDD_PROGRESS));
    HWND dialogWindow = dialog->m_hWnd;
    EXPECT_EQ(gui::GetText(GetDlgItem(dialogWindow, IDCANCEL)), "Stop");
    {
        CProgressScope scope(m_frame.m_hWnd, dialog);
        EXPECT_FALSE(m_frame.IsWindowEnabled());
        PumpUntilEmpty();

        m_frame.PostMessage(WM_COMMAND, MAKEWPARAM(kIdRecord, 0), 0);
        m_frame.PostMessage(WM_CLOSE);
        m_frame.PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
        m_frame.Invalidate();
        m_frame.m_paints = 0;
        ASSERT_TRUE(gui::ClickButton(dialogWindow, IDCANCEL));

        EXPECT_GT(PumpUntilEmpty(), 1);
        EXPECT_EQ(m_frame.m_commands, 0);
        EXPECT_EQ(m_frame.m_closes, 0);
        EXPECT_GT(m_frame.m_paints, 0);
        EXPECT_TRUE(dialog->IsCanceled());
        EXPECT_TRUE(IsWindowVisible(dialogWindow)) << "Cancel must leave the dialog open";
        // Swallowed, not queued for later.
        EXPECT_EQ(PumpPendingMessage(), 1);
    }
    EXPECT_TRUE(m_frame.IsWindowEnabled());
    EXPECT_FALSE(IsWindow(dialogWindow));
    PumpUntilEmpty();
    EXPECT_EQ(m_frame.m_commands, 0);
    EXPECT_EQ(m_frame.m_closes, 0);

    // Outside an operation the same messages arrive.
    m_frame.PostMessage(WM_COMMAND, MAKEWPARAM(kIdRecord, 0), 0);
    EXPECT_TRUE(gui::WaitFor([&] { return m_frame.m_commands == 1; }));
}

TEST_F(ProgressTest, PlainCreationKeepsCancelAndStepItFollowsTheRange)
{
    auto* dialog = new CProgressDlg(m_frame.m_hWnd);
    ASSERT_TRUE(dialog->Create(m_frame.m_hWnd, IDD_PROGRESS));
    HWND dialogWindow = dialog->m_hWnd;
    CProgressScope scope(m_frame.m_hWnd, dialog);
    EXPECT_EQ(gui::GetText(GetDlgItem(dialogWindow, IDCANCEL)), "Cancel");
    EXPECT_FALSE(dialog->IsCanceled());

    dialog->SetRange(3);
    dialog->StepIt();
    EXPECT_EQ(BarPosition(dialogWindow), 33);
    dialog->StepIt();
    EXPECT_EQ(BarPosition(dialogWindow), 66);
    for (int range : {0, -5}) {
        dialog->SetRange(range);
        dialog->StepIt();
        EXPECT_EQ(BarPosition(dialogWindow), 66) << "range " << range;
    }
    EXPECT_EQ(dialog->Position(), 4);

    dialog->SetMessage(IDS_APP_NAME);
    EXPECT_EQ(gui::GetText(GetDlgItem(dialogWindow, IDC_PROGRESS_TEXT)), "Personal Quorvane");
    dialog->SetMessage(999999);  // no such string: the line stays
    EXPECT_EQ(gui::GetText(GetDlgItem(dialogWindow, IDC_PROGRESS_TEXT)), "Personal Quorvane");
    dialog->SetText("Item 3 of 7");
    EXPECT_EQ(gui::GetText(GetDlgItem(dialogWindow, IDC_PROGRESS_TEXT)), "Item 3 of 7");
}

TEST_F(ProgressTest, AnErrorUnwindingTheOperationStillRestoresTheProgram)
{
    auto* dialog = new CProgressDlg(m_frame.m_hWnd);
    ASSERT_TRUE(dialog->Create(m_frame.m_hWnd, IDD_PROGRESS));
    HWND dialogWindow = dialog->m_hWnd;
    try {
        CProgressScope scope(m_frame.m_hWnd, dialog);
        throw std::runtime_error("operation failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_TRUE(m_frame.IsWindowEnabled());
    EXPECT_FALSE(IsWindow(dialogWindow));
}

TEST_F(ProgressTest, AQuitTakenByThePumpIsPostedAgainAfterTheOperation)
{
    auto* dialog = new CProgressDlg(m_frame.m_hWnd);
    ASSERT_TRUE(dialog->Create(m_frame.m_hWnd, IDD_PROGRESS));
    {
        CProgressScope scope(m_frame.m_hWnd, dialog);
        PostQuitMessage(7);
        PumpUntilEmpty();
        MSG msg;
        EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
    }
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}
