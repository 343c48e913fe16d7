#include "framework/string_table.h"

#include <gtest/gtest.h>

#include "resources/resource.h"

// The same texts must come back in both builds: from the resource script on Windows, from the
// compiled-in table natively.
TEST(StringTable, LoadsTextsWithEscapesIntact)
{
    EXPECT_EQ(QuorLoadString(IDS_APP_NAME), "Personal Quorvane");
    EXPECT_EQ(QuorLoadString(1105), "This data file has been corrupted:\n%1");
    EXPECT_EQ(QuorLoadString(1151),
              "This is a hypertext link to a private article.\n\nTo display the private article, "
              "double-click on the hypertext link and enter the file's password in the "
              "\"Enter Your Password\" dialog box.");
    EXPECT_EQ(QuorLoadString(1103), "");  // code 3 has no message
    EXPECT_EQ(QuorLoadString(999999), "");
}

TEST(StringTable, FormatReplacesEveryPlaceholder)
{
    struct Case {
        const char* pattern;
        const char* arg;
        const char* expected;
    } cases[] = {
        {"Can not find this file:\n%1", "C:\\a.xrd", "Can not find this file:\nC:\\a.xrd"},
        {"no placeholder", "ignored", "no placeholder"},
        {"%1 and %1", "x", "x and x"},
        {"empty: %1.", "", "empty: ."},
        {"trailing %", "x", "trailing %"},
        {"%2 stays", "x", "%2 stays"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QuorFormat1(c.pattern, c.arg), c.expected) << c.pattern;
}

TEST(StringTable, FormatArgsFillsNumberedPlaceholdersOnce)
{
    EXPECT_EQ(QuorFormatArgs("between %1 and %2.", {"1", "10"}), "between 1 and 10.");
    EXPECT_EQ(QuorFormatArgs("%2-%1", {"a", "b"}), "b-a");
    // Replaced text is not searched again, and a placeholder without an argument stays.
    EXPECT_EQ(QuorFormatArgs("%1 %2 %3", {"%2", "x"}), "%2 x %3");
}
