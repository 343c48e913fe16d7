// The program's shell for link targets: the one place a link, a tip's link, the splash's home page
// and the web commands reach ShellExecute. Addresses arrive already checked (SafeInternetAddress).
#pragma once
#include "storage/link_shell.h"

class CDirectories;

class CWindowsLinkShell : public ILinkShell {
public:
    // Relative targets resolve against the attachments folder the open file chose in `directories`
    // (kept by the caller); without it they are taken as they stand.
    explicit CWindowsLinkShell(const CDirectories* directories = nullptr) : m_directories(directories) {}

    bool PathExists(const std::string& path, bool& isFolder) override;
    intptr_t Execute(const char* verb, const std::string& file, const std::string& parameters) override;
    // Opening folders with a program of the user's choice is not offered: the shell opens them.
    std::string FolderProgram() override { return std::string(); }
    // The search for a moved file belongs to the article windows; here a missing file is reported.
    bool CanSearchMissing() override { return false; }
    std::string BaseFolder() override;
    int FindMissing(std::string&, int32_t) override { return 0; }

private:
    const CDirectories* m_directories;
};
