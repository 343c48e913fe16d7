// A list box whose highlighted items the user drags out to other windows: the index window's keyword
// and group lists, and keyword lists of dialogs. A press on an already highlighted item keeps the
// selection (so a multi-item selection can be dragged) and applies the click at the release when no
// drag followed. Moving more than 2 pixels drags; the cursor shows whether the window under it takes
// the items. A release over a window of an allowed kind posts kDropMessage first to that window's
// parent, then to it; the receivers do the work.
//
// The drop message carries window handles, never object pointers: it is posted, so the source list
// or the target may be gone by the time it arrives. Receivers resolve both with CDragList::FromDrop
// and ignore the message when either is gone.
#pragma once
#include <string>
#include <vector>

#include "controls/ui/item_tip_wnd.h"
#include "framework/ui/list_box.h"
#include "index/drag_rules.h"
#include "resources/index_window_res.h"

// A window that says what it is as a drop target (the DropWindowFacts classes it belongs to). The
// lists, the index view and the article view implement it.
class CDropClassified {
public:
    virtual ~CDropClassified() = default;
    virtual unsigned DropClasses() const = 0;
};

class CDragList : public CListBox, public CDropClassified {
public:
    // wParam: the target window's handle; lParam: the dragged list's handle.
    enum : UINT { kDropMessage = WM_APP };
    // The program's drag cursors: several items, one item.
    enum : int { kCursorSeveral = IDC_DRAG_SEVERAL, kCursorOne = IDC_DRAG_ONE };

    CDragList() = default;

    // The kinds of target the items may be dropped on; empty allows nothing.
    void SetTargetKinds(const std::vector<DropKind>& kinds) { m_kinds = kinds; }
    DropKind GetTargetKind(HWND window) const;
    bool IsTargetAllowed(HWND window) const;
    unsigned DropClasses() const override { return DropWindowFacts::kDragList; }

    // The dragged list of a drop message, or nullptr when it or the target window is gone.
    static CDragList* FromDrop(WPARAM wParam, LPARAM lParam);

    // Top index + y / item height.
    int ItemAtPoint(POINT point) const;
    bool IsPointOnItem(POINT point) const;
    bool IsDragging() const { return m_dragging; }

    // Item tips: an item whose text is wider than the list shows it whole in a tip laid over the
    // item, while the pointer rests on it (the keyboard focus inside the list's window) or the
    // keyboard moves the caret to it. Timer kTipTimer follows the pointer while a tip shows, so the
    // tip goes when the pointer leaves the list without another move.
    enum : UINT_PTR { kTipTimer = 2 };
    enum : int { kTipTabStop = 40 };
    void ShowTipFor(int index);
    void HideTip() { ShowTipFor(-1); }
    const CItemTipWnd& Tip() const { return m_tip; }

protected:
    // Hides the item tip where a press or a change of focus or capture asks for it, then drags.
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // The tip follows the caret item when the selection changes; the parent still hears of it.
    bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnTimer(UINT_PTR id, LRESULT& result) override;
    bool OnDestroy(LRESULT& result) override;
    // The parent learns of a selection the deferred click made.
    void NotifySelChange() const;
    // The whole text of an item, for its tip; empty shows no tip.
    virtual std::string ItemTipText(int index) const { return std::string(); }
    // Where the pointer is, in screen coordinates, for the tip timer (tests pin it).
    virtual POINT PointerPosition() const;

private:
    bool OnButtonDown(UINT keys, POINT point, LRESULT& result);
    void OnMouseMove(UINT keys, POINT point);
    bool OnButtonUp(UINT keys, POINT point, LRESULT& result);
    HWND WindowAt(POINT point) const;
    void ClearSelection() const;
    void OnHover(POINT point);
    bool IsFocusInOwnWindow() const;

    POINT m_last = {0, 0};
    bool m_dragging = false;
    bool m_clickPending = true;   // false: a press on a highlighted item waits for its release
    std::vector<DropKind> m_kinds;
    CItemTipWnd m_tip;
    bool m_tipTimerRunning = false;
    POINT m_lastHover = {0, 0};
};

// The facts GetTargetKind decides on, for a window and the dragged list's parent.
DropWindowFacts DropFactsOf(HWND window, HWND sourceParent);
