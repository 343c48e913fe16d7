// The index window's header and column buttons: owner-drawn push buttons with a caption in the dialog
// font and an optional picture (centred, at the left, or at the right). Each subclass answers the help
// id of the list it heads.
#pragma once
#include <string>

#include "framework/ui/gdi.h"
#include "framework/ui/subclassed_wnd.h"

class CImageButton : public CSubclassedWnd {
public:
    enum Placement { kImageRight, kImageLeft, kImageCentered };

    CImageButton() = default;
    explicit CImageButton(DWORD helpId) : m_helpId(helpId) {}

    bool Create(HWND parent, int id, const std::string& caption, HFONT font);
    // A bitmap resource drawn with `transparent` as its see-through colour; false when it is missing
    // (the button then draws its caption alone).
    bool SetBitmap(int resourceId, COLORREF transparent, Placement placement);
    int GetImageWidth() const { return m_imageSize.cx; }
    // The bitmap resource shown; 0 for none.
    int GetBitmapId() const { return m_bitmapId; }

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Draw(const DRAWITEMSTRUCT& item);

    DWORD m_helpId = 0;
    HFONT m_font = nullptr;
    COwnedHandle<HBITMAP> m_image;
    SIZE m_imageSize = {0, 0};
    int m_bitmapId = 0;
    COLORREF m_transparent = RGB(255, 255, 255);
    Placement m_placement = kImageRight;
};
