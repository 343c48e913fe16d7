#include "article/ui/attachment_list_box.h"

#include <windowsx.h>

#include <algorithm>
#include <new>
#include <string>

#include "resources/article_properties_res.h"
#include "storage/link_shell.h"

namespace {

constexpr COLORREF kTransparent = RGB(255, 0, 255);
constexpr int kLeft = 2;
constexpr int kGap = 6;

}  // namespace

CAttachmentListBox::CAttachmentListBox() = default;

CAttachmentListBox::~CAttachmentListBox() = default;

void CAttachmentListBox::LoadImages()
{
    if (!m_file.IsEmpty())
        return;
    m_checked.Load(IDB_ATTACHMENT_CHECKED, kTransparent);
    m_unchecked.Load(IDB_ATTACHMENT_UNCHECKED, kTransparent);
    m_uncheckedDisabled.Load(IDB_ATTACHMENT_UNCHECKED_DISABLED, kTransparent);
    m_checkedDisabled.Load(IDB_ATTACHMENT_CHECKED_DISABLED, kTransparent);
    m_file.Load(IDB_ATTACHMENT_FILE, kTransparent);
    m_folder.Load(IDB_ATTACHMENT_FOLDER, kTransparent);
    m_internet.Load(IDB_ATTACHMENT_INTERNET, kTransparent);
    SetTextStart(kLeft + m_file.GetSize().cx + kGap);
}

void CAttachmentListBox::SetCheckMode(bool show, bool readOnly)
{
    LoadImages();
    m_showChecks = show;
    m_readOnly = readOnly;
    // The tip covers the text only, beside the pictures.
    SetTextStart(kLeft + (show ? m_checked.GetSize().cx + kGap : 0) + m_file.GetSize().cx + kGap);
    Invalidate();
}

void CAttachmentListBox::SetItemHeight()
{
    LoadImages();
    SendMessage(LB_SETITEMHEIGHT, 0, MAKELPARAM(m_file.GetSize().cy + 4, 0));
}

CAttachmentListBox::IconKind CAttachmentListBox::KindOf(const CLinkTarget& target)
{
    switch (target.GetKind()) {
    case CLinkTarget::kFile: {
        // A folder that no longer exists gets the file picture.
        ILinkShell* shell = GetLinkShell();
        bool folder = false;
        if (shell && shell->PathExists(target.GetFullPath(shell->BaseFolder()), folder) && folder)
            return kFolderIcon;
        return kFileIcon;
    }
    case CLinkTarget::kInternet:
        return kInternetIcon;
    default:
        return kNoIcon;
    }
}

int CAttachmentListBox::AddItem(const CLinkTarget& target, bool changed)
{
    return InsertItem(-1, target, changed);
}

int CAttachmentListBox::InsertItem(int index, const CLinkTarget& target, bool changed)
{
    try {
        auto item = std::make_unique<Item>();
        item->target = target;
        item->kind = KindOf(target);
        item->changed = changed;
        std::string text;
        target.GetTarget(text);
        // LB_ADDSTRING appends (the list is not sorted); both answer the index or LB_ERR/LB_ERRSPACE.
        const int at = index < 0 ? AddString(text) : InsertString(index, text);
        if (at < 0)
            return -1;
        m_items.insert(m_items.begin() + at, std::move(item));
        return at;
    } catch (const std::bad_alloc&) {
        return -1;
    }
}

void CAttachmentListBox::ReplaceItem(int index, const CLinkTarget& target)
{
    if (index < 0 || index >= static_cast<int>(m_items.size()))
        return;
    const bool selected = SendMessage(LB_GETSEL, static_cast<WPARAM>(index)) > 0;
    std::string text;
    target.GetTarget(text);
    std::unique_ptr<Item> item = std::move(m_items[static_cast<size_t>(index)]);
    item->target = target;
    item->kind = KindOf(target);
    item->changed = true;
    DeleteString(index);
    m_items.erase(m_items.begin() + index);
    const int at = InsertString(index, text);
    if (at < 0)
        return;
    m_items.insert(m_items.begin() + at, std::move(item));
    if (selected)
        SendMessage(IsMultiple() ? LB_SETSEL : LB_SETCURSEL, IsMultiple() ? TRUE : static_cast<WPARAM>(at),
                    IsMultiple() ? at : 0);
}

CLinkTarget CAttachmentListBox::GetItem(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_items.size()))
        return CLinkTarget();
    return m_items[static_cast<size_t>(index)]->target;
}

CAttachmentListBox::IconKind CAttachmentListBox::GetIconKind(int index) const
{
    return index >= 0 && index < static_cast<int>(m_items.size()) ? m_items[static_cast<size_t>(index)]->kind : kNoIcon;
}

bool CAttachmentListBox::IsItemChanged(int index) const
{
    return index >= 0 && index < static_cast<int>(m_items.size()) && m_items[static_cast<size_t>(index)]->changed;
}

void CAttachmentListBox::DeleteItem(int index)
{
    if (index < 0 || index >= static_cast<int>(m_items.size()))
        return;
    DeleteString(index);
    m_items.erase(m_items.begin() + index);
}

void CAttachmentListBox::DeleteAll()
{
    for (int i = static_cast<int>(m_items.size()) - 1; i >= 0; --i)
        DeleteItem(i);
}

void CAttachmentListBox::DeleteSelected()
{
    std::vector<int> selected = GetSelectedIndices();
    for (auto it = selected.rbegin(); it != selected.rend(); ++it)
        DeleteItem(*it);
}

int CAttachmentListBox::SetAll(const CAttachmentArray& attachments)
{
    DeleteAll();
    for (int i = 0; i < attachments.GetSize(); ++i)
        if (const CLinkTarget* target = attachments.Item(i))
            AddItem(*target, true);
    return GetCount();
}

int CAttachmentListBox::GetAll(CAttachmentArray& attachments) const
{
    attachments.RemoveAll();
    for (const auto& item : m_items)
        attachments.Add(item->target);
    return attachments.GetSize();
}

void CAttachmentListBox::GetSelected(CAttachmentArray& attachments) const
{
    attachments.RemoveAll();
    for (int index : GetSelectedIndices()) {
        if (attachments.Add(m_items[static_cast<size_t>(index)]->target) < 0) {
            attachments.RemoveAll();
            return;
        }
    }
}

bool CAttachmentListBox::IsMultiple() const
{
    return (GetStyle() & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
}

int CAttachmentListBox::GetSelCount() const
{
    if (IsMultiple())
        return std::max(0, static_cast<int>(SendMessage(LB_GETSELCOUNT)));
    return GetCurSel() >= 0 ? 1 : 0;
}

std::vector<int> CAttachmentListBox::GetSelectedIndices() const
{
    std::vector<int> indices;
    if (!IsMultiple()) {
        if (GetCurSel() >= 0)
            indices.push_back(GetCurSel());
        return indices;
    }
    const int count = GetSelCount();
    if (count <= 0)
        return indices;
    indices.resize(static_cast<size_t>(count));
    const int got = static_cast<int>(
        SendMessage(LB_GETSELITEMS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(indices.data())));
    indices.resize(static_cast<size_t>(std::max(0, got)));
    std::sort(indices.begin(), indices.end());
    return indices;
}

void CAttachmentListBox::SelectOnly(int index)
{
    if (!IsMultiple()) {
        SetCurSel(index);
        return;
    }
    // LB_SETSEL with index -1 applies to every item.
    SendMessage(LB_SETSEL, FALSE, -1);
    if (index >= 0) {
        SendMessage(LB_SETSEL, TRUE, index);
        SendMessage(LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
    }
}

void CAttachmentListBox::MoveUp()
{
    std::vector<int> selected = GetSelectedIndices();
    if (selected.size() != 1 || selected[0] <= 0)
        return;
    const int index = selected[0];
    CLinkTarget target = GetItem(index);
    DeleteItem(index);
    const int at = InsertItem(index - 1, target, true);
    SelectOnly(at);
}

void CAttachmentListBox::MoveDown()
{
    std::vector<int> selected = GetSelectedIndices();
    if (selected.size() != 1 || selected[0] >= GetCount() - 1)
        return;
    const int index = selected[0];
    CLinkTarget target = GetItem(index);
    DeleteItem(index);
    const int at = InsertItem(index + 1, target, true);
    SelectOnly(at);
    ScrollSelectionIntoView();
}

void CAttachmentListBox::ScrollSelectionIntoView()
{
    const int current = static_cast<int>(SendMessage(LB_GETCARETINDEX));
    RECT item = {};
    if (current < 0 || !GetItemRect(current, &item))
        return;
    const RECT client = GetClientRect();
    if (item.bottom > client.bottom)
        SendMessage(LB_SETTOPINDEX, static_cast<WPARAM>(GetTopIndex() + 1));
}

bool CAttachmentListBox::ToggleCheck(int index)
{
    if (index < 0 || index >= static_cast<int>(m_items.size()))
        return false;
    CLinkTarget& target = m_items[static_cast<size_t>(index)]->target;
    target.SetInOpenList(!target.IsInOpenList());
    m_checkToggled = true;
    RECT rect = {};
    if (GetItemRect(index, &rect))
        ::InvalidateRect(m_hWnd, &rect, TRUE);
    return true;
}

const CMaskedBitmap* CAttachmentListBox::KindImage(IconKind kind) const
{
    switch (kind) {
    case kFileIcon:
        return &m_file;
    case kFolderIcon:
        return &m_folder;
    case kInternetIcon:
        return &m_internet;
    default:
        return nullptr;
    }
}

void CAttachmentListBox::DrawItem(const DRAWITEMSTRUCT& draw)
{
    if (draw.itemID == static_cast<UINT>(-1) || draw.itemID >= m_items.size()) {
        if (draw.itemAction & ODA_FOCUS)
            ::DrawFocusRect(draw.hDC, &draw.rcItem);
        return;
    }
    LoadImages();
    const Item& item = *m_items[draw.itemID];
    HDC dc = draw.hDC;
    const bool selected = (draw.itemState & ODS_SELECTED) != 0;
    ::FillRect(dc, &draw.rcItem, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const int height = draw.rcItem.bottom - draw.rcItem.top;
    int x = draw.rcItem.left + kLeft;
    if (m_showChecks) {
        const bool on = item.target.IsInOpenList();
        const CMaskedBitmap& check = m_readOnly ? (on ? m_checkedDisabled : m_uncheckedDisabled)
                                                : (on ? m_checked : m_unchecked);
        const SIZE size = check.GetSize();
        check.Draw(dc, x, draw.rcItem.top + (height - size.cy) / 2);
        x += size.cx + kGap;
    }
    const SIZE kindSize = m_file.GetSize();
    if (const CMaskedBitmap* image = KindImage(item.kind))
        image->Draw(dc, x, draw.rcItem.top + (height - image->GetSize().cy) / 2);
    x += kindSize.cx + kGap;

    const std::string text = GetText(static_cast<int>(draw.itemID));
    const COLORREF oldColor = ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    SIZE extent = {};
    ::GetTextExtentPoint32A(dc, "X", 1, &extent);
    const int tab = 40;
    ::TabbedTextOutA(dc, x, draw.rcItem.top + (height - extent.cy) / 2, text.c_str(), static_cast<int>(text.size()), 1,
                     &tab, x);
    ::SetBkMode(dc, oldMode);
    ::SetTextColor(dc, oldColor);
    if (draw.itemState & ODS_FOCUS)
        ::DrawFocusRect(dc, &draw.rcItem);
}

bool CAttachmentListBox::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_LBUTTONDOWN:
        if (m_showChecks && !m_readOnly) {
            const int x = GET_X_LPARAM(lParam);
            LoadImages();
            if (x >= kLeft && x <= m_checked.GetSize().cx + 1) {
                const int index = ItemFromPoint(x, GET_Y_LPARAM(lParam));
                if (index >= 0)
                    ToggleCheck(index);
            }
        }
        return CTipListBox::OnMessage(msg, wParam, lParam, result);
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && m_showChecks && !m_readOnly) {
            std::vector<int> selected = GetSelectedIndices();
            if (selected.size() == 1) {
                ToggleCheck(selected[0]);
                result = 0;
                return true;
            }
        }
        return CTipListBox::OnMessage(msg, wParam, lParam, result);
    default:
        return CTipListBox::OnMessage(msg, wParam, lParam, result);
    }
}

bool CAttachmentListBox::OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_DRAWITEM:
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        result = TRUE;
        return true;
    case WM_COMMAND:
        // The tip follows the selection; the dialog hears of the change too.
        CTipListBox::OnReflectedMessage(msg, wParam, lParam, result);
        return false;
    default:
        return CTipListBox::OnReflectedMessage(msg, wParam, lParam, result);
    }
}

bool CAttachmentListBox::OnDestroy(LRESULT& result)
{
    CTipListBox::OnDestroy(result);
    // The strings go with the window; their targets go now.
    m_items.clear();
    return false;
}
