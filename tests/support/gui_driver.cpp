#include "tests/support/gui_driver.h"

#include <cstring>
#include <vector>

namespace gui {

namespace {

// Cross-thread and cross-process sends wait for the other side; a hung side fails the call instead
// of hanging the test.
constexpr UINT kSendTimeoutMs = 5000;

bool SendWithTimeout(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, DWORD_PTR* result = nullptr)
{
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(hwnd, msg, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                               result ? result : &ignored) != 0;
}

std::string ClassName(HWND hwnd)
{
    char name[256] = {};
    int length = GetClassNameA(hwnd, name, sizeof name);
    return std::string(name, length > 0 ? static_cast<size_t>(length) : 0);
}

// EnumWindows callbacks must be stdcall functions (a lambda does not convert on i686).
BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM param)
{
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> TopWindows()
{
    std::vector<HWND> windows;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::vector<HWND> ChildWindows(HWND parent)
{
    std::vector<HWND> windows;
    EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

bool OfProcess(HWND hwnd, DWORD processId)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    return processId == 0 || owner == processId;
}

bool IsMessageBox(HWND hwnd)
{
    // A message box is a dialog (class #32770) whose text is the static control 0xFFFF.
    return ClassName(hwnd) == "#32770" && GetDlgItem(hwnd, 0xFFFF) != nullptr;
}

// Finds the popup of `menu` (searched depth first) that holds command `id`, and the item's position.
bool FindMenuItem(HMENU menu, UINT id, HMENU* popup, int* position)
{
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) {
            if (FindMenuItem(sub, id, popup, position))
                return true;
        } else if (GetMenuItemID(menu, i) == id) {
            *popup = menu;
            *position = i;
            return true;
        }
    }
    return false;
}

BOOL CALLBACK CloseThreadWindow(HWND hwnd, LPARAM)
{
    if (ClassName(hwnd) == "#32770")
        PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
    else
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
    return TRUE;
}

}  // namespace

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        // Wakes for input to this thread or after a short poll interval, whichever comes first.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

HWND FindTopWindow(const char* caption, const char* className, DWORD processId)
{
    for (HWND hwnd : TopWindows()) {
        if (!IsWindowVisible(hwnd) || !OfProcess(hwnd, processId))
            continue;
        if (className && ClassName(hwnd) != className)
            continue;
        if (caption && GetText(hwnd) != caption)
            continue;
        return hwnd;
    }
    return nullptr;
}

HWND WaitForTopWindow(const char* caption, const char* className, DWORD processId, DWORD timeoutMs)
{
    HWND found = nullptr;
    WaitFor([&] { return (found = FindTopWindow(caption, className, processId)) != nullptr; }, timeoutMs);
    return found;
}

HWND FindControl(HWND parent, int id)
{
    return GetDlgItem(parent, id);
}

std::string GetText(HWND hwnd)
{
    DWORD_PTR length = 0;
    if (!SendWithTimeout(hwnd, WM_GETTEXTLENGTH, 0, 0, &length))
        return std::string();
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendWithTimeout(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), &copied))
        return std::string();
    text.resize(copied);
    return text;
}

bool SetText(HWND hwnd, const std::string& text)
{
    DWORD_PTR result = 0;
    return SendWithTimeout(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), &result) && result;
}

bool ClickButton(HWND button)
{
    if (!button || !IsWindowVisible(button) || !IsWindowEnabled(button))
        return false;
    // Posted: the button may open a modal window, which must not block the test.
    return PostMessageA(button, BM_CLICK, 0, 0) != FALSE;
}

bool ClickButton(HWND parent, int id)
{
    return ClickButton(GetDlgItem(parent, id));
}

void PressKey(HWND hwnd, UINT vk)
{
    UINT scan = MapVirtualKeyA(vk, 0);
    PostMessageA(hwnd, WM_KEYDOWN, vk, 1 | (static_cast<LPARAM>(scan) << 16));
    PostMessageA(hwnd, WM_KEYUP, vk, 1 | (static_cast<LPARAM>(scan) << 16) | (3u << 30));
}

CKeyHeld::CKeyHeld(UINT vk, HWND window)
{
    DWORD other = window ? GetWindowThreadProcessId(window, nullptr) : 0;
    if (other && other != GetCurrentThreadId() && AttachThreadInput(GetCurrentThreadId(), other, TRUE))
        m_attachedTo = other;
    GetKeyboardState(m_saved);
    BYTE held[256];
    memcpy(held, m_saved, sizeof held);
    held[vk] = 0x80;
    SetKeyboardState(held);
}

CKeyHeld::~CKeyHeld()
{
    SetKeyboardState(m_saved);
    if (m_attachedTo)
        AttachThreadInput(GetCurrentThreadId(), m_attachedTo, FALSE);
}

int MenuItemState(HWND frame, UINT id)
{
    HMENU popup = nullptr;
    int position = 0;
    if (!FindMenuItem(GetMenu(frame), id, &popup, &position))
        return -1;
    // The frame sets its items' state when a popup opens, as for the user.
    SendWithTimeout(frame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    return static_cast<int>(GetMenuState(popup, static_cast<UINT>(position), MF_BYPOSITION));
}

bool ChooseMenuCommand(HWND frame, UINT id)
{
    int state = MenuItemState(frame, id);
    if (state < 0 || (state & (MF_GRAYED | MF_DISABLED)))
        return false;
    return PostMessageA(frame, WM_COMMAND, MAKEWPARAM(id, 0), 0) != FALSE;
}

std::string MessageBoxText(HWND box)
{
    return GetText(GetDlgItem(box, 0xFFFF));
}

HICON MessageBoxIcon(HWND box)
{
    for (HWND child : ChildWindows(box)) {
        if (ClassName(child) == "Static" && (GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            DWORD_PTR icon = 0;
            SendWithTimeout(child, STM_GETICON, 0, 0, &icon);
            return reinterpret_cast<HICON>(icon);
        }
    }
    return nullptr;
}

HWND FindMessageBox(const std::string& text, DWORD processId)
{
    for (HWND hwnd : TopWindows()) {
        if (IsWindowVisible(hwnd) && OfProcess(hwnd, processId) && IsMessageBox(hwnd) &&
            MessageBoxText(hwnd).find(text) != std::string::npos)
            return hwnd;
    }
    return nullptr;
}

HWND WaitForMessageBox(const std::string& text, DWORD processId, DWORD timeoutMs)
{
    HWND found = nullptr;
    WaitFor([&] { return (found = FindMessageBox(text, processId)) != nullptr; }, timeoutMs);
    return found;
}

bool AnswerMessageBox(const std::string& text, int buttonId, DWORD timeoutMs)
{
    HWND box = WaitForMessageBox(text, 0, timeoutMs);
    if (!box)
        return false;
    HWND button = GetDlgItem(box, buttonId);
    if (!button)
        return false;
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return WaitFor([box] { return !IsWindow(box); }, timeoutMs);
}

CGuiThread::CGuiThread(std::function<void()> body)
    : m_thread([this, body = std::move(body)] {
          m_threadId = GetCurrentThreadId();
          body();
          m_done = true;
      })
{
}

CGuiThread::~CGuiThread()
{
    if (!m_thread.joinable())
        return;
    // Cancel (IDCANCEL) ends dialogs, message boxes and sheets; WM_CLOSE ends the rest.
    auto closeAll = [this] {
        EnumThreadWindows(m_threadId, CloseThreadWindow, 0);
        return m_done.load();
    };
    if (WaitFor(closeAll, kTimeoutMs))
        m_thread.join();
    else
        m_thread.detach();
}

bool CGuiThread::Join(DWORD timeoutMs)
{
    if (!WaitFor([this] { return m_done.load(); }, timeoutMs))
        return false;
    m_thread.join();
    return true;
}

CGuiProcess::~CGuiProcess()
{
    if (!m_info.hProcess)
        return;
    if (IsRunning()) {
        TerminateProcess(m_info.hProcess, 99);
        WaitForSingleObject(m_info.hProcess, kTimeoutMs);
    }
    CloseHandle(m_info.hThread);
    CloseHandle(m_info.hProcess);
}

bool CGuiProcess::Start(const std::string& exe, const std::string& arguments)
{
    std::string commandLine = "\"" + exe + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    return CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &m_info) != FALSE;
}

bool CGuiProcess::IsRunning() const
{
    return m_info.hProcess && WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT;
}

bool CGuiProcess::WaitForExit(DWORD* exitCode, DWORD timeoutMs)
{
    if (!WaitFor([this] { return !IsRunning(); }, timeoutMs))
        return false;
    return GetExitCodeProcess(m_info.hProcess, exitCode) != FALSE;
}

std::string ProgramBesideTest(const char* name)
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1) + name;
}

}  // namespace gui
