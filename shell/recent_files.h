// The program's own list of the four most recently used data files, section "Recent Files", values
// "File1" (most recent) to "File4". Kept only in portable use, where its paths are stored drive-relative
// so that the list survives a change of drive letter; in registry use every operation does nothing.
#pragma once
#include <functional>
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

// The framework's File-menu list of recent files as the application's recent-file operations see it.
class IRecentFileMenu {
public:
    virtual ~IRecentFileMenu() = default;
    virtual int GetSize() const = 0;
    // The entry, or "" for an index outside the list.
    virtual std::string GetEntry(int index) const = 0;
    // Puts `path` on top (an entry already listed moves up).
    virtual void Add(const std::string& path) = 0;
    virtual void Remove(int index) = 0;
};

// At start-up, when the menu's list is empty: fills it from "Recent Files" File4 .. File1, so that File1
// ends on top.
void FillRecentFilesFromProfile(IRecentFileMenu& menu, IProfileStore& profile);
// Portable start-up: the menu's list becomes the program's own list (which is loaded first).
void RebuildRecentFilesFromOwnList(IRecentFileMenu& menu, CRecentFiles& own, IProfileStore& profile);
// The File-menu command for entry `index`: a name without a backslash is taken in the data folder. An
// opened file goes on top of the program's own list; a file that no longer exists leaves both lists.
// The program's own list may differ from the menu's, so its entry is found by path, not by index.
void OpenRecentFile(int index, IRecentFileMenu& menu, CRecentFiles& own, const CDirectories& directories,
                    const std::function<bool(const std::string&)>& open,
                    const std::function<bool(const std::string&)>& exists);
