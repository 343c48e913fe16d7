// The tip of a list item too wide for its list: a small topmost popup laid exactly over the item,
// showing the item's whole text in the list's font (in the highlight colours while the item is
// selected). Its owner list decides when to show and hide it (CTipListBox, the keyword-group list).
#pragma once
#include "framework/ui/custom_wnd.h"

class CItemTipWnd : public CCustomWnd {
public:
    // Creates the hidden popup (WS_POPUP | WS_BORDER), owned by the list's window.
    bool Create(HWND ownerList);
    bool IsCreated() const { return IsWindow(); }

    // Shows the tip over `screenRect` (its window rectangle) for item `item` of the list, without
    // taking the activation; repaints when the item changed.
    void ShowAt(const RECT& screenRect, int item);
    void Hide();

    void SetTextTop(int top) { m_textTop = top; }
    // The one tab position, in pixels.
    void SetTabStop(int pixels) { m_tabStop = pixels; }
    int GetItem() const { return m_item; }

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Paint();

    int m_textTop = 0;
    int m_item = -1;
    int m_tabStop = 10;
    HWND m_ownerList = nullptr;
};
