#include "framework/ui/frame_wnd.h"

#include "framework/document.h"
#include "framework/ui/app.h"
#include "framework/ui/context_help.h"
#include "framework/ui/gdi.h"
#include "framework/ui/view.h"

namespace {

// A menu item as an update rule sees it, by position in its popup.
class CMenuItemCmdUI : public CCmdUI {
public:
    CMenuItemCmdUI(HMENU menu, UINT position, unsigned id) : CCmdUI(id), m_menu(menu), m_position(position) {}

    void Enable(bool on) override
    {
        EnableMenuItem(m_menu, m_position, MF_BYPOSITION | (on ? MF_ENABLED : MF_GRAYED));
    }
    // Menus have no indeterminate mark: 2 shows as checked.
    void SetCheck(int check) override
    {
        CheckMenuItem(m_menu, m_position, MF_BYPOSITION | (check ? MF_CHECKED : MF_UNCHECKED));
    }
    void SetText(const std::string& text) override
    {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STRING;
        info.dwTypeData = const_cast<char*>(text.c_str());
        SetMenuItemInfoA(m_menu, m_position, TRUE, &info);
    }

private:
    HMENU m_menu;
    UINT m_position;
};

}  // namespace

const char CFrameWnd::kClassName[] = "QuorFrame";

bool CFrameWnd::Create(const std::string& caption, int resourceId, DWORD style, HWND parent)
{
    // Frames share one class, so each sets its own icon after creation.
    if (!RegisterWindowClass(kClassName, CS_DBLCLKS, nullptr, reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1)))
        return false;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    m_resourceId = resourceId;
    CMenu menu(resourceId ? LoadMenuA(instance, MAKEINTRESOURCEA(resourceId)) : nullptr);
    m_accelerators = resourceId ? LoadAcceleratorsA(instance, MAKEINTRESOURCEA(resourceId)) : nullptr;
    RECT rect = {CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT + 800, CW_USEDEFAULT + 600};
    if (!CreateEx(0, kClassName, caption, style, rect, parent, menu))
        return false;
    menu.Release();  // the window destroys its menu
    // Icons from LoadIcon are shared and never freed.
    if (HICON icon = resourceId ? LoadIconA(instance, MAKEINTRESOURCEA(resourceId)) : nullptr) {
        SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    return true;
}

bool CFrameWnd::RouteCmdMsg(unsigned id, CCmdUI* ui)
{
    if (m_activeView) {
        if (m_activeView->OnCmdMsg(id, ui))
            return true;
        if (CDocument* document = m_activeView->GetDocument(); document && document->OnCmdMsg(id, ui))
            return true;
    }
    return OnCmdMsg(id, ui);
}

bool CFrameWnd::RouteWithApp(unsigned id, CCmdUI* ui)
{
    if (RouteCmdMsg(id, ui))
        return true;
    CWinApp* app = CWinApp::Current();
    return app && app->OnCmdMsg(id, ui);
}

bool CFrameWnd::ExecuteCommand(unsigned id)
{
    try {
        CCmdUIProbe probe(id);
        if (!RouteWithApp(id, &probe))
            return false;
        if (probe.m_enabled)
            RouteWithApp(id, nullptr);
    } catch (...) {
        if (CWinApp* app = CWinApp::Current())
            app->ReportCommandException();
        else
            LogCallbackException("command handler");
    }
    return true;
}

void CFrameWnd::UpdateCmdUI(CCmdUI& ui)
{
    if (!RouteWithApp(ui.m_id, &ui))
        ui.Enable(false);
}

void CFrameWnd::UpdateMenu(HMENU popup)
{
    int count = GetMenuItemCount(popup);
    for (int position = 0; position < count; ++position) {
        // GetMenuItemID gives -1 (as UINT) for sub-menus and 0 for separators.
        UINT id = GetMenuItemID(popup, position);
        if (id == 0 || id == static_cast<UINT>(-1))
            continue;
        CMenuItemCmdUI ui(popup, static_cast<UINT>(position), id);
        UpdateCmdUI(ui);
    }
}

bool CFrameWnd::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_F1 && GetKeyState(VK_SHIFT) < 0 &&
        GetKeyState(VK_CONTROL) >= 0 && !(GetStyle() & WS_CHILD)) {
        ExecuteCommand(kContextHelpCommand);
        return true;
    }
    // TranslateAccelerator sends the WM_COMMAND (code 1) itself and then returns nonzero.
    return m_accelerators && TranslateAcceleratorA(m_hWnd, m_accelerators, msg);
}

bool CFrameWnd::OnCmdMsg(unsigned id, CCmdUI* ui)
{
    static const CommandEntry<CFrameWnd> kCommands[] = {
        {kContextHelpCommand, &CFrameWnd::OnContextHelp},
    };
    return RouteToTable(this, kCommands, id, ui);
}

void CFrameWnd::OnContextHelp()
{
    DWORD helpId = RunContextHelpMode(m_hWnd);
    CWinApp* app = CWinApp::Current();
    if (helpId && app)
        app->ShowHelp(helpId);
}

bool CFrameWnd::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    // Menu items (code 0) and accelerators (code 1) are commands; control notifications are not.
    if (control || code > 1)
        return false;
    return ExecuteCommand(id);
}

bool CFrameWnd::OnInitMenuPopup(HMENU popup, UINT index, bool isWindowMenu, LRESULT& result)
{
    if (!isWindowMenu)
        UpdateMenu(popup);
    return false;
}

bool CFrameWnd::OnSize(UINT type, int width, int height, LRESULT& result)
{
    if (m_activeView && type != SIZE_MINIMIZED)
        m_activeView->MoveWindow(0, 0, width, height);
    return false;
}

bool CFrameWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    // The focus goes on to the view; the default procedure still sees WM_SETFOCUS (an MDI child
    // activates itself there).
    if (msg == WM_SETFOCUS && m_activeView && m_activeView->IsWindow())
        m_activeView->SetFocus();
    return false;
}

bool CFrameWnd::OnDestroy(LRESULT& result)
{
    CWinApp* app = CWinApp::Current();
    if (app && app->GetMainWnd() == this) {
        app->SetMainWnd(nullptr);
        PostQuitMessage(0);
    }
    return false;
}
