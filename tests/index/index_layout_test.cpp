#include <gtest/gtest.h>

#include "index/index_layout.h"
#include "index/index_placement.h"

namespace {

LayoutRect R(int x, int y, int width, int height)
{
    return LayoutRect{x, y, width, height};
}

::testing::AssertionResult Same(const LayoutRect& actual, const LayoutRect& expected)
{
    if (actual == expected)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << actual.x << ", " << actual.y << ", " << actual.width << ", "
                                         << actual.height << ") instead of (" << expected.x << ", " << expected.y
                                         << ", " << expected.width << ", " << expected.height << ")";
}

// An 800 x 600 client, header row 20, classic look, lists 100 wide, no previews, no columns.
IndexLayoutInput Standard()
{
    IndexLayoutInput in;
    in.clientWidth = 800;
    in.clientHeight = 600;
    in.headerHeight = 20;
    in.titlesMinHeight = 20;
    return in;
}

TEST(IndexLayout, NormalLayoutPlacesEveryPane)
{
    IndexLayout l = LayOutIndexView(Standard());
    EXPECT_TRUE(Same(l.indexList, R(8, 20, 100, 580)));
    EXPECT_TRUE(Same(l.indexHeader, R(9, 1, 98, 20)));
    EXPECT_TRUE(Same(l.moveToSelected, R(113, 22, 22, 44)));
    EXPECT_TRUE(Same(l.moveToIndex, R(113, 71, 22, 44)));
    EXPECT_TRUE(Same(l.selectedList, R(140, 20, 100, 580)));
    EXPECT_TRUE(Same(l.selectedHeader, R(141, 1, 98, 20)));
    EXPECT_TRUE(Same(l.titlesList, R(250, 20, 546, 580)));
    EXPECT_TRUE(Same(l.titlesCaption, R(251, 1, 544, 20)));
    EXPECT_TRUE(Same(l.rightGrip, R(242, 150, 6, 300)));
    EXPECT_TRUE(Same(l.leftGrip, R(0, 150, 6, 300)));
    EXPECT_EQ(l.groupList.width, 0);

    IndexLayoutInput themed = Standard();
    themed.themed = true;
    EXPECT_TRUE(Same(LayOutIndexView(themed).indexHeader, R(9, 1, 99, 20)));
}

TEST(IndexLayout, NarrowClientsLimitTheIndexAndSelectedLists)
{
    struct Case {
        int clientWidth;
        LayoutRect index;
        LayoutRect selected;
    };
    const Case cases[] = {
        {800, R(8, 20, 100, 580), R(140, 20, 100, 580)},
        {200, R(8, 20, 100, 580), R(140, 20, 51, 580)},  // selected list ends 5 before W = 196
        {120, R(8, 20, 58, 580), R(98, 20, 13, 580)},    // index list at most W - 58
        {60, R(8, 20, 0, 580), R(40, 20, 11, 580)},
    };
    for (const Case& test : cases) {
        IndexLayoutInput in = Standard();
        in.clientWidth = test.clientWidth;
        IndexLayout l = LayOutIndexView(in);
        EXPECT_TRUE(Same(l.indexList, test.index)) << test.clientWidth;
        EXPECT_TRUE(Same(l.selectedList, test.selected)) << test.clientWidth;
        EXPECT_LE(l.indexList.width, test.clientWidth - 58);
    }
}

TEST(IndexLayout, GroupPaneAndAStoredWidthFromAWiderScreen)
{
    IndexLayoutInput in = Standard();
    in.groupVisible = true;
    IndexLayout l = LayOutIndexView(in);
    EXPECT_TRUE(Same(l.groupList, R(4, 20, 100, 580)));
    EXPECT_TRUE(Same(l.groupHeader, R(5, 1, 98, 20)));
    EXPECT_TRUE(Same(l.indexList, R(114, 20, 100, 580)));
    EXPECT_TRUE(Same(l.leftGrip, R(106, 150, 6, 300)));

    in.groupWidth = 5000;
    l = LayOutIndexView(in);
    EXPECT_EQ(l.groupList.width, 369);
    EXPECT_GT(l.indexList.width, 0);
    EXPECT_GT(l.selectedList.width, 0);
    EXPECT_GT(l.titlesList.width, 0);
    EXPECT_LT(l.titlesList.Right(), 800);
    EXPECT_EQ(in.groupWidth, 5000);  // the stored value is kept
}

TEST(IndexLayout, PreviewsAndTheTitlesMinimumHeight)
{
    struct Case {
        const char* name;
        int clientHeight;
        int flags;
        int previewHeight;
        int titlesHeight;
        LayoutRect article;
        int keptHeight;
    };
    const Case cases[] = {
        {"no preview", 600, 0, 50, 580, R(0, 0, 0, 0), 50},
        {"unset height becomes a fifth", 600, 1, -1, 462, R(250, 484, 546, 116), 116},
        {"stored height", 600, 2, 100, 478, R(250, 500, 546, 100), 100},
        {"too tall leaves the minimum", 600, 1, 1000, 20, R(250, 42, 546, 558), 1000},
        {"not even the minimum fits", 30, 1, 1000, 0, R(250, 22, 546, 8), 1000},
    };
    for (const Case& test : cases) {
        IndexLayoutInput in = Standard();
        in.clientHeight = test.clientHeight;
        in.previewFlags = test.flags;
        in.previewHeight = test.previewHeight;
        IndexLayout l = LayOutIndexView(in);
        EXPECT_EQ(l.titlesList.height, test.titlesHeight) << test.name;
        EXPECT_TRUE(Same(l.articlePreview, test.article)) << test.name;
        EXPECT_EQ(l.previewHeight, test.keptHeight) << test.name;
    }
}

TEST(IndexLayout, BothPreviewsShareTheWidth)
{
    IndexLayoutInput in = Standard();
    in.previewFlags = 3;
    in.previewHeight = 100;
    in.mainDivider = 1000;
    IndexLayout l = LayOutIndexView(in);
    EXPECT_TRUE(Same(l.keywordPreview, R(359, 500, 437, 100)));  // 4/5 of the titles column at most
    EXPECT_TRUE(Same(l.articlePreview, R(250, 500, 107, 100)));
    in.mainDivider = 150;
    l = LayOutIndexView(in);
    EXPECT_TRUE(Same(l.keywordPreview, R(646, 500, 150, 100)));
    in.catalog = true;
    in.mainDivider = 1000;
    l = LayOutIndexView(in);
    EXPECT_TRUE(Same(l.keywordPreview, R(-204, 500, 1000, 100)));  // no cap in catalog mode
}

TEST(IndexLayout, CatalogShowsTheTitlesColumnAndTheRightGripOnly)
{
    IndexLayoutInput in = Standard();
    in.catalog = true;
    in.groupVisible = true;
    in.showDate = true;
    in.dateColumnWidth = 80;
    IndexLayout l = LayOutIndexView(in);
    EXPECT_TRUE(Same(l.titlesList, R(8, 20, 788, 580)));
    EXPECT_TRUE(Same(l.dateHeader, R(9, 1, 82, 20)));  // 2 wider than normal
    EXPECT_TRUE(Same(l.rightGrip, R(0, 150, 6, 300)));
    EXPECT_EQ(l.leftGrip.width, 0);
    EXPECT_EQ(l.indexList.width, 0);
    EXPECT_EQ(l.groupList.width, 0);
    EXPECT_EQ(HitTestDivider(in, l, 3, 300), kRightGrip);
    EXPECT_EQ(HitTestDivider(in, l, 300, 300), kNoDivider);
}

TEST(IndexLayout, ColumnHeadersFollowTheirSettings)
{
    IndexLayoutInput in = Standard();
    in.statusShown[kTagColumn] = true;
    in.statusWidth[kTagColumn] = 16;
    in.statusShown[kReminderColumn] = true;
    in.statusWidth[kReminderColumn] = 12;
    in.statusWidth[kAttachmentColumn] = 30;  // hidden: takes no room
    in.showDate = true;
    in.dateColumnWidth = 80;
    IndexLayout l = LayOutIndexView(in);
    EXPECT_TRUE(Same(l.statusHeaders[kTagColumn], R(251, 1, 20, 20)));
    EXPECT_TRUE(Same(l.statusHeaders[kReminderColumn], R(271, 1, 16, 20)));
    EXPECT_EQ(l.statusHeaders[kAttachmentColumn].width, 0);
    EXPECT_TRUE(Same(l.dateHeader, R(287, 1, 80, 20)));
    EXPECT_TRUE(Same(l.titlesCaption, R(367, 1, 428, 20)));
}

TEST(IndexLayout, DividerBandsAndGrips)
{
    IndexLayoutInput in = Standard();
    in.groupVisible = true;
    in.previewFlags = 1;
    in.previewHeight = 100;
    IndexLayout l = LayOutIndexView(in);
    // group 4..104, index 114..214, selected 246..346, titles from 356, preview band at y 498..500
    struct Case {
        int x, y, state;
    };
    const Case cases[] = {
        {214, 100, kIndexWidthDivider}, {215, 100, kIndexWidthDivider}, {216, 100, kNoDivider},
        {350, 100, kSelectedWidthDivider}, {349, 300, kRightGrip},     {108, 300, kLeftGrip},
        {108, 100, kGroupWidthDivider},   {400, 498, kPreviewDivider}, {400, 500, kNoDivider},
        {214, 10, kNoDivider},            {150, 100, kNoDivider},
    };
    for (const Case& test : cases)
        EXPECT_EQ(HitTestDivider(in, l, test.x, test.y), test.state) << test.x << "," << test.y;
    in.groupVisible = false;
    l = LayOutIndexView(in);
    EXPECT_EQ(HitTestDivider(in, l, 4, 100), kNoDivider);  // no group divider while the pane is hidden
}

TEST(IndexLayout, EachDragKeepsItsLimits)
{
    IndexLayoutInput in = Standard();
    in.groupVisible = true;
    in.previewFlags = 1;
    in.previewHeight = 100;
    IndexLayout l = LayOutIndexView(in);
    struct Case {
        const char* name;
        int state;
        int pressX, pressY;
        int releaseAt;
        IndexDisplayValues expected;
    };
    IndexDisplayValues base;
    auto with = [&](auto change) {
        IndexDisplayValues v = base;
        change(v);
        return v;
    };
    const Case cases[] = {
        {"index wider", kIndexWidthDivider, 214, 100, 264, with([](IndexDisplayValues& v) { v.listWidth = 150; })},
        {"index at least 40", kIndexWidthDivider, 214, 100, 0, with([](IndexDisplayValues& v) { v.listWidth = 40; })},
        {"index at most client - 58", kIndexWidthDivider, 214, 100, 5000,
         with([](IndexDisplayValues& v) { v.listWidth = 742; })},
        {"selected by the distance", kSelectedWidthDivider, 350, 100, 380,
         with([](IndexDisplayValues& v) { v.divider = 130; })},
        {"selected not below its left edge", kSelectedWidthDivider, 350, 100, 0,
         with([](IndexDisplayValues& v) { v.divider = 0; })},
        {"preview height", kPreviewDivider, 400, 498, 400, with([](IndexDisplayValues& v) { v.previewHeight = 198; })},
        {"preview keeps the titles minimum", kPreviewDivider, 400, 498, 0,
         with([](IndexDisplayValues& v) { v.previewHeight = 558; })},
        {"preview leaves 5 at the bottom", kPreviewDivider, 400, 498, 5000,
         with([](IndexDisplayValues& v) { v.previewHeight = 3; })},
        {"group by the distance", kGroupWidthDivider, 108, 100, 58, with([](IndexDisplayValues& v) { v.groupWidth = 50; })},
        {"group not below 0", kGroupWidthDivider, 108, 100, -100, with([](IndexDisplayValues& v) { v.groupWidth = 0; })},
    };
    for (const Case& test : cases) {
        DividerDrag drag = BeginDividerDrag(test.state, in, l, test.pressX, test.pressY);
        IndexDisplayValues values = base;
        ApplyDividerDrag(drag, test.releaseAt, in, l, values);
        EXPECT_EQ(values.listWidth, test.expected.listWidth) << test.name;
        EXPECT_EQ(values.divider, test.expected.divider) << test.name;
        EXPECT_EQ(values.previewHeight, test.expected.previewHeight) << test.name;
        EXPECT_EQ(values.groupWidth, test.expected.groupWidth) << test.name;
    }
}

TEST(IndexDisplayValues, AListWidthOfZeroOrLessReadsAs100)
{
    EXPECT_EQ(IndexDisplayValues::ReadListWidth(0), 100);
    EXPECT_EQ(IndexDisplayValues::ReadListWidth(-7), 100);
    EXPECT_EQ(IndexDisplayValues::ReadListWidth(1), 1);
    EXPECT_EQ(IndexDisplayValues::ReadListWidth(250), 250);
}

TEST(IndexFramePlacement, CreationFromStoredValues)
{
    const int32_t D = IndexFramePlacement::kUseDefault;
    struct Case {
        const char* name;
        IndexFramePlacement stored;
        IndexFrameCreate expected;
    };
    const Case cases[] = {
        {"first start", {D, D, D, D, 1}, {true, true, 0, 0, 0, 0, false, false}},
        {"stored rectangle", {10, 20, 300, 200, 1}, {false, false, 20, 10, 300, 200, false, false}},
        {"maximised", {10, 20, 300, 200, 3}, {false, false, 20, 10, 300, 200, true, false}},
        {"minimised", {10, 20, 300, 200, 6}, {false, false, 20, 10, 300, 200, false, true}},
        {"zero width takes the system's size", {10, 20, 0, 200, 1}, {false, true, 20, 10, 0, 0, false, false}},
        {"negative height takes the system's size", {10, 20, 300, -5, 1}, {false, true, 20, 10, 0, 0, false, false}},
    };
    for (const Case& test : cases) {
        IndexFrameCreate c = IndexFrameCreateFrom(test.stored);
        EXPECT_EQ(c.useDefaultPosition, test.expected.useDefaultPosition) << test.name;
        EXPECT_EQ(c.useDefaultSize, test.expected.useDefaultSize) << test.name;
        EXPECT_EQ(c.x, test.expected.x) << test.name;
        EXPECT_EQ(c.y, test.expected.y) << test.name;
        EXPECT_EQ(c.width, test.expected.width) << test.name;
        EXPECT_EQ(c.height, test.expected.height) << test.name;
        EXPECT_EQ(c.maximized, test.expected.maximized) << test.name;
        EXPECT_EQ(c.minimized, test.expected.minimized) << test.name;
    }
    EXPECT_EQ(IndexFrameShowState(true, false, false), 3);
    EXPECT_EQ(IndexFrameShowState(false, true, false), 3);
    EXPECT_EQ(IndexFrameShowState(false, false, true), 6);
    EXPECT_EQ(IndexFrameShowState(false, false, false), 1);
    EXPECT_TRUE(IndexFrameRecordsRect(false, false));
    EXPECT_FALSE(IndexFrameRecordsRect(true, false));
    EXPECT_FALSE(IndexFrameRecordsRect(false, true));
}

TEST(TitleLine, ColumnsInOrderEachByItsSetting)
{
    TitleLineInput in;
    in.statusWidth[0] = 16;
    in.statusWidth[1] = 10;
    in.statusWidth[4] = 12;
    in.dateWidth = 70;
    in.timeWidth = 40;
    in.spacing = 8;
    TitleLineLayout l = LayOutTitleLine(in);
    EXPECT_EQ(l.titleX, 1);  // all off: the title starts at 1 pixel
    EXPECT_EQ(l.dateX, -1);

    in.statusShown[0] = true;
    in.statusShown[4] = true;
    l = LayOutTitleLine(in);
    EXPECT_EQ(l.statusX[0], 1);
    EXPECT_EQ(l.statusX[1], -1);
    EXPECT_EQ(l.statusX[4], 21);   // 1 + 16 + 4
    EXPECT_EQ(l.titleX, 37);       // 21 + 12 + 4

    in.showDate = true;
    l = LayOutTitleLine(in);
    EXPECT_EQ(l.dateX, 37);
    EXPECT_EQ(l.titleX, 37 + 8 + 70);
    EXPECT_EQ(TitleDateColumnWidth(in), 74);

    in.showTime = true;
    l = LayOutTitleLine(in);
    EXPECT_EQ(l.timeX, 37 + 70 + 10);
    EXPECT_EQ(l.titleX, 117 + 8 + 40);
    EXPECT_EQ(TitleDateColumnWidth(in), 74 + 50);
}

}  // namespace
