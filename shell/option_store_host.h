// What the choice of option store needs of the system: the drive the program runs from, files, the
// Windows folder and the two real stores. Tests replace it to say "removable" or to put an old INI
// file in place without touching the machine.
#pragma once
#include <memory>
#include <string>

#include "shell/profile_store.h"

class IOptionStoreHost {
public:
    virtual ~IOptionStoreHost() = default;

    // True when the drive of `path` (the text before its first ':') is a removable drive.
    virtual bool IsRemovableDrive(const std::string& path) = 0;
    virtual bool FileExists(const std::string& path) = 0;
    // The whole file; false when it cannot be opened or read.
    virtual bool ReadFile(const std::string& path, std::string& contents) = 0;
    // The Windows folder; empty when the system cannot say.
    virtual std::string WindowsDirectory() = 0;
    // The registry under HKEY_CURRENT_USER\Software\<company>\<application>.
    virtual std::unique_ptr<IProfileStore> OpenRegistry(const std::string& company,
                                                        const std::string& application) = 0;
    // The INI file `path` through the system's profile functions.
    virtual std::unique_ptr<IProfileStore> OpenIniFile(const std::string& path) = 0;
};

// The files-and-drives half through the program's own helpers, portable; the rest is left to the system.
class CFileOptionStoreHost : public IOptionStoreHost {
public:
    bool IsRemovableDrive(const std::string& path) override;
    bool FileExists(const std::string& path) override;
    bool ReadFile(const std::string& path, std::string& contents) override;
};

#ifdef _WIN32
// The real host: GetDriveTypeA, GetWindowsDirectoryA, the registry and the profile functions.
std::unique_ptr<IOptionStoreHost> CreateSystemOptionStoreHost();
#endif
