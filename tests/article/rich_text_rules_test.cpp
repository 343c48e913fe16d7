#include "article/rich_text_rules.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(MakeTitle, TheFirstLineWithWords)
{
    struct {
        const char* text;
        const char* title;
    } cases[] = {
        {"\r\n\r\n  two   words  \r\nsecond line\r\n", "two words"},
        {"\r\r\tone\tword \rnext", "one word"},
        {"", ""},
        {"   \r\n  \r\n", ""},
        {"no line end", "no line end"},
    };
    for (const auto& c : cases) EXPECT_EQ(MakeTitleFromText(c.text), c.title) << c.text;
}

TEST(MakeTitle, AtMostTwentyWords)
{
    std::string text;
    std::string first20;
    for (int i = 1; i <= 25; ++i) {
        text += "w" + std::to_string(i) + " ";
        if (i <= 20) first20 += (i > 1 ? " w" : "w") + std::to_string(i);
    }
    EXPECT_EQ(MakeTitleFromText(text), first20);
}

TEST(ClampSelection, EndsPastTheTextAreCut)
{
    struct {
        int32_t start, end, length, wantStart, wantEnd;
    } cases[] = {
        {5, -1, 12, 0, 12},
        {3, 40, 12, 3, 12},
        {3, 7, 12, 3, 7},
        {0, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        int32_t start = c.start, end = c.end;
        ClampSelectionRange(start, end, c.length);
        EXPECT_EQ(start, c.wantStart);
        EXPECT_EQ(end, c.wantEnd);
    }
}

TEST(RichEditVersion, OnlyVersionsAfterFiveZeroAreNewer)
{
    EXPECT_FALSE(IsNewerRichEditVersion(0x00050000));
    EXPECT_FALSE(IsNewerRichEditVersion(0x00040046));
    EXPECT_FALSE(IsNewerRichEditVersion(0x00030000));
    EXPECT_TRUE(IsNewerRichEditVersion(0x00050001));
    EXPECT_TRUE(IsNewerRichEditVersion(0x00060000));
    EXPECT_TRUE(IsNewerRichEditVersion(0x00080000));
}

TEST(DefaultCharFormat, FromTheArticleFont)
{
    LogFont font;
    font.lfHeight = -16;  // 12 points at 96 pixels an inch
    font.lfWeight = 700;
    font.lfItalic = 1;
    font.lfCharSet = 2;
    font.lfPitchAndFamily = 0x22;
    std::strcpy(font.lfFaceName, "Arial");
    CharFormat f = MakeDefaultCharFormat(font, 96, 0x123456, false, false);
    EXPECT_EQ(f.cbSize, 60u);
    EXPECT_EQ(f.dwMask, 0xF000000Fu);
    EXPECT_EQ(f.dwEffects, kCfeBold | kCfeItalic);
    EXPECT_EQ(f.yHeight, 240);
    EXPECT_EQ(f.yOffset, 0);
    EXPECT_EQ(f.crTextColor, 0x123456u);
    EXPECT_EQ(f.bCharSet, 2);
    EXPECT_EQ(f.bPitchAndFamily, 0x22);
    EXPECT_STREQ(f.szFaceName, "Arial");

    // Bold only at exactly 700; a positive height gives a positive size too; automatic colour.
    font.lfWeight = 800;
    font.lfItalic = 0;
    font.lfHeight = 20;
    f = MakeDefaultCharFormat(font, 120, 0, true, false);
    EXPECT_EQ(f.dwEffects, kCfeAutoColor);
    EXPECT_EQ(f.yHeight, 240);

    // The colour flag marks the text, automatic or not.
    f = MakeDefaultCharFormat(font, 120, 0, true, true);
    EXPECT_EQ(f.crTextColor, kMarkedTextColor);
    EXPECT_EQ(f.dwEffects & kCfeAutoColor, 0u);
}

TEST(WithoutProtection, SwitchesEveryProtectionOffAndNothingElse)
{
    struct {
        const char* rtf;
        const char* expected;
        bool changed;
    } cases[] = {
        {"{\\rtf1 a {\\cf1\\ul\\protect link} b}", "{\\rtf1 a {\\cf1\\ul\\protect0 link} b}", true},
        {"{\\protect1 x\\protect0 y}", "{\\protect0 x\\protect0 y}", true},
        {"{\\protect0 x}", "{\\protect0 x}", false},
        // A control word ended by the next one keeps its neighbours apart.
        {"{\\b\\protect\\i text}", "{\\b\\protect0\\i text}", true},
        // Not a control word: an escaped backslash, a longer word, a hex escape.
        {"{\\\\protect \\protected \\'5cprotect}", "{\\\\protect \\protected \\'5cprotect}", false},
        // Bytes after \bin are data, whatever they look like.
        {"{\\bin8 \\protect\\protect x}", "{\\bin8 \\protect\\protect0 x}", true},
        {"{\\bin99 \\protect}", "{\\bin99 \\protect}", false},
        {"no rtf at all \\", "no rtf at all \\", false},
        {"", "", false},
    };
    for (const auto& c : cases) {
        bool changed = !c.changed;
        EXPECT_EQ(WithoutProtection(c.rtf, &changed), c.expected) << c.rtf;
        EXPECT_EQ(changed, c.changed) << c.rtf;
    }
}

TEST(RtfMayHideText, OnlyAHiddenSwitchThatIsOnCounts)
{
    struct Case {
        const char* rtf;
        bool mayHide;
    };
    const Case cases[] = {
        {"{\\rtf1\\ansi plain text\\par}", false},
        {"{\\rtf1 a {\\v hidden} b}", true},
        {"{\\rtf1 a \\v1 b}", true},
        {"{\\rtf1 a \\v0 b}", false},              // switched off only
        {"{\\rtf1 \\viewkind4\\vieww100 a}", false},  // longer words that start with v
        {"{\\rtf1 a \\\\v b}", false},               // an escaped backslash, then the letter v
        {"{\\rtf1 a \\'e9v b}", false},
        {"{\\rtf1 a \\v", true},                     // at the very end
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RtfMayHideText(c.rtf), c.mayHide) << c.rtf;
}
