// Where new article windows open in the MDI client.
#include <gtest/gtest.h>

#include "shell/article_placement.h"
#include "shell/toolbar_layouts.h"

TEST(ArticlePlacement, CascadesAndWrapsPerAxis)
{
    CArticlePlacement placement;
    using Rect = CArticlePlacement::Rect;
    // 85 % x 75 % of 1000 x 400 = 850 x 300.
    EXPECT_EQ(placement.Next(1000, 400, 20), (Rect{0, 0, 850, 300}));
    EXPECT_EQ(placement.Next(1000, 400, 20), (Rect{20, 20, 850, 300}));
    for (int i = 2; i <= 5; ++i)
        EXPECT_EQ(placement.Next(1000, 400, 20), (Rect{20 * i, 20 * i, 850, 300}));
    // y 120 + 300 > 400 wraps y only; x 120 + 850 fits.
    EXPECT_EQ(placement.Next(1000, 400, 20), (Rect{120, 0, 850, 300}));
    EXPECT_EQ(placement.Next(1000, 400, 20), (Rect{140, 20, 850, 300}));
    EXPECT_EQ(placement.Next(1000, 400, 20), (Rect{0, 40, 850, 300}));  // x wraps at 160

    // A known size is used as it is; a negative position starts at 0.
    placement.SetSize(300, 200);
    placement.Reset();
    EXPECT_EQ(placement.Next(1000, 400, 20), (Rect{0, 0, 300, 200}));
    // A client smaller than the window: always at 0.
    EXPECT_EQ(placement.Next(100, 100, 20), (Rect{0, 0, 300, 200}));
}

TEST(ToolBarLayouts, BitmapIdsAndSizes)
{
    EXPECT_EQ(kToolBarLayouts[kToolsBar].bitmaps[0][1], 381);  // small Tools: hot 381
    EXPECT_EQ(kToolBarLayouts[kToolsBar].bitmaps[0][2], 380);  // disabled 380
    EXPECT_EQ(kToolBarLayouts[kFormatBar].bitmaps[1][0], 324);
    EXPECT_EQ(ToolBarButtonSize(0), 24);
    EXPECT_EQ(ToolBarButtonSize(1), 32);
}
