// The one-time import of the INI file that older versions kept in the Windows folder.
//
// Line grammar, after trimming blanks, tabs and line ends at both ends (empty lines are skipped):
//   [name]       starts section `name`
//   [name        (no closing bracket) skipped; the current section stays
//   key=value    key is the text before the first '=', value the rest (both as they stand); skipped
//                before the first section, where no INI reader would find it
//   other        skipped
#include <new>

#include "shell/option_store.h"

namespace {

const char kProductSection[] = "Quorvane";

std::string Trim(const std::string& line)
{
    const char* blanks = " \t\r\n";
    size_t first = line.find_first_not_of(blanks);
    if (first == std::string::npos)
        return std::string();
    size_t last = line.find_last_not_of(blanks);
    return line.substr(first, last - first + 1);
}

}  // namespace

bool ImportOldIniText(const std::string& text, IProfileStore& registry, CDirectories& directories)
{
    std::string section;
    bool inSection = false;
    bool inProductSection = false;
    bool inDirectories = false;
    bool rootMode = false;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = Trim(text.substr(start, end - start));
        start = end + 1;
        if (line.empty())
            continue;
        if (line[0] == '[') {
            if (line.back() != ']')
                continue;
            section = line.substr(1, line.size() - 2);
            inSection = true;
            inProductSection = EqualNoCase(section, "QUORVANE");
            inDirectories = EqualNoCase(section, "Directories");
            continue;
        }
        size_t equals = line.find('=');
        if (equals == std::string::npos || !inSection)
            continue;
        std::string key = line.substr(0, equals);
        std::string value = line.substr(equals + 1);
        if (inProductSection && EqualNoCase(key, "UseRoot"))
            rootMode = true;
        // Only the canonical decimal text of a number is a number: "0720" stays text.
        if (IntToText(IniTextToInt(value, 0)) == value)
            registry.WriteInt(section, key, IniTextToInt(value, 0));
        else if (rootMode && inDirectories)
            directories.SetFolderByValueName(key, value);
        else
            registry.WriteString(section, key, value);
    }
    return rootMode;
}

bool ImportOldIniFile(IOptionStoreHost& host, IProfileStore& registry, const std::string& iniPath,
                      CDirectories& directories, const std::string& programPath)
{
    if (registry.GetInt(kProductSection, "UseIni", 1) != 1)
        return false;
    try {
        std::string text;
        if (!host.FileExists(iniPath) || !host.ReadFile(iniPath, text))
            return false;
        bool rootMode = ImportOldIniText(text, registry, directories);
        registry.WriteInt(kProductSection, "UseIni", 0);
        if (rootMode)
            directories.MoveToProgramDrive(registry, programPath);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}
