// The colour popup (dialog 265): sixteen palette cells, Automatic, a custom swatch and Other...
// (the system colour dialog), opened modally under its button. It holds the mouse so that a click
// anywhere comes to it: a click outside cancels, a click on an item chooses it. The arrow keys walk
// the items, Enter chooses. It ends with 14000 + cell, 1354 (Automatic), 1355 (the custom colour)
// or IDCANCEL.
#pragma once
#include "controls/color_popup_model.h"
#include "controls/ui/themed_button.h"
#include "framework/ui/dialog.h"

class CColorPopup : public CDialog {
public:
    explicit CColorPopup(HWND parent = nullptr);
    ~CColorPopup() override;

    // Inputs, set before DoModal.
    int m_automaticMode = 0;  // 1 COLOR_BTNFACE, 2 COLOR_WINDOW, else COLOR_WINDOWTEXT
    COLORREF m_initialColor = color_popup::kNoColor;
    RECT m_anchor = {};       // the button's screen rectangle
    COLORREF m_customColor = 0;
    unsigned m_commandId = 0;

    // The chosen colour after it ended: -1 Automatic, the custom colour, a palette colour, else 0.
    COLORREF GetColor() const;
    int GetFocusItem() const { return m_focusItem; }
    int GetChoice() const { return m_choice; }

    // The system colour dialog; replaceable by tests. True with `color` set on OK.
    virtual bool RunColorDialog(COLORREF& color);


protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    RECT ItemRect(int item) const;
    int ItemAt(POINT client) const;
    COLORREF AutomaticColor() const;
    void Paint(HDC dc);
    void DrawItemFrame(HDC dc, int item);
    void SetFocusItem(int item);
    void Choose(int item);
    void OpenColorDialog();
    void OnMouse(UINT msg, POINT client);

    color_popup::CellGrid m_cells;
    RECT m_automatic = {};
    RECT m_custom = {};
    RECT m_other = {};
    int m_choice = color_popup::kItemNone;
    int m_focusItem = color_popup::kItemOther;
    int m_hotItem = color_popup::kItemNone;
    bool m_pressed = false;
    bool m_buttonPressed = false;
    bool m_inColorDialog = false;
    CThemedButton m_otherButton;
};
