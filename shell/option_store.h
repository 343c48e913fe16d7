// The profile wrappers through which every option is read and written, and the choice of the store
// behind them: the registry of the current user, or, in portable use, an INI file named like the
// program beside it. In portable use every write goes to the write-behind cache and reaches the INI file
// at FlushProfileCache; in registry use the wrappers go straight to the registry.
#pragma once
#include <memory>
#include <string>

#include "shell/directories.h"
#include "shell/option_store_host.h"
#include "shell/profile_cache.h"
#include "shell/profile_store.h"

class COptionStore : public IProfileStore {
public:
    static constexpr const char* kCompany = "Harlowen Software";
    static constexpr const char* kApplication = "Personal Quorvane";

    COptionStore() = default;
    COptionStore(const COptionStore&) = delete;
    COptionStore& operator=(const COptionStore&) = delete;

    // Chooses the store once per run, before anything is read. Registry use runs the one-time import of
    // an old INI file from the Windows folder, which may set folders in `directories`.
    void Choose(IOptionStoreHost& host, const std::string& programPath, CDirectories& directories);
    // Uses `store` directly: portable (through the cache) or not.
    void UseStore(std::unique_ptr<IProfileStore> store, bool portable, const std::string& profileName);

    bool WriteInt(const std::string& section, const std::string& key, int value) override;
    bool WriteString(const std::string& section, const std::string& key,
                            const std::string& value) override;
    int GetInt(const std::string& section, const std::string& key, int defaultValue) override;
    std::string GetString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) override;
    // Writes the cache out; true at once in registry use.
    bool FlushProfileCache();
    bool IsPortable() const { return m_portable; }
    // The INI path in portable use; empty in registry use.
    const std::string& GetProfileName() const { return m_profileName; }
    const CProfileCache& Cache() const { return m_cache; }

    // The program's path with its extension replaced by ".ini".
    static std::string IniPathFor(const std::string& programPath);
    // The framework's default profile name: the program's file name without extension, plus ".INI".
    static std::string DefaultProfileNameFor(const std::string& programPath);

private:
    std::unique_ptr<IProfileStore> m_store;
    CProfileCache m_cache;
    bool m_portable = false;
    std::string m_profileName;
};

// The one-time import of an old INI file into the registry. Runs only while "Quorvane"/"UseIni" is 1
// (default 1) and the file `iniPath` can be read; then sets UseIni to 0. Values that are exactly the
// "%d" text of a number become integers, all else texts; in root mode (key "UseRoot" in section
// "QUORVANE") the "Directories" values set the folders instead, which then move to the program's drive.
// True when the import ran.
bool ImportOldIniFile(IOptionStoreHost& host, IProfileStore& registry, const std::string& iniPath,
                      CDirectories& directories, const std::string& programPath);

// The parsing half of the import: writes the values of `text` to `registry`; returns whether root mode
// was switched on.
bool ImportOldIniText(const std::string& text, IProfileStore& registry, CDirectories& directories);
