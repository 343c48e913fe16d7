// Item tips over a real list box: shown only for items too wide for the list, laid over the item,
// in highlight colours when selected, following the keyboard, kept on the work area, and hidden when
// the pointer leaves, on double and right clicks and while another program is active.
#include <windows.h>

#include <gtest/gtest.h>
#include <string>

#include "controls/ui/tip_list_box.h"
#include "framework/ui/dialog.h"
#include "tests/controls/ui/test_controls_res.h"
#include "tests/support/gui_driver.h"

namespace {

const char kLong[] = "A keyword name far too long for this narrow list";

class CTipDlg : public CDialog {
public:
    CTipDlg() : CDialog(IDD_TEST_TIPS) {}

    CTipListBox m_list;
    int m_parentSelChanges = 0;

protected:
    bool OnInitDialog() override
    {
        m_list.SubclassDlgItem(IDC_TEST_TIP_LIST, m_hWnd);
        m_list.SetTabStop(20);
        for (const char* item : {"short", kLong, "tiny", kLong})
            m_list.AddString(item);
        return CDialog::OnInitDialog();
    }
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override
    {
        if (id == IDC_TEST_TIP_LIST && code == LBN_SELCHANGE)
            ++m_parentSelChanges;
        return CDialog::OnCommand(id, code, control, result);
    }
};

class TipTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dialog.Create(nullptr));
        SetForegroundWindow(m_dialog.m_hWnd);
        gui::WaitFor([&] { return GetActiveWindow() == m_dialog.m_hWnd; }, 2000);
        m_list = m_dialog.m_list.m_hWnd;
    }

    // The pointer moves over the middle of item `index` (client coordinates of the list).
    void MoveOver(int index)
    {
        RECT item = {};
        SendMessageA(m_list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        MoveTo(10 + index, (item.top + item.bottom) / 2);
    }
    void MoveTo(int x, int y) { SendMessageA(m_list, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }

    RECT ItemScreenRect(int index) const
    {
        RECT item = {};
        SendMessageA(m_list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        MapWindowPoints(m_list, nullptr, reinterpret_cast<POINT*>(&item), 2);
        return item;
    }

    bool TipShown() const { return m_dialog.m_list.Tip().IsWindowVisible(); }
    RECT TipRect() const { return m_dialog.m_list.Tip().GetWindowRect(); }

    // The colour of the tip's first client column, where no text is drawn.
    COLORREF TipBackground() const
    {
        HWND tip = m_dialog.m_list.Tip().m_hWnd;
        RedrawWindow(tip, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        HDC dc = GetDC(tip);
        COLORREF colour = GetPixel(dc, 0, 1);
        ReleaseDC(tip, dc);
        return colour;
    }

    CTipDlg m_dialog;
    HWND m_list = nullptr;
};

}  // namespace

TEST_F(TipTest, OnlyItemsTooWideShowATipLaidOverTheItem)
{
    MoveOver(0);
    EXPECT_FALSE(TipShown()) << "a fitting item shows no tip";

    MoveOver(1);
    ASSERT_TRUE(TipShown());
    RECT item = ItemScreenRect(1);
    RECT tip = TipRect();
    EXPECT_EQ(tip.left, item.left);
    EXPECT_EQ(tip.top, item.top);
    EXPECT_EQ(tip.bottom, item.bottom);
    EXPECT_GT(tip.right, item.right);
    EXPECT_EQ(m_dialog.m_list.Tip().GetItem(), 1);
    EXPECT_EQ(GetCapture(), m_list) << "the list watches the pointer while the tip shows";
    EXPECT_NE(GetActiveWindow(), m_dialog.m_list.Tip().m_hWnd) << "the tip never takes the activation";

    // The tip is as wide as the text in the list's font, plus 4.
    HDC dc = GetDC(m_list);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(m_list, WM_GETFONT, 0, 0)));
    SIZE size = {};
    GetTextExtentPoint32A(dc, kLong, static_cast<int>(sizeof kLong - 1), &size);
    SelectObject(dc, old);
    ReleaseDC(m_list, dc);
    EXPECT_EQ(tip.right - tip.left, size.cx + 4);

    MoveOver(2);
    EXPECT_FALSE(TipShown()) << "moving onto a fitting item hides the tip";
    EXPECT_NE(GetCapture(), m_list);
}

TEST_F(TipTest, SelectedItemsTipInHighlightColoursAndTheKeyboardMovesIt)
{
    MoveOver(1);
    ASSERT_TRUE(TipShown());
    EXPECT_EQ(TipBackground(), RGB(255, 255, 255));

    SetFocus(m_list);
    SendMessageA(m_list, LB_SETCURSEL, 0, 0);
    int parentBefore = m_dialog.m_parentSelChanges;
    SendMessageA(m_list, WM_KEYDOWN, VK_DOWN, 0);  // to item 1
    ASSERT_TRUE(TipShown());
    EXPECT_EQ(m_dialog.m_list.Tip().GetItem(), 1);
    EXPECT_EQ(TipBackground(), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(m_dialog.m_parentSelChanges, parentBefore) << "the list keeps its selection changes";

    SendMessageA(m_list, WM_KEYDOWN, VK_DOWN, 0);  // item 2 fits
    EXPECT_FALSE(TipShown());
    SendMessageA(m_list, WM_KEYDOWN, VK_DOWN, 0);  // item 3 is long again
    ASSERT_TRUE(TipShown());
    EXPECT_EQ(m_dialog.m_list.Tip().GetItem(), 3);
    RECT item = ItemScreenRect(3);
    EXPECT_EQ(TipRect().top, item.top);
}

TEST_F(TipTest, LeavingTheListClicksAndFocusLossHideTheTip)
{
    MoveOver(1);
    ASSERT_TRUE(TipShown());
    MoveTo(-20, -20);  // outside: the capture delivers it
    EXPECT_FALSE(TipShown());
    EXPECT_NE(GetCapture(), m_list);

    for (UINT click : {WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_RBUTTONUP}) {
        MoveTo(1, 1);
        MoveOver(1);
        ASSERT_TRUE(TipShown());
        RECT item = {};
        SendMessageA(m_list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
        SendMessageA(m_list, click, 0, MAKELPARAM(5, item.top + 2));
        EXPECT_FALSE(TipShown()) << "message " << click;
        ReleaseCapture();
    }

    MoveTo(1, 1);
    MoveOver(1);
    ASSERT_TRUE(TipShown());
    SetFocus(m_list);
    SetFocus(GetDlgItem(m_dialog.m_hWnd, IDC_TEST_PLAIN_BUTTON));
    EXPECT_FALSE(TipShown());
}

TEST_F(TipTest, NearTheWorkAreasRightEdgeTheTipShiftsLeft)
{
    RECT work = {};
    HMONITOR monitor = MonitorFromWindow(m_dialog.m_hWnd, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetMonitorInfoA(monitor, &info));
    work = info.rcWork;
    RECT list = {};
    GetWindowRect(m_list, &list);
    RECT dialog = m_dialog.GetWindowRect();
    // Put the list's right edge 10 pixels before the work area's.
    int dx = (work.right - 10) - list.right;
    SetWindowPos(m_dialog.m_hWnd, nullptr, dialog.left + dx, dialog.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

    MoveOver(1);
    ASSERT_TRUE(TipShown());
    RECT tip = TipRect();
    EXPECT_EQ(tip.right, work.right);
    EXPECT_LT(tip.left, ItemScreenRect(1).left);
}

TEST_F(TipTest, IndexesThatAreNoItemsShowAndPaintNothing)
{
    MoveOver(3);
    ASSERT_TRUE(TipShown());
    // The tipped item goes: the tip paints no text of a missing item.
    SendMessageA(m_list, LB_DELETESTRING, 3, 0);
    TipBackground();
    m_dialog.m_list.ShowTipFor(3);
    EXPECT_FALSE(TipShown());

    SendMessageA(m_list, LB_RESETCONTENT, 0, 0);
    MoveTo(10, 10);
    MoveTo(12, 30);
    EXPECT_FALSE(TipShown()) << "an empty list shows no tip";
    m_dialog.m_list.ShowTipFor(0xFFFF);
    EXPECT_FALSE(TipShown());
}

TEST_F(TipTest, NoTipWhileAnotherProgramIsActive)
{
    // Another thread's window stands for another program: this thread then has no active window.
    HWND other = nullptr;
    gui::CGuiThread ui([&] {
        other = CreateWindowExA(0, "STATIC", "Other program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                nullptr, nullptr, nullptr, nullptr);
        SetForegroundWindow(other);
        MSG msg;
        while (IsWindow(other) && GetMessageA(&msg, nullptr, 0, 0) > 0)
            DispatchMessageA(&msg);
    });
    ASSERT_TRUE(gui::WaitFor([&] { return other && GetForegroundWindow() == other; }, 5000));
    ASSERT_TRUE(gui::WaitFor([&] { return GetActiveWindow() == nullptr; }, 5000));
    MoveOver(1);
    EXPECT_FALSE(TipShown());
    PostMessageA(other, WM_CLOSE, 0, 0);
    EXPECT_TRUE(ui.Join());
}
