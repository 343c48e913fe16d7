// An article's attachments in an owner-drawn list: per item an optional check box (the target's
// "Include attachment in open list" flag), the kind's picture (file, folder, Internet address) and
// the target's text, with the item tip of CTipListBox for texts wider than the list. The list owns a
// copy of every target; its operations keep the copies in step with the list's items.
//
// The check boxes show after SetCheckMode; a read-only list draws them disabled and ignores the clicks
// and the Space key that would toggle them.
#pragma once
#include <memory>
#include <vector>

#include "controls/ui/masked_bitmap.h"
#include "controls/ui/tip_list_box.h"
#include "storage/link_target.h"

class CAttachmentListBox : public CTipListBox {
public:
    // Picture kinds of an item.
    enum IconKind { kNoIcon = 0, kFileIcon = 1, kFolderIcon = 2, kInternetIcon = 3 };

    CAttachmentListBox();
    ~CAttachmentListBox() override;

    // Loads the pictures; call once after subclassing.
    void LoadImages();
    void SetCheckMode(bool show, bool readOnly);
    // Item height: the kind picture's height + 4.
    void SetItemHeight();

    // The index of the new item, or -1 (nothing added).
    int AddItem(const CLinkTarget& target, bool changed);
    int InsertItem(int index, const CLinkTarget& target, bool changed);
    // Out-of-range indices do nothing.
    void ReplaceItem(int index, const CLinkTarget& target);
    // A copy of the item's target; an empty one for a bad index.
    CLinkTarget GetItem(int index) const;
    void DeleteItem(int index);
    void DeleteAll();
    void DeleteSelected();
    int SetAll(const CAttachmentArray& attachments);
    int GetAll(CAttachmentArray& attachments) const;
    void GetSelected(CAttachmentArray& attachments) const;
    int GetSelCount() const;
    // The selected items' indices in list order.
    std::vector<int> GetSelectedIndices() const;
    // Selects item `index` alone (-1: none).
    void SelectOnly(int index);
    void MoveUp();
    void MoveDown();
    void ScrollSelectionIntoView();
    bool ToggleCheck(int index);
    bool IsCheckToggled() const { return m_checkToggled; }
    void ClearCheckToggled() { m_checkToggled = false; }
    IconKind GetIconKind(int index) const;
    bool IsItemChanged(int index) const;

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnDestroy(LRESULT& result) override;

private:
    struct Item {
        CLinkTarget target;
        IconKind kind = kNoIcon;
        bool changed = false;
    };
    static IconKind KindOf(const CLinkTarget& target);
    bool IsMultiple() const;
    void DrawItem(const DRAWITEMSTRUCT& draw);
    const CMaskedBitmap* KindImage(IconKind kind) const;

    std::vector<std::unique_ptr<Item>> m_items;
    CMaskedBitmap m_checked, m_unchecked, m_uncheckedDisabled, m_checkedDisabled;
    CMaskedBitmap m_file, m_folder, m_internet;
    bool m_showChecks = false;
    bool m_readOnly = false;
    bool m_checkToggled = false;
};
