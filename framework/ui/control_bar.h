// The base of a frame's control bars (toolbars, the status bar): a common control that we create
// and subclass. The frame lays its bars out, asks them for their size, lets them pull the state of
// their buttons and panes at each idle pass, and docks, floats, shows and hides them (CDockSite).
#pragma once
#include "framework/ui/subclassed_wnd.h"

class CFrameWnd;

// Bar styles (apart from the window and control styles).
enum : DWORD {
    kBarAlignTop = 0x1000,
    kBarAlignBottom = 0x2000,
    kBarAlignLeft = 0x4000,
    kBarAlignRight = 0x8000,
    kBarAlignAny = 0xF000,
    kBarBorderBottom = 0x0800,
    kBarToolTips = 0x0010,    // buttons show their tip ("prompt\ntip" after the '\n')
    kBarFlyBy = 0x0020,       // pointing at a button shows its prompt in the status bar
    kBarSizeDynamic = 0x0040, // the bar may wrap its buttons to a width
};

// Ids the framework gives its own bars, panes and prompts.
enum : unsigned {
    kToolBarId = 59392,        // the first toolbar, also View > Toolbar
    kStatusBarId = 59393,      // the status bar, also View > Status Bar
    kIndicatorCaps = 59137,
    kIndicatorNum = 59138,
    kIndicatorScroll = 59139,
    kIndicatorOvr = 59140,
    kIdlePromptString = 57345,  // "For Help, press F1"
};

class CControlBar : public CSubclassedWnd {
public:
    CFrameWnd* GetOwnerFrame() const { return m_frame; }
    DWORD GetBarStyle() const { return m_barStyle; }
    void SetBarStyle(DWORD style) { m_barStyle = style; }
    // The sides this bar may dock at (kBarAlign...), set before the frame docks it.
    void EnableDocking(DWORD align) { m_dockAlign = align; }
    DWORD GetDockAlign() const { return m_dockAlign; }
    // Whether the frame keeps this bar in its dock rows (toolbars) or at a fixed edge (status bar).
    virtual bool IsDockable() const { return m_dockAlign != 0; }

    // The size the bar wants laid out in one horizontal row.
    virtual SIZE CalcFixedLayout() = 0;
    // Pulls the state of every button or pane through `target`'s update rules. A control is sent
    // a message only for an element whose state changed.
    virtual void OnUpdateCmdUI(CFrameWnd* target) {}
    // The pointer rests on the element of command `id` (0: on none): shows its prompt.
    virtual void ShowStatusText(unsigned id);
    // Client rectangle of the gripper by which the user drags the bar; empty for none.
    virtual RECT GetGripperRect() const { return RECT{}; }

protected:
    // Subclasses `hwnd` (just created as a child of `frame`) and calls OnCreateBar; false (and the
    // window destroyed) when either fails.
    bool AttachBar(HWND hwnd, CFrameWnd* frame, DWORD barStyle);
    // The bar's own setup once its window exists (load resources, images); false fails creation.
    virtual bool OnCreateBar() { return true; }

    // A press on the gripper starts dragging the bar through the frame's dock site.
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    CFrameWnd* m_frame = nullptr;
    DWORD m_barStyle = 0;
    DWORD m_dockAlign = 0;
};
