#include "index/keyword_list_model.h"

#include <algorithm>

#include "framework/ansi_case.h"

void SortIdsByText(std::vector<int32_t>& ids, const std::function<std::string(int32_t)>& textOf, bool descending)
{
    struct Item {
        int32_t id;
        size_t key;
        size_t length;
    };
    std::vector<Item> items;
    items.reserve(ids.size());
    std::string keys;
    for (int32_t id : ids) {
        size_t start = keys.size();
        AppendAnsiSortKey(textOf ? textOf(id).c_str() : "", keys);
        items.push_back(Item{id, start, keys.size() - start});
    }
    const char* base = keys.data();
    std::stable_sort(items.begin(), items.end(), [base, descending](const Item& a, const Item& b) {
        int order = CompareAnsiSortKeys(base + a.key, a.length, base + b.key, b.length);
        return descending ? order > 0 : order < 0;
    });
    for (size_t i = 0; i < ids.size(); ++i)
        ids[i] = items[i].id;
}

CKeywordListModel::CKeywordListModel(NameSource names)
{
    SetNameSource(std::move(names));
}

void CKeywordListModel::SetNameSource(NameSource names)
{
    m_names = std::move(names);
    auto compare = [this](int32_t a, int32_t b) { return Compare(a, b); };
    auto sort = [this](std::vector<int32_t>& ids) { SortByName(ids); };
    m_all.SetOrder(compare, sort);
    m_items.SetOrder(compare, sort);
}

int CKeywordListModel::Compare(int32_t a, int32_t b) const
{
    int order = AnsiCompare(NameOf(a).c_str(), NameOf(b).c_str());
    return m_descending ? -order : order;
}

void CKeywordListModel::SortByName(std::vector<int32_t>& ids) const
{
    SortIdsByText(ids, m_names, m_descending);
}

bool CKeywordListModel::IsVisible(int32_t id) const
{
    return !m_filterOn || m_showAll || m_filter.Contains(id);
}

void CKeywordListModel::RebuildItems()
{
    std::vector<int32_t> visible;
    visible.reserve(m_all.Ids().size());
    for (int32_t id : m_all.Ids())
        if (IsVisible(id))
            visible.push_back(id);
    m_items.AssignInOrder(std::move(visible));
}

void CKeywordListModel::SetIds(const CIdSet& ids)
{
    m_listed.Copy(ids.Values());
    m_listed.Sort();  // drops kNoneId, also from a set filled directly
    m_all.Assign(m_listed.Values());
    RebuildItems();
}

int CKeywordListModel::AddId(int32_t id, bool& alreadyListed)
{
    alreadyListed = m_listed.Contains(id);
    if (alreadyListed || id == kNoneId)
        return -1;
    m_listed.Add(id);
    m_all.Insert(id);
    if (!IsVisible(id))
        return -1;
    return m_items.Insert(id);
}

int CKeywordListModel::RemoveId(int32_t id)
{
    m_filter.Remove(id);
    if (!m_listed.Contains(id))
        return -1;
    m_listed.Remove(id);
    m_all.RemoveAt(m_all.IndexOf(id));
    int index = m_items.IndexOf(id);
    m_items.RemoveAt(index);
    return index;
}

void CKeywordListModel::RemoveItems(const std::vector<int>& indexes)
{
    CKeywordIdSet gone;
    for (int index : indexes)
        if (m_items.IsValidIndex(index))
            gone.Values().push_back(m_items.At(index));
    gone.Sort();
    m_listed.Subtract(gone);
    m_items.RemoveIndexes(indexes);
    std::vector<int32_t> rest;
    rest.reserve(m_all.Ids().size());
    for (int32_t id : m_all.Ids())
        if (!gone.Contains(id))
            rest.push_back(id);
    m_all.AssignInOrder(std::move(rest));
}

void CKeywordListModel::RemoveIds(const CIdSet& ids)
{
    m_filter.Subtract(ids);
    m_listed.Subtract(ids);
    auto keep = [&ids](const std::vector<int32_t>& from) {
        std::vector<int32_t> rest;
        rest.reserve(from.size());
        for (int32_t id : from)
            if (!ids.Contains(id))
                rest.push_back(id);
        return rest;
    };
    m_all.AssignInOrder(keep(m_all.Ids()));
    m_items.AssignInOrder(keep(m_items.Ids()));
}

void CKeywordListModel::Clear()
{
    m_listed.RemoveAll();
    m_all.Clear();
    m_items.Clear();
}

void CKeywordListModel::SetFilter(const CIdSet& filter, bool filterOn, bool showAll)
{
    if (&filter != &m_filter)
        m_filter.Copy(filter.Values());
    m_filterOn = filterOn;
    m_showAll = showAll;
    RebuildItems();
}

bool CKeywordListModel::SetDescending(bool descending)
{
    if (descending == m_descending)
        return false;
    m_descending = descending;
    m_all.Resort();
    RebuildItems();
    return true;
}
