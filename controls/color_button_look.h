// Where the parts of the colour button go, apart from drawing them: the drop arrow that alone opens
// the popup, the colour swatch and the caption, in classic and in themed drawing.
#pragma once
#include "controls/popup_layout.h"

namespace color_button {

struct Layout {
    PopupRect arrow;    // the drop arrow's square (themed: the combo box's drop button)
    PopupRect swatch;   // framed and filled with the colour
    PopupRect caption;  // empty (zero width) without a caption
};

// The square at the right end of `client` shrunk by 2, its side that rectangle's height: a press
// here opens the popup, a press elsewhere does nothing.
PopupRect ArrowSquare(const PopupRect& client);
bool IsOnArrow(const PopupRect& client, int x, int y);

// Classic drawing: the swatch inside `client` shrunk by 4, square at the left with a caption (which
// runs from 5 pixels after it to 7 before the arrow), else up to 7 pixels before the arrow.
Layout LayOutClassic(const PopupRect& client, bool hasCaption);

// Themed drawing: the drop button is the square at the right end of `client` (older systems: of
// `client` shrunk by 1); the swatch inside `client` shrunk by 3, square with a caption (from 3 pixels
// after it to 3 before the drop button), else up to 3 pixels before the drop button.
Layout LayOutThemed(const PopupRect& client, bool hasCaption, bool version6);

}  // namespace color_button
