#include "shell/ui/windows_link_shell.h"

#include <windows.h>
#include <shellapi.h>

bool CWindowsLinkShell::PathExists(const std::string& path, bool& isFolder)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return true;
}

// ShellExecute answers a value above 32 on success, else an error number.
intptr_t CWindowsLinkShell::Execute(const char* verb, const std::string& file, const std::string& parameters)
{
    HINSTANCE result = ShellExecuteA(GetActiveWindow(), verb, file.c_str(),
                                     parameters.empty() ? nullptr : parameters.c_str(), nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<intptr_t>(result);
}
