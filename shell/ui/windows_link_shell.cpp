#include "shell/ui/windows_link_shell.h"

#include <windows.h>
#include <shellapi.h>

#include "shell/directories.h"

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

// The folder the open file resolves relative targets against (set when the file opens, by its own
// setting), without a closing backslash after a folder name.
std::string CWindowsLinkShell::BaseFolder()
{
    if (!m_directories)
        return std::string();
    std::string folder = m_directories->GetExpandedFolder(CDirectories::kAttachments);
    while (folder.size() > 3 && folder.back() == '\\')
        folder.pop_back();
    return folder;
}
