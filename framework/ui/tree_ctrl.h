// Tree-view messages as methods. CTreeCtrlHandle only borrows the control; CTreeCtrl also subclasses
// it, for trees with behaviour of their own. Items are HTREEITEM handles, valid while the item lives.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "framework/ui/subclassed_wnd.h"
#include "framework/ui/wnd_handle.h"

template <class Base>
class CTreeCtrlT : public Base {
public:
    using Base::Base;

    // The new item, or nullptr on failure. `image` is both the image and the selected image.
    HTREEITEM InsertItem(const std::string& text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST,
                         int image = 0) const
    {
        TVINSERTSTRUCTA insert = {};
        insert.hParent = parent;
        insert.hInsertAfter = after;
        insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        insert.item.pszText = const_cast<char*>(text.c_str());
        insert.item.iImage = image;
        insert.item.iSelectedImage = image;
        return reinterpret_cast<HTREEITEM>(this->SendMessage(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    }
    bool DeleteAllItems() const { return this->SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)) != 0; }

    // TVGN_CARET, TVGN_CHILD, TVGN_NEXT, TVGN_ROOT...; nullptr when there is no such item.
    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const
    {
        return reinterpret_cast<HTREEITEM>(this->SendMessage(TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
    }
    HTREEITEM GetCaretItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
    bool SelectItem(HTREEITEM item) const { return this->SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)) != 0; }

    // A branch: the item has children, or says it has (cChildren set when the items come on demand).
    bool ItemHasChildren(HTREEITEM item) const
    {
        TVITEMA query = {};
        query.mask = TVIF_CHILDREN | TVIF_HANDLE;
        query.hItem = item;
        if (!this->SendMessage(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query)))
            return false;
        return query.cChildren != 0 || GetChildItem(item) != nullptr;
    }
    // The item's state bits within `mask` (TVIS_EXPANDED, TVIS_SELECTED, TVIS_STATEIMAGEMASK...).
    UINT GetItemState(HTREEITEM item, UINT mask) const
    {
        return static_cast<UINT>(this->SendMessage(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), mask)) & mask;
    }
    bool SetItemState(HTREEITEM item, UINT state, UINT mask) const
    {
        TVITEMA change = {};
        change.mask = TVIF_STATE | TVIF_HANDLE;
        change.hItem = item;
        change.state = state;
        change.stateMask = mask;
        return this->SendMessage(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&change)) != 0;
    }
    bool GetItemImage(HTREEITEM item, int& image, int& selectedImage) const
    {
        TVITEMA query = {};
        query.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
        query.hItem = item;
        if (!this->SendMessage(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query)))
            return false;
        image = query.iImage;
        selectedImage = query.iSelectedImage;
        return true;
    }
    bool SetItemImage(HTREEITEM item, int image, int selectedImage) const
    {
        TVITEMA change = {};
        change.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
        change.hItem = item;
        change.iImage = image;
        change.iSelectedImage = selectedImage;
        return this->SendMessage(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&change)) != 0;
    }
    // The check is the state image: 1 unchecked, 2 checked (the convention of TVS_CHECKBOXES).
    bool GetCheck(HTREEITEM item) const { return (GetItemState(item, TVIS_STATEIMAGEMASK) >> 12) == 2; }
    bool SetCheck(HTREEITEM item, bool checked) const
    {
        return SetItemState(item, INDEXTOSTATEIMAGEMASK(checked ? 2 : 1), TVIS_STATEIMAGEMASK);
    }

    // TVE_EXPAND, TVE_COLLAPSE or TVE_TOGGLE. Sends no TVN_ITEMEXPANDING/TVN_ITEMEXPANDED.
    bool Expand(HTREEITEM item, UINT code) const
    {
        return this->SendMessage(TVM_EXPAND, code, reinterpret_cast<LPARAM>(item)) != 0;
    }
    // The item at client point `point` and where on it (TVHT_ONITEMICON...); nullptr on none.
    HTREEITEM HitTest(POINT point, UINT* flags = nullptr) const
    {
        TVHITTESTINFO info = {};
        info.pt = point;
        HTREEITEM item = reinterpret_cast<HTREEITEM>(this->SendMessage(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
        if (flags)
            *flags = info.flags;
        return item;
    }
    // The item's rectangle: its text only (textOnly) or the whole row; false when it is not visible.
    bool GetItemRect(HTREEITEM item, RECT* rect, bool textOnly) const
    {
        *reinterpret_cast<HTREEITEM*>(rect) = item;
        return this->SendMessage(TVM_GETITEMRECT, textOnly, reinterpret_cast<LPARAM>(rect)) != 0;
    }
    // TVSIL_NORMAL or TVSIL_STATE; answers the previous list, which the caller still owns.
    HIMAGELIST SetImageList(HIMAGELIST list, int kind = TVSIL_NORMAL) const
    {
        return reinterpret_cast<HIMAGELIST>(this->SendMessage(TVM_SETIMAGELIST, static_cast<WPARAM>(kind), reinterpret_cast<LPARAM>(list)));
    }
};

using CTreeCtrlHandle = CTreeCtrlT<CWndHandle>;
using CTreeCtrl = CTreeCtrlT<CSubclassedWnd>;
