// What the main frame's four toolbars share: their three image lists built from the bitmaps of
// their size, the double gripper line at their left end, and the items they clear after painting.
#pragma once
#include <windows.h>

#include "framework/ui/gdi.h"
#include "shell/toolbar_layouts.h"

class CToolBar;

struct CBarImages {
    CImageList normal;
    CImageList hot;
    CImageList disabled;

    // Builds the three lists from the layout's bitmaps for `sizeMode` (magenta is transparent) and
    // hands them to the bar; sets the button and image sizes. False when a bitmap is missing.
    bool Load(CToolBar& bar, const ToolBarLayout& layout, int sizeMode);
};

// Paints the gripper over items 0 and 1 and fills items clearFirst..clearLast with the bar's
// background, after the control painted itself.
void PaintBarDecoration(CToolBar& bar, HDC dc, int clearFirst, int clearLast);
