// The platform half of the file-system helpers on POSIX. There are no drive letters natively, so the
// drive queries answer "not removable" and "no serial".
#include "storage/file_system.h"

#include <ctime>
#include <sys/stat.h>
#include <unistd.h>

#include "framework/native_path.h"

namespace file_system_platform {

namespace {

LocalTime FromTimeT(time_t t)
{
    struct tm parts = {};
    localtime_r(&t, &parts);
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec};
}

}  // namespace

bool GetAttributes(const std::string& path, uint32_t& attributes)
{
    struct stat st;
    if (stat(NativePath(path).c_str(), &st) != 0)
        return false;
    attributes = S_ISDIR(st.st_mode) ? kAttributeDirectory : 0;
    return true;
}

bool RemoveFile(const std::string& path)
{
    return unlink(NativePath(path).c_str()) == 0;
}

bool GetModified(const std::string& path, LocalTime& when)
{
    struct stat st;
    if (stat(NativePath(path).c_str(), &st) != 0)
        return false;
    when = FromTimeT(st.st_mtime);
    return true;
}

bool IsRemovableRoot(const std::string&)
{
    return false;
}

bool GetRootSerial(const std::string&, uint32_t&)
{
    return false;
}

}  // namespace file_system_platform
