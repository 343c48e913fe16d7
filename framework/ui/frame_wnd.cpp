#include "framework/ui/frame_wnd.h"

#include "framework/callback_exceptions.h"
#include "framework/document.h"
#include "framework/ui/app.h"
#include "framework/ui/context_help.h"
#include "framework/ui/control_bar.h"
#include "framework/ui/dock_site.h"
#include "framework/ui/status_bar.h"
#include "framework/string_table.h"
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

CFrameWnd::CFrameWnd() = default;
CFrameWnd::~CFrameWnd() = default;

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
            ReportCallbackException("command handler");
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
        {kIndicatorCaps, nullptr, &CFrameWnd::OnUpdateKeyIndicator},
        {kIndicatorNum, nullptr, &CFrameWnd::OnUpdateKeyIndicator},
        {kIndicatorScroll, nullptr, &CFrameWnd::OnUpdateKeyIndicator},
        {kStatusBarId, &CFrameWnd::OnViewStatusBar, &CFrameWnd::OnUpdateStatusBarMenu},
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
    if (type != SIZE_MINIMIZED)
        RecalcLayout();
    return false;
}

void CFrameWnd::RecalcLayout()
{
    PositionBody(m_dockSite ? m_dockSite->RecalcLayout() : GetClientRect());
}

void CFrameWnd::PositionBody(const RECT& body)
{
    if (m_activeView)
        m_activeView->MoveWindow(body.left, body.top, body.right - body.left, body.bottom - body.top);
}

void CFrameWnd::EnableDocking(DWORD align)
{
    if (!m_dockSite)
        m_dockSite = std::make_unique<CDockSite>(this);
    m_dockSite->EnableDocking(align);
}

void CFrameWnd::ShowControlBar(CControlBar* bar, bool show)
{
    if (m_dockSite)
        m_dockSite->ShowBar(bar, show);
    else if (bar)
        bar->ShowWindow(show ? SW_SHOWNA : SW_HIDE);
}

void CFrameWnd::OnIdleUpdateCmdUI()
{
    if (!m_dockSite)
        return;
    for (CControlBar* bar : m_dockSite->GetBars())
        if (bar->IsWindow() && (bar->GetStyle() & WS_VISIBLE))
            bar->OnUpdateCmdUI(this);
    CControlBar* status = m_dockSite->GetStatusBar();
    if (status && status->IsWindow() && (status->GetStyle() & WS_VISIBLE))
        status->OnUpdateCmdUI(this);
}

void CFrameWnd::SetMessageText(const std::string& text)
{
    if (!m_dockSite)
        return;
    if (auto* status = dynamic_cast<CStatusBar*>(m_dockSite->GetStatusBar()))
        status->SetPaneText(0, text);
}

std::string CFrameWnd::GetMessageString(unsigned id)
{
    std::string text = QuorLoadString(static_cast<int>(id));
    size_t newline = text.find('\n');
    return newline == std::string::npos ? text : text.substr(0, newline);
}

std::string CFrameWnd::GetIdlePrompt() const
{
    return QuorLoadString(kIdlePromptString);
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI& ui)
{
    int key = ui.m_id == kIndicatorCaps ? VK_CAPITAL : ui.m_id == kIndicatorNum ? VK_NUMLOCK : VK_SCROLL;
    // The low bit of GetKeyState is the toggle state.
    ui.Enable((GetKeyState(key) & 1) != 0);
}

void CFrameWnd::OnUpdateStatusBarMenu(CCmdUI& ui)
{
    CControlBar* status = m_dockSite ? m_dockSite->GetStatusBar() : nullptr;
    ui.Enable(status != nullptr);
    ui.SetCheck(status && (status->GetStyle() & WS_VISIBLE) ? 1 : 0);
}

void CFrameWnd::OnViewStatusBar()
{
    if (CControlBar* status = m_dockSite ? m_dockSite->GetStatusBar() : nullptr)
        ShowControlBar(status, !(status->GetStyle() & WS_VISIBLE));
}

bool CFrameWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == WM_ERASEBKGND && m_dockSite) {
        // The bars' rows show the button face; transparent toolbars ask their parent for it.
        RECT client = GetClientRect();
        FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
        result = 1;
        return true;
    }
    if (msg == WM_MENUSELECT) {
        // 0xFFFF flags with no menu: the menu closed.
        UINT flags = HIWORD(wParam);
        if (flags == 0xFFFF && !lParam)
            SetMessageText(GetIdlePrompt());
        else if (!(flags & (MF_POPUP | MF_SEPARATOR)))
            SetMessageText(GetMessageString(LOWORD(wParam)));
        else
            SetMessageText(std::string());
        return false;
    }
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
