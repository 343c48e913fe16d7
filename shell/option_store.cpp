#include "shell/option_store.h"

namespace {

const char kProductSection[] = "Quorvane";

}  // namespace

std::string COptionStore::IniPathFor(const std::string& programPath)
{
    size_t slash = programPath.find_last_of("\\/");
    size_t dot = programPath.rfind('.');
    std::string base = programPath;
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        base.erase(dot);
    return base + ".ini";
}

std::string COptionStore::DefaultProfileNameFor(const std::string& programPath)
{
    size_t slash = programPath.find_last_of("\\/");
    std::string name = slash == std::string::npos ? programPath : programPath.substr(slash + 1);
    size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return name + ".INI";
}

void COptionStore::Choose(IOptionStoreHost& host, const std::string& programPath, CDirectories& directories)
{
    std::string iniPath = IniPathFor(programPath);
    // A path without ':' has no drive to ask about, so it is never removable.
    bool portable = programPath.find(':') != std::string::npos && host.IsRemovableDrive(programPath);
    if (!portable && host.FileExists(iniPath)) {
        std::unique_ptr<IProfileStore> ini = host.OpenIniFile(iniPath);
        portable = ini && !ini->GetString(kProductSection, "Portable", std::string()).empty();
    }
    if (portable) {
        UseStore(host.OpenIniFile(iniPath), true, iniPath);
        return;
    }
    UseStore(host.OpenRegistry(kCompany, kApplication), false, std::string());
    std::string windows = host.WindowsDirectory();
    if (!windows.empty() && m_store) {
        std::string oldIni = windows + (windows.back() == '\\' ? "" : "\\") + DefaultProfileNameFor(programPath);
        ImportOldIniFile(host, *m_store, oldIni, directories, programPath);
    }
}

void COptionStore::UseStore(std::unique_ptr<IProfileStore> store, bool portable, const std::string& profileName)
{
    m_store = std::move(store);
    m_portable = portable;
    m_profileName = portable ? profileName : std::string();
    m_cache.Clear();
}

bool COptionStore::WriteInt(const std::string& section, const std::string& key, int value)
{
    if (m_portable) {
        m_cache.SetInt(section, key, value);
        return true;
    }
    return m_store && m_store->WriteInt(section, key, value);
}

bool COptionStore::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    if (m_portable) {
        m_cache.SetString(section, key, value);
        return true;
    }
    return m_store && m_store->WriteString(section, key, value);
}

int COptionStore::GetInt(const std::string& section, const std::string& key, int defaultValue)
{
    if (!m_store)
        return defaultValue;
    return m_portable ? m_cache.GetInt(*m_store, section, key, defaultValue)
                      : m_store->GetInt(section, key, defaultValue);
}

std::string COptionStore::GetString(const std::string& section, const std::string& key,
                                           const std::string& defaultValue)
{
    if (!m_store)
        return defaultValue;
    return m_portable ? m_cache.GetString(*m_store, section, key, defaultValue)
                      : m_store->GetString(section, key, defaultValue);
}

bool COptionStore::FlushProfileCache()
{
    if (!m_portable || !m_store)
        return true;
    return m_cache.Flush(*m_store);
}
