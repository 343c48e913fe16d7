// Starts quorvane.exe as a user would, waits for its main window, closes it and checks the exit code.
#include <windows.h>

#include <gtest/gtest.h>
#include <string>

namespace {

std::string ProgramBesideTest(const char* name)
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1) + name;
}

// Waits for a top-level window with this caption, polling the window list while the process lives.
HWND WaitForWindow(HANDLE process, const char* caption, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        if (HWND found = FindWindowA(nullptr, caption))
            return found;
        if (WaitForSingleObject(process, 20) == WAIT_OBJECT_0)
            return nullptr;
    }
    return nullptr;
}

}  // namespace

TEST(Smoke, MainWindowOpensAndClosesCleanly)
{
    std::string exe = ProgramBesideTest("quorvane.exe");
    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA si = {sizeof si};
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &si, &pi))
        << exe;

    HWND frame = WaitForWindow(pi.hProcess, "Personal Quorvane", 60000);
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(IsWindowVisible(frame));

    PostMessageA(frame, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(pi.hProcess, 60000), WAIT_OBJECT_0);
    DWORD exitCode = 99;
    GetExitCodeProcess(pi.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}
