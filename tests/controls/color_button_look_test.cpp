// Where the colour button's arrow, swatch and caption go, and which presses open the popup.
#include <gtest/gtest.h>

#include "controls/color_button_look.h"

using namespace color_button;

namespace {

const PopupRect kClient = {0, 0, 100, 22};

PopupRect R(int left, int top, int right, int bottom)
{
    return {left, top, right, bottom};
}

}  // namespace

TEST(ColorButtonLook, OnlyTheArrowSquareOpensThePopup)
{
    EXPECT_EQ(ArrowSquare(kClient), R(80, 2, 98, 20));
    struct Case {
        int x, y;
        bool on;
    };
    const Case cases[] = {{80, 2, true},  {97, 19, true},  {79, 10, false}, {98, 10, false},
                          {85, 1, false}, {85, 20, false}, {10, 10, false}};
    for (const Case& c : cases)
        EXPECT_EQ(IsOnArrow(kClient, c.x, c.y), c.on) << c.x << "," << c.y;
}

TEST(ColorButtonLook, ClassicAndThemedPlaces)
{
    Layout classic = LayOutClassic(kClient, false);
    EXPECT_EQ(classic.swatch, R(4, 4, 73, 18));
    EXPECT_EQ(classic.caption.Width(), 0);
    Layout captioned = LayOutClassic(kClient, true);
    EXPECT_EQ(captioned.swatch, R(4, 4, 18, 18));
    EXPECT_EQ(captioned.caption, R(23, 4, 73, 18));

    Layout themed = LayOutThemed(kClient, true, true);
    EXPECT_EQ(themed.arrow, R(78, 0, 100, 22));
    EXPECT_EQ(themed.swatch, R(3, 3, 19, 19));
    EXPECT_EQ(themed.caption, R(22, 3, 75, 19));
    Layout older = LayOutThemed(kClient, false, false);
    EXPECT_EQ(older.arrow, R(79, 1, 99, 21));
    EXPECT_EQ(older.swatch, R(3, 3, 76, 19));
}

TEST(ColorButtonLook, ATooNarrowButtonGivesEmptyPartsNotInvertedOnes)
{
    for (bool caption : {false, true}) {
        Layout layout = LayOutClassic(R(0, 0, 12, 22), caption);
        EXPECT_GE(layout.swatch.Width(), 0);
        EXPECT_GE(layout.caption.Width(), 0);
    }
}
