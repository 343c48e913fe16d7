#include "controls/ui/tip_list_box.h"

#include <windowsx.h>

#include <algorithm>
#include <string>

#include "controls/popup_layout.h"
#include "framework/ui/app.h"
#include "framework/ui/frame_wnd.h"
#include "framework/ui/gdi.h"
#include "framework/ui/view.h"

CTipListBox::~CTipListBox()
{
    if (m_captureHeld && GetCapture() == m_hWnd)
        ReleaseCapture();
}

void CTipListBox::SetTabStop(int dialogUnits)
{
    RECT rect = {0, 0, dialogUnits, 0};
    MapDialogRect(::GetParent(m_hWnd), &rect);
    m_tabStop = rect.right;
    m_tip.SetTabStop(m_tabStop);
    SendMessage(LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&dialogUnits));
}

void CTipListBox::ShowTipFor(int index)
{
    if (!m_tip.IsCreated()) {
        if (!m_tip.Create(m_hWnd))
            return;
        m_tip.SetTabStop(m_tabStop);
    }
    RECT screen = {};
    bool show = index != -1 && IsListItem(index, GetCount()) &&
                ItemTipScreenRect(m_hWnd, index, GetText(index), m_tabStop, screen, m_textStart);
    if (show)
        m_tip.ShowAt(screen, index);
    if (!show)
        m_tip.Hide();

    if (m_tip.IsWindowVisible()) {
        if (!m_captureHeld && GetCapture() != m_hWnd) {
            POINT cursor;
            GetCursorPos(&cursor);
            ScreenToClient(m_hWnd, &cursor);
            m_lastPoint = cursor;
            TakeCapture();
        }
    } else if (m_captureHeld) {
        ReleaseHeldCapture();
    }
}

void CTipListBox::TakeCapture()
{
    SetCapture();
    m_captureHeld = true;
}

void CTipListBox::ReleaseHeldCapture()
{
    // Cleared first: ReleaseCapture sends WM_CAPTURECHANGED at once.
    m_captureHeld = false;
    if (GetCapture() == m_hWnd)
        ReleaseCapture();
}

bool CTipListBox::IsOwnProgramActive() const
{
    // GetActiveWindow answers only windows of this thread: null while another program is active.
    HWND active = GetActiveWindow();
    if (!active)
        return false;
    CWinApp* app = CWinApp::Current();
    CWnd* main = app ? app->GetMainWnd() : nullptr;
    HWND root = main && main->IsWindow() ? main->m_hWnd : GetAncestor(m_hWnd, GA_ROOTOWNER);
    // The main window itself, a window inside it, or a dialog it owns (the Preferences sheet).
    return GetAncestor(active, GA_ROOTOWNER) == GetAncestor(root, GA_ROOTOWNER);
}

void CTipListBox::OnMouseMove(POINT point)
{
    if (point.x == m_lastPoint.x && point.y == m_lastPoint.y)
        return;
    if (!IsOwnProgramActive()) {
        HideTip();
        return;
    }
    m_lastPoint = point;
    RECT client = GetClientRect();
    int item = -1;
    if (PtInRect(&client, point)) {
        // The nearest item, also below the last one: the low word. An empty list answers an index
        // that is no item; ShowTipFor passes over it.
        LRESULT answer = SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
        item = static_cast<int>(LOWORD(answer));
    }
    ShowTipFor(item);
}

void CTipListBox::OnOtherClick()
{
    HideTip();
    for (HWND hwnd = ::GetParent(m_hWnd); hwnd; hwnd = ::GetParent(hwnd)) {
        CWnd* object = CWnd::FromHandle(hwnd);
        if (dynamic_cast<CFrameWnd*>(object))
            break;
        if (auto* view = dynamic_cast<CView*>(object)) {
            if (CFrameWnd* frame = view->GetParentFrame())
                frame->SetActiveView(view);
            break;
        }
    }
}

bool CTipListBox::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_MOUSEMOVE:
        OnMouseMove({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return false;  // the list box's own handling follows
    case WM_LBUTTONDOWN:
        if (m_captureHeld)
            ReleaseHeldCapture();
        result = DefaultProc(msg, wParam, lParam);
        if (m_tip.IsWindowVisible()) {
            m_tip.Invalidate();
            m_tip.UpdateWindow();
            if (GetCapture() != m_hWnd)
                TakeCapture();
        }
        return true;
    case WM_LBUTTONUP:
        result = DefaultProc(msg, wParam, lParam);
        if (m_tip.IsWindowVisible() && GetCapture() != m_hWnd)
            TakeCapture();
        return true;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
        OnOtherClick();
        return false;
    case WM_KILLFOCUS:
        result = DefaultProc(msg, wParam, lParam);
        if (reinterpret_cast<HWND>(wParam) != m_tip.m_hWnd)
            HideTip();
        return true;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != m_hWnd) {
            m_captureHeld = false;
            m_tip.Hide();
            m_lastPoint = {0, 0};
        }
        return false;
    default:
        return false;
    }
}

bool CTipListBox::OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg != WM_COMMAND || HIWORD(wParam) != LBN_SELCHANGE)
        return false;
    bool multiple = (GetStyle() & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
    ShowTipFor(static_cast<int>(SendMessage(multiple ? LB_GETCARETINDEX : LB_GETCURSEL)));
    if (m_tip.IsWindowVisible())
        m_tip.UpdateWindow();
    return true;  // consumed: the parent does not hear of it
}

bool CTipListBox::OnDestroy(LRESULT& result)
{
    HideTip();
    if (m_tip.IsCreated())
        m_tip.DestroyWindow();
    return false;
}
