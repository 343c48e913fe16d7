#include "shell/ui/bitmap_palette.h"

std::vector<PALETTEENTRY> BitmapPaletteEntries(HBITMAP bitmap)
{
    std::vector<PALETTEENTRY> entries;
    DIBSECTION dib = {};
    if (!bitmap || GetObjectA(bitmap, sizeof dib, &dib) != sizeof dib || dib.dsBm.bmBitsPixel > 8)
        return entries;
    const int count = 1 << dib.dsBm.bmBitsPixel;
    std::vector<RGBQUAD> table(static_cast<size_t>(count));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const UINT got = GetDIBColorTable(dc, 0, static_cast<UINT>(count), table.data());
    SelectObject(dc, old);
    DeleteDC(dc);
    for (UINT i = 0; i < got; ++i)
        entries.push_back({table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0});
    return entries;
}

HPALETTE CreateBitmapPalette(HBITMAP bitmap)
{
    const std::vector<PALETTEENTRY> entries = BitmapPaletteEntries(bitmap);
    if (entries.empty())
        return nullptr;
    std::vector<unsigned char> block(sizeof(LOGPALETTE) + entries.size() * sizeof(PALETTEENTRY));
    auto* palette = reinterpret_cast<LOGPALETTE*>(block.data());
    palette->palVersion = 0x300;
    palette->palNumEntries = static_cast<WORD>(entries.size());
    for (size_t i = 0; i < entries.size(); ++i)
        palette->palPalEntry[i] = entries[i];
    return CreatePalette(palette);
}

bool IsPaletteDisplay()
{
    HDC screen = GetDC(nullptr);
    const bool palette = (GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) != 0;
    ReleaseDC(nullptr, screen);
    return palette;
}
