#include "shell/ui/tool_bars.h"

#include <commctrl.h>

#include "framework/ui/gdi.h"
#include "shell/ui/main_frame.h"

bool CMainFrameBar::Create(DWORD toolbarStyle, DWORD style, DWORD barStyle)
{
    return CreateEx(m_mainFrame, toolbarStyle, style, barStyle, static_cast<UINT>(Layout().resourceId));
}

bool CMainFrameBar::OnCreateBar()
{
    if (!LoadToolBar(Layout().resourceId))
        return false;
    SetGripperItems(2);
    return m_images.Load(*this, Layout(), m_sizeMode);
}

void CMainFrameBar::PaintDecoration(HDC dc)
{
    PaintBarDecoration(*this, dc, Layout().clearFirst, Layout().clearLast);
}

bool CMainFrameBar::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_PAINT: {
        CPaintDC dc(m_hWnd);
        // The toolbar paints into a DC given in wParam.
        DefaultProc(WM_PAINT, reinterpret_cast<WPARAM>(static_cast<HDC>(dc)), 0);
        PaintDecoration(dc);
        result = 0;
        return true;
    }
    case WM_WINDOWPOSCHANGED:
        result = DefaultProc(msg, wParam, lParam);
        // The flag follows the window's visibility, not the message's flags: a hidden bar that is
        // moved stays hidden.
        if (m_mainFrame && !m_mainFrame->IsReportWindowMaximized())
            m_mainFrame->OnBarShown(m_kind, (GetStyle() & WS_VISIBLE) != 0);
        return true;
    default:
        return CToolBar::OnMessage(msg, wParam, lParam, result);
    }
}

void CStandardToolBar::ShowStatusText(unsigned id)
{
    CToolBar::ShowStatusText(id);
    if (id && m_mainFrame)
        m_mainFrame->SetChildCommandPrompt(id);
}

void CMainToolBar::ShowStatusText(unsigned id)
{
    CToolBar::ShowStatusText(id);
    if (id && m_mainFrame)
        m_mainFrame->SetChildCommandPrompt(id);
}
