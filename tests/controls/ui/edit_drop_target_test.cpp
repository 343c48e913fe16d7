// Text dropped on an edit through its IDropTarget, as OLE calls it during a drag (a test data object
// stands for the source): CF_TEXT lands at the character under the cursor with a 1-pixel caret shown
// while dragging, at the end without a position, never past the text limit; other data is refused.
#include <windows.h>

#include <gtest/gtest.h>
#include <string>

#include "controls/ui/edit_drop_target.h"
#include "framework/ui/dialog.h"
#include "framework/ui/ole_drop_target.h"
#include "tests/controls/ui/test_controls_res.h"
#include "tests/support/gui_driver.h"
#include "tests/support/test_data_object.h"

namespace {

class EditDropTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_ole.IsOk());
        ASSERT_TRUE(m_dialog.Create(nullptr));
        m_edit = GetDlgItem(m_dialog.m_hWnd, IDC_TEST_EDIT);
        gui::SetText(m_edit, "abcdefgh");
        ASSERT_TRUE(m_target.Register(m_edit));
    }
    void TearDown() override { m_target.Revoke(); }

    // The screen point over the left half of character `index`, on the caret's row.
    POINTL PointAt(int index) const
    {
        LRESULT position = SendMessageA(m_edit, EM_POSFROMCHAR, static_cast<WPARAM>(index), 0);
        RECT client;
        GetClientRect(m_edit, &client);
        POINT point = {static_cast<short>(LOWORD(position)) + 1, (client.top + client.bottom) / 2};
        ClientToScreen(m_edit, &point);
        return {point.x, point.y};
    }
    COLORREF PixelAt(int x, int y) const
    {
        HDC dc = GetDC(m_edit);
        COLORREF colour = GetPixel(dc, x, y);
        ReleaseDC(m_edit, dc);
        return colour;
    }
    // The edit fully painted, so that pixels read back what the user sees.
    void Paint() const { RedrawWindow(m_edit, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); }

    COleInit m_ole;
    CDialog m_dialog{IDD_TEST_EDITS};
    CEditDropTarget m_target;
    HWND m_edit = nullptr;
};

}  // namespace

TEST_F(EditDropTest, TextLandsAtTheCharacterUnderTheCursorWithACaretWhileDragging)
{
    CTestDataObject text = CTestDataObject::Text("XY");
    IDropTarget* target = &m_target;
    Paint();
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    ASSERT_EQ(target->DragEnter(&text, 0, PointAt(6), &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    ASSERT_EQ(target->DragOver(0, PointAt(3), &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(m_target.GetDropPosition(), 3);

    RECT caret = m_target.GetCaretRect();
    EXPECT_EQ(caret.right - caret.left, 1);
    RECT client;
    GetClientRect(m_edit, &client);
    EXPECT_EQ(caret.top, client.top + 1);
    EXPECT_EQ(caret.bottom, client.bottom - 1);
    int x = caret.left;
    int y = caret.top;  // above the glyphs: the background there
    EXPECT_EQ(PixelAt(x, y), RGB(0, 0, 0)) << "the caret inverts the white background";
    EXPECT_EQ(PixelAt(x + 1, y), RGB(255, 255, 255));

    effect = DROPEFFECT_COPY;
    ASSERT_EQ(target->Drop(&text, 0, PointAt(3), &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(gui::GetText(m_edit), "abcXYdefgh");
    EXPECT_EQ(GetFocus(), m_edit);
    Paint();
    EXPECT_EQ(PixelAt(x, y), RGB(255, 255, 255)) << "the caret was erased";

    // A drag that leaves erases its caret and drops nothing.
    effect = DROPEFFECT_COPY;
    target->DragEnter(&text, 0, PointAt(1), &effect);
    int leftX = m_target.GetCaretRect().left;
    target->DragLeave();
    EXPECT_EQ(PixelAt(leftX, y), RGB(255, 255, 255));
    EXPECT_EQ(gui::GetText(m_edit), "abcXYdefgh");
}

TEST_F(EditDropTest, WithoutAPositionTheTextGoesToTheEnd)
{
    CTestDataObject text = CTestDataObject::Text("end");
    DWORD effect = DROPEFFECT_COPY;
    ASSERT_EQ(static_cast<IDropTarget*>(&m_target)->Drop(&text, 0, PointAt(2), &effect), S_OK);
    EXPECT_EQ(gui::GetText(m_edit), "abcdefghend");
}

TEST_F(EditDropTest, TheTextLimitHoldsAndTheEditsOwnTextStays)
{
    SendMessageA(m_edit, EM_LIMITTEXT, 10, 0);
    CTestDataObject text = CTestDataObject::Text("XYZ");
    IDropTarget* target = &m_target;
    DWORD effect = DROPEFFECT_COPY;
    target->DragEnter(&text, 0, PointAt(2), &effect);
    effect = DROPEFFECT_COPY;
    ASSERT_EQ(target->Drop(&text, 0, PointAt(2), &effect), S_OK);
    EXPECT_EQ(gui::GetText(m_edit), "abXYcdefgh") << "only what fits went in";

    effect = DROPEFFECT_COPY;
    target->Drop(&text, 0, PointAt(2), &effect);
    EXPECT_EQ(gui::GetText(m_edit), "abXYcdefgh") << "a full edit takes nothing";
}

TEST_F(EditDropTest, OtherDataIsRefused)
{
    CTestDataObject other(static_cast<CLIPFORMAT>(RegisterClipboardFormatA("Quorvane Test Drop")), "data");
    IDropTarget* target = &m_target;
    DWORD effect = DROPEFFECT_COPY;
    ASSERT_EQ(target->DragEnter(&other, 0, PointAt(2), &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    effect = DROPEFFECT_COPY;
    target->DragOver(0, PointAt(3), &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    effect = DROPEFFECT_COPY;
    target->Drop(&other, 0, PointAt(3), &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(gui::GetText(m_edit), "abcdefgh");
}
