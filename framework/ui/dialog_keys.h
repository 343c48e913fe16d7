// An accelerator table for a modal dialog. The system's modal loop (DialogBoxParam) translates no
// accelerators, and it would take Alt plus a letter for the mnemonic of a button before the dialog
// saw it. So a message filter of the loop's thread (WH_MSGFILTER, which the dialog manager calls with
// MSGF_DIALOGBOX for every message it gets, before translating or dispatching it) runs the table for
// messages to the dialog and its controls; a key it translates goes no further. Dialogs opened over
// the dialog (message boxes, other dialogs) keep their own keys. Several can be attached on one thread
// at a time (a dialog with keys over another).
#pragma once
#include <windows.h>

class CDialogKeys {
public:
    CDialogKeys() = default;
    ~CDialogKeys() { Detach(); }
    CDialogKeys(const CDialogKeys&) = delete;
    CDialogKeys& operator=(const CDialogKeys&) = delete;

    // Loads accelerator table `tableId` of the program and translates it for `dialog` (its commands
    // arrive as WM_COMMAND with code 1) until Detach. False when the table or the filter is missing.
    bool Attach(HWND dialog, int tableId);
    // Stops translating; also on destruction. Call it on the thread that attached.
    void Detach();

private:
    static LRESULT CALLBACK Filter(int code, WPARAM wParam, LPARAM lParam);

    HWND m_dialog = nullptr;
    HACCEL m_table = nullptr;
    HHOOK m_hook = nullptr;
    CDialogKeys* m_below = nullptr;  // the one attached before on this thread
};
