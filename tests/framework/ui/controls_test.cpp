// Controls with behaviour of their own: an owner-drawn list box that draws its items from the
// reflected WM_DRAWITEM while its parent still hears of selection changes, and the rich-text control
// streaming RTF in and out.
#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>
#include <atomic>
#include <string>

#include "framework/ui/dialog.h"
#include "framework/ui/frame_wnd.h"
#include "framework/ui/list_box.h"
#include "framework/ui/rich_edit.h"
#include "tests/framework/ui/test_dialogs_res.h"
#include "tests/support/gui_driver.h"

namespace {

const COLORREF kItemColour = RGB(0, 128, 255);

class CColourList : public CListBox {
public:
    std::atomic<int> m_draws{0};
    std::atomic<int> m_selectionChanges{0};

protected:
    bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        if (msg == WM_DRAWITEM) {
            auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            if (draw->itemID != static_cast<UINT>(-1)) {
                HBRUSH brush = CreateSolidBrush(kItemColour);
                FillRect(draw->hDC, &draw->rcItem, brush);
                DeleteObject(brush);
                std::string text = GetText(static_cast<int>(draw->itemID));
                SetBkMode(draw->hDC, TRANSPARENT);
                RECT textRect = draw->rcItem;
                textRect.left += 20;
                DrawTextA(draw->hDC, text.c_str(), -1, &textRect, DT_SINGLELINE | DT_VCENTER);
                ++m_draws;
            }
            result = TRUE;
            return true;
        }
        if (msg == WM_COMMAND && HIWORD(wParam) == LBN_SELCHANGE) {
            ++m_selectionChanges;
            return false;  // the parent hears of it too
        }
        return false;
    }
};

class CListDlg : public CDialog {
public:
    CListDlg() : CDialog(IDD_TEST_LIST) {}

    CColourList m_list;
    std::atomic<int> m_parentDraws{0};
    std::atomic<int> m_parentSelectionChanges{0};

protected:
    bool OnInitDialog() override
    {
        m_list.SubclassDlgItem(IDC_TEST_LIST, m_hWnd);
        for (const char* item : {"One", "Two", "Three"})
            m_list.AddString(item);
        return CDialog::OnInitDialog();
    }
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override
    {
        if (id == IDC_TEST_LIST && code == LBN_SELCHANGE) {
            ++m_parentSelectionChanges;
            return true;
        }
        return CDialog::OnCommand(id, code, control, result);
    }
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        if (msg == WM_DRAWITEM)
            ++m_parentDraws;
        return false;
    }
};

std::string Plain(HWND edit)
{
    return RichEditStreamOut(edit, SF_TEXT);
}

}  // namespace

TEST(OwnerDrawnList, DrawsItsItemsFromReflectedMessagesAndTheParentStillHearsSelection)
{
    CListDlg dialog;
    gui::CGuiThread ui([&] { dialog.DoModal(); });
    HWND box = gui::WaitForTopWindow("Test List");
    ASSERT_NE(box, nullptr);
    HWND list = gui::FindControl(box, IDC_TEST_LIST);
    ASSERT_TRUE(gui::WaitFor([&] { return dialog.m_list.m_draws >= 3; }));
    EXPECT_EQ(dialog.m_parentDraws.load(), 0);

    RECT item = {};
    ASSERT_NE(SendMessageA(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item)), LB_ERR);
    HDC dc = GetDC(list);
    EXPECT_EQ(GetPixel(dc, item.left + 2, item.top + 2), kItemColour);
    ReleaseDC(list, dc);

    LPARAM point = MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2);
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageA(list, WM_LBUTTONUP, 0, point);
    ASSERT_TRUE(gui::WaitFor([&] { return dialog.m_parentSelectionChanges == 1; }));
    EXPECT_EQ(dialog.m_list.m_selectionChanges.load(), 1);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1);

    ASSERT_TRUE(gui::ClickButton(box, IDCANCEL));
    ASSERT_TRUE(ui.Join());
}

TEST(RichEdit, StreamsRtfInAndOut)
{
    ASSERT_TRUE(LoadRichEdit());
    CFrameWnd frame;
    ASSERT_TRUE(frame.Create("Rich edit host", 0));
    RECT rect = {0, 0, 300, 200};
    DWORD style = WS_CHILD | WS_VISIBLE | ES_MULTILINE;
    CRichEditHandle first(CreateRichEdit(frame.m_hWnd, 1, rect, style));
    ASSERT_NE(first.m_hWnd, nullptr);

    const std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}Hello {\\b bold} w\\'f6rld\\par second line}";
    EXPECT_TRUE(first.StreamIn(SF_RTF, rtf));
    EXPECT_EQ(first.StreamOut(SF_TEXT), "Hello bold w\xf6rld\r\nsecond line");

    std::string out = first.StreamOut(SF_RTF);
    EXPECT_EQ(out.compare(0, 6, "{\\rtf1"), 0) << out;
    EXPECT_NE(out.find("\\b"), std::string::npos) << out;

    // What came out reads back in with the same text, also through a subclassed control.
    CRichEditCtrl second;
    ASSERT_TRUE(second.Subclass(CreateRichEdit(frame.m_hWnd, 2, rect, style)));
    EXPECT_TRUE(second.StreamIn(SF_RTF, out));
    EXPECT_EQ(Plain(second.m_hWnd), Plain(first.m_hWnd));

    // Plain text in replaces the content.
    EXPECT_TRUE(second.StreamIn(SF_TEXT, "plain"));
    EXPECT_EQ(second.StreamOut(SF_TEXT), "plain");
}
