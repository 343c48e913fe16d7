// Pictures with a colour table shown through their own palette on palette displays.
#pragma once
#include <windows.h>

#include <vector>

// The logical-palette entries for DIB section `bitmap`: its colour table in order, red, green and
// blue moved from RGBQUAD into PALETTEENTRY order, flags 0. Empty for a bitmap without a table.
std::vector<PALETTEENTRY> BitmapPaletteEntries(HBITMAP bitmap);
// A palette of those entries (version 0x300), or nullptr.
HPALETTE CreateBitmapPalette(HBITMAP bitmap);
// True on a palette-based display (RASTERCAPS has RC_PALETTE).
bool IsPaletteDisplay();
