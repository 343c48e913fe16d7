// The look of the program's owner-drawn buttons: state precedence and picture placement.
#include <gtest/gtest.h>

#include "controls/button_look.h"

using namespace button_look;

TEST(ButtonLook, LaterRulesWin)
{
    struct Case {
        Flags flags;
        State state;
    };
    auto f = [](bool hot, bool focused, bool defaultLook, bool selected, bool pushedIn, bool disabled) {
        Flags flags;
        flags.hot = hot;
        flags.focused = focused;
        flags.defaultLook = defaultLook;
        flags.selected = selected;
        flags.pushedIn = pushedIn;
        flags.disabled = disabled;
        return flags;
    };
    const Case cases[] = {
        {f(0, 0, 0, 0, 0, 0), kNormal},   {f(1, 0, 0, 0, 0, 0), kHot},      {f(0, 1, 0, 0, 0, 0), kDefaulted},
        {f(0, 0, 1, 0, 0, 0), kDefaulted}, {f(1, 1, 0, 0, 0, 0), kHot},     {f(1, 0, 0, 1, 0, 0), kPressed},
        {f(0, 0, 0, 0, 1, 0), kPressed},  {f(1, 1, 1, 1, 1, 1), kDisabled}, {f(0, 0, 0, 0, 0, 1), kDisabled},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ThemedState(c.flags), c.state);
}

TEST(ButtonLook, PicturePlaces)
{
    EXPECT_EQ(PictureLeft(100, 16, true, false), 42);
    EXPECT_EQ(PictureLeft(100, 16, false, true), 4);
    EXPECT_EQ(PictureLeft(100, 16, false, false), 77);
    EXPECT_EQ(PictureLeft(100, 16, true, true), 42);  // centred wins
}
