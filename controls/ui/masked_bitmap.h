// A picture with a transparent colour: the image from a bitmap resource and two monochrome masks
// made from it, drawn over any background in one copy so that it does not flicker.
#pragma once
#include <windows.h>

#include "framework/ui/gdi.h"

class CMaskedBitmap {
public:
    CMaskedBitmap() = default;
    virtual ~CMaskedBitmap() = default;
    CMaskedBitmap(const CMaskedBitmap&) = delete;
    CMaskedBitmap& operator=(const CMaskedBitmap&) = delete;

    // Loads bitmap `id`; pixels of exactly `transparent` let the background show. A bitmap that
    // does not load leaves the picture empty.
    bool Load(int id, COLORREF transparent);
    // Draws with the top-left corner at (x, y), or with the right edge at x when `rightAligned`.
    void Draw(HDC dc, int x, int y, bool rightAligned = false) const;
    SIZE GetSize() const;
    bool IsEmpty() const { return !m_image; }

private:
    CBitmap m_mask;         // 1 where the picture is transparent
    CBitmap m_inverseMask;  // 1 where it is opaque
    CBitmap m_image;
};
