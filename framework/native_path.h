// Paths inside the program use backslashes as on Windows; the POSIX build turns them into slashes
// just before a system call.
#pragma once
#include <string>

inline std::string NativePath(const std::string& path)
{
#ifdef _WIN32
    return path;
#else
    std::string native = path;
    for (char& c : native)
        if (c == '\\')
            c = '/';
    return native;
#endif
}
