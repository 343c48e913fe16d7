// Free functions for files and drives. Paths use backslashes on every platform. None of them throws
// except MakeUniqueFileName (code 1 after a memory failure).
#pragma once
#include <cstdint>
#include <string>

// True when the path names something that is neither a folder nor a volume label.
bool FileExists(const std::string& path);
// Removes the file when FileExists; false when it did not exist or could not be removed.
bool DeleteFileIfExists(const std::string& path);
bool IsDirectory(const std::string& path);
// Last modification in local time: date as yyyymmdd and time of day in seconds since midnight;
// today's date and the current time of day (of the clock seam) when the file's status cannot be read.
int32_t GetFileDate(const std::string& path);
int32_t GetFileTime(const std::string& path);
// The part after the last backslash without an extension of at most three characters.
std::string GetFileTitleNoExt(const std::string& path);
// folder (one trailing backslash dropped) + "\" + name; empty after a memory failure.
std::string JoinPath(const std::string& folder, const std::string& name);
// folder\name+extension with the name made from the title (letters, digits, "_" and "-" kept, every
// other run one "_"); unless keepExisting, a number 1, 2, ... is added until no such file exists.
std::string MakeUniqueFileName(const std::string& folder, const std::string& title,
                               const std::string& extension, bool keepExisting);
// Drive queries on the root "X:\" taken from the text before the first ":"; false / 0 without one.
bool IsRemovableDrive(const std::string& path);
uint32_t GetVolumeSerial(const std::string& path);

// The platform half (file_system_win.cpp, file_system_posix.cpp).
namespace file_system_platform {
constexpr uint32_t kAttributeVolumeLabel = 0x08;
constexpr uint32_t kAttributeDirectory = 0x10;
struct LocalTime {
    int year, month, day, hour, minute, second;
};
// Windows-style attribute bits of the path; false when they cannot be read.
bool GetAttributes(const std::string& path, uint32_t& attributes);
bool RemoveFile(const std::string& path);
bool GetModified(const std::string& path, LocalTime& when);
bool IsRemovableRoot(const std::string& root);
bool GetRootSerial(const std::string& root, uint32_t& serial);
}  // namespace file_system_platform
