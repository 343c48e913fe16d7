// The program's main window for a test's GUI thread: a shown frame that the application object names
// as its main window while the object lives, so that message boxes and dialogs get the owner they
// have in the program.
#pragma once
#include <windows.h>

#include "framework/ui/app.h"
#include "framework/ui/frame_wnd.h"

class CTestMainFrame {
public:
    CTestMainFrame(CWinApp& app, const char* caption) : m_app(app)
    {
        if (!m_frame.Create(caption, 0))
            return;
        m_frame.ShowWindow(SW_SHOW);
        m_app.SetMainWnd(&m_frame);
    }
    ~CTestMainFrame() { m_app.SetMainWnd(nullptr); }
    CTestMainFrame(const CTestMainFrame&) = delete;
    CTestMainFrame& operator=(const CTestMainFrame&) = delete;

    // Null when the frame could not be made.
    HWND Handle() const { return m_frame.m_hWnd; }

private:
    CWinApp& m_app;
    CFrameWnd m_frame;
};
