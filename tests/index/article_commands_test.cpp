// The decisions of the index window's article commands: Next and Previous targets, the bookmark
// toggle, the attachment count and the pacing of addresses on a moved clock, and the Undo offered.
#include <gtest/gtest.h>

#include <vector>

#include "index/article_commands.h"

namespace {

TEST(ArticleCommandsTest, NextAndPreviousTargets)
{
    struct Case {
        int highlighted, index, count, direction, expected;
    } cases[] = {
        {1, 0, 3, 1, 1},    // Next from the first
        {1, 1, 3, 1, 2},
        {1, 2, 3, 1, -1},   // Next from the last: none (the command is off)
        {1, 2, 3, -1, 1},   // Previous
        {1, 0, 3, -1, -1},  // Previous from the first: none
        {1, 0, 1, 1, -1},   // the only title
        {2, 0, 3, 1, -1},   // two highlighted
        {0, -1, 3, 1, -1},  // none highlighted
        {1, 5, 3, 1, -1},   // an index the list no longer has
        {1, 0, 3, 0, -1},   // no direction
    };
    for (const Case& c : cases)
        EXPECT_EQ(NeighbourTitleIndex(c.highlighted, c.index, c.count, c.direction), c.expected)
            << c.highlighted << " " << c.index << " " << c.count << " " << c.direction;
}

TEST(ArticleCommandsTest, BookmarkTogglesOffOnlyWhenAllAreOn)
{
    struct Case {
        int highlighted, bookmarked;
        bool checked, target;
    } cases[] = {
        {3, 3, true, false},  // all bookmarked: checked, the command unbookmarks
        {3, 1, false, true},  // a mix: bookmarks all
        {3, 0, false, true},
        {1, 1, true, false},
        {0, 0, false, true},  // nothing highlighted is never checked
    };
    for (const Case& c : cases) {
        BookmarkTally tally{c.highlighted, c.bookmarked};
        EXPECT_EQ(tally.AllBookmarked(), c.checked) << c.highlighted << "/" << c.bookmarked;
        EXPECT_EQ(tally.Target(), c.target) << c.highlighted << "/" << c.bookmarked;
    }
}

TEST(ArticleCommandsTest, AttachmentCountAfterTheAnswer)
{
    EXPECT_FALSE(MustAskAttachmentCount(10));
    EXPECT_TRUE(MustAskAttachmentCount(11));
    struct Case {
        int openable;
        AttachmentAnswer answer;
        int expected;
    } cases[] = {
        {11, AttachmentAnswer::kYes, 11},   {11, AttachmentAnswer::kNo, 10}, {11, AttachmentAnswer::kCancel, 0},
        {10, AttachmentAnswer::kYes, 10},   {3, AttachmentAnswer::kNo, 3},   {0, AttachmentAnswer::kYes, 0},
        {250, AttachmentAnswer::kNo, 10},   {-1, AttachmentAnswer::kYes, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AttachmentsToOpen(c.openable, c.answer), c.expected) << c.openable;
}

// A clock that a test moves; waiting moves it by the time waited.
class CMovedClock : public IClock {
public:
    QuorLocalTime Now() const override { return QuorLocalTime(); }
    std::uint32_t TickCount() const override { return m_tick; }
    std::uint32_t m_tick = 0;
};

TEST(ArticleCommandsTest, AddressesAreTwoSecondsApart)
{
    CMovedClock clock;
    clock.m_tick = 0xFFFFF000u;  // near the wrap of the tick count
    std::vector<std::uint32_t> waits;
    std::vector<std::uint32_t> opened;
    CAddressPacer pacer(clock, [&](std::uint32_t ms) {
        waits.push_back(ms);
        clock.m_tick += ms;
    });
    auto open = [&] {
        pacer.BeforeAddress();
        opened.push_back(clock.m_tick);
    };
    open();                // the first goes at once
    clock.m_tick += 500;   // the next comes 0.5 s later: waits
    open();
    clock.m_tick += 2500;  // 2.5 s later: no wait
    open();
    open();                // at once again: waits
    EXPECT_EQ(waits, std::vector<std::uint32_t>({2000, 2000}));
    ASSERT_EQ(opened.size(), 4u);
    for (size_t i = 1; i < opened.size(); ++i)
        EXPECT_GE(static_cast<std::uint32_t>(opened[i] - opened[i - 1]), 2000u) << i;
}

TEST(ArticleCommandsTest, UndoOfferedByState)
{
    using Text = UndoChoice::Text;
    struct Case {
        UndoFacts facts;
        UndoAction action;
        Text text;
        bool enabled;
    } cases[] = {
        // An import to undo wins, named after the import unless it was a paste.
        {{true, false, true, true, true, true, true}, UndoAction::kUndoImport, Text::kUndoImport, true},
        {{true, true, false, false, true, false, true}, UndoAction::kUndoImport, Text::kUndo, true},
        // A cut while its articles are ours on the clipboard and the titles have the focus.
        {{false, false, true, true, true, true, true}, UndoAction::kUndoCut, Text::kUndoArticleCut, true},
        {{false, false, true, true, true, false, true}, UndoAction::kNone, Text::kUndo, false},
        {{false, false, true, false, true, true, true}, UndoAction::kNone, Text::kUndo, false},
        {{false, false, true, true, false, true, true}, UndoAction::kNone, Text::kUndo, false},
        {{false, false, false, true, true, true, true}, UndoAction::kNone, Text::kUndo, false},
        // A hidden or minimised window offers nothing.
        {{true, false, false, false, true, false, false}, UndoAction::kNone, Text::kUndo, false},
    };
    int row = 0;
    for (const Case& c : cases) {
        UndoChoice choice = DecideUndo(c.facts);
        EXPECT_EQ(choice.action, c.action) << row;
        EXPECT_EQ(choice.text, c.text) << row;
        EXPECT_EQ(choice.enabled, c.enabled) << row;
        ++row;
    }
}

}  // namespace
