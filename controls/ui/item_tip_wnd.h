// The tip of a list item too wide for its list: a small topmost popup laid exactly over the item,
// showing the item's whole text in the list's font (in the highlight colours while the item is
// selected). Its owner list decides when to show and hide it (CTipListBox, the index window's lists).
// A click on the tip hides it and goes to the item underneath.
#pragma once
#include <functional>
#include <string>

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
    // Where the text of an item comes from: lists without strings (owner-drawn over ids) name their
    // items themselves; by default the list's own string.
    void SetTextSource(std::function<std::string(int item)> textOf) { m_textOf = std::move(textOf); }
    std::string TextOf(int item) const;
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
    std::function<std::string(int item)> m_textOf;
};

// Where the tip of item `index` of `list` goes, in screen coordinates: the item's rectangle from its
// text, `textStart` pixels in (pictures before the text stay uncovered), widened to the tabbed width
// of `text` (one tab stop of `tabStop` pixels, in the list's font) + 4 and kept inside the work area
// of its monitor, moved left first, then right. False when the text fits the item (no tip).
bool ItemTipScreenRect(HWND list, int index, const std::string& text, int tabStop, RECT& screen, int textStart = 0);
