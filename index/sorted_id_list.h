// The items of an owner-drawn list box that keeps no data of its own (LBS_NODATA): the ids it shows,
// in display order. The list box is told only how many items there are; drawing, hit-testing and
// selection map an item index to its id here. A fill sorts once; a single id goes in by binary search,
// so keeping a long list in order never costs more than n log n.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

class CSortedIdList {
public:
    // Negative when a sorts before b, 0 when equal, positive after.
    using Compare = std::function<int(int32_t a, int32_t b)>;
    // Sorts ids stably in Compare's order (a faster way to the same order, e.g. by collation keys);
    // when none is given, a stable sort calling Compare is used.
    using BulkSort = std::function<void(std::vector<int32_t>& ids)>;

    void SetOrder(Compare compare, BulkSort sort = nullptr)
    {
        m_compare = std::move(compare);
        m_sort = std::move(sort);
    }

    // Replaces the items by `ids` in display order.
    void Assign(std::vector<int32_t> ids);
    // Replaces the items by `ids`, which are in display order already.
    void AssignInOrder(std::vector<int32_t> ids) { m_ids = std::move(ids); }
    // Sorts the present items again (the order changed).
    void Resort();
    // Where `id` goes: after every item that does not sort after it, so that equal items keep the
    // order in which they came.
    int InsertPosition(int32_t id) const;
    // Inserts `id` at its position and returns that index.
    int Insert(int32_t id);
    void RemoveAt(int index);
    // Removes the items at `indexes` (any order) in one pass.
    void RemoveIndexes(std::vector<int> indexes);
    // The items of `moved` (sorted ids) changed how they sort, the others did not: they are taken out,
    // sorted among themselves and merged back, each after the items that do not sort after it. For k
    // moved items of n that costs k log k + n comparisons instead of a sort of all n.
    void Reposition(const std::vector<int32_t>& moved);
    // The index of the first item carrying `id`, or -1.
    int IndexOf(int32_t id) const;
    void Clear() { m_ids.clear(); }

    int Count() const { return static_cast<int>(m_ids.size()); }
    bool IsValidIndex(int index) const { return index >= 0 && index < Count(); }
    int32_t At(int index) const { return m_ids[static_cast<size_t>(index)]; }
    const std::vector<int32_t>& Ids() const { return m_ids; }

private:
    void Sort(std::vector<int32_t>& ids) const;

    Compare m_compare;
    BulkSort m_sort;
    std::vector<int32_t> m_ids;
};
