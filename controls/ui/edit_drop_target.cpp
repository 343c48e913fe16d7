#include "controls/ui/edit_drop_target.h"

#include <new>

#include "framework/ui/gdi.h"

namespace {

int TextLength(HWND edit)
{
    return GetWindowTextLengthA(edit);
}

// The character index under client point `point`: EM_CHARFROMPOS packs it in the low word (the
// high word is the line).
int CharFromPos(HWND edit, POINT point)
{
    LRESULT answer = SendMessageA(edit, EM_CHARFROMPOS, 0, MAKELPARAM(point.x, point.y));
    return static_cast<int>(LOWORD(answer));
}

}  // namespace

int CEditDropTarget::MeasureText(HWND edit)
{
    try {
        int length = TextLength(edit);
        std::string text(static_cast<size_t>(length) + 1, '\0');
        int copied = GetWindowTextA(edit, &text[0], length + 1);
        CClientDC dc(edit);
        CSelectObject font(dc, reinterpret_cast<HFONT>(SendMessageA(edit, WM_GETFONT, 0, 0)));
        SIZE size = {};
        if (!GetTextExtentPoint32A(dc, text.c_str(), copied > 0 ? copied : 0, &size))
            return 1;
        return size.cx;
    } catch (const std::bad_alloc&) {
        return 1;
    }
}

void CEditDropTarget::InvertCaret(HWND edit) const
{
    // Inverting twice restores the pixels: the same call draws and erases.
    CClientDC dc(edit);
    InvertRect(dc, &m_caret);
}

void CEditDropTarget::EraseCaret(HWND edit)
{
    if (IsRectEmpty(&m_caret))
        return;
    InvertCaret(edit);
    SetRectEmpty(&m_caret);
}

void CEditDropTarget::TrackCaret(HWND edit, POINT point)
{
    int index = CharFromPos(edit, point);
    if (index == m_dropPosition && !IsRectEmpty(&m_caret))
        return;
    EraseCaret(edit);
    int length = TextLength(edit);
    // EM_POSFROMCHAR answers the character's client position, or -1 for the end of the text.
    LRESULT first = SendMessageA(edit, EM_POSFROMCHAR, 0, 0);
    int origin = first != -1 ? static_cast<short>(LOWORD(first)) : 0;
    int x = origin + m_textWidth;
    if (index < length) {
        LRESULT position = SendMessageA(edit, EM_POSFROMCHAR, static_cast<WPARAM>(index), 0);
        if (position != -1)
            x = static_cast<short>(LOWORD(position));
    }
    RECT client;
    GetClientRect(edit, &client);
    m_caret = {x, client.top + 1, x + 1, client.bottom - 1};
    InvertCaret(edit);
    m_dropPosition = index;
}

DWORD CEditDropTarget::OnDragEnter(HWND wnd, COleDataObject& data, DWORD keyState, POINT point)
{
    if (!data.IsDataAvailable(CF_TEXT))
        return DROPEFFECT_NONE;
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(wnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    SendMessageA(wnd, EM_SETSEL, end, end);
    SendMessageA(wnd, EM_SCROLLCARET, 0, 0);
    UpdateWindow(wnd);
    m_textWidth = MeasureText(wnd);
    m_dropPosition = -1;
    SetRectEmpty(&m_caret);
    TrackCaret(wnd, point);
    return DROPEFFECT_COPY;
}

DWORD CEditDropTarget::OnDragOver(HWND wnd, COleDataObject& data, DWORD keyState, POINT point)
{
    if (!data.IsDataAvailable(CF_TEXT))
        return DROPEFFECT_NONE;
    TrackCaret(wnd, point);
    return DROPEFFECT_COPY;
}

void CEditDropTarget::OnDragLeave(HWND wnd)
{
    EraseCaret(wnd);
    m_dropPosition = -1;
}

DWORD CEditDropTarget::OnDrop(HWND wnd, COleDataObject& data, DWORD keyState, POINT point)
{
    EraseCaret(wnd);
    int position = m_dropPosition;
    m_dropPosition = -1;
    std::string text;
    try {
        std::string bytes;
        if (!data.GetGlobalBytes(CF_TEXT, bytes))
            return DROPEFFECT_NONE;
        // The text ends at its NUL; the block may be rounded up past it.
        text.assign(bytes.c_str());
    } catch (const std::bad_alloc&) {
        text.clear();
    }
    int length = TextLength(wnd);
    if (position < 0 || position > length)
        position = length;
    // Only what fits under the text limit goes in: the edit's own text is never cut for a drop.
    LRESULT limit = SendMessageA(wnd, EM_GETLIMITTEXT, 0, 0);
    if (limit >= 0 && static_cast<size_t>(limit) < static_cast<size_t>(length) + text.size()) {
        size_t room = static_cast<size_t>(limit) > static_cast<size_t>(length) ? static_cast<size_t>(limit) - length : 0;
        text.resize(room);
    }
    SendMessageA(wnd, EM_SETSEL, static_cast<WPARAM>(position), position);
    SendMessageA(wnd, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    SetFocus(wnd);
    return DROPEFFECT_COPY;
}
