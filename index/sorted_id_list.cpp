#include "index/sorted_id_list.h"

#include <algorithm>
#include <iterator>

void CSortedIdList::Sort(std::vector<int32_t>& ids) const
{
    if (m_sort)
        m_sort(ids);
    else if (m_compare)
        std::stable_sort(ids.begin(), ids.end(), [this](int32_t a, int32_t b) { return m_compare(a, b) < 0; });
}

void CSortedIdList::Assign(std::vector<int32_t> ids)
{
    Sort(ids);
    m_ids = std::move(ids);
}

void CSortedIdList::Resort()
{
    Sort(m_ids);
}

int CSortedIdList::InsertPosition(int32_t id) const
{
    if (!m_compare)
        return Count();
    auto it = std::upper_bound(m_ids.begin(), m_ids.end(), id,
                               [this](int32_t value, int32_t item) { return m_compare(value, item) < 0; });
    return static_cast<int>(it - m_ids.begin());
}

int CSortedIdList::Insert(int32_t id)
{
    int index = InsertPosition(id);
    m_ids.insert(m_ids.begin() + index, id);
    return index;
}

void CSortedIdList::Reposition(const std::vector<int32_t>& moved)
{
    if (moved.empty() || !m_compare)
        return;
    std::vector<int32_t> staying, moving;
    staying.reserve(m_ids.size());
    for (int32_t id : m_ids)
        (std::binary_search(moved.begin(), moved.end(), id) ? moving : staying).push_back(id);
    Sort(moving);
    m_ids.clear();
    // std::merge takes from the first range on ties: a moved item goes after its equals.
    std::merge(staying.begin(), staying.end(), moving.begin(), moving.end(), std::back_inserter(m_ids),
               [this](int32_t a, int32_t b) { return m_compare(a, b) < 0; });
}

void CSortedIdList::RemoveAt(int index)
{
    if (IsValidIndex(index))
        m_ids.erase(m_ids.begin() + index);
}

void CSortedIdList::RemoveIndexes(std::vector<int> indexes)
{
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    size_t next = 0;
    size_t out = 0;
    for (size_t i = 0; i < m_ids.size(); ++i) {
        if (next < indexes.size() && static_cast<size_t>(indexes[next]) == i) {
            ++next;
            continue;
        }
        m_ids[out++] = m_ids[i];
    }
    m_ids.resize(out);
}

int CSortedIdList::IndexOf(int32_t id) const
{
    auto it = std::find(m_ids.begin(), m_ids.end(), id);
    return it == m_ids.end() ? -1 : static_cast<int>(it - m_ids.begin());
}
