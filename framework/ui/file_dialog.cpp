#include "framework/ui/file_dialog.h"

#include <commdlg.h>

#include <algorithm>

INT_PTR CFileDialog::DoModal()
{
    std::string filter = m_filter;
    std::replace(filter.begin(), filter.end(), '|', '\0');
    filter.push_back('\0');  // the list ends with two NULs
    std::vector<char> names(std::max(m_bufferSize, m_fileName.size() + 1), '\0');
    std::copy(m_fileName.begin(), m_fileName.end(), names.begin());

    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = m_owner;
    ofn.lpstrFilter = m_filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(m_filterIndex);
    ofn.lpstrFile = names.data();
    ofn.nMaxFile = static_cast<DWORD>(names.size());
    ofn.lpstrInitialDir = m_initialDir.empty() ? nullptr : m_initialDir.c_str();
    ofn.lpstrTitle = m_title.empty() ? nullptr : m_title.c_str();
    ofn.lpstrDefExt = m_defaultExt.empty() ? nullptr : m_defaultExt.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | m_flags;
    if (m_showReadOnly)
        ofn.Flags &= ~static_cast<DWORD>(OFN_HIDEREADONLY);
    else
        ofn.Flags |= OFN_HIDEREADONLY;
    BOOL chosen = m_open ? GetOpenFileNameA(&ofn) : GetSaveFileNameA(&ofn);
    if (!chosen)
        return IDCANCEL;

    m_filterIndex = static_cast<int>(ofn.nFilterIndex);
    m_readOnly = (ofn.Flags & OFN_READONLY) != 0;
    m_files.clear();
    // One file: its full path. Several (explorer style): the folder, then each name, NUL-separated,
    // ending with two NULs; nFileOffset then points past the folder's terminating NUL.
    const char* first = names.data();
    if ((m_flags & OFN_ALLOWMULTISELECT) && ofn.nFileOffset > 0 && first[ofn.nFileOffset - 1] == '\0') {
        std::string folder = first;
        if (!folder.empty() && folder.back() != '\\')
            folder += '\\';
        for (const char* name = first + ofn.nFileOffset; *name; name += std::char_traits<char>::length(name) + 1)
            m_files.push_back(folder + name);
    } else {
        m_files.push_back(first);
    }
    m_fileName = m_files.front();
    return IDOK;
}
