#include "index/ui/drag_list.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/ui/dialog.h"
#include "framework/ui/mdi_wnd.h"

DropWindowFacts DropFactsOf(HWND window, HWND sourceParent)
{
    DropWindowFacts facts;
    if (auto* classified = dynamic_cast<CDropClassified*>(CWnd::FromHandle(window)))
        facts.classes = classified->DropClasses();
    facts.isSourceParent = window && window == sourceParent;
    return facts;
}

DropKind CDragList::GetTargetKind(HWND window) const
{
    if (!window)
        return DropKind::kNone;
    HWND sourceParent = ::GetParent(m_hWnd);
    DropWindowFacts facts = DropFactsOf(window, sourceParent);
    HWND parent = ::GetParent(window);
    DropWindowFacts parentFacts = DropFactsOf(parent, sourceParent);
    return ::GetTargetKind(&facts, parent ? &parentFacts : nullptr);
}

bool CDragList::IsTargetAllowed(HWND window) const
{
    DropKind kind = GetTargetKind(window);
    return kind != DropKind::kNone && std::find(m_kinds.begin(), m_kinds.end(), kind) != m_kinds.end();
}

CDragList* CDragList::FromDrop(WPARAM wParam, LPARAM lParam)
{
    HWND target = reinterpret_cast<HWND>(wParam);
    HWND source = reinterpret_cast<HWND>(lParam);
    if (!target || !source || !::IsWindow(target) || !::IsWindow(source))
        return nullptr;
    return dynamic_cast<CDragList*>(CWnd::FromHandle(source));
}

int CDragList::ItemAtPoint(POINT point) const
{
    int height = static_cast<int>(SendMessage(LB_GETITEMHEIGHT, 0));
    if (height <= 0)
        return -1;
    return GetTopIndex() + point.y / height;
}

bool CDragList::IsPointOnItem(POINT point) const
{
    if (point.y < 0)
        return false;
    int item = ItemAtPoint(point);
    return item >= 0 && item < GetCount();
}

void CDragList::NotifySelChange() const
{
    ::SendMessageA(::GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(m_hWnd));
}

void CDragList::ClearSelection() const
{
    if (GetStyle() & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL))
        SendMessage(LB_SETSEL, FALSE, -1);
    else
        SetCurSel(-1);
}

HWND CDragList::WindowAt(POINT point) const
{
    ClientToScreen(m_hWnd, &point);
    return WindowFromPoint(point);
}

bool CDragList::OnButtonDown(UINT keys, POINT point, LRESULT& result)
{
    if (IsPointOnItem(point)) {
        int item = ItemAtPoint(point);
        m_dragging = true;
        SetCapture();
        m_last = point;
        if (SendMessage(LB_GETSEL, static_cast<WPARAM>(item)) > 0) {
            // The selection stays as it is until the release shows that no drag followed.
            if (GetFocus() != m_hWnd)
                SetFocus();
            m_clickPending = false;
            result = 0;
            return true;
        }
        m_clickPending = true;
        return false;
    }
    // Below the last item: the press goes to the list box, then nothing stays selected.
    result = DefaultProc(WM_LBUTTONDOWN, keys, MAKELPARAM(point.x, point.y));
    ClearSelection();
    return true;
}

void CDragList::OnMouseMove(UINT keys, POINT point)
{
    // Only a move with the button held drags; the system also reports the pointer's position on its
    // own (after a change of capture or focus), which is no gesture of the user.
    if (!m_dragging || !(keys & MK_LBUTTON))
        return;
    if (!PassesDragThreshold(point.x - m_last.x, point.y - m_last.y))
        return;
    m_clickPending = true;
    HWND target = WindowAt(point);
    if (target != m_hWnd && IsTargetAllowed(target)) {
        int several = SendMessage(LB_GETSELCOUNT) > 1;
        HCURSOR cursor = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(several ? kCursorSeveral : kCursorOne));
        ::SetCursor(cursor ? cursor : LoadCursorA(nullptr, IDC_ARROW));
    } else {
        ::SetCursor(LoadCursorA(nullptr, IDC_NO));
    }
    m_last = point;
}

bool CDragList::OnButtonUp(UINT keys, POINT point, LRESULT& result)
{
    HWND target = WindowAt(point);
    if (target == m_hWnd && !m_clickPending) {
        int item = ItemAtPoint(point);
        if (item >= 0 && item < GetCount()) {
            switch (DeferredClickFor((keys & MK_CONTROL) != 0, (keys & MK_SHIFT) != 0)) {
            case DeferredClick::kHighlightOnly:
                SendMessage(LB_SETSEL, FALSE, -1);
                SendMessage(LB_SETSEL, TRUE, item);
                break;
            case DeferredClick::kToggle:
                SendMessage(LB_SETSEL, SendMessage(LB_GETSEL, static_cast<WPARAM>(item)) > 0 ? FALSE : TRUE, item);
                break;
            case DeferredClick::kNothing:
                break;
            }
        }
        NotifySelChange();
        m_clickPending = true;
    } else if (m_dragging && target != m_hWnd && IsTargetAllowed(target)) {
        HWND parent = ::GetParent(target);
        if (parent)
            ::PostMessageA(parent, kDropMessage, reinterpret_cast<WPARAM>(target), reinterpret_cast<LPARAM>(m_hWnd));
        ::PostMessageA(target, kDropMessage, reinterpret_cast<WPARAM>(target), reinterpret_cast<LPARAM>(m_hWnd));
    }
    result = DefaultProc(WM_LBUTTONUP, keys, MAKELPARAM(point.x, point.y));
    ::SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    bool wasDragging = m_dragging;
    m_dragging = false;
    if (wasDragging && GetCapture() == m_hWnd)
        ReleaseCapture();
    return true;
}

// ---- Item tips ----

bool CDragList::IsFocusInOwnWindow() const
{
    // The nearest MDI child or dialog around the list; the top-level window when there is none.
    HWND own = nullptr;
    for (HWND hwnd = ::GetParent(m_hWnd); hwnd; hwnd = ::GetParent(hwnd)) {
        CWnd* object = CWnd::FromHandle(hwnd);
        if (dynamic_cast<CMDIChildWnd*>(object) || dynamic_cast<CDialog*>(object)) {
            own = hwnd;
            break;
        }
    }
    if (!own)
        own = GetAncestor(m_hWnd, GA_ROOT);
    HWND focus = GetFocus();
    return focus && (focus == own || IsChild(own, focus));
}

void CDragList::OnHover(POINT point)
{
    if (m_tipTimerRunning && point.x == m_lastHover.x && point.y == m_lastHover.y)
        return;
    m_lastHover = point;
    int item = -1;
    RECT client = GetClientRect();
    if (PtInRect(&client, point) && IsFocusInOwnWindow()) {
        LRESULT hit = SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
        RECT rect;
        if (HIWORD(hit) == 0 && GetItemRect(LOWORD(hit), &rect) && PtInRect(&rect, point))
            item = LOWORD(hit);
    }
    ShowTipFor(item);
}

void CDragList::ShowTipFor(int index)
{
    if (!m_tip.IsCreated()) {
        if (index < 0 || !m_tip.Create(m_hWnd))
            return;
        m_tip.SetTabStop(kTipTabStop);
        m_tip.SetTextSource([this](int item) { return ItemTipText(item); });
    }
    RECT screen = {};
    bool show = index >= 0 && index < GetCount();
    if (show) {
        std::string text = ItemTipText(index);
        show = !text.empty() && ItemTipScreenRect(m_hWnd, index, text, kTipTabStop, screen);
    }
    if (show)
        m_tip.ShowAt(screen, index);
    if (!show)
        m_tip.Hide();
    bool visible = m_tip.IsWindowVisible() != FALSE;
    if (visible && !m_tipTimerRunning) {
        SetTimer(kTipTimer, 100);
        m_tipTimerRunning = true;
    } else if (!visible && m_tipTimerRunning) {
        KillTimer(kTipTimer);
        m_tipTimerRunning = false;
    }
}

bool CDragList::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (msg) {
    case WM_LBUTTONDOWN:
        HideTip();
        return OnButtonDown(static_cast<UINT>(wParam), point, result);
    case WM_MOUSEMOVE:
        if (!m_dragging)
            OnHover(point);
        OnMouseMove(static_cast<UINT>(wParam), point);
        return false;
    case WM_LBUTTONUP:
        HideTip();
        return OnButtonUp(static_cast<UINT>(wParam), point, result);
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
        HideTip();
        return false;
    case WM_KILLFOCUS:
        if (reinterpret_cast<HWND>(wParam) != m_tip.m_hWnd)
            HideTip();
        return false;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != m_hWnd) {
            HideTip();
            m_lastHover = {0, 0};
        }
        return false;
    default:
        return false;
    }
}

POINT CDragList::PointerPosition() const
{
    POINT cursor = {0, 0};
    GetCursorPos(&cursor);
    return cursor;
}

bool CDragList::OnTimer(UINT_PTR id, LRESULT& result)
{
    if (id != kTipTimer)
        return false;
    result = 0;
    if (m_dragging) {  // a tick already queued when the press hid the tip
        HideTip();
        return true;
    }
    POINT cursor = PointerPosition();
    ScreenToClient(m_hWnd, &cursor);
    m_lastHover = {-1, -1};  // the same place as before is looked at again
    OnHover(cursor);
    return true;
}

bool CDragList::OnDestroy(LRESULT& result)
{
    HideTip();
    if (m_tip.IsCreated())
        m_tip.DestroyWindow();
    return false;
}

bool CDragList::OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == WM_COMMAND && HIWORD(wParam) == LBN_SELCHANGE) {
        // While the button is held after a press the list box changes the selection under the
        // pointer (the press itself, or extending it as the pointer moves): no tip then, as none
        // follows the pointer while dragging.
        if (m_dragging) {
            HideTip();
            return false;
        }
        int caret = GetStyle() & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL) ? static_cast<int>(SendMessage(LB_GETCARETINDEX))
                                                                     : GetCurSel();
        ShowTipFor(caret);
        if (m_tip.IsCreated()) {
            m_tip.Invalidate();
            m_tip.UpdateWindow();
        }
    }
    return false;  // the parent still hears of the change
}
