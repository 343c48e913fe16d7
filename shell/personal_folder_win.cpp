#include "shell/personal_folder.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

namespace {

// shell32 before 4.71 has no SHGetSpecialFolderPathA; its version comes from DllGetVersion.
bool ShellIsNewerThan470(HMODULE shell)
{
    auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(
        reinterpret_cast<void*>(GetProcAddress(shell, "DllGetVersion")));
    if (!getVersion)
        return false;
    DLLVERSIONINFO info = {};
    info.cbSize = sizeof info;
    if (FAILED(getVersion(&info)))
        return false;
    DWORD version = MAKELONG(info.dwMinorVersion, info.dwMajorVersion);
    return version > 0x00040046;
}

}  // namespace

std::string PersonalFolder()
{
    HMODULE shell = LoadLibraryA("shell32.dll");
    if (!shell)
        return std::string();
    std::string result;
    if (ShellIsNewerThan470(shell)) {
        using GetPathFn = BOOL(WINAPI*)(HWND, LPSTR, int, BOOL);
        auto getPath = reinterpret_cast<GetPathFn>(
            reinterpret_cast<void*>(GetProcAddress(shell, "SHGetSpecialFolderPathA")));
        char path[MAX_PATH] = {};
        // Fourth argument FALSE: the folder is not created when it is missing.
        if (getPath && getPath(nullptr, path, CSIDL_PERSONAL, FALSE))
            result = path;
    }
    FreeLibrary(shell);
    return result;
}
