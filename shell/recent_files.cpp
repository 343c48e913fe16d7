#include "shell/recent_files.h"

#include "shell/profile_store.h"

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
