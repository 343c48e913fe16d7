// The colour popup's decisions: key order, the choice it opens with, cell geometry and placement.
#include <gtest/gtest.h>

#include "controls/color_popup_model.h"

using namespace color_popup;

TEST(ColorPopupModel, ArrowKeysWalkEveryItemAndWrap)
{
    // Right from Other... visits custom, Automatic, the sixteen cells and comes back.
    int item = kItemOther;
    std::vector<int> visited;
    for (int i = 0; i < 19; ++i) {
        item = StepItem(item, +1);
        visited.push_back(item);
    }
    std::vector<int> expected = {kItemCustom, kItemAutomatic};
    for (int cell = 0; cell < 16; ++cell)
        expected.push_back(cell);
    expected.push_back(kItemOther);
    EXPECT_EQ(visited, expected);
    EXPECT_EQ(StepItem(15, +1), kItemOther);
    EXPECT_EQ(StepItem(kItemOther, -1), 15);
    EXPECT_EQ(StepItem(0, -1), kItemAutomatic);
    EXPECT_EQ(StepItem(kItemNone, +1), kItemCustom);  // no focus item: from Other...
}

TEST(ColorPopupModel, InitialChoiceAndEndCodes)
{
    struct Case {
        Color initial;
        int choice;
        Color custom;
    };
    const Case cases[] = {
        {0x808080, 8, 0x123456},      {0x000000, 0, 0x123456},       {0xFFFFFF, 15, 0x123456},
        {kAutomatic, kItemAutomatic, 0x123456}, {kNoColor, kItemNone, 0x123456},
        {0x808081, kItemCustom, 0x808081},  // one unit off grey is not grey
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.initial);
        InitialChoice initial = ChooseInitial(c.initial, 0x123456);
        EXPECT_EQ(initial.choice, c.choice);
        EXPECT_EQ(initial.custom, c.custom);
    }
    EXPECT_EQ(EndCodeOfItem(0), 14000);
    EXPECT_EQ(EndCodeOfItem(15), 14015);
    EXPECT_EQ(EndCodeOfItem(kItemAutomatic), 1354);
    EXPECT_EQ(EndCodeOfItem(kItemCustom), 1355);
    EXPECT_EQ(EndCodeOfItem(kItemOther), 0);
    EXPECT_EQ(EndCodeOfItem(kItemNone), kEndCancel);
    EXPECT_EQ(ColorOfItem(9, 0), 0x0000FFu);
    EXPECT_EQ(ColorOfItem(kItemCustom, 0xABCDEF), 0xABCDEFu);
    EXPECT_EQ(ColorOfItem(kItemAutomatic, 0), kAutomatic);
    EXPECT_EQ(ColorOfItem(kItemOther, 0xABCDEF), 0u);
}

TEST(ColorPopupModel, CellsAreSquareAndFiveApart)
{
    // 8 cells of 20 and 7 gaps of 5 = 195 wide; the height would allow more.
    CellGrid cells = LayOutCells({10, 20, 10 + 195, 20 + 60});
    EXPECT_EQ(cells.size, 20);
    EXPECT_EQ(cells.Cell(0), (PopupRect{10, 20, 30, 40}));
    EXPECT_EQ(cells.Cell(7), (PopupRect{185, 20, 205, 40}));
    EXPECT_EQ(cells.Cell(8), (PopupRect{10, 45, 30, 65}));
    // A flat grid: the height decides.
    EXPECT_EQ(LayOutCells({0, 0, 400, 35}).size, 15);
    EXPECT_EQ(CustomSwatch({100, 50, 140, 90}, 16, 24), (PopupRect{100, 54, 116, 70}));
}

TEST(ColorPopupModel, PopupOpensBelowItsButtonInsideTheWorkArea)
{
    const PopupRect work{0, 0, 800, 570};
    struct Case {
        PopupRect anchor;
        PopupRect expected;
    };
    const Case cases[] = {
        {{100, 100, 130, 120}, {100, 120, 300, 270}},  // room below
        {{100, 540, 130, 560}, {100, 420, 300, 570}},  // near the bottom: moved up to end at the edge
        {{700, 100, 730, 120}, {600, 120, 800, 270}},  // near the right edge
        {{-50, -400, 0, -380}, {0, 0, 200, 150}},      // anchor off the top-left
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlacePopup(c.anchor, 200, 150, work), c.expected);
}
