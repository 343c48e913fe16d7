// The colour popup on a real window, driven from the keyboard and the mouse: the arrow keys walk
// Other..., custom, Automatic and the cells with wrapping, Enter ends with the item's code, Esc and
// a click outside change nothing, the colour dialog's Cancel keeps the popup open.
#include <windows.h>

#include <gtest/gtest.h>
#include <atomic>
#include <memory>

#include "controls/color_popup_model.h"
#include "controls/ui/color_popup.h"
#include "tests/support/gui_driver.h"

namespace {

using namespace color_popup;

// The popup with the system colour dialog replaced: it answers Cancel first, then `answer`.
class CTestPopup : public CColorPopup {
public:
    bool RunColorDialog(COLORREF& color) override
    {
        ++dialogs;
        if (dialogs == 1)
            return false;
        color = answer;
        return true;
    }
    std::atomic<int> dialogs{0};
    COLORREF answer = RGB(1, 2, 3);
};

// Runs a popup modally on a thread of its own; the test thread finds it and plays the user.
class ColorPopupTest : public ::testing::Test {
protected:
    void Open(COLORREF initial, COLORREF custom = 0)
    {
        m_popup.m_initialColor = initial;
        m_popup.m_customColor = custom;
        m_popup.m_anchor = {100, 100, 180, 122};
        m_ui = std::make_unique<gui::CGuiThread>([this] { m_result = static_cast<int>(m_popup.DoModal()); });
        m_window = gui::WaitForTopWindow(nullptr, "#32770", GetCurrentProcessId());
        ASSERT_NE(m_window, nullptr);
    }
    void Key(UINT vk, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            gui::PressKey(m_window, vk);
    }
    // Whether the keyboard comes to `item` once the keys posted so far are handled.
    bool FocusComesTo(int item)
    {
        return gui::WaitFor([&] { return m_popup.GetFocusItem() == item; });
    }
    int Result()
    {
        EXPECT_TRUE(m_ui->Join());
        return m_result;
    }

    CTestPopup m_popup;
    std::unique_ptr<gui::CGuiThread> m_ui;
    HWND m_window = nullptr;
    std::atomic<int> m_result{-100};
};

}  // namespace

TEST_F(ColorPopupTest, ArrowKeysWalkAndWrapAndEnterTakesTheCell)
{
    Open(0x808080);
    EXPECT_EQ(m_popup.GetChoice(), 8) << "0x808080 rings cell 8";
    EXPECT_TRUE(FocusComesTo(kItemOther));
    // It opens under its button.
    RECT window = {};
    GetWindowRect(m_window, &window);
    EXPECT_EQ(window.left, 100);
    EXPECT_EQ(window.top, 122);

    struct Step {
        UINT vk;
        int times;
        int item;
    };
    const Step steps[] = {
        {VK_RIGHT, 1, kItemCustom}, {VK_DOWN, 1, kItemAutomatic}, {VK_RIGHT, 1, 0}, {VK_RIGHT, 15, 15},
        {VK_RIGHT, 1, kItemOther},  {VK_LEFT, 1, 15},              {VK_UP, 3, 12},
    };
    for (const Step& step : steps) {
        Key(step.vk, step.times);
        EXPECT_TRUE(FocusComesTo(step.item)) << step.vk << " x" << step.times << " on " << m_popup.GetFocusItem();
    }
    Key(VK_RETURN);
    EXPECT_EQ(Result(), kEndFirstCell + 12);
    EXPECT_EQ(m_popup.GetColor(), 0xFF0000u);
}

TEST_F(ColorPopupTest, EnterOnAutomaticAndOnTheCustomSwatch)
{
    Open(RGB(10, 20, 30), RGB(99, 99, 99));
    EXPECT_EQ(m_popup.GetChoice(), kItemCustom) << "a colour outside the palette becomes the custom one";
    Key(VK_RIGHT, 2);
    Key(VK_RETURN);
    EXPECT_EQ(Result(), kEndAutomatic);
    EXPECT_EQ(m_popup.GetColor(), static_cast<COLORREF>(-1));

    CTestPopup second;
    second.m_initialColor = RGB(10, 20, 30);
    second.m_anchor = {100, 100, 180, 122};
    std::atomic<int> result{-100};
    gui::CGuiThread ui([&] { result = static_cast<int>(second.DoModal()); });
    HWND window = gui::WaitForTopWindow(nullptr, "#32770", GetCurrentProcessId());
    ASSERT_NE(window, nullptr);
    gui::PressKey(window, VK_RIGHT);
    gui::PressKey(window, VK_RETURN);
    ASSERT_TRUE(ui.Join());
    EXPECT_EQ(result, kEndCustom);
    EXPECT_EQ(second.GetColor(), RGB(10, 20, 30));
}

TEST_F(ColorPopupTest, EscapeAndAClickOutsideChangeNothing)
{
    Open(0x808080, RGB(7, 7, 7));
    Key(VK_RIGHT, 3);
    Key(VK_ESCAPE);
    EXPECT_EQ(Result(), kEndCancel);
    EXPECT_EQ(m_popup.GetChoice(), 8);
    EXPECT_EQ(m_popup.m_customColor, RGB(7, 7, 7));

    CTestPopup second;
    second.m_initialColor = 0x808080;
    second.m_anchor = {100, 100, 180, 122};
    std::atomic<int> result{-100};
    gui::CGuiThread ui([&] { result = static_cast<int>(second.DoModal()); });
    HWND window = gui::WaitForTopWindow(nullptr, "#32770", GetCurrentProcessId());
    ASSERT_NE(window, nullptr);
    // A click on the popup's own background keeps it open; one outside it cancels.
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
    Sleep(300);
    EXPECT_FALSE(ui.Done());
    EXPECT_TRUE(IsWindow(window));
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-20, -20));
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(-20, -20));
    ASSERT_TRUE(ui.Join());
    EXPECT_EQ(result, kEndCancel);
    EXPECT_EQ(second.GetChoice(), 8);
}

TEST_F(ColorPopupTest, CancelInTheColourDialogKeepsThePopupOpen)
{
    Open(0x808080);
    Key(VK_RETURN);  // on Other...: the dialog, cancelled
    EXPECT_TRUE(gui::WaitFor([&] { return m_popup.dialogs == 1; }));
    EXPECT_FALSE(m_ui->Done());
    Key(VK_RIGHT);
    EXPECT_TRUE(FocusComesTo(kItemCustom)) << "the keys still work after the dialog";
    Key(VK_LEFT);
    Key(VK_RETURN);  // again: the dialog answers OK this time
    EXPECT_EQ(Result(), kEndCustom);
    EXPECT_EQ(m_popup.dialogs, 2);
    EXPECT_EQ(m_popup.GetColor(), RGB(1, 2, 3));
}
