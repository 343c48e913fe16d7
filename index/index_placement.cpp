#include "index/index_placement.h"

IndexFrameCreate IndexFrameCreateFrom(const IndexFramePlacement& stored)
{
    IndexFrameCreate create;
    if (stored.left != IndexFramePlacement::kUseDefault && stored.top != IndexFramePlacement::kUseDefault) {
        create.useDefaultPosition = false;
        create.x = stored.left;
        create.y = stored.top;
    }
    if (stored.width != IndexFramePlacement::kUseDefault && stored.height != IndexFramePlacement::kUseDefault &&
        stored.width > 0 && stored.height > 0) {
        create.useDefaultSize = false;
        create.width = stored.width;
        create.height = stored.height;
    }
    create.maximized = stored.showState == IndexFramePlacement::kMaximized;
    create.minimized = stored.showState == IndexFramePlacement::kMinimized;
    return create;
}

TitleLineLayout LayOutTitleLine(const TitleLineInput& in)
{
    TitleLineLayout out;
    int x = 1;
    bool any = false;
    for (int c = 0; c < 5; ++c) {
        out.statusX[c] = -1;
        if (!in.statusShown[c])
            continue;
        if (any)
            x += 4;
        out.statusX[c] = x;
        x += in.statusWidth[c];
        any = true;
    }
    if (any)
        x += 4;
    if (in.showDate) {
        out.dateX = x;
        int last = in.dateWidth;
        if (in.showTime) {
            x += in.dateWidth + 10;
            out.timeX = x;
            last = in.timeWidth;
        }
        x += in.spacing + last;
    }
    out.titleX = x;
    return out;
}
