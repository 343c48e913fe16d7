// The system's colour and font dialogs, data in and data out.
#pragma once
#include <windows.h>

class CColorDialog {
public:
    explicit CColorDialog(COLORREF initial = RGB(0, 0, 0), HWND owner = nullptr) : m_color(initial), m_owner(owner) {}
    // IDOK with the chosen colour in m_color, IDCANCEL otherwise.
    INT_PTR DoModal();

    COLORREF m_color;
    // The 16 custom colours, kept between runs of this object.
    COLORREF m_custom[16] = {};
    // Added to CC_RGBINIT.
    DWORD m_flags = 0;

private:
    HWND m_owner;
};

class CFontDialog {
public:
    explicit CFontDialog(const LOGFONTA& initial, HWND owner = nullptr) : m_font(initial), m_owner(owner) {}
    // IDOK with the chosen font in m_font (and colour in m_color with CF_EFFECTS), IDCANCEL otherwise.
    INT_PTR DoModal();

    LOGFONTA m_font;
    COLORREF m_color = RGB(0, 0, 0);
    // Added to CF_INITTOLOGFONTSTRUCT | CF_SCREENFONTS.
    DWORD m_flags = 0;
    // The chosen size in tenths of a point.
    int m_pointSize = 0;

private:
    HWND m_owner;
};
