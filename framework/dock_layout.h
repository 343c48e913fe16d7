// Where docked control bars go inside a frame's client area: rows along the top and the bottom edge,
// each bar in its row at its place or pushed right past the bar before it, and where a bar that the
// user drags lands. Pure arithmetic over bar placements and sizes, so the rules are tested without
// windows.
#pragma once
#include <vector>

#include "framework/bar_state.h"

struct DockRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const DockRect& other) const
    {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
};

struct DockLayout {
    int topHeight = 0;     // the band the top rows take
    int bottomHeight = 0;  // the band the bottom rows take
    // Per bar, in the order of the bars given; empty for a hidden or floating bar.
    std::vector<DockRect> rects;
    // Per side, each row's top and bottom in client coordinates, in row order.
    std::vector<DockRect> topRows;
    std::vector<DockRect> bottomRows;
};

// Lays out the visible docked bars of `bars`, whose sizes are `sizes` (width in `right`, height in
// `bottom`), in a client area `width` x `height`. A row without a visible bar takes no room. A bar
// never starts left of the row's end or of the bar before it, and one placed past the right edge is
// moved left so that it ends at the edge (as far as the bars before it allow).
DockLayout LayOutDockBars(const std::vector<BarPlacement>& bars, const std::vector<DockRect>& sizes, int width,
                          int height);

// Where bar `index` lands when the user drops it with its left edge at x and the pointer at height y
// (client coordinates): on a top or bottom row whose band holds y, on a new row just outside the last row of a side (within
// `snap` pixels), or floating (then at screen position (screenX, screenY)). Sides and rows are those of
// `layout`. The other bars of a row are not moved; rows are renumbered by CBarState::CompactRows.
BarPlacement PlaceDraggedBar(const std::vector<BarPlacement>& bars, const DockLayout& layout, size_t index, int x,
                             int y, int clientHeight, int screenX, int screenY, int snap);
