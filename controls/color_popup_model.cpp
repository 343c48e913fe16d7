#include "controls/color_popup_model.h"

#include <algorithm>

namespace color_popup {

const Color kPalette[kCells] = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
    0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
};

int PaletteIndex(Color color)
{
    for (int i = 0; i < kCells; ++i)
        if (kPalette[i] == color)
            return i;
    return -1;
}

Color ColorOfItem(int item, Color custom)
{
    if (item == kItemAutomatic)
        return kAutomatic;
    if (item == kItemCustom)
        return custom;
    if (item >= 0 && item < kCells)
        return kPalette[item];
    return 0;
}

int StepItem(int item, int step)
{
    // Positions 0 .. 18 stand for items -3 .. 15.
    constexpr int kFirst = kItemOther;
    constexpr int kCount = kCells - kFirst;
    int position = (item >= kFirst && item < kCells) ? item - kFirst : 0;
    position = ((position + step) % kCount + kCount) % kCount;
    return position + kFirst;
}

int EndCodeOfItem(int item)
{
    if (item >= 0 && item < kCells)
        return kEndFirstCell + item;
    switch (item) {
    case kItemAutomatic:
        return kEndAutomatic;
    case kItemCustom:
        return kEndCustom;
    case kItemOther:
        return 0;
    default:
        return kEndCancel;
    }
}

InitialChoice ChooseInitial(Color initial, Color custom)
{
    if (initial == kAutomatic)
        return {kItemAutomatic, custom};
    if (initial == kNoColor)
        return {kItemNone, custom};
    int cell = PaletteIndex(initial);
    if (cell >= 0)
        return {cell, custom};
    return {kItemCustom, initial};
}

PopupRect CellGrid::Cell(int index) const
{
    PopupRect rect;
    rect.left = left + (index % kColumns) * (size + kGap);
    rect.top = top + (index / kColumns) * (size + kGap);
    rect.right = rect.left + size;
    rect.bottom = rect.top + size;
    return rect;
}

CellGrid LayOutCells(const PopupRect& grid)
{
    CellGrid cells;
    cells.left = grid.left;
    cells.top = grid.top;
    int width = (grid.Width() - 7 * kGap) / kColumns;
    int height = (grid.Height() - kGap) / 2;
    cells.size = std::max(0, std::min(width, height));
    return cells;
}

PopupRect CustomSwatch(const PopupRect& swatchArea, int cellSize, int buttonHeight)
{
    PopupRect rect;
    rect.left = swatchArea.left;
    rect.top = swatchArea.top + (buttonHeight - cellSize) / 2;
    rect.right = rect.left + cellSize;
    rect.bottom = rect.top + cellSize;
    return rect;
}

PopupRect PlacePopup(const PopupRect& anchor, int width, int height, const PopupRect& workArea)
{
    PopupRect rect{anchor.left, anchor.bottom, anchor.left + width, anchor.bottom + height};
    return ClampIntoArea(rect, workArea);
}

}  // namespace color_popup
