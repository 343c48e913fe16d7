#include <windows.h>

#include <vector>

#include "shell/system_stores.h"

namespace {

class CIniProfileStore : public IProfileStore {
public:
    explicit CIniProfileStore(const std::string& path) : m_path(path) {}

    bool WriteInt(const std::string& section, const std::string& key, int value) override
    {
        return WriteString(section, key, IntToText(value));
    }

    bool WriteString(const std::string& section, const std::string& key, const std::string& value) override
    {
        return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), m_path.c_str()) != 0;
    }

    // Read as text and converted here: GetPrivateProfileIntA is documented to give 0 for negative values,
    // and the automatic colour -1 must survive a round trip.
    int GetInt(const std::string& section, const std::string& key, int defaultValue) override
    {
        std::string text;
        if (!Read(section, key, text))
            return defaultValue;
        return IniTextToInt(text, defaultValue);
    }

    std::string GetString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) override
    {
        std::string text;
        return Read(section, key, text) ? text : defaultValue;
    }

private:
    // False when the key is missing. GetPrivateProfileStringA returns size - 1 when the value was cut to
    // fit, so the buffer grows until the value fits with room to spare.
    bool Read(const std::string& section, const std::string& key, std::string& text) const
    {
        // A default no real value can hold tells a missing key from an empty one.
        static const char kMissing[] = "\x01<missing>\x01";
        std::vector<char> buffer(256);
        for (;;) {
            DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), kMissing, buffer.data(),
                                               static_cast<DWORD>(buffer.size()), m_path.c_str());
            if (n + 1 < buffer.size() || buffer.size() >= (1u << 24)) {
                text.assign(buffer.data(), n);
                return text != kMissing;
            }
            buffer.resize(buffer.size() * 4);
        }
    }

    std::string m_path;
};

}  // namespace

std::unique_ptr<IProfileStore> CreateIniProfileStore(const std::string& path)
{
    return std::make_unique<CIniProfileStore>(path);
}
