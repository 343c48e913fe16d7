#include "article/keyword_assignment.h"

#include <vector>

#include "framework/ansi_case.h"

void CKeywordAssignment::Init(const CKeywordIdSet& all, const CKeywordIdSet& assigned)
{
    m_assigned.Copy(assigned);
    m_available.Copy(all);
    m_available.Subtract(m_assigned);
    m_changed = false;
}

CKeywordIdSet CKeywordAssignment::Assign(const CIdSet& selected)
{
    CKeywordIdSet moved;
    for (int32_t id : selected.Values())
        if (m_available.Contains(id))
            moved.Values().push_back(id);
    if (moved.GetSize() == 0)
        return moved;
    m_available.Subtract(moved);
    m_assigned.Union(moved);
    m_changed = true;
    return moved;
}

CKeywordIdSet CKeywordAssignment::Unassign(const CIdSet& selected)
{
    CKeywordIdSet moved;
    for (int32_t id : selected.Values())
        if (m_assigned.Contains(id))
            moved.Values().push_back(id);
    if (moved.GetSize() == 0)
        return moved;
    m_assigned.Subtract(moved);
    for (int32_t id : moved.Values())
        if (!IsPending(id))
            m_available.Add(id);
    m_changed = true;
    return moved;
}

CKeywordIdSet CKeywordAssignment::Clear()
{
    CKeywordIdSet all;
    all.Copy(m_assigned);
    return Unassign(all);
}

bool CKeywordAssignment::AddTyped(int32_t id)
{
    if (id == kNoneId)
        return false;
    if (!m_assigned.Contains(id)) {
        m_assigned.Add(id);
        m_changed = true;
    }
    m_available.Remove(id);
    return true;
}

int FindKeywordCompletion(const std::string& text, int& typedLength, int count,
                          const std::function<const std::string&(int)>& nameAt)
{
    const int n = static_cast<int>(text.size());
    const bool grew = n > typedLength;
    typedLength = n;
    if (!grew || n == 0)
        return -1;
    // The walk may meet thousands of names before the match: each is folded through the table, in
    // place, only as far as it agrees.
    const unsigned char* lower = AnsiLowerTable();
    std::string folded = text;
    for (char& c : folded)
        c = static_cast<char>(lower[static_cast<unsigned char>(c)]);
    for (int i = 0; i < count; ++i) {
        const std::string& name = nameAt(i);
        if (name.size() < folded.size())
            continue;
        size_t k = 0;
        while (k < folded.size() && lower[static_cast<unsigned char>(name[k])] == static_cast<unsigned char>(folded[k]))
            ++k;
        if (k == folded.size())
            return i;
    }
    return -1;
}
