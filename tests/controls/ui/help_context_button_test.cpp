// Context-help mode on real windows: Shift+F1 or the command starts it, the next click names the help
// id of what it hits (a help-context button its fixed topic, another control its control id's topic,
// the frame its resource's topic) and hands it to the application's help hook; Esc cancels.
#include <windows.h>

#include <gtest/gtest.h>
#include <atomic>
#include <memory>
#include <vector>

#include "controls/ui/help_context_button.h"
#include "framework/ui/app.h"
#include "framework/ui/context_help.h"
#include "framework/ui/frame_wnd.h"
#include "tests/controls/ui/test_controls_res.h"
#include "tests/support/gui_driver.h"
#include "tests/support/help_recording_app.h"

namespace {

const int kFrameResource = 127;

class HelpModeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_ui = std::make_unique<gui::CGuiThread>([this] {
            CFrameWnd frame;
            if (!frame.Create("Help mode frame", kFrameResource))
                return;
            HWND plain = CreateWindowExA(0, "BUTTON", "Plain", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 24,
                                         frame.m_hWnd, reinterpret_cast<HMENU>(IDC_TEST_PLAIN_BUTTON), nullptr, nullptr);
            HWND help = CreateWindowExA(0, "BUTTON", "?", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 50, 80, 24,
                                        frame.m_hWnd, reinterpret_cast<HMENU>(IDC_TEST_HELP_BUTTON), nullptr, nullptr);
            CHelpContextButton button;
            button.Subclass(help);
            m_app.SetMainWnd(&frame);
            frame.ShowWindow(SW_SHOW);
            // Posted keys do not change the key state: Shift is held down for this thread here.
            BYTE keys[256] = {};
            GetKeyboardState(keys);
            keys[VK_SHIFT] = 0x80;
            SetKeyboardState(keys);
            m_plain = plain;
            m_help = help;
            m_frame = frame.m_hWnd;
            m_app.Run();
        });
        ASSERT_TRUE(gui::WaitFor([this] { return m_frame.load() != nullptr; }));
    }
    void TearDown() override
    {
        PostMessageA(m_frame, WM_CLOSE, 0, 0);
        EXPECT_TRUE(m_ui->Join());
    }

    // A left press in the middle of `hwnd`, as the capture of the mode receives it.
    void ClickOn(HWND hwnd)
    {
        RECT rect;
        GetClientRect(hwnd, &rect);
        PostMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rect.right / 2, rect.bottom / 2));
        PostMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(rect.right / 2, rect.bottom / 2));
    }
    bool WaitForHelp(int count) { return gui::WaitFor([&] { return m_app.m_count == count; }); }

    CHelpRecordingApp m_app;
    std::unique_ptr<gui::CGuiThread> m_ui;
    std::atomic<HWND> m_frame{nullptr};
    std::atomic<HWND> m_plain{nullptr};
    std::atomic<HWND> m_help{nullptr};
};

}  // namespace

TEST_F(HelpModeTest, ShiftF1ThenAClickOnTheHelpButtonAsksForItsContext)
{
    gui::PressKey(m_frame, VK_F1);
    ClickOn(m_help);
    ASSERT_TRUE(WaitForHelp(1));
    EXPECT_EQ(m_app.m_last, static_cast<DWORD>(CHelpContextButton::kHelpContext));
    EXPECT_NE(m_app.m_last, kHelpIdControl + IDC_TEST_HELP_BUTTON);
}

TEST_F(HelpModeTest, OtherControlsAndTheFrameNameTheirOwnTopics)
{
    PostMessageA(m_frame, WM_COMMAND, kContextHelpCommand, 0);
    ClickOn(m_plain);
    ASSERT_TRUE(WaitForHelp(1));
    EXPECT_EQ(m_app.m_last, kHelpIdControl + IDC_TEST_PLAIN_BUTTON);

    // An empty spot of the frame's client area: the frame's resource topic.
    PostMessageA(m_frame, WM_COMMAND, kContextHelpCommand, 0);
    PostMessageA(m_frame, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 150));
    ASSERT_TRUE(WaitForHelp(2));
    EXPECT_EQ(m_app.m_last, kHelpIdResource + kFrameResource);
}

TEST_F(HelpModeTest, EscapeAndARightClickCancelTheMode)
{
    gui::PressKey(m_frame, VK_F1);
    gui::PressKey(m_frame, VK_ESCAPE);
    ClickOn(m_help);  // an ordinary click now
    PostMessageA(m_frame, WM_COMMAND, kContextHelpCommand, 0);
    PostMessageA(m_frame, WM_RBUTTONDOWN, 0, MAKELPARAM(5, 5));
    PostMessageA(m_frame, WM_COMMAND, kContextHelpCommand, 0);
    ClickOn(m_plain);
    ASSERT_TRUE(WaitForHelp(1)) << "neither the cancelled modes nor the plain click asked for help";
    EXPECT_EQ(m_app.m_last, kHelpIdControl + IDC_TEST_PLAIN_BUTTON);
}
