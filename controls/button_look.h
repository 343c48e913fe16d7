// How an owner-drawn push button looks, apart from drawing it: the visual-style state of its
// background and where its picture and caption go.
#pragma once

namespace button_look {

// Visual-style states of the push-button part.
enum State { kNormal = 1, kHot = 2, kPressed = 3, kDisabled = 4, kDefaulted = 5 };

struct Flags {
    bool hot = false;          // the pointer is over it
    bool focused = false;      // it has the keyboard
    bool defaultLook = false;  // drawn as if it had the keyboard
    bool selected = false;     // the mouse holds it down
    bool pushedIn = false;     // its owner's drop-down is open
    bool disabled = false;
};

// Later rules win: hot, else defaulted (focus or default look); then pressed; then disabled.
State ThemedState(const Flags& flags);

// The picture's left edge in a button `width` wide for a picture `pictureWidth` wide: centred,
// 4 pixels in from the left, or ending 7 pixels in from the right.
int PictureLeft(int width, int pictureWidth, bool centred, bool left);

}  // namespace button_look
