#include "framework/locale_info.h"

#include <gtest/gtest.h>

#include "framework/clock.h"

TEST(LocaleInfo, TimePicturesAsTheSystemReadsThem)
{
    struct Case {
        const char* picture;
        bool noSeconds;
        const char* text;
    } cases[] = {
        {"HH:mm:ss", false, "13:05:09"}, {"h:mm:ss tt", false, "1:05:09 PM"}, {"hh:mm t", false, "01:05 P"},
        {"H'h'mm", false, "13h05"},      {"HH:mm:ss", true, "13:05"},         {"h.mm.ss tt", true, "1.05 PM"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatTimeByPicture(13, 5, 9, c.picture, c.noSeconds, "AM", "PM"), c.text) << c.picture;
#ifdef _WIN32
        // The platform locale hands the picture to GetTimeFormatA; it must agree for pictures without
        // a designator (the designator text depends on the machine's locale).
        if (std::string(c.picture).find('t') == std::string::npos) {
            EXPECT_EQ(GetLocaleInfo().FormatTime(13, 5, 9, c.picture, c.noSeconds), c.text) << c.picture;
        }
#endif
    }
    EXPECT_EQ(FormatTimeByPicture(0, 0, 0, "h:mm tt", false, "AM", "PM"), "12:00 AM");
    EXPECT_EQ(FormatTimeByPicture(12, 0, 0, "h:mm tt", false, "AM", "PM"), "12:00 PM");
}

TEST(LocaleInfo, PlatformLocaleGivesPicturesAndNames)
{
    const ILocaleInfo& locale = GetLocaleInfo();
    EXPECT_FALSE(locale.ShortDatePicture().empty());
    EXPECT_FALSE(locale.TimePicture().empty());
    EXPECT_FALSE(locale.MonthName(12, false).empty());
    EXPECT_TRUE(locale.MonthName(13, false).empty());
    EXPECT_FALSE(locale.DayName(7, true).empty());
    EXPECT_TRUE(locale.DayName(0, true).empty());
    EXPECT_NE(locale.FormatShortDate(2099, 12, 25).find("25"), std::string::npos);
}

TEST(Clock, PlatformClockGivesAPlausibleDate)
{
    QuorLocalTime now = QuorNow();
    EXPECT_GE(now.year, 2000);
    EXPECT_GE(now.month, 1);
    EXPECT_LE(now.month, 12);
    EXPECT_GE(now.dayOfWeek, 0);
    EXPECT_LE(now.dayOfWeek, 6);
}
