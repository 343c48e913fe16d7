#include <windows.h>

#include "shell/option_store_host.h"
#include "shell/system_stores.h"

namespace {

class CSystemOptionStoreHost : public CFileOptionStoreHost {
public:
    std::string WindowsDirectory() override
    {
        char path[MAX_PATH + 1] = {};
        // The result is the length without the NUL, or the size needed when the buffer is too small.
        UINT n = GetWindowsDirectoryA(path, sizeof path);
        if (n == 0 || n >= sizeof path)
            return std::string();
        return std::string(path, n);
    }

    std::unique_ptr<IProfileStore> OpenRegistry(const std::string& company, const std::string& application) override
    {
        return CreateRegistryProfileStore(company, application);
    }

    std::unique_ptr<IProfileStore> OpenIniFile(const std::string& path) override
    {
        return CreateIniProfileStore(path);
    }
};

}  // namespace

std::unique_ptr<IOptionStoreHost> CreateSystemOptionStoreHost()
{
    return std::make_unique<CSystemOptionStoreHost>();
}
