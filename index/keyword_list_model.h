// What a keyword list shows: the set of keyword ids it was given (the listed set), an optional filter
// set that hides the others (the index window's keyword-group filter), and the visible ids in the
// order of their names (lstrcmpA order, or exactly its reverse when descending). The list box above it
// holds only a count of items; item i is Items().At(i).
//
// Invariant: Items() holds exactly the visible ids of the listed set, each once, in display order;
// All() holds every listed id in display order. An id is visible when the filter is off, show-all is
// on, or the id is in the filter set.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "index/sorted_id_list.h"
#include "storage/id_set.h"

class CKeywordListModel {
public:
    // The name of a keyword; empty when it cannot be read. Must not throw.
    using NameSource = std::function<std::string(int32_t id)>;

    explicit CKeywordListModel(NameSource names = nullptr);
    void SetNameSource(NameSource names);

    // Empties the list and lists `ids` (kNoneId is never listed).
    void SetIds(const CIdSet& ids);
    const CKeywordIdSet& GetIds() const { return m_listed; }
    bool HasId(int32_t id) const { return m_listed.Contains(id); }
    bool IsVisible(int32_t id) const;

    // Lists `id`. `alreadyListed` says whether it was listed before; the result is the new item's
    // index, or -1 when no item was added (already listed, or hidden by the filter).
    int AddId(int32_t id, bool& alreadyListed);
    // Unlists `id` and drops it from the filter set; the index of the item removed, or -1.
    int RemoveId(int32_t id);
    // Unlists the ids of the items at `indexes`.
    void RemoveItems(const std::vector<int>& indexes);
    // Unlists `ids` and drops them from the filter set, in one pass over the list (the others keep
    // their order).
    void RemoveIds(const CIdSet& ids);
    void Clear();

    // Stores the filter and brings the items in step with it.
    void SetFilter(const CIdSet& filter, bool filterOn, bool showAll);
    void RefreshFilter(bool filterOn) { SetFilter(m_filter, filterOn, m_showAll); }
    bool IsFilterOn() const { return m_filterOn; }

    // True when the order changed (and was rebuilt).
    bool SetDescending(bool descending);
    bool IsDescending() const { return m_descending; }

    const CSortedIdList& Items() const { return m_items; }
    const CSortedIdList& All() const { return m_all; }
    std::string NameOf(int32_t id) const { return m_names ? m_names(id) : std::string(); }
    // lstrcmpA order of the two names, reversed when descending.
    int Compare(int32_t a, int32_t b) const;

private:
    void SortByName(std::vector<int32_t>& ids) const;
    void RebuildItems();

    NameSource m_names;
    CKeywordIdSet m_listed;
    CKeywordIdSet m_filter;
    bool m_filterOn = false;
    bool m_showAll = true;
    bool m_descending = false;
    CSortedIdList m_all;
    CSortedIdList m_items;
};

// Sorts ids stably by their texts in lstrcmpA order (reversed when `descending`), making each text's
// collation key once.
void SortIdsByText(std::vector<int32_t>& ids, const std::function<std::string(int32_t)>& textOf, bool descending);
