// The native comparisons must order text as the Windows ones do, since sorted lists are shown and
// searched with them on both.
#include <gtest/gtest.h>

#include "framework/ansi_case.h"

namespace {
int Sign(int value)
{
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}
}  // namespace

TEST(AnsiCase, CaseSensitiveOrderIsAlphabeticalFirstAndLowerCaseFirstOnATie)
{
    struct Case {
        const char* a;
        const char* b;
        int expected;
    };
    const Case cases[] = {
        {"apple", "Banana", -1}, {"Banana", "apple", 1}, {"banana", "Banana", -1}, {"Banana", "BANANA", -1},
        {"same", "same", 0},     {"", "a", -1},          {"ab", "a", 1},           {"Zoo", "zoo", 1},
        {"aB", "Ab", -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Sign(AnsiCompare(c.a, c.b)), c.expected) << c.a << " / " << c.b;
        if (c.expected != 0 && AnsiCompareNoCase(c.a, c.b) != 0) {
            EXPECT_EQ(Sign(AnsiCompareNoCase(c.a, c.b)), c.expected) << c.a << " / " << c.b;
        }
    }
}
