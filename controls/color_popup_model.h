// The decisions of the colour popup, apart from its window: the palette, the items and the order in
// which the arrow keys walk them, the choice it opens with, where its cells lie and where it opens.
#pragma once
#include <cstdint>

#include "controls/popup_layout.h"

namespace color_popup {

using Color = uint32_t;  // 0x00BBGGRR

constexpr Color kAutomatic = 0xFFFFFFFF;  // -1
constexpr Color kNoColor = 0xFFFFFFFC;    // -4: no initial colour

// Items: 0 to 15 the palette cells (row-major, eight per row), then these.
enum Item : int { kItemAutomatic = -1, kItemCustom = -2, kItemOther = -3, kItemNone = -4 };

// End codes of the popup: cancelled, Automatic, the custom colour, cell i = kEndFirstCell + i.
enum EndCode : int { kEndCancel = 2, kEndAutomatic = 1354, kEndCustom = 1355, kEndFirstCell = 14000 };

constexpr int kCells = 16;
constexpr int kColumns = 8;
constexpr int kGap = 5;

// The sixteen standard colours, cells 0 to 15.
extern const Color kPalette[kCells];

// The palette cell holding `color`, or -1.
int PaletteIndex(Color color);

// The colour an item stands for: Automatic -1, the custom colour for -2, a cell's colour, else 0.
Color ColorOfItem(int item, Color custom);

// The item the keyboard moves to from `item` with Right/Down (+1) or Left/Up (-1), in the order
// Other..., custom, Automatic, cells 0 to 15, wrapping at both ends. An item outside that order
// starts from Other....
int StepItem(int item, int step);

// What Enter or a release on `item` ends the popup with: a cell 14000 + cell, Automatic 1354, the
// custom swatch 1355; 0 for Other... (it opens the colour dialog instead); kEndCancel for none.
int EndCodeOfItem(int item);

// The choice the popup opens with, and its custom colour (which an initial colour outside the
// palette replaces).
struct InitialChoice {
    int choice;
    Color custom;
};
InitialChoice ChooseInitial(Color initial, Color custom);

// Cell geometry from the grid area: square cells, kGap apart, two rows of eight.
struct CellGrid {
    int left = 0, top = 0, size = 0;
    PopupRect Cell(int index) const;
};
CellGrid LayOutCells(const PopupRect& grid);

// The custom swatch: a square of the cell size at the swatch area's top-left, moved down to centre it
// on the Other... button's height.
PopupRect CustomSwatch(const PopupRect& swatchArea, int cellSize, int buttonHeight);

// The popup of `width` x `height` opens at the anchor's bottom-left, moved up or left to end inside
// `workArea`, and then not past its top or left edge.
PopupRect PlacePopup(const PopupRect& anchor, int width, int height, const PopupRect& workArea);

}  // namespace color_popup
