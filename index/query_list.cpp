#include "index/query_list.h"

#include <algorithm>
#include <new>

#include "framework/ansi_case.h"
#include "storage/quor_error.h"

int CQueryList::Add(const std::string& name, const std::string& text, int32_t from, int32_t to)
{
    try {
        m_entries.push_back(SavedQuery{name, text, from, to});
    } catch (const std::bad_alloc&) {
        throw CQuorError(kOutOfMemory);
    }
    m_modified = true;
    int index = GetCount() - 1;
    MoveToFront(index);
    return index;
}

void CQueryList::Remove(int index)
{
    if (index < 0 || index >= GetCount())
        return;
    m_recent.erase(std::remove(m_recent.begin(), m_recent.end(), index), m_recent.end());
    m_entries.erase(m_entries.begin() + index);
    m_modified = true;
    for (int& recent : m_recent) {
        if (recent > index)
            --recent;
    }
    TopUpRecent();
}

// Fills the recent list up to min(kMaxRecent, count) with the highest entry indexes not yet in it.
void CQueryList::TopUpRecent()
{
    for (int candidate = GetCount() - 1; candidate >= 0 && GetRecentCount() < std::min(kMaxRecent, GetCount());
         --candidate) {
        if (std::find(m_recent.begin(), m_recent.end(), candidate) == m_recent.end())
            m_recent.push_back(candidate);
    }
}

int CQueryList::FindByName(const std::string& name) const
{
    for (int i = 0; i < GetCount(); ++i) {
        if (AnsiCompareNoCase(m_entries[static_cast<size_t>(i)].name.c_str(), name.c_str()) == 0)
            return i;
    }
    return -1;
}

bool CQueryList::GetAt(int index, std::string& name, std::string& text, int32_t& from, int32_t& to) const
{
    if (index < 0 || index >= GetCount())
        return false;
    const SavedQuery& entry = m_entries[static_cast<size_t>(index)];
    try {
        name = entry.name;
        text = entry.text;
    } catch (const std::bad_alloc&) {
        name.clear();
        text.clear();
        from = CCurrentQuery::kOpenFrom;
        to = CCurrentQuery::kOpenTo;
        return false;
    }
    from = entry.from;
    to = entry.to;
    return true;
}

void CQueryList::GetName(int index, std::string& name) const
{
    if (index < 0 || index >= GetCount())
        return;
    try {
        name = m_entries[static_cast<size_t>(index)].name;
    } catch (const std::bad_alloc&) {
        name.clear();
    }
}

void CQueryList::SetName(int index, const std::string& name)
{
    if (index < 0 || index >= GetCount())
        return;
    try {
        m_entries[static_cast<size_t>(index)].name = name;
        m_modified = true;
    } catch (const std::bad_alloc&) {
        // The entry keeps its name.
    }
}

void CQueryList::SetQuery(int index, const std::string& text, int32_t from, int32_t to)
{
    if (index < 0 || index >= GetCount())
        return;
    SavedQuery& entry = m_entries[static_cast<size_t>(index)];
    try {
        entry.text = text;
    } catch (const std::bad_alloc&) {
        return;  // the entry stays as it was
    }
    entry.from = from;
    entry.to = to;
    m_modified = true;
}

int CQueryList::GetRecentIndex(int position) const
{
    return position >= 0 && position < GetRecentCount() ? m_recent[static_cast<size_t>(position)] : -1;
}

void CQueryList::MoveToFront(int index)
{
    if (index < 0 || index >= GetCount())
        return;
    m_recent.erase(std::remove(m_recent.begin(), m_recent.end(), index), m_recent.end());
    m_recent.insert(m_recent.begin(), index);
    if (GetRecentCount() > kMaxRecent)
        m_recent.pop_back();
    m_modified = true;
}

void CQueryList::GetRecentNames(std::vector<std::string>& names) const
{
    names.clear();
    for (int index : m_recent) {
        try {
            names.push_back(m_entries[static_cast<size_t>(index)].name);
        } catch (const std::bad_alloc&) {
            // The name is left out of the menu.
        }
    }
}

bool CQueryList::GetRecentAt(int position, std::string& text, int32_t& from, int32_t& to) const
{
    std::string name;
    return GetAt(GetRecentIndex(position), name, text, from, to);
}

void CQueryList::TouchRecent(int position)
{
    MoveToFront(GetRecentIndex(position));
}

void CQueryList::RewriteKeywordInAll(const std::string& oldName, const std::string& newName)
{
    Rewrite(false, oldName, newName);
}

void CQueryList::RewriteGroupInAll(const std::string& oldName, const std::string& newName)
{
    Rewrite(true, oldName, newName);
}

void CQueryList::Rewrite(bool group, const std::string& oldName, const std::string& newName)
{
    for (SavedQuery& entry : m_entries) {
        try {
            CCurrentQuery scratch;
            scratch.SetText(entry.text);
            if (group)
                scratch.RewriteGroup(oldName, newName);
            else
                scratch.RewriteKeyword(oldName, newName);
            if (scratch.GetText() != entry.text) {
                entry.text = scratch.GetText();
                m_modified = true;
            }
        } catch (const CQuorError&) {
            // Out of memory: this entry keeps its text.
        } catch (const std::bad_alloc&) {
        }
    }
}

void CQueryList::RemoveAll()
{
    m_entries.clear();
    m_recent.clear();
    m_modified = false;
}
