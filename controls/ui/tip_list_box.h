// A list box with strings whose items too wide for it show their whole text in an item tip while the
// pointer is over them or the keyboard selects them. While a tip shows, the list holds the mouse
// capture, so that it sees the pointer leave and hides the tip. Tips show only while this program is
// the active one. Subclass the list of a dialog template, then SetTabStop once.
#pragma once
#include "controls/ui/item_tip_wnd.h"
#include "framework/ui/list_box.h"

class CTipListBox : public CListBox {
public:
    CTipListBox() = default;
    ~CTipListBox() override;

    // The one tab stop, in dialog units of the parent dialog: the list gets it in dialog units, the
    // measuring and the tip in pixels.
    void SetTabStop(int dialogUnits);
    // Where item text starts in an owner-drawn list whose items show pictures before it (pixels).
    void SetTextStart(int pixels) { m_textStart = pixels; }
    void HideTip() { ShowTipFor(-1); }
    // Shows the tip of item `index` when its text does not fit, else (and for -1 or an index that is
    // not an item) hides it.
    void ShowTipFor(int index);

    const CItemTipWnd& Tip() const { return m_tip; }

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnDestroy(LRESULT& result) override;

private:
    void OnMouseMove(POINT point);
    void TakeCapture();
    void ReleaseHeldCapture();
    bool IsOwnProgramActive() const;
    // A press that is not a plain left click: the tip goes and the list's view becomes its frame's
    // active view.
    void OnOtherClick();

    int m_tabStop = 40;
    int m_textStart = 0;
    CItemTipWnd m_tip;
    POINT m_lastPoint = {0, 0};
    bool m_captureHeld = false;
};
