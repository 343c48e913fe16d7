// Date fields: edit controls in which the user types a date by the edit picture. The rules (the
// date held, the edited and changed flags, the undo swap) are CDateEditState's; this class gives
// them the edit control's text and events. Leaving the field reformats what was typed; Tab and Enter
// move to the next control of the dialog, the previous one with Shift.
//
// CDateEditOptional is the field that may stay empty (date ranges): empty text stands for the
// no-date value its owner sets (kNoLowerDate for a range's start, kNoUpperDate for its end).
#pragma once
#include "controls/date_edit_state.h"
#include "framework/ui/controls.h"

class CDateEdit : public CEdit, public CDateEditState {
public:
    CDateEdit() = default;

    // Subclasses the edit of a dialog template and shows the date.
    bool SubclassDlgItem(int id, HWND parent);
    // Creates the field (right-aligned) as child `id` of `parent` and shows the date.
    bool Create(HWND parent, const RECT& rect, int id, DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER);

protected:
    std::string ReadText() const override { return GetWindowText(); }
    void WriteText(const std::string& text) override { SetWindowText(text); }
    bool HasWindow() const override { return IsWindow(); }

    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

class CDateEditOptional : public CDateEdit {
public:
    explicit CDateEditOptional(std::int32_t noDate = kNoLowerDate)
    {
        SetBlankAllowed(true);
        SetNoDateValue(noDate);
    }
};
