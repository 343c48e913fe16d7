// The rules of date fields without a window: typing, leaving the field, the undo swap, blank fields
// and the owner's SetDate, over a field whose own writes raise a change notification as an edit
// control's do.
#include "controls/date_edit_state.h"

#include <gtest/gtest.h>
#include <string>

#include "tests/storage/test_seams.h"

namespace {

class CFakeDateField : public CDateEditState {
public:
    // The user replaces the whole text.
    void Type(const std::string& text)
    {
        m_text = text;
        OnTextChanged();
    }
    const std::string& Text() const { return m_text; }

protected:
    std::string ReadText() const override { return m_text; }
    void WriteText(const std::string& text) override
    {
        m_text = text;
        OnTextChanged();  // as EN_CHANGE follows SetWindowText
    }

private:
    std::string m_text;
};

class DateEditStateTest : public ::testing::Test {
protected:
    CPinnedClock m_clock{MakeLocalTime(2026, 12, 10, 9, 30)};
    CPinnedLocale m_locale{"dd.MM.yyyy"};
    CFakeDateField m_field;
};

}  // namespace

TEST_F(DateEditStateTest, TypingThenLeavingReformatsAndUndoSwapsBothWays)
{
    m_field.SetDate(20240312);
    EXPECT_EQ(m_field.Text(), "12.03.2024");
    EXPECT_FALSE(m_field.IsChanged()) << "the field's own writing is no change";
    EXPECT_FALSE(m_field.IsEdited());

    m_field.Type("5.03.2024");  // 5 typed over the day
    EXPECT_TRUE(m_field.IsEdited());
    EXPECT_TRUE(m_field.IsChanged());
    EXPECT_TRUE(m_field.CanUndo());
    m_field.OnFocusLost();
    EXPECT_EQ(m_field.Text(), "05.03.2024");
    EXPECT_FALSE(m_field.IsEdited());
    EXPECT_EQ(m_field.GetPreviousValue(), 20240312);

    EXPECT_TRUE(m_field.Undo());
    EXPECT_EQ(m_field.Text(), "12.03.2024");
    EXPECT_TRUE(m_field.Undo());
    EXPECT_EQ(m_field.Text(), "05.03.2024");
    std::int32_t date = 0;
    EXPECT_TRUE(m_field.GetDate(date));
    EXPECT_EQ(date, 20240305);

    // One number fills the picture's first field; month and year stay today's.
    m_field.Type("7");
    m_field.OnFocusLost();
    EXPECT_EQ(m_field.Text(), "07.12.2026");
}

TEST_F(DateEditStateTest, UnparsableTextStaysAndReadsAsTheLastGoodDate)
{
    m_field.SetDate(20240312);
    m_field.Type("31.02.2024");
    m_field.OnFocusLost();
    EXPECT_EQ(m_field.Text(), "31.02.2024") << "left as typed for the owner to report";
    std::int32_t date = 0;
    EXPECT_FALSE(m_field.GetDate(date));
    EXPECT_EQ(date, 20240312);
    m_field.Reformat();
    EXPECT_EQ(m_field.Text(), "31.02.2024");

    // Undo still brings the previous date back; the unreadable text does not become the previous one.
    EXPECT_TRUE(m_field.Undo());
    EXPECT_EQ(m_field.Text(), "12.03.2024");
    EXPECT_EQ(m_field.GetPreviousValue(), 20240312);
}

TEST_F(DateEditStateTest, SetDateByValue)
{
    struct Case {
        std::int32_t value;
        bool changedFlag;
        const char* shown;
        bool changed;
    } cases[] = {
        {CDateEditState::kNoneId, false, "10.12.2026", true},  // today, marked changed
        {20240229, false, "29.02.2024", false},
        {20240229, true, "29.02.2024", true},
        {20230229, false, "12.03.2024", false},  // invalid: the date stays
    };
    for (const Case& c : cases) {
        CFakeDateField field;
        field.SetDate(20240312);
        field.ClearModified();
        field.SetDate(c.value, c.changedFlag);
        EXPECT_EQ(field.Text(), c.shown) << c.value;
        EXPECT_EQ(field.IsChanged(), c.changed) << c.value;
        EXPECT_FALSE(field.IsEdited()) << c.value;
    }
}

TEST_F(DateEditStateTest, BlankOptionalFieldsReadTheirNoDateValue)
{
    for (std::int32_t noDate : {kNoLowerDate, kNoUpperDate}) {
        CFakeDateField field;
        field.SetBlankAllowed(true);
        field.SetNoDateValue(noDate);
        field.SetDate(20240312);
        EXPECT_EQ(field.Text(), "12.03.2024");
        field.SetDate(noDate);
        EXPECT_EQ(field.Text(), "");
        std::int32_t date = 0;
        EXPECT_TRUE(field.GetDate(date));
        EXPECT_EQ(date, noDate);

        field.Type("  ");
        field.OnFocusLost();
        EXPECT_EQ(field.Text(), "  ") << "a blank field is not reformatted";
        EXPECT_TRUE(field.GetDate(date));
        EXPECT_EQ(date, noDate);
        EXPECT_FALSE(field.IsNotBlank());

        field.Type("1.2.2025");
        EXPECT_TRUE(field.Validate());
        EXPECT_EQ(field.Text(), "01.02.2025");
        EXPECT_FALSE(field.IsChanged());
    }

    // In a field that does not allow blanks, empty text reads as today.
    CFakeDateField plain;
    plain.SetDate(20240312);
    plain.Type("");
    std::int32_t date = 0;
    EXPECT_TRUE(plain.GetDate(date));
    EXPECT_EQ(date, 20261210);
}

TEST_F(DateEditStateTest, TodaySavePreviousAndCommit)
{
    m_field.SetDate(20240312);
    m_field.SetToday();
    EXPECT_EQ(m_field.Text(), "10.12.2026");
    EXPECT_TRUE(m_field.IsChanged());
    EXPECT_TRUE(m_field.CanUndo());
    m_field.Undo();
    EXPECT_EQ(m_field.Text(), "12.03.2024");

    m_field.Type("1.1.2020");
    m_field.SavePrevious();
    EXPECT_EQ(m_field.GetPreviousValue(), 20200101);

    m_field.Type("2.2.2022");
    m_field.Commit();
    EXPECT_EQ(m_field.GetPreviousValue(), 20220202);
    EXPECT_FALSE(m_field.CanUndo());
    EXPECT_FALSE(m_field.IsChanged());
    EXPECT_FALSE(m_field.IsEdited());
}
