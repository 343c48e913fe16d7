// The MDI main frame and its child frames. The main frame owns the MDI client window; its commands
// go first along the active child frame's route (view, document, child frame), then to itself.
#pragma once
#include "framework/ui/frame_wnd.h"

class CMDIChildWnd;

class CMDIFrameWnd : public CFrameWnd {
public:
    // The id of the first child window in the window menu (the last popup of the menu bar).
    enum { kFirstChildId = 0xFF00 };

    HWND GetMDIClient() const { return m_mdiClient; }
    // The active child frame, or nullptr.
    CMDIChildWnd* MDIGetActive() const;

    bool PreTranslateMessage(MSG* msg) override;

    // Puts `menu` on the menu bar (the frame's own menu when null), its last popup serving as the
    // window menu. A child frame calls it as it becomes active.
    void SetSharedMenu(HMENU menu);
    HMENU GetDefaultMenu() const { return m_defaultMenu; }

protected:
    bool RouteCmdMsg(unsigned id, CCmdUI* ui) override;
    bool OnCreate(CREATESTRUCTA* create, LRESULT& result) override;
    bool OnSize(UINT type, int width, int height, LRESULT& result) override;
    bool OnDestroy(LRESULT& result) override;
    LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void PositionBody(const RECT& body) override;

private:
    HWND m_mdiClient = nullptr;
    HMENU m_defaultMenu = nullptr;
};

class CMDIChildWnd : public CFrameWnd {
public:
    static const char kClassName[];

    // Creates the child frame in `frame`'s MDI client.
    bool Create(CMDIFrameWnd* frame, const std::string& caption, DWORD style = WS_CHILD | WS_OVERLAPPEDWINDOW);
    CMDIFrameWnd* GetMDIFrame() const { return m_mdiFrame; }
    void MDIActivate() const;
    // Let the main frame route through this child.
    bool RouteCmdMsgFromMain(unsigned id, CCmdUI* ui) { return RouteCmdMsg(id, ui); }
    // The template this child shows: its resource id, and its menu and accelerators, which the
    // main frame uses while the child is active (null: the frame's own). Set before Create; the
    // template owns the menu.
    void SetTemplate(int resourceId, HMENU menu, HACCEL accelerators)
    {
        m_resourceId = resourceId;
        m_sharedMenu = menu;
        m_sharedAccelerators = accelerators;
    }
    HMENU GetSharedMenu() const { return m_sharedMenu; }
    HACCEL GetSharedAccelerators() const { return m_sharedAccelerators; }

protected:
    LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // Before the child is created: a frame may change its position, size and style here.
    virtual void PreCreateWindow(MDICREATESTRUCTA& create) {}

private:
    CMDIFrameWnd* m_mdiFrame = nullptr;
    HMENU m_sharedMenu = nullptr;
    HACCEL m_sharedAccelerators = nullptr;
};
