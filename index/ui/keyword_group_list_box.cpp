#include "index/ui/keyword_group_list_box.h"

#include "document/quorvane_doc.h"
#include "framework/ansi_case.h"
#include "index/ui/keyword_list_box.h"

CKeywordGroupListBox::CKeywordGroupListBox()
{
    m_order.SetOrder([this](int32_t a, int32_t b) { return AnsiCompare(NameOf(a).c_str(), NameOf(b).c_str()); });
}

bool CKeywordGroupListBox::Create(HWND parent, int id, const RECT& rect, DWORD extraStyle)
{
    return CreateControl("LISTBOX", WS_EX_CLIENTEDGE, kStyle | extraStyle, rect, parent, id);
}

std::string CKeywordGroupListBox::NameOf(int32_t id) const
{
    if (!m_document)
        return std::string();
    try {
        return m_document->GetKeywordGroupName(id == kNoneId ? 0 : id);
    } catch (...) {
        return std::string();  // drawn and compared as empty
    }
}

int CKeywordGroupListBox::SetIds(const CIdSet& ids)
{
    m_listed.RemoveAll();
    m_order.Clear();
    ResetContent();
    SendMessage(LB_SETSEL, FALSE, -1);
    for (int32_t id : ids.Values())
        AddGroup(id);
    return m_listed.GetSize();
}

int CKeywordGroupListBox::GetIds(CIdSet& out) const
{
    out.Copy(m_listed.Values());
    return out.GetSize();
}

int CKeywordGroupListBox::AddGroup(int32_t id)
{
    if (m_listed.Contains(id))
        return FindItem(id);
    m_listed.Add(id);
    int at = m_order.InsertPosition(id);
    int index = InsertString(at, NameOf(id));
    if (index >= 0) {
        m_order.Insert(id);
        SetItemData(index, id);
    }
    return index;
}

int CKeywordGroupListBox::AddGroups(const CIdSet& ids, bool highlight)
{
    if (highlight)
        SendMessage(LB_SETSEL, FALSE, -1);
    for (int32_t id : ids.Values()) {
        int index = AddGroup(id);
        if (highlight && index >= 0 && index != kNoneId)
            SendMessage(LB_SETSEL, TRUE, index);
    }
    return m_listed.GetSize();
}

void CKeywordGroupListBox::RemoveGroup(int32_t id)
{
    if (!m_listed.Contains(id))
        return;
    m_listed.Remove(id);
    int index = FindItem(id);
    if (index == kNoneId)
        return;
    SendMessage(LB_SETSEL, FALSE, index);
    DeleteString(index);
    m_order.RemoveAt(index);
}

void CKeywordGroupListBox::RemoveSelected()
{
    CGroupIdSet selected;
    GetSelectedIds(selected);
    for (int32_t id : selected.Values())
        RemoveGroup(id);
}

int CKeywordGroupListBox::FindItem(int32_t id) const
{
    for (int i = GetCount() - 1; i >= 0; --i)
        if (static_cast<int32_t>(GetItemData(i)) == id)
            return i;
    return kNoneId;
}

int CKeywordGroupListBox::GetSelectedIds(CIdSet& out) const
{
    out.RemoveAll();
    for (int i = 0; i < GetCount(); ++i)
        if (SendMessage(LB_GETSEL, static_cast<WPARAM>(i)) > 0)
            out.Add(static_cast<int32_t>(GetItemData(i)));
    return out.GetSize();
}

void CKeywordGroupListBox::SetGroupSel(int32_t id, bool on)
{
    int index = FindItem(id);
    if (index != kNoneId)
        SendMessage(LB_SETSEL, on ? TRUE : FALSE, index);
}

bool CKeywordGroupListBox::IsGroupSelected(int32_t id) const
{
    int index = FindItem(id);
    return index != kNoneId && SendMessage(LB_GETSEL, static_cast<WPARAM>(index)) > 0;
}

void CKeywordGroupListBox::SetListFont(HFONT font, bool redraw)
{
    SetListFontWithTextHeight(m_hWnd, font, redraw);
}

void CKeywordGroupListBox::DrawItem(const DRAWITEMSTRUCT& item)
{
    if (!PaintListItemBackground(item))
        return;
    int index = static_cast<int>(item.itemID);
    bool selected = (item.itemState & ODS_SELECTED) != 0;
    if (index < 0 || index >= GetCount())
        return;
    std::string text = NameOf(static_cast<int32_t>(item.itemData));
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    SIZE size = {};
    GetTextExtentPoint32A(item.hDC, "Q", 1, &size);
    int height = item.rcItem.bottom - item.rcItem.top;
    DrawTextWithinScreen(item.hDC, item.rcItem.left + 2, item.rcItem.top + (height - size.cy) / 2, text, true);
}

std::string CKeywordGroupListBox::ItemTipText(int index) const
{
    return index >= 0 && index < GetCount() ? NameOf(static_cast<int32_t>(GetItemData(index))) : std::string();
}

bool CKeywordGroupListBox::OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg != WM_DRAWITEM)
        return CDragList::OnReflectedMessage(msg, wParam, lParam, result);
    DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
    result = TRUE;
    return true;
}
