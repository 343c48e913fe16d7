#include "framework/recent_file_list.h"

#include "framework/ansi_case.h"

CRecentFileList::CRecentFileList(int size) : m_size(size < 1 ? 1 : size > 16 ? 16 : size) {}

std::string CRecentFileList::GetEntry(int index) const
{
    return index >= 0 && index < GetSize() ? m_entries[static_cast<size_t>(index)] : std::string();
}

void CRecentFileList::Add(const std::string& path)
{
    if (path.empty())
        return;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (AnsiCompareNoCase(m_entries[i].c_str(), path.c_str()) == 0) {
            m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    }
    m_entries.insert(m_entries.begin(), path);
    if (GetSize() > m_size)
        m_entries.resize(static_cast<size_t>(m_size));
}

void CRecentFileList::Remove(int index)
{
    if (index >= 0 && index < GetSize())
        m_entries.erase(m_entries.begin() + index);
}

void CRecentFileList::Load(const Reader& read)
{
    m_entries.clear();
    for (int i = 1; i <= m_size; ++i) {
        std::string value = read(kSection, "File" + std::to_string(i));
        if (value.empty())
            break;
        m_entries.push_back(value);
    }
}

void CRecentFileList::Save(const Writer& write) const
{
    for (int i = 1; i <= m_size; ++i)
        write(kSection, "File" + std::to_string(i), GetEntry(i - 1));
}

std::string CRecentFileList::MenuText(int index, size_t maxLength) const
{
    std::string path = GetEntry(index);
    if (path.size() > maxLength) {
        // Keep "C:\" or "\\server\share\" in front and the name with what folders fit behind.
        size_t rootEnd = 0;
        if (path.compare(0, 2, "\\\\") == 0) {
            size_t server = path.find('\\', 2);
            size_t share = server == std::string::npos ? server : path.find('\\', server + 1);
            rootEnd = share == std::string::npos ? 0 : share + 1;
        } else if (path.size() > 2 && path[1] == ':' && path[2] == '\\') {
            rootEnd = 3;
        }
        const std::string root = path.substr(0, rootEnd);
        size_t tail = path.rfind('\\');
        tail = tail == std::string::npos || tail < rootEnd ? rootEnd : tail;
        // Move the cut left, one folder at a time, while the text still fits.
        for (;;) {
            if (tail <= rootEnd)
                break;
            size_t previous = path.rfind('\\', tail - 1);
            if (previous == std::string::npos || previous < rootEnd)
                break;
            if (root.size() + 3 + (path.size() - previous) > maxLength)
                break;
            tail = previous;
        }
        if (tail > rootEnd)
            path = root + "..." + path.substr(tail);
    }
    std::string text = "&" + std::to_string(index + 1) + " ";
    for (char c : path) {
        text += c;
        if (c == '&')
            text += '&';
    }
    return text;
}
