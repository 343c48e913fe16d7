#include "storage/file_system.h"

#include <new>

#include "framework/clock.h"
#include "storage/quor_error.h"

using namespace file_system_platform;

namespace {

LocalTime Now()
{
    QuorLocalTime now = QuorNow();
    return {now.year, now.month, now.day, now.hour, now.minute, now.second};
}

int32_t DateOf(const LocalTime& t)
{
    return t.year * 10000 + t.month * 100 + t.day;
}

int32_t TimeOf(const LocalTime& t)
{
    return t.hour * 3600 + t.minute * 60 + t.second;
}

// "X:\" from the text before the first ":", or empty when the path has none.
std::string DriveRoot(const std::string& path)
{
    size_t colon = path.find(':');
    if (colon == std::string::npos)
        return std::string();
    return path.substr(0, colon) + ":\\";
}

bool IsNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
}

std::string WithoutTrailingBackslash(const std::string& folder)
{
    if (!folder.empty() && folder.back() == '\\')
        return folder.substr(0, folder.size() - 1);
    return folder;
}

}  // namespace

bool FileExists(const std::string& path)
{
    uint32_t attributes = 0;
    return GetAttributes(path, attributes) && (attributes & (kAttributeDirectory | kAttributeVolumeLabel)) == 0;
}

bool DeleteFileIfExists(const std::string& path)
{
    return FileExists(path) && RemoveFile(path);
}

bool IsDirectory(const std::string& path)
{
    uint32_t attributes = 0;
    return GetAttributes(path, attributes) && (attributes & kAttributeDirectory) != 0;
}

int32_t GetFileDate(const std::string& path)
{
    LocalTime when;
    return DateOf(GetModified(path, when) ? when : Now());
}

int32_t GetFileTime(const std::string& path)
{
    LocalTime when;
    return TimeOf(GetModified(path, when) ? when : Now());
}

std::string GetFileTitleNoExt(const std::string& path)
{
    size_t slash = path.rfind('\\');
    std::string title = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = title.rfind('.');
    if (dot != std::string::npos && title.size() - dot <= 4)
        title.erase(dot);
    return title;
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    try {
        return WithoutTrailingBackslash(folder) + "\\" + name;
    } catch (const std::bad_alloc&) {
        return std::string();
    }
}

std::string MakeUniqueFileName(const std::string& folder, const std::string& title,
                               const std::string& extension, bool keepExisting)
{
    try {
        std::string base = WithoutTrailingBackslash(folder);
        long room = 240 - static_cast<long>(base.size());
        size_t limit = room < 0 ? 0 : room > 256 ? 256 : static_cast<size_t>(room);
        std::string cut = title.substr(0, limit);

        std::string name;
        bool separator = false;
        for (char c : cut) {
            if (!IsNameChar(c)) {
                separator = true;
                continue;
            }
            if (separator && !name.empty())
                name += '_';
            separator = false;
            name += c;
        }
        if (separator && !name.empty())
            name += '_';

        std::string path = base + "\\" + name + extension;
        for (unsigned number = 1; !keepExisting && FileExists(path); ++number)
            path = base + "\\" + name + std::to_string(number) + extension;
        return path;
    } catch (const std::bad_alloc&) {
        throw CQuorError(kOutOfMemory);
    }
}

bool IsRemovableDrive(const std::string& path)
{
    std::string root = DriveRoot(path);
    return !root.empty() && IsRemovableRoot(root);
}

uint32_t GetVolumeSerial(const std::string& path)
{
    std::string root = DriveRoot(path);
    uint32_t serial = 0;
    if (root.empty() || !GetRootSerial(root, serial))
        return 0;
    return serial;
}
