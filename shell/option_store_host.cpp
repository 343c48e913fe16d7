#include "shell/option_store_host.h"

#include "framework/file.h"
#include "storage/file_system.h"

bool CFileOptionStoreHost::IsRemovableDrive(const std::string& path)
{
    return ::IsRemovableDrive(path);
}

bool CFileOptionStoreHost::FileExists(const std::string& path)
{
    return ::FileExists(path);
}

bool CFileOptionStoreHost::ReadFile(const std::string& path, std::string& contents)
{
    try {
        CFile file;
        if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite))
            return false;
        contents.clear();
        char buffer[4096];
        for (;;) {
            uint32_t n = file.Read(buffer, sizeof buffer);
            contents.append(buffer, n);
            if (n < sizeof buffer)
                return true;
        }
    } catch (const CFileException&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}
