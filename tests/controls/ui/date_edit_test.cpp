// The date fields in a dialog, with the date picture pinned to DD.MM.YYYY through the locale seam:
// typing over the day and leaving with Tab reformats, undo swaps both ways, unparsable text stays,
// an empty optional field reads its no-date value, and Tab and Enter move on (Shift back).
#include <windows.h>
// windows.h maps SetLocaleInfo to the system's SetLocaleInfoA; the locale seam's function is meant.
#undef SetLocaleInfo

#include <gtest/gtest.h>
#include <string>

#include "controls/ui/date_edit.h"
#include "framework/ui/dialog.h"
#include "tests/controls/ui/test_controls_res.h"
#include "tests/storage/test_seams.h"
#include "tests/support/gui_driver.h"

namespace {

class CDateDlg : public CDialog {
public:
    CDateDlg() : CDialog(IDD_TEST_EDITS) {}

    CDateEdit m_date;
    CDateEditOptional m_optional{kNoUpperDate};
    int m_parentChanges = 0;

protected:
    bool OnInitDialog() override
    {
        m_date.SubclassDlgItem(IDC_TEST_DATE, m_hWnd);
        m_optional.SubclassDlgItem(IDC_TEST_DATE_OPTIONAL, m_hWnd);
        return CDialog::OnInitDialog();
    }
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override
    {
        if (id == IDC_TEST_DATE && code == EN_CHANGE)
            ++m_parentChanges;
        return CDialog::OnCommand(id, code, control, result);
    }
};

class DateEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dialog.Create(nullptr));
        SetForegroundWindow(m_dialog.m_hWnd);
        m_edit = m_dialog.m_date.m_hWnd;
        m_dialog.m_date.SetDate(20240312);
        m_dialog.m_date.ClearModified();
    }
    void TearDown() override { SetShift(false); }

    // The user types `text` over characters first to last of `edit`.
    void TypeOver(HWND edit, int first, int last, const std::string& text)
    {
        SetFocus(edit);
        SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(first), last);
        for (char c : text)
            SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
    }
    // Presses `vk` in the focused window and waits until the focus moved to `expected`.
    bool PressAndWaitForFocus(UINT vk, HWND expected)
    {
        gui::PressKey(GetFocus(), vk);
        return gui::WaitFor([&] { return GetFocus() == expected; });
    }
    // Posted keys do not change the key state: Shift is set for this thread here.
    static void SetShift(bool down)
    {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_SHIFT] = down ? 0x80 : 0;
        SetKeyboardState(keys);
    }
    HWND Item(int id) const { return GetDlgItem(m_dialog.m_hWnd, id); }

    CPinnedClock m_clock{MakeLocalTime(2026, 12, 10, 9, 30)};
    CPinnedLocale m_locale{"dd.MM.yyyy"};
    CDateDlg m_dialog;
    HWND m_edit = nullptr;
};

}  // namespace

TEST_F(DateEditTest, TypingOverTheDayThenTabReformatsAndUndoSwaps)
{
    EXPECT_EQ(gui::GetText(m_edit), "12.03.2024");
    TypeOver(m_edit, 0, 2, "5");
    EXPECT_EQ(gui::GetText(m_edit), "5.03.2024");
    EXPECT_GT(m_dialog.m_parentChanges, 0) << "the parent still hears of the change";
    ASSERT_TRUE(PressAndWaitForFocus(VK_TAB, Item(IDC_TEST_DATE_OPTIONAL)));
    EXPECT_EQ(gui::GetText(m_edit), "05.03.2024");
    EXPECT_TRUE(m_dialog.m_date.IsChanged());

    m_dialog.m_date.Undo();
    EXPECT_EQ(gui::GetText(m_edit), "12.03.2024");
    m_dialog.m_date.Undo();
    EXPECT_EQ(gui::GetText(m_edit), "05.03.2024");
}

TEST_F(DateEditTest, UnparsableTextStaysAndGetDateFails)
{
    TypeOver(m_edit, 0, -1, "12.xx");
    TypeOver(m_edit, 3, 5, "13");  // month 13
    ASSERT_TRUE(PressAndWaitForFocus(VK_TAB, Item(IDC_TEST_DATE_OPTIONAL)));
    EXPECT_EQ(gui::GetText(m_edit), "12.13");
    std::int32_t date = 0;
    EXPECT_FALSE(m_dialog.m_date.GetDate(date));
    EXPECT_EQ(date, 20240312) << "the last good date";
}

TEST_F(DateEditTest, AnEmptyOptionalFieldReadsItsNoDateValue)
{
    CDateEditOptional& optional = m_dialog.m_optional;
    HWND field = optional.m_hWnd;
    optional.SetDate(20240101);
    EXPECT_EQ(gui::GetText(field), "01.01.2024");
    optional.SetDate(kNoUpperDate);
    EXPECT_EQ(gui::GetText(field), "");
    std::int32_t date = 0;
    EXPECT_TRUE(optional.GetDate(date));
    EXPECT_EQ(date, kNoUpperDate);

    // Leaving an empty field leaves it empty.
    TypeOver(field, 0, -1, "");
    ASSERT_TRUE(PressAndWaitForFocus(VK_TAB, Item(IDC_TEST_AFTER)));
    EXPECT_EQ(gui::GetText(field), "");
}

TEST_F(DateEditTest, SetDateNoneShowsTodayMarkedChanged)
{
    m_dialog.m_date.SetDate(CDateEditState::kNoneId, false);
    EXPECT_EQ(gui::GetText(m_edit), "10.12.2026");
    EXPECT_TRUE(m_dialog.m_date.IsChanged());
}

TEST_F(DateEditTest, EnterAndTabMoveOnShiftMovesBack)
{
    SetFocus(m_edit);
    ASSERT_TRUE(PressAndWaitForFocus(VK_RETURN, Item(IDC_TEST_DATE_OPTIONAL)));
    ASSERT_TRUE(PressAndWaitForFocus(VK_RETURN, Item(IDC_TEST_AFTER)));
    SetFocus(Item(IDC_TEST_DATE_OPTIONAL));
    SetShift(true);
    ASSERT_TRUE(PressAndWaitForFocus(VK_TAB, m_edit));
    ASSERT_TRUE(PressAndWaitForFocus(VK_RETURN, Item(IDC_TEST_TIME)));
}
