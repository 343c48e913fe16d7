// A tree whose leaves carry check boxes and whose branches show a closed or open folder. A press on
// a leaf's image, or Space on the caret leaf, inverts its check; on a branch's image it opens or
// closes the branch. The check is kept twice: as the item's state image (GetCheck, SetCheck) and as
// its image and selected image, which the tree draws. A double click does nothing. Subclass the tree
// of a dialog template, then ApplyImageList once before adding items.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "framework/ui/tree_ctrl.h"

class CCheckTreeCtrl : public CTreeCtrl {
public:
    enum Image { kUnchecked = 0, kChecked = 1, kBranchClosed = 2, kBranchOpen = 3 };

    CCheckTreeCtrl() = default;
    ~CCheckTreeCtrl() override;

    // Builds the image list from the program's images once and gives it to the tree; false when the
    // images cannot be had.
    bool ApplyImageList();
    void SetItemCheck(HTREEITEM item, bool checked);

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // A press on the image: a branch opens or closes, a leaf's check inverts.
    void ToggleItem(HTREEITEM item);
    void ShowBranchImage(HTREEITEM item);

    HIMAGELIST m_images = nullptr;
};
