// The list of keyword groups (the index window's group pane, the group dialogs, the article window).
// Owner-drawn with each group's name as the item text and its id as the item data; the few groups keep
// their strings, but the list box does not sort them: each goes in at the place its name takes in
// lstrcmpA order. Items can be dragged out like keywords.
#pragma once
#include <string>

#include "index/sorted_id_list.h"
#include "index/ui/drag_list.h"
#include "storage/id_set.h"

class CQuorvaneDoc;

class CKeywordGroupListBox : public CDragList {
public:
    static constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_HASSTRINGS |
                                    LBS_OWNERDRAWFIXED | LBS_EXTENDEDSEL | LBS_WANTKEYBOARDINPUT |
                                    LBS_NOINTEGRALHEIGHT;

    CKeywordGroupListBox();

    bool Create(HWND parent, int id, const RECT& rect, DWORD extraStyle = 0);
    void SetDocument(CQuorvaneDoc* document) { m_document = document; }

    // Lists exactly `ids`; returns the count.
    int SetIds(const CIdSet& ids);
    int GetIds(CIdSet& out) const;
    // Lists `id` (once); the index of its item.
    int AddGroup(int32_t id);
    // With `highlight` the highlights are cleared first and each added group highlighted.
    int AddGroups(const CIdSet& ids, bool highlight);
    void RemoveGroup(int32_t id);
    void RemoveSelected();
    // The index of the group's item, or kNoneId.
    int FindItem(int32_t id) const;
    int GetSelectedIds(CIdSet& out) const;
    void SetGroupSel(int32_t id, bool on);
    bool IsGroupSelected(int32_t id) const;
    void SetListFont(HFONT font, bool redraw);

    unsigned DropClasses() const override { return DropWindowFacts::kDragList | DropWindowFacts::kGroupList; }

protected:
    bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    std::string ItemTipText(int index) const override;

private:
    std::string NameOf(int32_t id) const;
    void DrawItem(const DRAWITEMSTRUCT& item);

    CQuorvaneDoc* m_document = nullptr;
    CGroupIdSet m_listed;
    CSortedIdList m_order;
};
