#include "storage/string_pool.h"

#include <new>

#include "framework/ansi_case.h"
#include "storage/id_set.h"
#include "storage/quor_error.h"

int32_t CStringPool::Find(const std::string& name) const
{
    for (size_t i = 0; i < m_names.size(); ++i)
        if (!m_names[i].empty() && AnsiCompareNoCase(m_names[i].c_str(), name.c_str()) == 0)
            return -static_cast<int32_t>(i) - 1;
    return kNoneId;
}

int32_t CStringPool::Add(const std::string& name)
{
    int32_t found = Find(name);
    if (found != kNoneId)
        return found;
    try {
        if (static_cast<size_t>(m_live) >= m_names.size()) {
            if (m_names.size() == m_names.capacity())
                m_names.reserve(m_names.size() + 10);
            m_names.push_back(name);
            ++m_live;
            return -m_live;
        }
        for (size_t i = 0; i < m_names.size(); ++i) {
            if (m_names[i].empty()) {
                m_names[i] = name;
                ++m_live;
                return -static_cast<int32_t>(i) - 1;
            }
        }
    } catch (const std::bad_alloc&) {
        throw CQuorError(kOutOfMemory);
    }
    throw CQuorError(kOutOfMemory);  // unreachable while the live count is right
}

std::string CStringPool::Get(int32_t id) const
{
    if (id >= 0 || id == INT32_MIN)
        return std::string();
    size_t slot = static_cast<size_t>(-id - 1);
    return slot < m_names.size() ? m_names[slot] : std::string();
}

void CStringPool::Remove(int32_t id)
{
    if (id >= 0 || id == INT32_MIN)
        return;
    size_t slot = static_cast<size_t>(-id - 1);
    if (slot >= m_names.size() || m_names[slot].empty())
        return;
    m_names[slot].clear();
    if (--m_live == 0) {
        m_names.clear();
        m_names.shrink_to_fit();
    }
}

int32_t CStringPool::NextLive(size_t from) const
{
    for (size_t i = from; i < m_names.size(); ++i)
        if (!m_names[i].empty())
            return static_cast<int32_t>(i);
    return -1;
}

int32_t CStringPool::GetFirstPosition() const
{
    if (m_live < 1)
        return -1;
    if (m_names.empty())
        return 0;
    return NextLive(0);
}

int32_t CStringPool::GetNext(int32_t& pos) const
{
    if (pos < 0 || static_cast<size_t>(pos) >= m_names.size()) {
        pos = -1;
        return 0;
    }
    int32_t id = -pos - 1;
    pos = NextLive(static_cast<size_t>(pos) + 1);
    return id;
}
