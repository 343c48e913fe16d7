#include "storage/id_set.h"

#include <algorithm>
#include <functional>
#include <new>

#include "storage/quor_error.h"

namespace {

// Runs an operation that may allocate, turning a memory failure into the program's error.
template <typename F>
auto GuardMemory(F&& operation) -> decltype(operation())
{
    try {
        return operation();
    } catch (const std::bad_alloc&) {
        throw CQuorError(kOutOfMemory);
    }
}

}  // namespace

bool CIdSet::Find(int32_t id, int& index) const
{
    int low = 0;
    int high = GetSize() - 1;
    while (low <= high) {
        int middle = (low + high) / 2;
        int32_t value = m_values[static_cast<size_t>(middle)];
        if (value == id) {
            index = middle;
            return true;
        }
        if (value < id)
            low = middle + 1;
        else
            high = middle - 1;
    }
    index = low;
    return false;
}

void CIdSet::Add(int32_t id)
{
    int index;
    if (Find(id, index))
        return;
    GuardMemory([&] { m_values.insert(m_values.begin() + index, id); });
    m_modified = true;
}

void CIdSet::Remove(int32_t id)
{
    int index;
    if (!Find(id, index))
        return;
    m_values.erase(m_values.begin() + index);
    m_modified = true;
}

void CIdSet::RemoveAll()
{
    m_values.clear();
    m_modified = true;
}

CIdSet CIdSet::Intersect(const CIdSet& other)
{
    size_t kept = 0, i = 0, j = 0;
    const std::vector<int32_t>& theirs = other.m_values;
    while (i < m_values.size() && j < theirs.size()) {
        if (m_values[i] < theirs[j]) {
            ++i;
            m_modified = true;
        } else if (m_values[i] == theirs[j]) {
            m_values[kept++] = m_values[i];
            ++i;
            ++j;
        } else {
            ++j;
        }
    }
    if (i < m_values.size())
        m_modified = true;
    m_values.resize(kept);
    return GuardMemory([&] { return *this; });
}

CIdSet CIdSet::Union(const CIdSet& other)
{
    if (&other == this)
        return GuardMemory([&] { return *this; });
    return GuardMemory([&] {
        const std::vector<int32_t>& theirs = other.m_values;
        std::vector<int32_t> merged;
        merged.reserve(m_values.size() + theirs.size());
        size_t i = 0, j = 0;
        while (i < m_values.size() && j < theirs.size()) {
            if (m_values[i] < theirs[j]) {
                merged.push_back(m_values[i++]);
            } else if (m_values[i] == theirs[j]) {
                merged.push_back(m_values[i++]);
                ++j;
            } else {
                merged.push_back(theirs[j++]);
                m_modified = true;
            }
        }
        merged.insert(merged.end(), m_values.begin() + static_cast<long>(i), m_values.end());
        if (j < theirs.size()) {
            merged.insert(merged.end(), theirs.begin() + static_cast<long>(j), theirs.end());
            m_modified = true;
        }
        m_values.swap(merged);
        return *this;
    });
}

void CIdSet::Subtract(const CIdSet& other)
{
    if (&other == this) {
        if (!m_values.empty())
            RemoveAll();
        return;
    }
    const std::vector<int32_t>& theirs = other.m_values;
    size_t kept = 0, j = 0;
    for (size_t i = 0; i < m_values.size(); ++i) {
        while (j < theirs.size() && theirs[j] < m_values[i])
            ++j;
        if (j < theirs.size() && theirs[j] == m_values[i])
            continue;
        m_values[kept++] = m_values[i];
    }
    if (kept < m_values.size())
        m_modified = true;
    m_values.resize(kept);
}

CIdSet CIdSet::SymmetricDifference(const CIdSet& other)
{
    return GuardMemory([&] {
        const std::vector<int32_t> theirs = other.m_values;  // other may be this set
        std::vector<int32_t> result;
        result.reserve(m_values.size() + theirs.size());
        size_t i = 0, j = 0;
        while (i < m_values.size() && j < theirs.size()) {
            if (m_values[i] < theirs[j]) {
                result.push_back(m_values[i++]);
            } else if (m_values[i] == theirs[j]) {
                ++i;
                ++j;
            } else {
                result.push_back(theirs[j++]);
            }
        }
        result.insert(result.end(), m_values.begin() + static_cast<long>(i), m_values.end());
        result.insert(result.end(), theirs.begin() + static_cast<long>(j), theirs.end());
        if (result.size() < m_values.size())
            m_modified = true;
        m_values.swap(result);
        return *this;
    });
}

void CIdSet::Copy(const CIdSet& other)
{
    if (&other != this)
        Copy(other.m_values);
}

void CIdSet::Copy(const std::vector<int32_t>& values)
{
    if (&values != &m_values)
        GuardMemory([&] { m_values = values; });
}

void CIdSet::Sort()
{
    // Sets read from the file are nearly always in order already: one pass finds that out.
    if (std::adjacent_find(m_values.begin(), m_values.end(), std::greater_equal<int32_t>()) != m_values.end()) {
        std::sort(m_values.begin(), m_values.end());
        m_values.erase(std::unique(m_values.begin(), m_values.end()), m_values.end());
    }
    int index;
    if (Find(kNoneId, index))
        m_values.erase(m_values.begin() + index);
}
