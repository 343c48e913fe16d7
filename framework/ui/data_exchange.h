// Moves values between a dialog's fields and its controls, in either direction. When a value the
// user typed fails a check, the user is told, the focus goes to the control and every later
// exchange of the same pass is skipped; the dialog then stays open.
#pragma once
#include <windows.h>

#include <string>

class CDataExchange {
public:
    CDataExchange(HWND dialog, bool save) : m_dialog(dialog), m_save(save) {}

    bool IsSaving() const { return m_save; }
    bool Failed() const { return m_failed; }

    void Text(int id, std::string& value);
    // A whole number; typing anything else fails.
    void Number(int id, int& value);
    // A whole number from `min` to `max`.
    void Number(int id, int& value, int min, int max);
    // A check box: 0 clear, 1 checked, 2 indeterminate.
    void Check(int id, int& value);
    // A group of radio buttons from `firstId` to the next control with WS_GROUP: the index of the
    // checked one, -1 for none.
    void Radio(int firstId, int& index);
    // The selected index of a combo box, -1 for none.
    void ComboIndex(int id, int& index);

private:
    void Fail(int id, const std::string& message);

    HWND m_dialog;
    bool m_save;
    bool m_failed = false;
};
