// A frame window: a top-level (or MDI child) window with a menu and accelerators that routes its
// commands. A command goes to the active view, then the view's document, then the frame itself
// (for an MDI main frame: the active child frame's route, then the main frame), then the
// application; the first target with a row for the command decides. Its update rule is asked before
// its handler runs, so a command that the rule disables is never dispatched, whether it comes from
// a menu, an accelerator or a posted message.
#pragma once
#include <memory>

#include "framework/ui/custom_wnd.h"

class CControlBar;
class CDockSite;
class CView;

class CFrameWnd : public CCustomWnd {
public:
    static const char kClassName[];

    CFrameWnd();
    ~CFrameWnd() override;

    // Creates a top-level frame. `resourceId` names its menu, accelerator table and icon (each
    // optional); 0 for none.
    bool Create(const std::string& caption, int resourceId, DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                HWND parent = nullptr);

    CView* GetActiveView() const { return m_activeView; }
    void SetActiveView(CView* view) { m_activeView = view; }

    // Asks the update rules of command `id` and, unless they disable it, runs it. Returns true when
    // some target on the route has the command (run or refused). Reports exceptions of the handler.
    bool ExecuteCommand(unsigned id);
    // Lets the first target on the route with a row for `ui`'s command set its state; a command no
    // target knows is disabled.
    void UpdateCmdUI(CCmdUI& ui);
    // Updates every command item of `popup` (not its sub-menus) through UpdateCmdUI.
    void UpdateMenu(HMENU popup);

    // The resource id given to Create (0 for none); context help names the frame by it.
    int GetResourceId() const { return m_resourceId; }

    // Shift+F1 in a top-level frame starts context help (kContextHelpCommand); then accelerators.
    bool PreTranslateMessage(MSG* msg) override;
    // Command kContextHelpCommand: context-help mode, its help id to CWinApp::ShowHelp.
    bool OnCmdMsg(unsigned id, CCmdUI* ui) override;
    void OnContextHelp();

    // The message queue just went empty: bars pull their buttons' and panes' state through
    // UpdateCmdUI. Menus pull theirs when a popup opens.
    virtual void OnIdleUpdateCmdUI();

    // Control bars. Docking is enabled on the sides `align` (kBarAlign...); the frame then owns a
    // dock site that places its bars.
    void EnableDocking(DWORD align);
    CDockSite* GetDockSite() const { return m_dockSite.get(); }
    // Shows or hides a bar (also a floating one, or the status bar) and lays the frame out again.
    void ShowControlBar(CControlBar* bar, bool show);
    // Places the bars and gives the rest of the client area to the frame's body.
    virtual void RecalcLayout();

    // The status bar's message pane (nothing without a status bar).
    void SetMessageText(const std::string& text);
    // The prompt of command `id`: its string up to the first '\n'.
    virtual std::string GetMessageString(unsigned id);
    // "For Help, press F1" (string 57345).
    std::string GetIdlePrompt() const;

protected:
    // The route below the application: active view, its document, this frame.
    virtual bool RouteCmdMsg(unsigned id, CCmdUI* ui);

    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;
    bool OnInitMenuPopup(HMENU popup, UINT index, bool isWindowMenu, LRESULT& result) override;
    bool OnSize(UINT type, int width, int height, LRESULT& result) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnDestroy(LRESULT& result) override;
    // The area left by the bars goes to the active view; an MDI frame gives it to its client.
    virtual void PositionBody(const RECT& body);

    void OnUpdateKeyIndicator(CCmdUI& ui);
    void OnUpdateStatusBarMenu(CCmdUI& ui);
    void OnViewStatusBar();

    // Loaded from the resources of the program; released with it, so not destroyed here.
    HACCEL m_accelerators = nullptr;
    CView* m_activeView = nullptr;
    int m_resourceId = 0;

private:
    bool RouteWithApp(unsigned id, CCmdUI* ui);

    std::unique_ptr<CDockSite> m_dockSite;
};
