// A sorted set of 32-bit ids with a modified flag. Keywords, keyword groups and articles are named
// by ids; kNoneId (0x80000001) means "none" and never stands inside a set.
//
// Invariant: the values are in ascending signed order without duplicates and without kNoneId,
// except while a caller fills Values() directly; Sort() then restores it.
//
// Stored form (written and read by CRecordStream):
//   offset  size     meaning                                   byte order
//   0       4        byte count = 4 x number of ids            little-endian int32
//   4       4 each   the ids in ascending order                little-endian int32
// A byte count below 4 reads as an empty set.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int32_t kNoneId = static_cast<int32_t>(0x80000001u);

class CIdSet {
public:
    CIdSet() = default;
    CIdSet(const CIdSet&) = default;
    CIdSet& operator=(const CIdSet&) = default;
    virtual ~CIdSet() = default;

    // Binary search: true and the index when present, else false and the insertion index.
    bool Find(int32_t id, int& index) const;
    bool Contains(int32_t id) const
    {
        int index;
        return Find(id, index);
    }
    // Inserts an absent id (sets modified); a present id changes nothing.
    void Add(int32_t id);
    // Removes a present id (sets modified).
    void Remove(int32_t id);
    // Empties the set and sets modified, also when it was empty.
    void RemoveAll();

    // In place: keeps the ids present in both; modified when any id was dropped.
    CIdSet Intersect(const CIdSet& other);
    // In place: the ids present in either; modified when other brought a new id.
    CIdSet Union(const CIdSet& other);
    // In place: the ids present in exactly one; modified only when the result is smaller than the
    // set was before.
    CIdSet SymmetricDifference(const CIdSet& other);
    // In place: drops the ids present in other, in one merge walk; modified when any id was dropped.
    void Subtract(const CIdSet& other);

    // Assignment of the values only; the modified flag is not touched.
    void Copy(const CIdSet& other);
    void Copy(const std::vector<int32_t>& values);
    // Restores the invariant after Values() was filled directly: sorts, drops duplicates and kNoneId.
    void Sort();

    bool IsModified() const { return m_modified; }
    void ClearModified() { m_modified = false; }
    int GetSize() const { return static_cast<int>(m_values.size()); }
    int32_t GetAt(int i) const { return m_values[static_cast<size_t>(i)]; }
    const std::vector<int32_t>& Values() const { return m_values; }
    std::vector<int32_t>& Values() { return m_values; }

private:
    std::vector<int32_t> m_values;
    bool m_modified = false;
};

// The same set, named by what its ids stand for.
class CArticleIdSet : public CIdSet {
public:
    using CIdSet::CIdSet;
};

class CKeywordIdSet : public CIdSet {
public:
    using CIdSet::CIdSet;
};

class CGroupIdSet : public CIdSet {
public:
    using CIdSet::CIdSet;
};
