// Where tips and the calendar drop-down go on the screen, and which list indexes are items.
#include <gtest/gtest.h>

#include "controls/popup_layout.h"

namespace {

const PopupRect kWork = {0, 0, 1000, 700};

}  // namespace

TEST(PopupLayout, TipsShiftLeftAtTheRightEdgeThenRightAtTheLeftEdge)
{
    struct Case {
        PopupRect tip;
        PopupRect expected;
    } cases[] = {
        {{100, 50, 300, 66}, {100, 50, 300, 66}},       // inside: unchanged
        {{900, 50, 1100, 66}, {800, 50, 1000, 66}},     // passes the right edge: ends at it
        {{-20, 50, 80, 66}, {0, 50, 100, 66}},          // starts left of the area
        {{-50, 50, 1200, 66}, {0, 50, 1250, 66}},       // wider than the area: starts at its left
        {{1000, 900, 1010, 916}, {990, 900, 1000, 916}},// vertical position is never changed
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClampHorizontally(c.tip, kWork), c.expected) << c.tip.left << "," << c.tip.right;

    // A second monitor's work area left of the first.
    PopupRect left = {-1280, 0, 0, 1024};
    EXPECT_EQ(ClampHorizontally({-100, 10, 50, 26}, left), (PopupRect{-150, 10, 0, 26}));
}

TEST(PopupLayout, ListIndexesThatAreNotItemsAreRejected)
{
    EXPECT_TRUE(IsListItem(0, 1));
    EXPECT_TRUE(IsListItem(4, 5));
    EXPECT_FALSE(IsListItem(5, 5));   // an item deleted under its tip
    EXPECT_FALSE(IsListItem(-1, 5));
    EXPECT_FALSE(IsListItem(0xFFFF, 0));  // LB_ITEMFROMPOINT of an empty list
    EXPECT_FALSE(IsListItem(0, 0));
}

TEST(PopupLayout, CalendarHangsFromTheAnchorWithThreeEqualButtonGaps)
{
    // Calendar 180 x 150, OK 75 x 23, Cancel 75 wide, anchored at right 600, top 300.
    CalendarLayout layout = LayOutCalendar(180, 150, 75, 23, 75, 600, 300, kWork);
    EXPECT_EQ(layout.window, (PopupRect{410, 300, 600, 488}));  // 190 x (150 + 23 + 15)
    EXPECT_EQ(layout.calendarLeft, 5);
    EXPECT_EQ(layout.calendarTop, 5);
    EXPECT_EQ(layout.buttonTop, 160);
    int gap = (190 - 75 - 75) / 3;
    EXPECT_EQ(layout.okLeft, gap);
    EXPECT_EQ(layout.cancelLeft, 190 - 75 - gap);
    EXPECT_NEAR(layout.cancelLeft - (layout.okLeft + 75), gap, 2);  // the middle gap takes the rounding
}

TEST(PopupLayout, CalendarNearAScreenEdgeStaysInTheWorkArea)
{
    struct Case {
        int anchorRight, anchorTop;
        PopupRect expected;
    } cases[] = {
        {100, 10, {0, 10, 190, 198}},       // would start left of the area
        {1050, 10, {810, 10, 1000, 198}},   // anchor right of the area
        {600, 650, {410, 512, 600, 700}},   // would pass the bottom: moves up
        {600, -30, {410, 0, 600, 188}},     // above the area
    };
    for (const Case& c : cases) {
        CalendarLayout layout = LayOutCalendar(180, 150, 75, 23, 75, c.anchorRight, c.anchorTop, kWork);
        EXPECT_EQ(layout.window, c.expected) << c.anchorRight << "," << c.anchorTop;
    }
}
