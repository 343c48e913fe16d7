#include "index/ui/drag_list.h"

#include <windowsx.h>

#include <algorithm>

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

bool CDragList::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (msg) {
    case WM_LBUTTONDOWN:
        return OnButtonDown(static_cast<UINT>(wParam), point, result);
    case WM_MOUSEMOVE:
        OnMouseMove(static_cast<UINT>(wParam), point);
        return false;
    case WM_LBUTTONUP:
        return OnButtonUp(static_cast<UINT>(wParam), point, result);
    default:
        return false;
    }
}
