#include "controls/ui/owner_draw.h"

void FrameSysColors(HDC dc, const RECT& rect, int topLeft, int bottomRight)
{
    RECT r;
    FillRect(dc, &(r = {rect.left, rect.top, rect.right, rect.top + 1}), GetSysColorBrush(topLeft));
    FillRect(dc, &(r = {rect.left, rect.top, rect.left + 1, rect.bottom}), GetSysColorBrush(topLeft));
    FillRect(dc, &(r = {rect.left, rect.bottom - 1, rect.right, rect.bottom}), GetSysColorBrush(bottomRight));
    FillRect(dc, &(r = {rect.right - 1, rect.top, rect.right, rect.bottom}), GetSysColorBrush(bottomRight));
}

HWND CreateOwnerDrawButton(const std::string& caption, DWORD style, const RECT& rect, HWND parent, UINT id)
{
    return CreateWindowExA(0, "BUTTON", caption.c_str(), (style & ~0xFu) | BS_OWNERDRAW, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, parent,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

void MakeOwnerDraw(HWND button)
{
    SetWindowLongPtrA(button, GWL_STYLE, (GetWindowLongPtrA(button, GWL_STYLE) & ~0xF) | BS_OWNERDRAW);
}
