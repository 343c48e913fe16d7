#include "shell/recent_files.h"

#include "shell/profile_store.h"
#include "storage/file_system.h"

namespace {

const char kSection[] = "Recent Files";

}  // namespace

std::string RecentFileValueName(int n)
{
    return "File" + std::to_string(n);
}

void CRecentFiles::Load(IProfileStore& profile)
{
    if (!m_portable)
        return;
    m_count = 0;
    for (int n = 1; n <= kMaxFiles; ++n) {
        std::string value = profile.GetString(kSection, RecentFileValueName(n), std::string());
        if (!value.empty())
            m_entries[m_count++] = m_directories.ExpandDriveRelative(value);
    }
}

void CRecentFiles::Save(IProfileStore& profile) const
{
    if (!m_portable)
        return;
    for (int n = 1; n <= kMaxFiles; ++n) {
        std::string value = n <= m_count ? m_directories.MakeDriveRelative(m_entries[n - 1], false) : std::string();
        profile.WriteString(kSection, RecentFileValueName(n), value);
    }
}

void CRecentFiles::Add(const std::string& path)
{
    if (!m_portable)
        return;
    int from = m_count < kMaxFiles ? m_count : kMaxFiles - 1;  // the slot that is given up
    for (int i = 0; i < m_count; ++i) {
        if (EqualNoCase(m_entries[i], path)) {
            from = i;
            break;
        }
    }
    if (from == m_count)
        ++m_count;
    for (int i = from; i > 0; --i)
        m_entries[i] = m_entries[i - 1];
    m_entries[0] = path;
}

void CRecentFiles::Remove(int index)
{
    if (!m_portable || index < 0 || index >= m_count)
        return;
    for (int i = index; i + 1 < m_count; ++i)
        m_entries[i] = m_entries[i + 1];
    m_entries[--m_count].clear();
}

bool CRecentFiles::RemovePath(const std::string& path)
{
    for (int i = 0; i < m_count; ++i) {
        if (EqualNoCase(m_entries[i], path)) {
            Remove(i);
            return m_portable;
        }
    }
    return false;
}

bool CRecentFiles::GetAt(int index, std::string& path) const
{
    if (index < 0 || index >= m_count)
        return false;
    path = m_directories.ExpandDriveRelative(m_entries[index]);
    return true;
}

void FillRecentFilesFromProfile(IRecentFileMenu& menu, IProfileStore& profile)
{
    if (!menu.GetEntry(0).empty())
        return;
    for (int n = CRecentFiles::kMaxFiles; n >= 1; --n) {
        std::string value = profile.GetString(kSection, RecentFileValueName(n), std::string());
        if (!value.empty())
            menu.Add(value);
    }
}

void RebuildRecentFilesFromOwnList(IRecentFileMenu& menu, CRecentFiles& own, IProfileStore& profile)
{
    while (menu.GetSize() > 0)
        menu.Remove(0);
    own.Load(profile);
    std::string path;
    for (int index = own.GetCount() - 1; index >= 0; --index) {
        if (own.GetAt(index, path))
            menu.Add(path);
    }
}

void OpenRecentFile(int index, IRecentFileMenu& menu, CRecentFiles& own, const CDirectories& directories,
                    const std::function<bool(const std::string&)>& open,
                    const std::function<bool(const std::string&)>& exists)
{
    std::string entry = menu.GetEntry(index);
    if (entry.empty())
        return;
    std::string path = entry.find('\\') == std::string::npos
                           ? JoinPath(directories.GetFolder(CDirectories::kData, true), entry)
                           : entry;
    if (open(path)) {
        own.Add(path);
        return;
    }
    if (!exists(path)) {
        menu.Remove(index);
        if (!own.RemovePath(path))
            own.RemovePath(entry);
    }
}
