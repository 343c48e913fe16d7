#include "shell/directories.h"

#include <cctype>
#include <new>

#include "storage/quor_error.h"

#include "shell/profile_store.h"
#include "shell/personal_folder.h"

namespace {

const char kSection[] = "Directories";

}  // namespace

CDirectories::CDirectories()
    : m_entries{{"Quorvane Data", {}, {}},
                {"Import/Export", {}, {}},
                {"Attachments", {}, {}},
                {"Custom Import Formats", {}, {}}},
      m_personalFolder(PersonalFolder)
{
}

std::string CDirectories::GetValueName(int index) const
{
    return IsValid(index) ? m_entries[index].valueName : std::string();
}

std::string CDirectories::GetFolder(int index, bool expand) const
{
    if (!IsValid(index))
        return std::string();
    const std::string& path = m_entries[index].configured;
    return expand ? ExpandDriveRelative(path) : path;
}

void CDirectories::SetConfiguredFolder(int index, const std::string& path)
{
    if (IsValid(index))
        m_entries[index].configured = MakeDriveRelative(path, false);
}

std::string CDirectories::GetExpandedFolder(int index) const
{
    return IsValid(index) ? ExpandDriveRelative(m_entries[index].current) : std::string();
}

void CDirectories::SetFolder(int index, const std::string& path)
{
    if (IsValid(index))
        m_entries[index].current = MakeDriveRelative(path, false);
}

void CDirectories::SetFolderFromPath(int index, const std::string& path, size_t length)
{
    std::string folder = path.substr(0, length < path.size() ? length : path.size());
    // Keep the backslash of a drive root ("C:\"); drop it after a folder name ("C:\Data\").
    size_t n = folder.size();
    if (n > 2 && folder[n - 1] == '\\' && folder[n - 2] != ':')
        folder.erase(n - 1);
    SetFolder(index, folder);
}

bool CDirectories::SetFolderByValueName(const std::string& valueName, const std::string& path)
{
    for (int i = 0; i < kCount; ++i) {
        if (EqualNoCase(valueName, m_entries[i].valueName)) {
            SetConfiguredFolder(i, path);
            return true;
        }
    }
    return false;
}

void CDirectories::SetDrive(const std::string& programPath)
{
    if (programPath.size() >= 2 && programPath[1] == ':')
        m_drive = std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(programPath[0]))));
}

std::string CDirectories::MakeDriveRelative(const std::string& path, bool force) const
{
    if ((m_portable || force) && path.size() >= 2 && path[1] == ':' &&
        std::toupper(static_cast<unsigned char>(path[0])) == static_cast<unsigned char>(m_drive[0]))
        return "." + path.substr(1);
    return path;
}

std::string CDirectories::ExpandDriveRelative(const std::string& path) const
{
    if (path.size() > 1 && path[0] == '.' && path[1] == ':')
        return m_drive + path.substr(1);
    return path;
}

std::string CDirectories::DefaultFolder(const std::string& programPath) const
{
    std::string personal;
    try {
        personal = m_personalFolder ? m_personalFolder() : std::string();
    } catch (const std::bad_alloc&) {
        return std::string();
    }
    if (!personal.empty())
        return personal;
    size_t slash = programPath.rfind('\\');
    if (programPath.size() > 3 && slash != std::string::npos && slash > 0)
        return programPath.substr(0, slash);
    return std::string();
}

void CDirectories::Load(IProfileStore& profile, const std::string& programPath, bool useDefault)
{
    std::string defaultFolder = DefaultFolder(programPath);
    for (int i = 0; i < kCount; ++i) {
        Entry& e = m_entries[i];
        if (m_rootMode && !ExpandDriveRelative(e.configured).empty())
            continue;
        try {
            std::string value = profile.GetString(kSection, e.valueName, std::string());
            if ((value.empty() && useDefault) || value.size() > kMaxFolderPath)
                value = defaultFolder;
            SetConfiguredFolder(i, value);
        } catch (const std::bad_alloc&) {
            // This folder keeps what it had; the others still load.
        }
    }
    for (Entry& e : m_entries)
        e.current = e.configured;
    m_loaded = true;
}

void CDirectories::Save(IProfileStore& profile) const
{
    if (!m_loaded || m_rootMode)
        return;
    try {
        for (const Entry& e : m_entries)
            profile.WriteString(kSection, e.valueName, e.configured);
    } catch (const std::bad_alloc&) {
        throw CQuorError(kOutOfMemory);
    }
}

void CDirectories::MoveToProgramDrive(IProfileStore& profile, const std::string& programPath)
{
    m_rootMode = true;
    size_t colon = programPath.find(':');
    // The program's root: everything up to and including the character after the first ':' ("E:\").
    std::string root = colon == std::string::npos ? std::string() : programPath.substr(0, colon + 2);
    for (int i = 0; i < kCount; ++i) {
        std::string path = ExpandDriveRelative(m_entries[i].configured);
        if (root.empty())
            ;  // a program path without a drive gives nothing to move to
        else if (path.size() >= 2 && path[1] == ':')
            path[0] = root[0];
        else if (!path.empty())
            path = root;
        SetConfiguredFolder(i, path);
    }
    Load(profile, programPath, true);
    Save(profile);
}
