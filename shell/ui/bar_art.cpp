#include "shell/ui/bar_art.h"

#include <commctrl.h>

#include "framework/ui/tool_bar.h"

namespace {

constexpr COLORREF kMaskColor = RGB(255, 0, 255);

CImageList MakeList(int bitmapId, int size, int capacity)
{
    CBitmap bitmap(static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!bitmap)
        return CImageList();
    CImageList list(ImageList_Create(size, size, ILC_COLORDDB | ILC_MASK, capacity, 1));
    if (list && ImageList_AddMasked(list, bitmap, kMaskColor) < 0)
        list.Reset();
    return list;
}

}  // namespace

bool CBarImages::Load(CToolBar& bar, const ToolBarLayout& layout, int sizeMode)
{
    const int size = ToolBarImageSize(sizeMode);
    const int* ids = layout.bitmaps[sizeMode ? 1 : 0];
    normal = MakeList(ids[0], size, layout.capacity);
    hot = MakeList(ids[1], size, layout.capacity);
    disabled = MakeList(ids[2], size, layout.capacity);
    if (!normal || !hot || !disabled)
        return false;
    // The control keeps the lists but does not free them; this object does, after the control.
    bar.SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(normal.Get()));
    bar.SendMessage(TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(hot.Get()));
    bar.SendMessage(TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(disabled.Get()));
    const int button = ToolBarButtonSize(sizeMode);
    bar.SetSizes({button, button}, {size, size});
    return true;
}

void PaintBarDecoration(CToolBar& bar, HDC dc, int clearFirst, int clearLast)
{
    HBRUSH background = reinterpret_cast<HBRUSH>(GetClassLongPtrA(bar.m_hWnd, GCLP_HBRBACKGROUND));
    CBrush face;
    if (!background) {
        face.Reset(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
        background = face;
    }
    if (bar.GetCount() >= 2) {
        const int offsets[2] = {2, 0};
        for (int item = 0; item < 2; ++item) {
            RECT rect = bar.GetItemRect(item);
            FillRect(dc, &rect, background);
            rect.top += 2;
            rect.bottom -= 2;
            RECT line = {rect.left + offsets[item], rect.top, rect.left + offsets[item] + 3, rect.bottom};
            FillRect(dc, &line, GetSysColorBrush(COLOR_BTNSHADOW));
            RECT light = {line.left, line.top, line.right - 1, line.bottom - 1};
            FillRect(dc, &light, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
            RECT inside = {line.left + 1, line.top + 1, line.right - 1, line.bottom - 1};
            FillRect(dc, &inside, background);
        }
    }
    for (int item = clearFirst; item >= 0 && item <= clearLast && item < bar.GetCount(); ++item) {
        RECT rect = bar.GetItemRect(item);
        FillRect(dc, &rect, background);
    }
}
