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

protected:
    bool RouteCmdMsg(unsigned id, CCmdUI* ui) override;
    bool OnCreate(CREATESTRUCTA* create, LRESULT& result) override;
    LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    HWND m_mdiClient = nullptr;
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

protected:
    LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    CMDIFrameWnd* m_mdiFrame = nullptr;
};
