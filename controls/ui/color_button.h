// The combo-box-like colour button of dialogs and preference pages: a swatch of the current colour
// (Automatic shows a system colour), an optional caption and a drop arrow. Only a press on the
// arrow reaches the owner (as BN_CLICKED): the owner then sets the pushed-in look, runs
// CColorPopup under the button, takes the chosen colour and clears the look. The space bar does
// nothing, so the popup never opens by keyboard through the button itself.
#pragma once
#include <string>

#include "controls/ui/masked_bitmap.h"
#include "controls/ui/visual_styles.h"
#include "framework/ui/controls.h"

class CColorButton : public CButton {
public:
    // Binds its own visual-style entry points once per process.
    CColorButton();
    ~CColorButton() override;

    // Creates the button (BS_OWNERDRAW is forced) as child `id` of `parent`.
    bool Create(DWORD style, const RECT& rect, HWND parent, UINT id);
    // Subclasses a button of a dialog template and makes it owner-drawn.
    bool SubclassButton(HWND button);

    // -1 for Automatic.
    void SetColor(COLORREF color);
    COLORREF GetColor() const { return m_color; }
    // Automatic shows COLOR_BTNFACE when set, COLOR_WINDOWTEXT when clear.
    void SetAutomaticIsFace(bool face);
    // Drawn beside a square swatch when not empty.
    void SetCaption(const std::string& caption);
    // The pushed-in look while the owner's popup is open; redraws without erasing.
    void SetPressed(bool pressed);
    bool IsPressed() const { return m_pushedIn; }
    // The owner's part of a press: runs the colour popup under the button with the button's colour
    // (pushed in meanwhile) and, unless it was cancelled, takes the chosen colour. `customColor` is
    // the popup's custom colour in and out; `automaticMode` as CColorPopup's. True when a colour was
    // chosen (the same one again included).
    bool RunPopup(int automaticMode, COLORREF& customColor);
    bool IsHot() const { return m_hot; }
    bool IsArrowHot() const { return m_arrowHot; }

    // The colour buttons' own visual-style entry points (Disable gives classic drawing).
    static CVisualStyles& VisualStyles();
    static bool IsThemeActive();

protected:
    bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    virtual void DrawItem(const DRAWITEMSTRUCT& item);

private:
    void DrawClassic(const DRAWITEMSTRUCT& item);
    bool DrawThemed(const DRAWITEMSTRUCT& item);
    void DrawSwatchAndCaption(HDC dc, const RECT& swatch, const RECT& caption);
    COLORREF ShownColor() const;
    bool IsOnArrow(LPARAM point) const;

    bool m_automaticIsFace = false;
    std::string m_caption;
    COLORREF m_color = static_cast<COLORREF>(-1);
    bool m_arrowHot = false;
    bool m_hot = false;
    bool m_pushedIn = false;
    CMaskedBitmap m_arrow;
};
