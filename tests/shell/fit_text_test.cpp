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

TEST(WrapPathToWidth, BreaksAfterBackslashesAndBlanks)
{
    // One unit of width per character.
    auto measure = [](const std::string& text) { return static_cast<int>(text.size()); };
    struct Case {
        const char* path;
        int width;
        const char* wrapped;
    } cases[] = {
        {"C:\\Data\\kb.xrd", 40, "C:\\Data\\kb.xrd"},
        {"C:\\Data\\kb.xrd", 10, "C:\\Data\\\r\nkb.xrd"},
        {"C:\\My Documents\\Notes\\kb.xrd", 12, "C:\\My \r\nDocuments\\\r\nNotes\\kb.xrd"},
        {"C:\\Documents\\My Notes\\file.xrd", 14, "C:\\Documents\\\r\nMy Notes\\\r\nfile.xrd"},
        // A piece wider than the line stands alone.
        {"C:\\AVeryLongFolderName\\x.xrd", 8, "C:\\\r\nAVeryLongFolderName\\\r\nx.xrd"},
        {"", 10, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WrapPathToWidth(c.path, c.width, measure), c.wrapped) << c.path;
}
