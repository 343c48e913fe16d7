#include "article/link_upkeep.h"

#include <gtest/gtest.h>

#include "tests/article/link_test_support.h"

namespace {

struct UpkeepCase {
    const char* what;
    const char* before;
    int flags;
    int32_t pendingStart, pendingEnd, caret, delta;
    bool overtype;
    int32_t wordBlanks;
    const char* after;
};

}  // namespace

TEST(LinkUpkeep, LinksFollowEachKindOfEdit)
{
    const int key = kTypingKeystroke;
    const UpkeepCase cases[] = {
        {"a character typed at a link's start pushes it on", "0-2 3-6 8-10", key, 3, 3, 4, 1, false, 0, "0-2 4-7 9-11"},
        {"Backspace pulls later links back", "2-4 6-8", key, 6, 6, 5, -1, false, 0, "2-4 5-7"},
        {"Delete takes the character after the caret", "2-4 6-8", key, 5, 5, 5, -1, false, 0, "2-4 5-7"},
        {"Delete just before a link pulls it to the caret", "5-8", key, 4, 4, 4, -1, false, 0, "4-7"},
        {"a character typed over a link replaces and removes it", "5-10 12-14", key, 5, 10, 6, -4, false, 0, "8-10"},
        {"a deleted span takes its links", "0-3 5-10 12-14", key, 5, 10, 5, -5, false, 0, "0-3 7-9"},
        {"overtype changes no length", "5-8", key, 3, 3, 4, 0, true, 0, "5-8"},
        {"a word replaced, its blank kept by the control", "10-12", key | kTypingWordSelection, 5, 10, 6, -3, false, 1, "7-9"},
        {"a word replaced with its blank", "10-12", key | kTypingWordSelection, 5, 10, 6, -4, false, 1, "6-8"},
        {"the blank never reaches before the word", "8-9", key | kTypingWordSelection, 5, 6, 6, 0, false, 3, "8-9"},
        {"another change", "2-3 5-7 9-12", kTypingOther, 4, 8, 6, -2, false, 0, "2-3 7-10"},
        {"no flags, no change", "5-7", 0, 0, 9, 0, -9, false, 0, "5-7"},
    };
    for (const UpkeepCase& c : cases) {
        SCOPED_TRACE(c.what);
        CLinkRangeList links = Links(c.before);
        ChangeFacts facts;
        facts.flags = c.flags;
        facts.pendingStart = c.pendingStart;
        facts.pendingEnd = c.pendingEnd;
        facts.caret = c.caret;
        facts.lengthDelta = c.delta;
        facts.overtype = c.overtype;
        facts.wordBlanks = c.wordBlanks;
        KeepLinksInStep(links, facts);
        EXPECT_EQ(Describe(links), c.after);
    }
}

TEST(LinkUpkeep, ACharacterBetweenTouchingLinksGetsTheDefaultFormat)
{
    CLinkRangeList links = Links("0-5 5-10");
    ChangeFacts facts;
    facts.flags = kTypingKeystroke | kTypingTouchingLinks;
    facts.pendingStart = facts.pendingEnd = 5;
    facts.caret = 6;
    facts.lengthDelta = 1;
    ChangeOutcome outcome = KeepLinksInStep(links, facts);
    EXPECT_EQ(Describe(links), "0-5 6-11");
    EXPECT_EQ(outcome.defaultFormatStart, 5);
    EXPECT_EQ(outcome.defaultFormatEnd, 6);
}

TEST(LinkUpkeep, ADropMovesLinksAfterTheReplacedSelection)
{
    CLinkRangeList links = Links("1-2 10-12");
    ChangeFacts facts;
    facts.flags = kTypingDrop;
    facts.dropStart = 4;
    facts.dropEnd = 6;
    facts.caret = 9;
    KeepLinksInStep(links, facts);
    EXPECT_EQ(Describe(links), "1-2 13-15");
}

TEST(LinkUpkeep, PasteAndCutThroughTheEditMessages)
{
    CLinkRangeList links = Links("0-5 5-8");
    ShiftLinksAfterEdit(links, 5, 5, 3);  // pasted three characters between the two
    EXPECT_EQ(Describe(links), "0-5 8-11");
    links = Links("4-6 10-12");
    ShiftLinksAfterEdit(links, 3, 8, -5);  // cut 3..8
    EXPECT_EQ(Describe(links), "5-7");
}

TEST(LinkUpkeep, ReplaceAllLeavesAnOccurrenceReachingOutOfALink)
{
    struct Case {
        const char* what;
        const char* links;
        int32_t start, end;
        bool replace;
        int32_t resumeAt;
    } const cases[] = {
        {"no links", "", 3, 6, true, 0},
        {"wholly inside a link", "2-10", 3, 6, true, 0},
        {"exactly a link", "3-6", 3, 6, true, 0},
        {"touching a link's end does not count", "0-3", 3, 6, true, 0},
        {"touching a link's start does not count", "6-9", 3, 6, true, 0},
        {"reaching into a link's start", "5-9", 3, 6, false, 9},
        {"reaching out of a link's end", "0-4", 3, 6, false, 4},
        {"holding a whole link and more", "4-5", 3, 6, false, 5},
        {"the second of two touching links", "0-3 3-5", 3, 6, false, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ReplaceMatchRule rule = DecideReplaceMatch(Links(c.links), c.start, c.end);
        EXPECT_EQ(rule.replace, c.replace);
        if (!c.replace) {
            EXPECT_EQ(rule.resumeAt, c.resumeAt);
        }
    }
}

TEST(LinkUpkeep, ReplaceAllKeepsLinksOnTheirText)
{
    struct Case {
        const char* what;
        const char* before;
        int32_t start, end, delta;
        const char* after;
    } const cases[] = {
        {"links behind move", "0-2 8-10", 3, 6, 2, "0-2 10-12"},
        {"a link starting right behind moves", "6-9", 3, 6, -1, "5-8"},
        {"a link ending right before stays", "0-3", 3, 6, 4, "0-3"},
        {"the link holding it stretches", "2-10 12-14", 3, 6, 2, "2-12 14-16"},
        {"the link holding it shrinks", "2-10 12-14", 3, 6, -3, "2-7 9-11"},
        {"a link that was the occurrence takes the replacement", "0-1 3-6 7-8", 3, 6, 1, "0-1 3-7 8-9"},
        {"a link whose whole text went is removed", "0-1 3-6 7-8", 3, 6, -3, "0-1 4-5"},
        {"a link keeping characters shrinks", "3-8", 3, 6, -3, "3-5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CLinkRangeList links = Links(c.before);
        KeepLinksAfterReplace(links, c.start, c.end, c.delta);
        EXPECT_EQ(Describe(links), c.after);
    }
}
