// The four folders the program's file dialogs start in. Each has a configured path (kept in the option
// store under "Directories") and a current path that follows the user's last choice in a file dialog of
// its kind. In portable use a path on the program's own drive is stored drive-relative, ".:\Notes" for
// "E:\Notes", so that the installation still works when the removable drive gets another letter.
#pragma once
#include <functional>
#include <string>

#include "shell/profile_store.h"
#include "storage/link_target.h"

// It is also the converter that link targets use for their paths (SetLinkPathConverter).
class CDirectories : public ILinkPathConverter {
public:
    enum Folder { kData = 0, kImportExport = 1, kAttachments = 2, kCustomFormats = 3, kCount = 4 };

    CDirectories();
    ~CDirectories() override = default;

    int GetCount() const { return kCount; }
    // "Quorvane Data", "Import/Export", "Attachments", "Custom Import Formats"; empty for a bad index.
    std::string GetValueName(int index) const;

    // The configured path, with the drive-relative form expanded when `expand` is set.
    std::string GetFolder(int index, bool expand) const;
    void SetConfiguredFolder(int index, const std::string& path);
    // The current path, expanded: where a file dialog of this kind starts.
    std::string GetExpandedFolder(int index) const;
    void SetFolder(int index, const std::string& path);
    // Takes the first `length` characters of `path` (a chosen file's folder with its trailing backslash)
    // and stores them as the current path without that backslash, except for a drive root such as C:\.
    void SetFolderFromPath(int index, const std::string& path, size_t length);
    // Sets the configured path of the entry named `valueName` (any case); false when no entry has it.
    bool SetFolderByValueName(const std::string& valueName, const std::string& path);

    // The program's drive letter, taken from its path when the path has one.
    void SetDrive(const std::string& programPath);
    std::string GetDrive() const { return m_drive; }
    void SetPortable(bool portable) { m_portable = portable; }
    bool IsPortable() const { return m_portable; }
    bool IsRootMode() const { return m_rootMode; }
    bool IsLoaded() const { return m_loaded; }

    // "E:\Notes" -> ".:\Notes" when portable (or forced) and E is the program's drive (any case).
    std::string MakeDriveRelative(const std::string& path, bool force) const;
    // ".:\Notes" -> "E:\Notes" for the program's drive E; any other path unchanged.
    std::string ExpandDriveRelative(const std::string& path) const override;
    // The link targets' form: made drive-relative only in portable use.
    std::string MakeDriveRelative(const std::string& path) const override { return MakeDriveRelative(path, false); }

    // Reads the configured paths from "Directories" (empty or overlong values take the default folder
    // when `useDefault` is set) and makes them the current paths.
    void Load(IProfileStore& profile, const std::string& programPath, bool useDefault);
    // Writes the configured paths as stored; nothing before Load or in root mode.
    void Save(IProfileStore& profile) const;
    // Root mode from an old INI file: every folder moves to the program's drive.
    void MoveToProgramDrive(IProfileStore& profile, const std::string& programPath);

    // The default folder: the user's documents folder, else the program's own folder.
    std::string DefaultFolder(const std::string& programPath) const;
    // Replaces the documents-folder lookup (tests).
    void SetPersonalFolderSource(std::function<std::string()> source) { m_personalFolder = std::move(source); }

private:
    struct Entry {
        const char* valueName;
        std::string configured;
        std::string current;
    };
    bool IsValid(int index) const { return index >= 0 && index < kCount; }

    std::string m_drive = "C";
    bool m_portable = false;
    bool m_rootMode = false;
    bool m_loaded = false;
    Entry m_entries[kCount];
    std::function<std::string()> m_personalFolder;
};

// Longest path the option store may hold for a folder; a longer stored value is replaced by the default.
constexpr size_t kMaxFolderPath = 259;
