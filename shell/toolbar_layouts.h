// The main frame's four toolbars as data: resource and control id, caption, the bitmaps of their
// three image lists at each size, the image lists' initial capacity and the trailing items that the
// gripper painter clears.
#pragma once
#include <string>

struct ToolBarLayout {
    int resourceId;        // toolbar resource, also the bar's control id
    const char* caption;   // window text, shown while the bar floats
    int bitmaps[2][3];     // [size mode][normal, hot, disabled]
    int capacity;          // initial image-list capacity
    int clearFirst;        // items cleared after painting, first..last; -1 for none
    int clearLast;
};

enum ToolBarKind { kStandardBar = 0, kToolsBar = 1, kFormatBar = 2, kBrowseBar = 3, kToolBarCount = 4 };

// In the order the frame creates and docks them: Standard, Tools, Format, Browse.
extern const ToolBarLayout kToolBarLayouts[kToolBarCount];

// Size modes: 0 small, 1 large.
inline int ToolBarImageSize(int sizeMode) { return sizeMode ? 24 : 16; }
inline int ToolBarButtonSize(int sizeMode) { return ToolBarImageSize(sizeMode) + 8; }
