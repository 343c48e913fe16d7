// The check tree and the time field in a dialog. A press on a leaf's image inverts its check (state
// and images), a press on its label does not, Space does it for the caret item; a branch shows the
// open or closed folder however it was opened; a double click does nothing. The time field shows
// and reads back seconds since midnight.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>
#include <string>

#include "controls/ui/check_tree_ctrl.h"
#include "controls/ui/date_time_picker.h"
#include "framework/ui/dialog.h"
#include "tests/controls/ui/test_controls_res.h"
#include "tests/support/gui_driver.h"

namespace {

class CTreeDlg : public CDialog {
public:
    CTreeDlg() : CDialog(IDD_TEST_EDITS) {}

    CCheckTreeCtrl m_tree;
    CDateTimePicker m_time;
    HTREEITEM m_branch = nullptr;
    HTREEITEM m_leaf = nullptr;
    HTREEITEM m_solo = nullptr;
    bool m_imagesApplied = false;

protected:
    bool OnInitDialog() override
    {
        m_tree.SubclassDlgItem(IDC_TEST_TREE, m_hWnd);
        m_time.SubclassDlgItem(IDC_TEST_TIME, m_hWnd);
        m_imagesApplied = m_tree.ApplyImageList();
        m_branch = m_tree.InsertItem("Fruit", TVI_ROOT, TVI_LAST, CCheckTreeCtrl::kBranchClosed);
        m_leaf = m_tree.InsertItem("Apple", m_branch);
        m_tree.SetItemCheck(m_leaf, false);
        m_tree.SetItemCheck(m_tree.InsertItem("Pear", m_branch), false);
        m_solo = m_tree.InsertItem("Solo");
        m_tree.SetItemCheck(m_solo, false);
        return CDialog::OnInitDialog();
    }
};

class CheckTreeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dialog.Create(nullptr));
        m_hwnd = m_dialog.m_tree.m_hWnd;
        ASSERT_TRUE(m_dialog.m_imagesApplied);
    }

    // Client points on an item: the middle of its label, and of its image just left of the label.
    POINT LabelPoint(HTREEITEM item) const
    {
        RECT text = {};
        EXPECT_TRUE(m_dialog.m_tree.GetItemRect(item, &text, true));
        return {(text.left + text.right) / 2, (text.top + text.bottom) / 2};
    }
    POINT ImagePoint(HTREEITEM item) const
    {
        RECT text = {};
        EXPECT_TRUE(m_dialog.m_tree.GetItemRect(item, &text, true));
        POINT point = {text.left - 8, (text.top + text.bottom) / 2};
        UINT flags = 0;
        EXPECT_EQ(m_dialog.m_tree.HitTest(point, &flags), item);
        EXPECT_TRUE(flags & TVHT_ONITEMICON) << "the point lies on the image";
        return point;
    }
    // Posted, not sent: the tree watches for a drag inside its press and reads the release from the
    // queue. Both are handled before this returns.
    void Press(POINT point, UINT msg = WM_LBUTTONDOWN)
    {
        PostMessageA(m_hwnd, msg, MK_LBUTTON, MAKELPARAM(point.x, point.y));
        PostMessageA(m_hwnd, WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
        MSG queued;
        while (PeekMessageA(&queued, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&queued);
            DispatchMessageA(&queued);
        }
    }
    int Image(HTREEITEM item) const
    {
        int image = -1;
        int selected = -2;
        m_dialog.m_tree.GetItemImage(item, image, selected);
        EXPECT_EQ(image, selected);
        return image;
    }
    bool Expanded(HTREEITEM item) const { return m_dialog.m_tree.GetItemState(item, TVIS_EXPANDED) != 0; }

    CTreeDlg m_dialog;
    HWND m_hwnd = nullptr;
};

}  // namespace

TEST_F(CheckTreeTest, APressOnALeafsImageTogglesItsCheckButOnItsLabelDoesNot)
{
    HTREEITEM solo = m_dialog.m_solo;
    Press(ImagePoint(solo));
    EXPECT_TRUE(m_dialog.m_tree.GetCheck(solo));
    EXPECT_EQ(Image(solo), CCheckTreeCtrl::kChecked);

    Press(LabelPoint(solo));
    EXPECT_TRUE(m_dialog.m_tree.GetCheck(solo)) << "the label only selects";
    EXPECT_EQ(m_dialog.m_tree.GetCaretItem(), solo);

    Press(ImagePoint(solo));
    EXPECT_FALSE(m_dialog.m_tree.GetCheck(solo));
    EXPECT_EQ(Image(solo), CCheckTreeCtrl::kUnchecked);
}

TEST_F(CheckTreeTest, SpaceTogglesTheCaretItem)
{
    m_dialog.m_tree.SelectItem(m_dialog.m_solo);
    SetFocus(m_hwnd);
    gui::PressKey(m_hwnd, VK_SPACE);
    ASSERT_TRUE(gui::WaitFor([&] { return m_dialog.m_tree.GetCheck(m_dialog.m_solo); }));
    EXPECT_EQ(Image(m_dialog.m_solo), CCheckTreeCtrl::kChecked);

    // On a branch Space opens it, with the open image.
    m_dialog.m_tree.SelectItem(m_dialog.m_branch);
    SendMessageA(m_hwnd, WM_CHAR, VK_SPACE, 1);
    EXPECT_TRUE(Expanded(m_dialog.m_branch));
    EXPECT_EQ(Image(m_dialog.m_branch), CCheckTreeCtrl::kBranchOpen);
}

TEST_F(CheckTreeTest, BranchesShowTheOpenOrClosedImageHoweverTheyOpen)
{
    HTREEITEM branch = m_dialog.m_branch;
    Press(ImagePoint(branch));
    EXPECT_TRUE(Expanded(branch));
    EXPECT_EQ(Image(branch), CCheckTreeCtrl::kBranchOpen);
    Press(ImagePoint(branch));
    EXPECT_FALSE(Expanded(branch));
    EXPECT_EQ(Image(branch), CCheckTreeCtrl::kBranchClosed);

    // By the keyboard: the tree's own expanding notifies, reflected to the control.
    m_dialog.m_tree.SelectItem(branch);
    SetFocus(m_hwnd);
    gui::PressKey(m_hwnd, VK_RIGHT);
    ASSERT_TRUE(gui::WaitFor([&] { return Expanded(branch); }));
    EXPECT_EQ(Image(branch), CCheckTreeCtrl::kBranchOpen);
    gui::PressKey(m_hwnd, VK_LEFT);
    ASSERT_TRUE(gui::WaitFor([&] { return !Expanded(branch); }));
    EXPECT_EQ(Image(branch), CCheckTreeCtrl::kBranchClosed);

    // By the plus button, left of the image.
    POINT image = ImagePoint(branch);
    POINT button = {image.x - 16, image.y};
    UINT flags = 0;
    m_dialog.m_tree.HitTest(button, &flags);
    ASSERT_TRUE(flags & TVHT_ONITEMBUTTON);
    Press(button);
    EXPECT_TRUE(Expanded(branch));
    EXPECT_EQ(Image(branch), CCheckTreeCtrl::kBranchOpen);
}

TEST_F(CheckTreeTest, ADoubleClickDoesNothing)
{
    HTREEITEM branch = m_dialog.m_branch;
    Press(LabelPoint(branch), WM_LBUTTONDBLCLK);
    EXPECT_FALSE(Expanded(branch));
    EXPECT_EQ(Image(branch), CCheckTreeCtrl::kBranchClosed);
    EXPECT_FALSE(m_dialog.m_tree.GetCheck(m_dialog.m_leaf));
}

TEST_F(CheckTreeTest, TheTimeFieldShowsAndReadsBackSecondsSinceMidnight)
{
    HWND time = m_dialog.m_time.m_hWnd;
    // The field follows the user's time picture: pinned to 24 hours here.
    SendMessageA(time, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>("HH':'mm':'ss"));
    struct Case {
        int seconds;
        const char* shown;
    } cases[] = {{0, "00:00:00"}, {3661, "01:01:01"}, {86399, "23:59:59"}};
    for (const Case& c : cases) {
        m_dialog.m_time.SetSecondsOfDay(c.seconds);
        EXPECT_EQ(m_dialog.m_time.GetSecondsOfDay(), c.seconds);
        EXPECT_EQ(gui::GetText(time), c.shown);
    }
}
