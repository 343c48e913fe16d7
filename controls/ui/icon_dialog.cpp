#include "controls/ui/icon_dialog.h"

// WM_PAINT: BeginPaint validates the update region; the controls paint themselves afterwards.
bool CIconDialog::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg != WM_PAINT)
        return CDialog::OnMessage(msg, wParam, lParam, result);
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    if (dc) {
        ::DrawIcon(dc, 10, 10, ::LoadIconA(nullptr, m_icon));
        ::EndPaint(m_hWnd, &paint);
    }
    result = 0;
    return true;
}
