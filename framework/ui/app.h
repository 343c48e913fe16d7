// The application object: one per program, alive for the whole run. It runs the message loop (with
// the pre-translation chain and idle update of command state), is the last command target on every
// route, and shows error messages in a message box owned by its main window.
#pragma once
#include <windows.h>

#include "framework/cmd_target.h"

class CWnd;

class CWinApp : public CCmdTarget {
public:
    // Becomes the current application and installs the error-message box.
    CWinApp();
    ~CWinApp() override;

    static CWinApp* Current();

    // InitInstance, the message loop while InitInstance succeeded, then ExitInstance; returns the exit
    // code. `showCommand` is WinMain's.
    int Main(int showCommand);
    // Runs the message loop until WM_QUIT and returns its exit code.
    int Run();

    // Offers `msg` to the PreTranslateMessage of the object of its window and of each ancestor, then
    // of the main window; true when one of them used it up.
    bool PreTranslateMessage(MSG* msg);

    CWnd* GetMainWnd() const { return m_mainWnd; }
    void SetMainWnd(CWnd* wnd) { m_mainWnd = wnd; }
    int ShowCommand() const { return m_showCommand; }

    // Called by the command router inside its catch block: reports the exception being handled. The
    // default notes it; the program's application shows its own error type to the user.
    virtual void ReportCommandException();

    // Before the program ends: every document may save. False keeps the program running. The
    // default has no documents.
    virtual bool SaveAllModified() { return true; }

    // The program's help hook: shows the help topic of `helpId` (a context from context-help mode
    // or a help button). The default shows nothing.
    virtual void ShowHelp(DWORD helpId) {}

protected:
    virtual bool InitInstance() { return true; }
    virtual int ExitInstance(int exitCode) { return exitCode; }
    // The queue just went empty: the main frame updates its bars (OnIdleUpdateCmdUI).
    virtual void OnIdle();

private:
    CWnd* m_mainWnd = nullptr;
    int m_showCommand = SW_SHOWNORMAL;
};

// Takes at most one message off this thread's queue, for long operations between their steps.
// Returns 1 when no message was waiting, 0 after taking one. WM_COMMAND, WM_CLOSE and the system
// Close command are dropped, so no second command starts and the program does not close while an
// operation runs; every other message is translated and dispatched, so painting, timers and the
// progress dialog's buttons keep working. A WM_QUIT is kept for RepostPendingQuit.
int PumpPendingMessage();

// Posts again a WM_QUIT that PumpPendingMessage took off the queue; called when the operation ends
// (the message loop does it after every dispatch).
void RepostPendingQuit();
