// An application object for GUI tests that records the help requests reaching it instead of starting a
// help viewer: the last context id and how many came. Read from the test thread while the GUI thread
// writes, hence atomics.
#pragma once
#include <windows.h>

#include <atomic>

#include "framework/ui/app.h"

class CHelpRecordingApp : public CWinApp {
public:
    void ShowHelp(DWORD helpId) override
    {
        m_last = helpId;
        ++m_count;
    }
    std::atomic<DWORD> m_last{0};
    std::atomic<int> m_count{0};
};
