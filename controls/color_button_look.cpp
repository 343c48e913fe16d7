#include "controls/color_button_look.h"

#include <algorithm>

namespace color_button {

namespace {

PopupRect Shrink(const PopupRect& rect, int by)
{
    return {rect.left + by, rect.top + by, rect.right - by, rect.bottom - by};
}

PopupRect RightSquare(const PopupRect& rect)
{
    return {rect.right - rect.Height(), rect.top, rect.right, rect.bottom};
}

// The swatch in `inner`: a square at the left, or up to `gap` pixels before `arrow`; the caption
// from `captionGap` after the square to `gap` before the arrow.
Layout Place(const PopupRect& inner, const PopupRect& arrow, bool hasCaption, int gap, int captionGap)
{
    Layout layout;
    layout.arrow = arrow;
    layout.swatch = inner;
    if (hasCaption) {
        layout.swatch.right = inner.left + std::min(inner.Width(), inner.Height());
        layout.caption = {layout.swatch.right + captionGap, inner.top, arrow.left - gap, inner.bottom};
        if (layout.caption.right < layout.caption.left)
            layout.caption.right = layout.caption.left;
    } else {
        layout.swatch.right = arrow.left - gap;
        layout.caption = {layout.swatch.right, inner.top, layout.swatch.right, inner.bottom};
    }
    if (layout.swatch.right < layout.swatch.left)
        layout.swatch.right = layout.swatch.left;
    return layout;
}

}  // namespace

PopupRect ArrowSquare(const PopupRect& client)
{
    return RightSquare(Shrink(client, 2));
}

bool IsOnArrow(const PopupRect& client, int x, int y)
{
    PopupRect arrow = ArrowSquare(client);
    return x >= arrow.left && x < arrow.right && y >= arrow.top && y < arrow.bottom;
}

Layout LayOutClassic(const PopupRect& client, bool hasCaption)
{
    return Place(Shrink(client, 4), ArrowSquare(client), hasCaption, 7, 5);
}

Layout LayOutThemed(const PopupRect& client, bool hasCaption, bool version6)
{
    PopupRect drop = RightSquare(version6 ? client : Shrink(client, 1));
    return Place(Shrink(client, 3), drop, hasCaption, 3, 3);
}

}  // namespace color_button
