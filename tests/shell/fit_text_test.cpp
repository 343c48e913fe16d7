#include "shell/fit_text.h"

#include <gtest/gtest.h>

TEST(CutToFit, LongTextEndsInFullStopsWithinItsWidth)
{
    // Each character one unit wide.
    auto within = [](size_t width) { return [width](const std::string& t) { return t.size() <= width; }; };
    struct Case {
        const char* text;
        size_t width;
        const char* shown;
    } cases[] = {
        {"C:\\Notes", 20, "C:\\Notes"},
        {"C:\\Notes\\Projects\\2026", 10, "C:\\Note..."},
        {"C:\\Notes", 3, "..."},
        {"C:\\Notes", 2, ".."},   // fewer than three left: only the full stops that fit
        {"C:\\Notes", 1, "."},
        {"C:\\Notes", 0, ""},
        {"", 0, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CutToFit(c.text, within(c.width)), c.shown) << c.text << " " << c.width;
}
