// The program's own list of the four most recently used data files, section "Recent Files", values
// "File1" (most recent) to "File4". Kept only in portable use, where its paths are stored drive-relative
// so that the list survives a change of drive letter; in registry use every operation does nothing.
#pragma once
#include <string>

#include "shell/directories.h"
#include "shell/profile_store.h"

class CRecentFiles {
public:
    static constexpr int kMaxFiles = 4;

    // `directories` supplies the drive-relative conversions; it must outlive this object.
    explicit CRecentFiles(const CDirectories& directories) : m_directories(directories) {}
    virtual ~CRecentFiles() = default;

    void SetPortable(bool portable) { m_portable = portable; }
    bool IsPortable() const { return m_portable; }

    void Load(IProfileStore& profile);
    void Save(IProfileStore& profile) const;
    // Puts `path` on top; a path already listed (any letter case) moves up instead of being repeated.
    void Add(const std::string& path);
    // Removes entry `index` (0 = most recent); nothing for an index outside the list.
    void Remove(int index);
    // Removes the entry equal to `path` (any letter case); false when none is.
    bool RemovePath(const std::string& path);
    // The entry, expanded against the program's drive; false for an index outside the list.
    bool GetAt(int index, std::string& path) const;
    int GetCount() const { return m_count; }

private:
    const CDirectories& m_directories;
    int m_count = 0;
    std::string m_entries[kMaxFiles];
    bool m_portable = false;
};

// "File1" .. "File4".
std::string RecentFileValueName(int n);
