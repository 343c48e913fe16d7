#include "controls/ui/masked_bitmap.h"

bool CMaskedBitmap::Load(int id, COLORREF transparent)
{
    m_mask.Reset();
    m_inverseMask.Reset();
    m_image.Reset(LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id)));
    if (!m_image)
        return false;
    SIZE size = GetSize();
    m_mask.Reset(CreateBitmap(size.cx, size.cy, 1, 1, nullptr));
    m_inverseMask.Reset(CreateBitmap(size.cx, size.cy, 1, 1, nullptr));
    CMemoryDC imageDC;
    CMemoryDC maskDC;
    CSelectObject selectImage(imageDC, m_image);
    {
        CSelectObject selectMask(maskDC, m_mask);
        // Copying colour to monochrome gives 1 where the source has the background colour.
        SetBkColor(imageDC, transparent);
        BitBlt(maskDC, 0, 0, size.cx, size.cy, imageDC, 0, 0, SRCCOPY);
    }
    CMemoryDC inverseDC;
    CSelectObject selectMask(maskDC, m_mask);
    CSelectObject selectInverse(inverseDC, m_inverseMask);
    BitBlt(inverseDC, 0, 0, size.cx, size.cy, maskDC, 0, 0, NOTSRCCOPY);
    return true;
}

SIZE CMaskedBitmap::GetSize() const
{
    BITMAP info = {};
    if (m_image)
        GetObjectA(m_image, sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}

void CMaskedBitmap::Draw(HDC dc, int x, int y, bool rightAligned) const
{
    if (!m_image)
        return;
    const SIZE size = GetSize();
    const int left = rightAligned ? x - size.cx : x;
    // The picture's copy, with black where it is transparent.
    CMemoryDC pictureDC(dc);
    CBitmap picture(CreateCompatibleBitmap(dc, size.cx, size.cy));
    CSelectObject selectPicture(pictureDC, picture);
    CMemoryDC sourceDC(dc);
    {
        CSelectObject selectSource(sourceDC, m_image);
        BitBlt(pictureDC, 0, 0, size.cx, size.cy, sourceDC, 0, 0, SRCCOPY);
    }
    // The background under it, with black where the picture is opaque.
    CMemoryDC backDC(dc);
    CBitmap back(CreateCompatibleBitmap(dc, size.cx, size.cy));
    CSelectObject selectBack(backDC, back);
    BitBlt(backDC, 0, 0, size.cx, size.cy, dc, left, y, SRCCOPY);
    // A monochrome source gives 0 bits the destination's text colour and 1 bits its background
    // colour: black and white, so that the AND clears or keeps.
    COLORREF oldText = SetTextColor(backDC, RGB(0, 0, 0));
    COLORREF oldBack = SetBkColor(backDC, RGB(255, 255, 255));
    {
        CSelectObject selectMask(sourceDC, m_mask);
        BitBlt(backDC, 0, 0, size.cx, size.cy, sourceDC, 0, 0, SRCAND);
    }
    SetTextColor(backDC, oldText);
    SetBkColor(backDC, oldBack);
    oldText = SetTextColor(pictureDC, RGB(0, 0, 0));
    oldBack = SetBkColor(pictureDC, RGB(255, 255, 255));
    {
        CSelectObject selectInverse(sourceDC, m_inverseMask);
        BitBlt(pictureDC, 0, 0, size.cx, size.cy, sourceDC, 0, 0, SRCAND);
    }
    SetTextColor(pictureDC, oldText);
    SetBkColor(pictureDC, oldBack);
    BitBlt(backDC, 0, 0, size.cx, size.cy, pictureDC, 0, 0, SRCPAINT);
    BitBlt(dc, left, y, size.cx, size.cy, backDC, 0, 0, SRCCOPY);
}
