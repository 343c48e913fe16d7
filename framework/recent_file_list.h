// The File menu's list of recently opened files, most recent first, kept in the option store as
// "File1" .. "FileN" of section "Recent File List". The window half (framework/ui/recent_file_menu.h)
// shows it as the commands from kFirstRecentFileCommand.
#pragma once
#include <functional>
#include <string>
#include <vector>

constexpr unsigned kFirstRecentFileCommand = 57616;
constexpr unsigned kLastRecentFileCommand = 57631;

class CRecentFileList {
public:
    using Reader = std::function<std::string(const std::string& section, const std::string& key)>;
    using Writer = std::function<void(const std::string& section, const std::string& key, const std::string& value)>;

    static constexpr const char* kSection = "Recent File List";

    // `size` entries at most (1 to 16).
    explicit CRecentFileList(int size);

    int GetMaxSize() const { return m_size; }
    int GetSize() const { return static_cast<int>(m_entries.size()); }
    // The entry, or "" for an index outside the list.
    std::string GetEntry(int index) const;
    // Puts `path` on top; a path already listed (any letter case) moves up instead of being repeated.
    void Add(const std::string& path);
    void Remove(int index);

    // Reads File1 .. FileN; empty values end the list.
    void Load(const Reader& read);
    // Writes File1 .. FileN, empty values for the places without an entry.
    void Save(const Writer& write) const;

    // The menu text of entry `index`: "&1 " and the path, its ampersands doubled; a path longer than
    // `maxLength` keeps its drive or share, "..." and as many trailing folders as fit with the name.
    std::string MenuText(int index, size_t maxLength = 60) const;

private:
    int m_size;
    std::vector<std::string> m_entries;
};
