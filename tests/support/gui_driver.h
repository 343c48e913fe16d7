// Drives real windows for the project's own tests, in the same process (the window under test runs
// on a CGuiThread) or in another one (CGuiProcess, for quorvane.exe). Everything goes through window
// handles and messages that the system carries across threads and processes; nothing sleeps for a
// fixed time: waits poll a condition with a bounded timeout while pumping this thread's messages.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace gui {

// Long enough for a slow Wine start, short enough that a hang fails the test.
constexpr DWORD kTimeoutMs = 20000;

// Polls `condition` until it holds (true) or `timeoutMs` passed (false), handling this thread's
// messages in between.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = kTimeoutMs);

// A visible top-level window with this caption and/or window class (nullptr: any), of process
// `processId` (0: any); nullptr when there is none.
HWND FindTopWindow(const char* caption, const char* className = nullptr, DWORD processId = 0);
HWND WaitForTopWindow(const char* caption, const char* className = nullptr, DWORD processId = 0,
                      DWORD timeoutMs = kTimeoutMs);

HWND FindControl(HWND parent, int id);
std::string GetText(HWND hwnd);
bool SetText(HWND hwnd, const std::string& text);

// Clicks a button as the user would (BM_CLICK, so the button notifies its parent itself); false when
// the button is missing, hidden or disabled.
bool ClickButton(HWND button);
bool ClickButton(HWND parent, int id);
// Presses and releases key `vk` in `hwnd`'s thread (the message loop sees it, so accelerators work).
void PressKey(HWND hwnd, UINT vk);

// While it lives, key `vk` reads as held down (GetKeyState), as a real press leaves it: on this
// thread and, given a window of another thread, on that window's thread too (the two threads share
// their input meanwhile). Accelerators with Alt, Ctrl or Shift read them so.
class CKeyHeld {
public:
    explicit CKeyHeld(UINT vk, HWND window = nullptr);
    ~CKeyHeld();
    CKeyHeld(const CKeyHeld&) = delete;
    CKeyHeld& operator=(const CKeyHeld&) = delete;

private:
    BYTE m_saved[256] = {};
    DWORD m_attachedTo = 0;
};

// The state of menu command `id` of top-level window `frame` after its popup was initialised as if
// the user opened it (MF_GRAYED, MF_CHECKED...); -1 when the menu has no such command.
int MenuItemState(HWND frame, UINT id);
// Chooses menu command `id` as the user would: only when the menu holds it and it is enabled.
bool ChooseMenuCommand(HWND frame, UINT id);

// A message box of process `processId` (0: any) whose text contains `text`.
HWND FindMessageBox(const std::string& text, DWORD processId = 0);
HWND WaitForMessageBox(const std::string& text, DWORD processId = 0, DWORD timeoutMs = kTimeoutMs);
// The message text of a message box.
std::string MessageBoxText(HWND box);
// The icon a message box shows, or nullptr.
HICON MessageBoxIcon(HWND box);
// Waits for the message box with `text` and presses its button `buttonId`; false when none came.
bool AnswerMessageBox(const std::string& text, int buttonId = IDOK, DWORD timeoutMs = kTimeoutMs);

// Runs `body` on a thread of its own, which owns the windows it creates: the test thread then drives
// them. When the test failed before the body ended, going out of scope closes the thread's windows
// (so a failed test does not hang) and, should the body still not end, leaves the thread behind.
class CGuiThread {
public:
    explicit CGuiThread(std::function<void()> body);
    ~CGuiThread();
    // Waits until the body returned; false on timeout.
    bool Join(DWORD timeoutMs = kTimeoutMs);
    bool Done() const { return m_done; }

private:
    std::atomic<bool> m_done{false};
    std::atomic<DWORD> m_threadId{0};
    std::thread m_thread;
};

// A program started for a test; terminated if it still runs when the object goes.
class CGuiProcess {
public:
    CGuiProcess() = default;
    ~CGuiProcess();
    CGuiProcess(const CGuiProcess&) = delete;
    CGuiProcess& operator=(const CGuiProcess&) = delete;

    // Starts `exe` (a path) with `arguments`; false when CreateProcess failed.
    bool Start(const std::string& exe, const std::string& arguments = "");
    DWORD Id() const { return m_info.dwProcessId; }
    bool IsRunning() const;
    // Waits for the program to end and gives its exit code; false on timeout.
    bool WaitForExit(DWORD* exitCode, DWORD timeoutMs = kTimeoutMs);

private:
    PROCESS_INFORMATION m_info = {};
};

// The path of program `name` in the folder of the running test.
std::string ProgramBesideTest(const char* name);

}  // namespace gui
