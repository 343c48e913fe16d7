// What opening a link target needs of the system and of the rest of the program: whether a path
// exists, the shell's "open", the folder program of the settings, the knowledge base's base folder
// and the search for a target that moved. The window half installs one (SetLinkShell); tests give
// their own.
#pragma once
#include <cstdint>
#include <string>

class ILinkShell {
public:
    virtual ~ILinkShell() = default;
    // True when `path` names an existing file or folder; `isFolder` says which.
    virtual bool PathExists(const std::string& path, bool& isFolder) = 0;
    // The shell's answer for `verb` (nullptr: the default verb) on `file` with `parameters`, shown
    // in a normal window: above 32 on success, else the shell's error number.
    virtual intptr_t Execute(const char* verb, const std::string& file, const std::string& parameters) = 0;
    // The program the settings name for opening folders, when it still exists; "" otherwise.
    virtual std::string FolderProgram() = 0;
    // True while a knowledge base is open that may be changed.
    virtual bool CanSearchMissing() = 0;
    // The folder relative file and folder targets are resolved against.
    virtual std::string BaseFolder() = 0;
    // The "File or Folder Not Found" search for `path`: 1 (OK) with `path` replaced by the chosen one,
    // 4 to try again, anything else to give up.
    virtual int FindMissing(std::string& path, int32_t callerValue) = 0;
};

// Installs the shell all link targets open through (nullptr: opening does nothing). The caller keeps
// ownership. Returns the previous one.
ILinkShell* SetLinkShell(ILinkShell* shell);
ILinkShell* GetLinkShell();

// The string-table message for a failed shell open with result `result` (0 to 32).
int ShellErrorMessageId(intptr_t result);

// The address an Internet link may be handed to the shell as, or "" when it must not be: only
// addresses of the web, mail and news schemes (and file addresses, which open like file links) are
// passed on; "www." and "ftp." host names without a scheme get theirs. Anything else (a program's
// path, a command) could run a program nobody meant to start. Spaces, double quotes and control
// characters are passed percent-encoded.
std::string SafeInternetAddress(const std::string& address);
