// Shared pieces of the program's owner-drawn buttons and popups: one-pixel frames in system colours
// (the bricks of their classic 3-D look), and button windows made owner-drawn.
#pragma once
#include <windows.h>

#include <string>

// Frames `rect` one pixel wide: the top and left lines in system colour `topLeft`, the bottom and
// right lines in `bottomRight` (COLOR_* indexes).
void FrameSysColors(HDC dc, const RECT& rect, int topLeft, int bottomRight);

// Creates a BUTTON child `id` of `parent` with the button type in `style` replaced by BS_OWNERDRAW;
// null when it failed.
HWND CreateOwnerDrawButton(const std::string& caption, DWORD style, const RECT& rect, HWND parent, UINT id);

// Makes an existing button (a dialog template's) owner-drawn.
void MakeOwnerDraw(HWND button);
