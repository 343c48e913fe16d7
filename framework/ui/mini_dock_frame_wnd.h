// The captioned tool window a floating control bar sits in. Its caption carries the bar's window
// text; dragging the caption moves the bar (and may dock it again); the close box hides the bar.
#pragma once
#include "framework/ui/custom_wnd.h"

class CControlBar;
class CDockSite;

class CMiniDockFrameWnd : public CCustomWnd {
public:
    static const char kClassName[];

    CMiniDockFrameWnd(CDockSite* site, CControlBar* bar) : m_site(site), m_bar(bar) {}

    // Creates the window owned by `owner` with the bar's client size at screen (left, top), and
    // moves the bar into it.
    bool Create(HWND owner, int left, int top);
    // Sizes the window around the bar's current size.
    void FitToBar();

protected:
    bool OnClose(LRESULT& result) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    CDockSite* m_site;
    CControlBar* m_bar;
};
