#include "framework/ui/control_bar.h"

#include <windowsx.h>

#include "framework/ui/dock_site.h"
#include "framework/ui/frame_wnd.h"

bool CControlBar::AttachBar(HWND hwnd, CFrameWnd* frame, DWORD barStyle)
{
    if (!hwnd)
        return false;
    m_frame = frame;
    m_barStyle = barStyle;
    if (!Subclass(hwnd) || !OnCreateBar()) {
        Unsubclass();
        ::DestroyWindow(hwnd);
        return false;
    }
    return true;
}

void CControlBar::ShowStatusText(unsigned id)
{
    if (m_frame)
        m_frame->SetMessageText(id ? m_frame->GetMessageString(id) : m_frame->GetIdlePrompt());
}

bool CControlBar::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == WM_LBUTTONDOWN && m_frame && m_frame->GetDockSite()) {
        POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        RECT gripper = GetGripperRect();
        if (PtInRect(&gripper, point)) {
            m_frame->GetDockSite()->TrackDrag(this, point);
            result = 0;
            return true;
        }
    }
    return false;
}
