#include <windows.h>

#include <vector>

#include "shell/system_stores.h"

namespace {

// Owns an open registry key.
class CRegKey {
public:
    CRegKey() = default;
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;
    ~CRegKey()
    {
        if (m_key)
            RegCloseKey(m_key);
    }
    HKEY* Out() { return &m_key; }
    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

class CRegistryProfileStore : public IProfileStore {
public:
    CRegistryProfileStore(const std::string& company, const std::string& application)
        : m_appKey("Software\\" + company + "\\" + application)
    {
    }

    bool WriteInt(const std::string& section, const std::string& key, int value) override
    {
        CRegKey k;
        if (!OpenSection(section, true, k))
            return false;
        DWORD data = static_cast<DWORD>(value);
        return RegSetValueExA(k.Get(), key.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                              sizeof data) == ERROR_SUCCESS;
    }

    bool WriteString(const std::string& section, const std::string& key, const std::string& value) override
    {
        CRegKey k;
        if (!OpenSection(section, true, k))
            return false;
        // REG_SZ data includes its terminating NUL.
        return RegSetValueExA(k.Get(), key.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                              static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
    }

    int GetInt(const std::string& section, const std::string& key, int defaultValue) override
    {
        CRegKey k;
        if (!OpenSection(section, false, k))
            return defaultValue;
        DWORD type = 0;
        DWORD data = 0;
        DWORD size = sizeof data;
        if (RegQueryValueExA(k.Get(), key.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) !=
                ERROR_SUCCESS ||
            type != REG_DWORD || size != sizeof data)
            return defaultValue;
        return static_cast<int>(data);
    }

    std::string GetString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) override
    {
        CRegKey k;
        if (!OpenSection(section, false, k))
            return defaultValue;
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExA(k.Get(), key.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
            type != REG_SZ)
            return defaultValue;
        // The value may change between the two calls; the second one reports the size it needed then.
        std::vector<char> buffer(size + 1);
        for (;;) {
            DWORD got = static_cast<DWORD>(buffer.size() - 1);
            LONG rc = RegQueryValueExA(k.Get(), key.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                                       &got);
            if (rc == ERROR_MORE_DATA) {
                buffer.resize(got + 1);
                continue;
            }
            if (rc != ERROR_SUCCESS || type != REG_SZ)
                return defaultValue;
            // Stored data need not end with a NUL; the text ends at the first NUL or at the data's end.
            buffer[got] = '\0';
            return std::string(buffer.data());
        }
    }

private:
    bool OpenSection(const std::string& section, bool create, CRegKey& key) const
    {
        std::string path = m_appKey + "\\" + section;
        if (create)
            return RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   KEY_READ | KEY_WRITE, nullptr, key.Out(), nullptr) == ERROR_SUCCESS;
        return RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key.Out()) == ERROR_SUCCESS;
    }

    std::string m_appKey;
};

}  // namespace

std::unique_ptr<IProfileStore> CreateRegistryProfileStore(const std::string& company, const std::string& application)
{
    return std::make_unique<CRegistryProfileStore>(company, application);
}
