#include "storage/date.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "framework/error_sink.h"
#include "test_seams.h"

namespace {

struct DateTest : ::testing::Test {
    CPinnedClock clock{MakeLocalTime(2026, 12, 10, 13, 5, 9)};
    void TearDown() override { SetPivotYear(0); }
};

}  // namespace

TEST_F(DateTest, ValidityRule)
{
    struct Case {
        int month, day, year;
        bool valid;
    } cases[] = {
        {2, 29, 2000, true},  {2, 29, 2024, true},  {2, 29, 1900, false}, {2, 29, 2023, false},
        {1, 1, 0, false},     {1, 1, 10000, false}, {1, 1, 1, true},      {12, 31, 9999, true},
        {4, 31, 2024, false}, {13, 1, 2024, false}, {0, 1, 2024, false},  {1, 0, 2024, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsValidDate(c.month, c.day, c.year), c.valid) << c.year << "-" << c.month << "-" << c.day;
        EXPECT_EQ(IsValidDateValue(c.year * 10000 + c.month * 100 + c.day), c.valid);
    }
    EXPECT_FALSE(IsValidDateValue(-20240101));
}

TEST_F(DateTest, SetValueStoresMarkersButReportsThemInvalid)
{
    CDate date;
    EXPECT_EQ(date.GetValue(), 20261210);
    EXPECT_FALSE(date.SetValue(kNoLowerDate));
    EXPECT_EQ(date.GetValue(), static_cast<std::int32_t>(0x80000000));
    EXPECT_FALSE(date.SetValue(kNoUpperDate));
    EXPECT_EQ(date.GetValue(), 0x7FFFFFFF);
    EXPECT_EQ(date.GetDayOfWeek(), 0);  // a marker has no weekday and reads no table out of range
    EXPECT_TRUE(date.SetValue(20240229));
    EXPECT_FALSE(date.SetValue(20230229));  // invalid: keeps the old value
    EXPECT_EQ(date.GetValue(), 20240229);
    EXPECT_FALSE(date.SetDate(2, 30, 2024));
    EXPECT_TRUE(date.SetDate(3, 1, 2024));
    EXPECT_EQ(date.GetYear(), 2024);
    EXPECT_EQ(date.GetMonth(), 3);
    EXPECT_EQ(date.GetDay(), 1);
    EXPECT_FALSE(date.SetDate(1, 1, 2147483));  // no overflow building the value
}

TEST_F(DateTest, DayOfWeek)
{
    struct Case {
        std::int32_t value;
        int weekday;
    } cases[] = {{20000101, 6}, {20240229, 4}, {20261210, 4}, {19000101, 1}, {20240101, 1}, {20231231, 0}};
    for (const Case& c : cases) {
        CDate date;
        ASSERT_TRUE(date.SetValue(c.value));
        EXPECT_EQ(date.GetDayOfWeek(), c.weekday) << c.value;
    }
}

TEST_F(DateTest, EditPictureFromLocalePicture)
{
    struct Case {
        const char* display;
        const char* edit;
    } cases[] = {
        {"M/D/YYYY", "M/D/YYYY"},       {"DD-MMM-YY", "DD-MM-YY"},   {"D. M. YYYY", "D.M.YYYY"},
        {"DDDD D/M/YYYY", "D M YYYY"},  {"YYYYMMDD", "YYYY-MM-DD"},  {"DD.MM", "DD.MM.YYYY"},
        {"MMMMM/DDD/YYYYYY", "MM/YYYY/DD"}, {"YYYY/MM/DD/", "YYYY/MM/DD"}, {"", "-MM-DD-YYYY"},
    };
    for (const Case& c : cases) EXPECT_EQ(BuildEditDatePicture(c.display), c.edit) << c.display;
}

TEST_F(DateTest, LocalePictureIsUpperCasedAndTrimmed)
{
    CPinnedLocale locale("  dd.MM.yyyy ");
    EXPECT_EQ(GetDisplayDatePicture(), "DD.MM.YYYY");
    EXPECT_EQ(GetEditDatePicture(), "DD.MM.YYYY");
}

TEST_F(DateTest, FormatByDisplayAndEditPicture)
{
    CDate date;
    ASSERT_TRUE(date.SetValue(20240305));  // a Tuesday
    struct Case {
        const char* picture;
        const char* display;
        const char* edit;
    } cases[] = {
        {"dd.MM.yyyy", "05.03.2024", "05.03.2024"},
        {"M/d/yy", "3/5/24", "3/5/24"},
        {"ddd, dd-MMM-yyyy", "Di, 05-Mae-2024", "05,03,2024"},
        {"dddd d. MMMM yyyy", "Dienstag 5. Maerz 2024", "5 03 2024"},
        {"d//MMMMM/yyy", "5/3/2024", "5/03/2024"},
    };
    for (const Case& c : cases) {
        CPinnedLocale locale(c.picture);
        EXPECT_EQ(date.Format(true), c.display) << c.picture;
        EXPECT_EQ(date.Format(false), c.edit) << c.picture;
    }
    CPinnedLocale locale("dd.MM.yyyy");
    EXPECT_EQ(FormatToday(true), "10.12.2026");
}

TEST_F(DateTest, ParseTypedText)
{
    CPinnedLocale locale("dd.MM.yyyy");
    struct Case {
        const char* text;
        bool ok;
        std::int32_t value;
    } cases[] = {
        {"3", true, 20261203},          {"3.4", true, 20260403},       {"3.4.5", true, 20050403},
        {"3.4.0", true, 20000403},      {"no digits", true, 20261210}, {"1.2.2003.7", true, 20030201},
        {"31.2.2024", false, 0},        {"x29/02/2000y", true, 20000229}, {"1.1.10000", false, 0},
        {"99999999999999999999.1.2000", false, 0}, {"0000000012.1.2000", true, 20000112},
    };
    for (const Case& c : cases) {
        std::int32_t out = -7;
        EXPECT_EQ(ParseDateText(c.text, out), c.ok) << c.text;
        EXPECT_EQ(out, c.ok ? c.value : -7) << c.text;
    }
}

TEST_F(DateTest, ParseFollowsFieldOrderOfThePicture)
{
    CPinnedLocale locale("M/d/yyyy");
    std::int32_t out = 0;
    ASSERT_TRUE(ParseDateText("12/25/99", out));
    EXPECT_EQ(out, 20991225);  // default pivot 2099
    SetPivotYear(2029);
    ASSERT_TRUE(ParseDateText("12/25/99", out));
    EXPECT_EQ(out, 19991225);
    ASSERT_TRUE(ParseDateText("7", out));  // only the month
    EXPECT_EQ(out, 20260710);
}

TEST_F(DateTest, TwoDigitYearsFollowThePivot)
{
    EXPECT_EQ(GetPivotYear(), 2099);
    EXPECT_EQ(ExpandTwoDigitYear(0), 2000);
    EXPECT_EQ(ExpandTwoDigitYear(99), 2099);
    EXPECT_EQ(ExpandTwoDigitYear(100), 100);
    SetPivotYear(2029);
    EXPECT_EQ(ExpandTwoDigitYear(29), 2029);
    EXPECT_EQ(ExpandTwoDigitYear(30), 1930);
    SetPivotYear(50);  // century 0: the year stays as typed
    EXPECT_EQ(ExpandTwoDigitYear(60), 60);
}

TEST_F(DateTest, InvalidDateMessageNamesTheEditPicture)
{
    static std::vector<std::string> shown;
    shown.clear();
    ErrorSink previous = SetErrorSink([](const std::string& m) { shown.push_back(m); });
    CPinnedLocale locale("DDDD D/M/YYYY");
    ShowInvalidDateMessage();
    SetErrorSink(previous);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "Invalid date.\nPlease enter dates in the following format: D M YYYY");
}

TEST_F(DateTest, WidestDateTextTakesTheFirstLongest)
{
    CPinnedLocale locale("dd.MM.yyyy");
    EXPECT_EQ(GetWidestDateText(), "19. Dezember 2099xx");
}

TEST_F(DateTest, TimePictureWithoutSeconds)
{
    struct Case {
        const char* picture;
        const char* withoutSeconds;
    } cases[] = {
        {"h:mm:ss tt", "h:mm tt"}, {"HH:mm:ss", "HH:mm"}, {"tt h:mm:ss", "tt h:mm"},
        {"HH.mm.ss", "HH.mm"},     {"H:mm", "H:mm"},      {"HH:mm:ss:", "HH:mm"},
        {"hh:mm - tt", "hh:mm  tt"}, {"  HH:mm", "HH:mm"},
    };
    for (const Case& c : cases) EXPECT_EQ(RemoveSecondsFromTimePicture(c.picture), c.withoutSeconds) << c.picture;
}

TEST_F(DateTest, TimesOfDay)
{
    CPinnedLocale locale("dd.MM.yyyy", "h:mm:ss tt");
    EXPECT_EQ(GetTimeOfDay(), 13 * 3600 + 5 * 60 + 9);
    EXPECT_EQ(GetHour(47109), 13);
    EXPECT_EQ(GetMinute(47109), 5);
    EXPECT_TRUE(IsValidTimeOfDay(0));
    EXPECT_TRUE(IsValidTimeOfDay(86399));
    EXPECT_FALSE(IsValidTimeOfDay(86400));
    EXPECT_FALSE(IsValidTimeOfDay(-1));
    EXPECT_EQ(GetTimePicture(true), "h:mm:ss tt");
    EXPECT_EQ(GetTimePicture(false), "h:mm tt");
    EXPECT_EQ(FormatTime(47109, true), "1:05:09 PM");
    EXPECT_EQ(FormatTime(47109, false), "1:05 PM");
    EXPECT_EQ(FormatTime(0, false), "12:00 AM");
    EXPECT_EQ(FormatTimeNow(), "1:05 PM");
    EXPECT_EQ(FormatTime(86400, true), "");
    EXPECT_EQ(FormatTime(static_cast<int>(0x80000001), true), "");
}

TEST_F(DateTest, SystemTimeHoldsOnlyTheDate)
{
    CDate date;
    ASSERT_TRUE(date.SetValue(20240305));
    QuorLocalTime st = MakeLocalTime(1, 1, 1, 5, 6, 7);
    date.GetSystemTime(st);
    EXPECT_EQ(st.year, 2024);
    EXPECT_EQ(st.month, 3);
    EXPECT_EQ(st.day, 5);
    EXPECT_EQ(st.dayOfWeek + st.hour + st.minute + st.second + st.milliseconds, 0);
    EXPECT_EQ(GetCurrentYear(), 2026);
    EXPECT_EQ(GetCenturyYear(), 2000);
}

TEST_F(DateTest, DisplayFormatAgreesWithThePlatformsOwnShortDate)
{
    LoadLocaleDatePicture();  // the platform's locale: GetLocaleInfoA and GetDateFormatA on Windows
    CDate date;
    ASSERT_TRUE(date.SetValue(20990305));
    EXPECT_EQ(date.Format(true), GetLocaleInfo().FormatShortDate(2099, 3, 5)) << GetDisplayDatePicture();
    std::int32_t parsed = 0;
    ASSERT_TRUE(ParseDateText(date.Format(false), parsed)) << GetEditDatePicture();
    EXPECT_EQ(parsed, 20990305);
}
