// The index frame's placement in the option store (section "Index Display": "Top", "Left", "Width",
// "Height", "Maximized") and the title line's columns: portable decisions of the index window.
#pragma once
#include <cstdint>

struct IndexFramePlacement {
    static constexpr int32_t kUseDefault = static_cast<int32_t>(0x80000000u);
    enum ShowState { kNormal = 1, kMaximized = 3, kMinimized = 6 };

    int32_t top = kUseDefault;
    int32_t left = kUseDefault;
    int32_t width = kUseDefault;
    int32_t height = kUseDefault;
    int32_t showState = kNormal;   // "Maximized"
};

// How the frame is created from the stored placement. A position or size the system chooses comes
// out as `useDefault...`; a stored width or height of 0 or less (which would make a frame nobody can
// see or grab) also lets the system choose the size.
struct IndexFrameCreate {
    bool useDefaultPosition = true;
    bool useDefaultSize = true;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool maximized = false;
    bool minimized = false;
};
IndexFrameCreate IndexFrameCreateFrom(const IndexFramePlacement& stored);

// The show state saved: maximised when the frame or the active MDI child is, minimised, else normal.
inline int32_t IndexFrameShowState(bool maximized, bool activeChildMaximized, bool minimized)
{
    if (maximized || activeChildMaximized)
        return IndexFramePlacement::kMaximized;
    return minimized ? IndexFramePlacement::kMinimized : IndexFramePlacement::kNormal;
}

// A move or size is recorded only while the frame is neither minimised nor maximised, so that
// restoring later uses the last normal rectangle.
inline bool IndexFrameRecordsRect(bool minimized, bool maximized)
{
    return !minimized && !maximized;
}

// Where the parts of one title line start, from the item's left edge.
struct TitleLineInput {
    bool statusShown[5] = {};
    int statusWidth[5] = {};   // each mark's bitmap width
    bool showDate = false;
    bool showTime = false;
    int dateWidth = 0;         // the sample date 30 December 2000 in the list font
    int timeWidth = 0;         // a formatted time of day in the list font
    int spacing = 0;           // the width of "O"
};
struct TitleLineLayout {
    int statusX[5] = {};       // -1 for a hidden column
    int dateX = -1;
    int timeX = -1;
    int titleX = 0;
};
TitleLineLayout LayOutTitleLine(const TitleLineInput& in);
// The date column's width: the date width + spacing / 2, plus the time width + 10 with the time shown.
inline int TitleDateColumnWidth(const TitleLineInput& in)
{
    return in.dateWidth + in.spacing / 2 + (in.showTime ? in.timeWidth + 10 : 0);
}
