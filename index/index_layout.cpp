#include "index/index_layout.h"

#include <algorithm>

namespace {

LayoutRect Rect(int x, int y, int width, int height)
{
    return LayoutRect{x, y, std::max(width, 0), std::max(height, 0)};
}

int MulDiv(int a, int b, int c)
{
    long long product = static_cast<long long>(a) * b;
    long long half = c / 2;
    return static_cast<int>((product >= 0 ? product + half : product - half) / c);
}

// The titles column from x = X: previews, header buttons, the titles list.
void LayOutTitles(const IndexLayoutInput& in, int X, IndexLayout& out)
{
    const int W = in.clientWidth - 4;
    const int H = in.headerHeight;
    const int L = in.clientHeight - H;
    const int s = in.themed ? 1 : 2;
    out.titlesLeft = X;
    out.previewHeight = in.previewHeight;
    int TL = L;
    if (in.previewFlags != 0) {
        if (out.previewHeight < 0)
            out.previewHeight = L / 5;
        int PH = out.previewHeight;
        TL = L - PH - 2;
        const int m = in.titlesMinHeight;
        if (TL < m) {
            TL = L < m ? 0 : m;
            PH = L - TL - 2;
        }
        const int top = H + TL + 2;
        if (in.previewFlags == 3) {
            int KW = in.catalog ? in.mainDivider : std::min(MulDiv(4, W - X, 5), in.mainDivider);
            out.articlePreview = Rect(X, top, W - KW - X - 2, PH);
            out.keywordPreview = Rect(W - KW, top, KW, PH);
        } else {
            out.articlePreview = Rect(X, top, W - X, PH);
            out.keywordPreview = out.articlePreview;
        }
    }
    int x = X + 1;
    for (int c = 0; c < kStatusColumnCount; ++c) {
        if (!in.statusShown[c])
            continue;
        out.statusHeaders[c] = Rect(x, 1, in.statusWidth[c] + 4, H);
        x += in.statusWidth[c] + 4;
    }
    if (in.showDate) {
        int width = in.dateColumnWidth + (in.catalog ? 2 : 0);
        out.dateHeader = Rect(x, 1, width, H);
        x += width;
    }
    out.titlesCaption = Rect(x, 1, W - x - s + 1, H);
    out.titlesList = Rect(X, H, W - X, TL);
    out.rightGrip = Rect(X - 8, in.clientHeight / 4, 6, in.clientHeight / 2);
}

}  // namespace

IndexLayout LayOutIndexView(const IndexLayoutInput& in)
{
    IndexLayout out;
    if (in.catalog) {
        LayOutTitles(in, 8, out);
        return out;
    }
    const int W = in.clientWidth - 4;
    const int H = in.headerHeight;
    const int L = in.clientHeight - H;
    const int s = in.themed ? 1 : 2;
    int x0 = 8;
    if (in.groupVisible) {
        // A width stored on a wider screen must not push the other lists out of the window: the group
        // list takes at most half of the width the index list may take; the stored value stays.
        int GW = std::max(0, std::min(in.groupWidth, (W - 58) / 2));
        out.groupList = Rect(4, H, GW, L);
        out.groupHeader = Rect(5, 1, GW - s, H);
        x0 = GW + 14;
    }
    int IW = std::max(0, std::min(in.listWidth, W - 58 - (x0 - 8)));
    out.indexList = Rect(x0, H, IW, L);
    out.indexHeader = Rect(x0 + 1, 1, IW - s, H);
    int x = x0 + IW + 5;
    out.moveToSelected = Rect(x, H + 2, 22, 44);
    out.moveToIndex = Rect(x, H + 51, 22, 44);
    x += 27;
    int SW = in.divider;
    if (x + SW > W - 5)
        SW = W - x - 5;
    SW = std::max(SW, 0);
    out.selectedList = Rect(x, H, SW, L);
    out.selectedHeader = Rect(x + 1, 1, SW - s, H);
    LayOutTitles(in, x + SW + 10, out);
    out.leftGrip = Rect(x0 - 8, in.clientHeight / 4, 6, in.clientHeight / 2);
    return out;
}

int HitTestDivider(const IndexLayoutInput& in, const IndexLayout& layout, int x, int y)
{
    const int H = in.headerHeight;
    if (layout.rightGrip.Contains(x, y))
        return kRightGrip;
    if (in.previewFlags != 0) {
        LayoutRect band{layout.titlesLeft, layout.titlesList.Bottom(), in.clientWidth - layout.titlesLeft, 2};
        if (band.Contains(x, y))
            return kPreviewDivider;
    }
    if (in.catalog)
        return kNoDivider;
    if (layout.leftGrip.Contains(x, y))
        return kLeftGrip;
    if (y < H || y >= in.clientHeight)
        return kNoDivider;
    if (x >= layout.indexList.Right() && x < layout.indexList.Right() + 2)
        return kIndexWidthDivider;
    if (x >= layout.selectedList.Right() && x < layout.titlesLeft)
        return kSelectedWidthDivider;
    // While the group list is hidden there is no divider to drag left of the index list.
    if (in.groupVisible && x >= layout.groupList.Right() && x < layout.indexList.x)
        return kGroupWidthDivider;
    return kNoDivider;
}

DividerDrag BeginDividerDrag(int state, const IndexLayoutInput& in, const IndexLayout& layout, int x, int y)
{
    DividerDrag drag;
    drag.state = state;
    switch (state) {
    case kIndexWidthDivider:
        drag.start = layout.indexList.Right();
        drag.low = layout.indexList.x + 40;
        drag.high = std::max(drag.low, layout.indexList.x + in.clientWidth - 58);
        break;
    case kSelectedWidthDivider:
        drag.start = x;
        drag.low = layout.selectedList.x;
        drag.high = std::max(drag.low, layout.titlesList.Right() - 5);
        break;
    case kPreviewDivider:
        drag.vertical = true;
        drag.start = y;
        drag.low = layout.titlesList.y + in.titlesMinHeight;
        drag.high = std::max(drag.low, in.clientHeight - 5);
        break;
    case kGroupWidthDivider:
        drag.start = x;
        drag.low = layout.groupList.x;
        drag.high = std::max(drag.low, layout.indexList.Right() - 5);
        break;
    default:
        drag.state = kNoDivider;
        break;
    }
    return drag;
}

void ApplyDividerDrag(const DividerDrag& drag, int position, const IndexLayoutInput& in, const IndexLayout& layout,
                      IndexDisplayValues& values)
{
    int at = drag.Clamp(position);
    switch (drag.state) {
    case kIndexWidthDivider:
        values.listWidth = at - layout.indexList.x;
        break;
    case kSelectedWidthDivider:
        values.divider = std::max(0, values.divider + at - drag.start);
        break;
    case kPreviewDivider:
        values.previewHeight = std::max(0, in.clientHeight - at - 2);
        break;
    case kGroupWidthDivider:
        // From the width shown, which a stored width from a wider screen may exceed.
        values.groupWidth = std::max(0, layout.groupList.width + at - drag.start);
        break;
    default:
        break;
    }
}
