#include "framework/ui/mdi_wnd.h"

CMDIChildWnd* CMDIFrameWnd::MDIGetActive() const
{
    if (!m_mdiClient)
        return nullptr;
    HWND active = reinterpret_cast<HWND>(::SendMessageA(m_mdiClient, WM_MDIGETACTIVE, 0, 0));
    return dynamic_cast<CMDIChildWnd*>(FromHandle(active));
}

bool CMDIFrameWnd::PreTranslateMessage(MSG* msg)
{
    // Ctrl+F4, Ctrl+F6 and the child's system-menu keys.
    if (m_mdiClient && TranslateMDISysAccel(m_mdiClient, msg))
        return true;
    // The active child's template keys, translated here so that the command takes the main
    // frame's route (child, then main frame, then application).
    CMDIChildWnd* child = MDIGetActive();
    if (child && child->GetSharedAccelerators() && TranslateAcceleratorA(m_hWnd, child->GetSharedAccelerators(), msg))
        return true;
    return CFrameWnd::PreTranslateMessage(msg);
}

bool CMDIFrameWnd::RouteCmdMsg(unsigned id, CCmdUI* ui)
{
    if (CMDIChildWnd* child = MDIGetActive(); child && child->RouteCmdMsgFromMain(id, ui))
        return true;
    return OnCmdMsg(id, ui);
}

void CMDIFrameWnd::SetSharedMenu(HMENU menu)
{
    if (!m_mdiClient)
        return;
    if (!menu)
        menu = m_defaultMenu;
    if (!menu || ::GetMenu(m_hWnd) == menu)
        return;
    int popups = GetMenuItemCount(menu);
    HMENU windowMenu = popups > 0 ? GetSubMenu(menu, popups - 1) : nullptr;
    ::SendMessageA(m_mdiClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(menu), reinterpret_cast<LPARAM>(windowMenu));
    DrawMenuBar(m_hWnd);
}

bool CMDIFrameWnd::OnSize(UINT type, int width, int height, LRESULT& result)
{
    // The bars and the client share the area; DefFrameProc would give the client all of it.
    if (type != SIZE_MINIMIZED)
        RecalcLayout();
    result = 0;
    return true;
}

void CMDIFrameWnd::PositionBody(const RECT& body)
{
    if (m_mdiClient)
        ::MoveWindow(m_mdiClient, body.left, body.top, body.right - body.left, body.bottom - body.top, TRUE);
}

bool CMDIFrameWnd::OnDestroy(LRESULT& result)
{
    // The frame's own menu goes with the window; a template's shared menu stays with its template.
    if (m_defaultMenu && ::GetMenu(m_hWnd) != m_defaultMenu)
        ::SetMenu(m_hWnd, m_defaultMenu);
    return CFrameWnd::OnDestroy(result);
}

bool CMDIFrameWnd::OnCreate(CREATESTRUCTA* create, LRESULT& result)
{
    HMENU menu = GetMenu();
    m_defaultMenu = menu;
    int popups = menu ? GetMenuItemCount(menu) : 0;
    CLIENTCREATESTRUCT client = {};
    client.hWindowMenu = popups > 0 ? GetSubMenu(menu, popups - 1) : nullptr;
    client.idFirstChild = kFirstChildId;
    m_mdiClient = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                  WS_CHILD | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE, 0, 0, 0, 0,
                                  m_hWnd, nullptr, GetModuleHandleA(nullptr), &client);
    // WM_CREATE: -1 destroys the window and makes CreateWindowEx fail.
    result = m_mdiClient ? 0 : -1;
    return true;
}

LRESULT CMDIFrameWnd::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    // DefFrameProc sizes the MDI client and handles the window menu's child entries.
    return DefFrameProcA(m_hWnd, m_mdiClient, msg, wParam, lParam);
}

const char CMDIChildWnd::kClassName[] = "QuorMDIChild";

bool CMDIChildWnd::Create(CMDIFrameWnd* frame, const std::string& caption, DWORD style)
{
    if (!RegisterWindowClass(kClassName, CS_DBLCLKS, nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)))
        return false;
    m_mdiFrame = frame;
    MDICREATESTRUCTA create = {};
    create.szClass = kClassName;
    create.szTitle = caption.c_str();
    create.hOwner = GetModuleHandleA(nullptr);
    create.x = create.y = create.cx = create.cy = CW_USEDEFAULT;
    create.style = style;
    // The window procedure binds the object named here (as a CCustomWnd) on WM_NCCREATE.
    create.lParam = reinterpret_cast<LPARAM>(static_cast<CCustomWnd*>(this));
    PreCreateWindow(create);
    HWND hwnd = reinterpret_cast<HWND>(
        ::SendMessageA(frame->GetMDIClient(), WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
    return hwnd != nullptr;
}

void CMDIChildWnd::MDIActivate() const
{
    ::SendMessageA(m_mdiFrame->GetMDIClient(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

bool CMDIChildWnd::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    // WM_MDIACTIVATE: wParam the child losing activation, lParam the one gaining it.
    if (msg == WM_MDIACTIVATE && m_mdiFrame) {
        if (reinterpret_cast<HWND>(lParam) == m_hWnd)
            m_mdiFrame->SetSharedMenu(m_sharedMenu);
        else if (!lParam)
            m_mdiFrame->SetSharedMenu(nullptr);
    }
    return CFrameWnd::OnMessage(msg, wParam, lParam, result);
}

LRESULT CMDIChildWnd::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    // DefMDIChildProc must see WM_SIZE, WM_CHILDACTIVATE, WM_SETFOCUS, WM_SYSCOMMAND and the like.
    return DefMDIChildProcA(m_hWnd, msg, wParam, lParam);
}
