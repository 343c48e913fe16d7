// The platform half of the file-system helpers on Win32.
#include "storage/file_system.h"

#include <windows.h>

namespace file_system_platform {

namespace {

LocalTime FromSystemTime(const SYSTEMTIME& t)
{
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

}  // namespace

bool GetAttributes(const std::string& path, uint32_t& attributes)
{
    DWORD value = GetFileAttributesA(path.c_str());
    if (value == INVALID_FILE_ATTRIBUTES)
        return false;
    attributes = value;
    return true;
}

bool RemoveFile(const std::string& path)
{
    return DeleteFileA(path.c_str()) != 0;
}

bool GetModified(const std::string& path, LocalTime& when)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return false;
    FILETIME local;
    SYSTEMTIME parts;
    // FileTimeToLocalFileTime applies the current bias, as the C runtime's stat does.
    if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) || !FileTimeToSystemTime(&local, &parts))
        return false;
    when = FromSystemTime(parts);
    return true;
}

bool IsRemovableRoot(const std::string& root)
{
    return GetDriveTypeA(root.c_str()) == DRIVE_REMOVABLE;
}

bool GetRootSerial(const std::string& root, uint32_t& serial)
{
    DWORD value = 0;
    if (!GetVolumeInformationA(root.c_str(), nullptr, 0, &value, nullptr, nullptr, nullptr, 0))
        return false;
    serial = value;
    return true;
}

}  // namespace file_system_platform
