#include "controls/ui/check_tree_ctrl.h"

#include <windowsx.h>

#include "resources/check_tree_res.h"

namespace {

// The four images of resource IDB_CHECK_TREE are 13 x 13 pixels each.
constexpr int kImageSize = 13;

}  // namespace

CCheckTreeCtrl::~CCheckTreeCtrl()
{
    // The tree does not free a normal image list that was set on it (no TVS_SHAREIMAGELISTS needed).
    if (m_images) {
        if (m_hWnd)
            SetImageList(nullptr);
        ImageList_Destroy(m_images);
    }
}

bool CCheckTreeCtrl::ApplyImageList()
{
    if (!m_images) {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        HBITMAP images = LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_CHECK_TREE));
        HBITMAP mask = static_cast<HBITMAP>(
            LoadImageA(instance, MAKEINTRESOURCEA(IDB_CHECK_TREE_MASK), IMAGE_BITMAP, 0, 0, LR_MONOCHROME));
        if (images && mask) {
            m_images = ImageList_Create(kImageSize, kImageSize, ILC_COLOR24 | ILC_MASK, 4, 1);
            // ImageList_Add copies the bitmaps: ours are freed below either way.
            if (m_images && ImageList_Add(m_images, images, mask) < 0) {
                ImageList_Destroy(m_images);
                m_images = nullptr;
            }
        }
        if (images)
            DeleteObject(images);
        if (mask)
            DeleteObject(mask);
        if (!m_images)
            return false;
    }
    SetImageList(m_images, TVSIL_NORMAL);
    return true;
}

void CCheckTreeCtrl::SetItemCheck(HTREEITEM item, bool checked)
{
    SetCheck(item, checked);
    int image = checked ? kChecked : kUnchecked;
    SetItemImage(item, image, image);
}

void CCheckTreeCtrl::ShowBranchImage(HTREEITEM item)
{
    int image = GetItemState(item, TVIS_EXPANDED) ? kBranchOpen : kBranchClosed;
    SetItemImage(item, image, image);
}

void CCheckTreeCtrl::ToggleItem(HTREEITEM item)
{
    if (ItemHasChildren(item)) {
        // TVM_EXPAND sends no TVN_ITEMEXPANDED: the image is set here.
        Expand(item, TVE_TOGGLE);
        ShowBranchImage(item);
    } else {
        SetItemCheck(item, !GetCheck(item));
    }
}

bool CCheckTreeCtrl::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_LBUTTONDOWN: {
        UINT flags = 0;
        HTREEITEM item = HitTest({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, &flags);
        if (item && (flags & TVHT_ONITEMICON))
            ToggleItem(item);
        return false;  // the tree handles the press as usual (selects, takes the focus)
    }
    case WM_CHAR:
        if (wParam == VK_SPACE) {
            if (HTREEITEM item = GetCaretItem()) {
                ToggleItem(item);
                result = 0;
                return true;
            }
        }
        return false;
    case WM_LBUTTONDBLCLK:
        result = 0;
        return true;
    default:
        return false;
    }
}

bool CCheckTreeCtrl::OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg != WM_NOTIFY)
        return false;
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->code == TVN_ITEMEXPANDEDA || header->code == TVN_ITEMEXPANDEDW) {
        // Opened or closed by the keyboard or the plus button.
        ShowBranchImage(reinterpret_cast<NMTREEVIEWA*>(lParam)->itemNew.hItem);
    }
    return false;
}
