// The progress dialog of long operations: a message line, a progress bar and a Cancel button
// (renamed "Stop" by CreateWithStop). It is modeless; the operation runs on the user-interface
// thread, calls PumpPendingMessage between its steps and asks IsCanceled. Cancel only sets the flag:
// the operation ends itself at its next step. The object deletes itself when its window is gone.
#pragma once
#include <string>

#include "framework/ui/dialog.h"

class CProgressDlg : public CDialog {
public:
    explicit CProgressDlg(HWND parent = nullptr);

    // Creates the dialog from `templateId` and renames its Cancel button "Stop".
    bool CreateWithStop(int templateId);

    void SetRange(int count) { m_range = count; }
    // Shows string `stringId` in the message line; a missing string leaves the line as it is.
    void SetMessage(int stringId);
    void SetText(const std::string& text);
    // One step done; with a positive range the bar moves to position * 100 / range.
    void StepIt();
    bool IsCanceled() const { return m_canceled != 0; }

    int Position() const { return m_position; }

protected:
    bool OnInitDialog() override;
    void OnCancel() override;
    void OnFinalMessage() override;

private:
    int m_canceled = 0;
    int m_range = 100;
    int m_position = 0;
};

// A long operation's hold on the program: disables the main window and enables the progress
// dialog; when it goes out of scope, on every path including an unwinding error, it re-enables the
// main window, destroys the dialog (which deletes itself) and posts again a WM_QUIT that
// PumpPendingMessage took off the queue.
class CProgressScope {
public:
    CProgressScope(HWND mainWindow, CProgressDlg* dialog);
    ~CProgressScope();
    CProgressScope(const CProgressScope&) = delete;
    CProgressScope& operator=(const CProgressScope&) = delete;

private:
    HWND m_mainWindow;
    HWND m_dialog;
};
