#include "controls/button_look.h"

namespace button_look {

State ThemedState(const Flags& flags)
{
    State state = kNormal;
    if (flags.hot)
        state = kHot;
    else if (flags.focused || flags.defaultLook)
        state = kDefaulted;
    if (flags.selected || flags.pushedIn)
        state = kPressed;
    if (flags.disabled)
        state = kDisabled;
    return state;
}

int PictureLeft(int width, int pictureWidth, bool centred, bool left)
{
    if (centred)
        return (width - pictureWidth) / 2;
    if (left)
        return 4;
    return width - 7 - pictureWidth;
}

}  // namespace button_look
