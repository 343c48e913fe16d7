#include "index/ui/article_list_box.h"

#include <windowsx.h>

#include <algorithm>
#include <unordered_map>

#include "document/quorvane_doc.h"
#include "framework/clock.h"
#include "index/ui/keyword_list_box.h"
#include "storage/quor_error.h"

CArticleListBox::CArticleListBox() : m_typeAhead(GetClock().TickCount()) {}

CArticleListBox::~CArticleListBox() = default;

bool CArticleListBox::Create(HWND parent, int id, const RECT& rect, DWORD extraStyle)
{
    return CreateControl("LISTBOX", WS_EX_CLIENTEDGE, kStyle | extraStyle, rect, parent, id);
}

void CArticleListBox::SetDocument(CQuorvaneDoc* document)
{
    m_document = document;
    if (!document) {
        m_items.SetOrder(nullptr);
        return;
    }
    m_items.SetOrder([document](int32_t a, int32_t b) { return document->CompareArticles(a, b); },
                     [document](std::vector<int32_t>& ids) { document->SortArticleIdsInOrder(ids); });
}

const char* CArticleListBox::TitleOf(int32_t id) const
{
    if (!m_document)
        return nullptr;
    try {
        return m_document->GetArticleTitle(id);
    } catch (...) {
        return nullptr;
    }
}

void CArticleListBox::SetRedraw(bool on) const
{
    SendMessage(WM_SETREDRAW, on ? TRUE : FALSE);
    if (on)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

std::vector<int> CArticleListBox::SelectedIndexes() const
{
    int count = static_cast<int>(SendMessage(LB_GETSELCOUNT));
    if (count == LB_ERR) {  // a single-selection list
        int current = GetCurSel();
        return current >= 0 ? std::vector<int>{current} : std::vector<int>{};
    }
    std::vector<int> indexes(count > 0 ? static_cast<size_t>(count) : 0);
    if (count > 0) {
        int got = static_cast<int>(SendMessage(LB_GETSELITEMS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(indexes.data())));
        indexes.resize(got > 0 ? static_cast<size_t>(got) : 0);
    }
    return indexes;
}

int32_t CArticleListBox::GetItemId(int index) const
{
    if (!m_items.IsValidIndex(index))
        return kNoneId;
    int32_t id = m_items.At(index);
    return id == kNoneId ? 0 : id;
}

void CArticleListBox::GetSelectedIds(CIdSet& out) const
{
    out.RemoveAll();
    for (int index : SelectedIndexes())
        if (m_items.IsValidIndex(index))
            out.Values().push_back(m_items.At(index));
    out.Sort();
}

void CArticleListBox::GetSelectedIds(std::vector<int32_t>& out) const
{
    out.clear();
    for (int index : SelectedIndexes())
        if (m_items.IsValidIndex(index))
            out.push_back(m_items.At(index));
}

void CArticleListBox::FoldInitials()
{
    m_initials.resize(static_cast<size_t>(m_items.Count()));
    for (int i = 0; i < m_items.Count(); ++i)
        m_initials[static_cast<size_t>(i)] = CTypeAhead::FoldInitial(TitleOf(m_items.At(i)));
}

void CArticleListBox::KeepInitialsInStep(int index, bool inserted)
{
    size_t at = static_cast<size_t>(index);
    if (inserted && at <= m_initials.size())
        m_initials.insert(m_initials.begin() + index, CTypeAhead::FoldInitial(TitleOf(m_items.At(index))));
    else if (!inserted && at < m_initials.size())
        m_initials.erase(m_initials.begin() + index);
}

void CArticleListBox::ApplyItems(const std::vector<int32_t>& highlighted)
{
    FoldInitials();
    bool refused = SendMessage(LB_SETCOUNT, static_cast<WPARAM>(m_items.Count())) < 0;
    SendMessage(LB_SETSEL, FALSE, -1);
    if (refused)
        CQuorError(kTooManyTitles).Report();
    if (highlighted.empty())
        return;
    std::unordered_map<int32_t, int> indexOf;
    indexOf.reserve(static_cast<size_t>(m_items.Count()));
    for (int i = 0; i < m_items.Count(); ++i)
        indexOf.emplace(m_items.At(i), i);
    std::vector<int> indexes;
    indexes.reserve(highlighted.size());
    for (int32_t id : highlighted) {
        auto it = indexOf.find(id);
        if (it != indexOf.end())
            indexes.push_back(it->second);
    }
    std::sort(indexes.begin(), indexes.end());
    // One LB_SELITEMRANGEEX (first <= last: select) per run of neighbouring items: a message per
    // highlight cost a quarter of a millisecond each under Wine, seconds for thousands of titles.
    for (size_t run = 0; run < indexes.size();) {
        size_t last = run;
        while (last + 1 < indexes.size() && indexes[last + 1] <= indexes[last] + 1)
            ++last;
        SendMessage(LB_SELITEMRANGEEX, static_cast<WPARAM>(indexes[run]), static_cast<LPARAM>(indexes[last]));
        run = last + 1;
    }
    int topmost = indexes.empty() ? -1 : indexes.front();
    if (topmost >= 0) {
        SendMessage(LB_SETSEL, TRUE, topmost);
        SendMessage(LB_SETCARETINDEX, static_cast<WPARAM>(topmost), FALSE);
        SendMessage(LB_SETTOPINDEX, static_cast<WPARAM>(topmost));
    }
}

void CArticleListBox::SetIds(const CIdSet& ids)
{
    SetRedraw(false);
    m_listed.Copy(ids.Values());
    m_listed.Sort();  // never lists kNoneId
    m_items.Assign(m_listed.Values());
    ApplyItems({});
    SetRedraw(true);
}

void CArticleListBox::Resort(bool keepSelection)
{
    std::vector<int32_t> highlighted;
    if (keepSelection)
        GetSelectedIds(highlighted);
    HCURSOR old = ::SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    SetRedraw(false);
    m_items.Assign(m_listed.Values());
    ApplyItems(highlighted);
    SetRedraw(true);
    UpdateWindow();
    ::SetCursor(old);
}

void CArticleListBox::Reposition(const CIdSet& ids)
{
    std::vector<int32_t> highlighted;
    GetSelectedIds(highlighted);
    HCURSOR old = ::SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    SetRedraw(false);
    m_items.Reposition(ids.Values());
    ApplyItems(highlighted);
    SetRedraw(true);
    UpdateWindow();
    ::SetCursor(old);
}

void CArticleListBox::AddId(int32_t id, bool highlight)
{
    if (id == kNoneId)
        return;
    int index = -1;
    if (m_listed.Contains(id)) {
        if (!highlight)
            return;
        index = m_items.IndexOf(id);
    } else {
        m_listed.Add(id);
        index = m_items.Insert(id);
        KeepInitialsInStep(index, true);
        if (SendMessage(LB_INSERTSTRING, static_cast<WPARAM>(index), 0) < 0) {
            m_items.RemoveAt(index);
            KeepInitialsInStep(index, false);
            m_listed.Remove(id);
            throw CQuorError(kTooManyTitles);
        }
    }
    if (highlight && index >= 0) {
        if (SendMessage(LB_SETSEL, TRUE, index) == LB_ERR)
            SetCurSel(index);
        EnsureVisible(index);
    }
}

// Removing and inserting the item would change the count twice, and each change of the count makes
// the list box set its scroll range and draw its scroll bar, several milliseconds each under Wine.
// The list box keeps a highlight per item index instead of per id: the items between the old and the
// new place shift by one, so their highlights are shifted with them, only where they differ.
void CArticleListBox::MoveId(int32_t id, bool highlight)
{
    int from = m_items.IndexOf(id);
    if (from < 0) {
        AddId(id, highlight);
        return;
    }
    bool single = SendMessage(LB_GETSELCOUNT) == LB_ERR;
    std::vector<int> selected = SelectedIndexes();
    int caret = static_cast<int>(SendMessage(LB_GETCARETINDEX));
    m_items.RemoveAt(from);
    KeepInitialsInStep(from, false);
    int to = m_items.Insert(id);
    KeepInitialsInStep(to, true);
    // Where the item now at index `i` stood before the move.
    auto before = [from, to](int i) {
        if (i == to)
            return from;
        if (from < to && i >= from && i < to)
            return i + 1;
        if (to < from && i > to && i <= from)
            return i - 1;
        return i;
    };
    if (to != from) {
        int low = std::min(from, to), high = std::max(from, to);
        if (single) {
            int current = selected.empty() ? -1 : selected.front();
            if (current >= low && current <= high)
                for (int i = low; i <= high; ++i)
                    if (before(i) == current)
                        SetCurSel(i);
        } else {
            std::vector<char> was(static_cast<size_t>(high - low + 1), 0);
            for (int index : selected)
                if (index >= low && index <= high)
                    was[static_cast<size_t>(index - low)] = 1;
            // One message per run of items whose highlight changes the same way: LB_SELITEMRANGEEX
            // selects first..last when first <= last and unselects when first > last, so a single
            // item is unselected by LB_SETSEL.
            for (int i = low; i <= high;) {
                bool want = was[static_cast<size_t>(before(i) - low)] != 0;
                bool has = was[static_cast<size_t>(i - low)] != 0;
                int last = i;
                while (last + 1 <= high && want != has &&
                       (was[static_cast<size_t>(before(last + 1) - low)] != 0) == want &&
                       (was[static_cast<size_t>(last + 1 - low)] != 0) == has)
                    ++last;
                if (want != has && !want && last == i)
                    SendMessage(LB_SETSEL, FALSE, i);
                else if (want != has)
                    SendMessage(LB_SELITEMRANGEEX, static_cast<WPARAM>(want ? i : last), static_cast<LPARAM>(want ? last : i));
                i = last + 1;
            }
        }
        if (caret >= low && caret <= high) {
            int moved = low;
            while (moved < high && before(moved) != caret)
                ++moved;
            caret = moved;
        }
        if (caret >= 0)
            SendMessage(LB_SETCARETINDEX, static_cast<WPARAM>(caret), FALSE);
    }
    Invalidate(false);
    if (highlight) {
        if (SendMessage(LB_SETSEL, TRUE, to) == LB_ERR)
            SetCurSel(to);
        EnsureVisible(to);
    }
}

void CArticleListBox::RemoveId(int32_t id)
{
    int index = m_items.IndexOf(id);
    m_listed.Remove(id);
    if (index < 0)
        return;
    int caret = static_cast<int>(SendMessage(LB_GETCARETINDEX));
    SendMessage(LB_SETSEL, FALSE, index);
    m_items.RemoveAt(index);
    KeepInitialsInStep(index, false);
    SendMessage(LB_DELETESTRING, static_cast<WPARAM>(index));
    int count = GetCount();
    if (count == 0)
        SendMessage(LB_SETSEL, FALSE, -1);
    else if (caret >= 0)
        SendMessage(LB_SETCARETINDEX, static_cast<WPARAM>(std::min(caret, count - 1)), FALSE);
}

void CArticleListBox::RemoveSelected()
{
    RemoveIndexes(SelectedIndexes());
}

void CArticleListBox::RemoveIds(const CIdSet& ids)
{
    if (ids.GetSize() == 0)
        return;
    std::vector<int> indexes;
    for (int i = 0; i < m_items.Count(); ++i)
        if (ids.Contains(m_items.At(i)))
            indexes.push_back(i);
    RemoveIndexes(indexes);
}

// One pass over the items and one over the listed set, then a new item count: removing thousands of
// titles one LB_DELETESTRING at a time, each with a search for its item, took seconds.
void CArticleListBox::RemoveIndexes(const std::vector<int>& indexes)
{
    if (indexes.empty())
        return;
    std::vector<int32_t> highlighted;
    GetSelectedIds(highlighted);
    int caret = static_cast<int>(SendMessage(LB_GETCARETINDEX));
    int top = GetTopIndex();
    CArticleIdSet removed;
    std::vector<int32_t> values;
    values.reserve(indexes.size());
    for (int index : indexes)
        if (m_items.IsValidIndex(index))
            values.push_back(m_items.At(index));
    removed.Copy(values);
    removed.Sort();
    m_listed.Subtract(removed);
    m_items.RemoveIndexes(indexes);
    // The highlights that stay are those of titles still listed.
    highlighted.erase(std::remove_if(highlighted.begin(), highlighted.end(),
                                     [&removed](int32_t id) { return removed.Contains(id); }),
                      highlighted.end());
    SetRedraw(false);
    ApplyItems(highlighted);
    int count = GetCount();
    if (count > 0) {
        SendMessage(LB_SETCARETINDEX, static_cast<WPARAM>(std::min(std::max(caret, 0), count - 1)), FALSE);
        SendMessage(LB_SETTOPINDEX, static_cast<WPARAM>(std::min(top, count - 1)));
    }
    SetRedraw(true);
}

void CArticleListBox::ResetContent()
{
    m_listed.RemoveAll();
    m_items.Clear();
    m_initials.clear();
    SendMessage(LB_RESETCONTENT);
}

bool CArticleListBox::IsIdSelected(int32_t id) const
{
    int index = m_items.IndexOf(id);
    return index >= 0 && SendMessage(LB_GETSEL, static_cast<WPARAM>(index)) > 0;
}

int CArticleListBox::SelectId(int32_t id)
{
    int index = m_items.IndexOf(id);
    if (index < 0)
        return -1;
    if (SendMessage(LB_SETSEL, TRUE, index) == LB_ERR)
        SetCurSel(index);
    return index;
}

void CArticleListBox::ResetTypeAhead()
{
    m_typeAhead.Reset(GetClock().TickCount());
}

void CArticleListBox::EnsureVisible(int index) const
{
    RECT item = {};
    if (!GetItemRect(index, &item))
        return;
    RECT client = GetClientRect();
    if (item.bottom > client.bottom)
        SendMessage(LB_SETTOPINDEX, static_cast<WPARAM>(GetTopIndex() + 1));
}

void CArticleListBox::SetListFont(HFONT font, bool redraw)
{
    SetListFontWithTextHeight(m_hWnd, font, redraw);
}

void CArticleListBox::DrawItem(const DRAWITEMSTRUCT& item)
{
    if (!PaintListItemBackground(item))
        return;
    int index = static_cast<int>(item.itemID);
    bool selected = (item.itemState & ODS_SELECTED) != 0;
    const char* title = m_items.IsValidIndex(index) ? TitleOf(m_items.At(index)) : nullptr;
    if (!title)
        return;
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawTextWithinScreen(item.hDC, item.rcItem.left + 2, item.rcItem.top, title, true);
}

void CArticleListBox::OnChar(char c)
{
    CTypeAhead::List list;
    list.count = m_items.Count();
    list.caret = static_cast<int>(SendMessage(LB_GETCARETINDEX));
    list.anyHighlighted = !SelectedIndexes().empty();
    list.textOf = [this](int index) { return TitleOf(m_items.At(index)); };
    if (m_initials.size() == static_cast<size_t>(list.count))
        list.initials = m_initials.data();
    int found = -1;
    try {
        found = m_typeAhead.OnChar(c, GetClock().TickCount(), list);
    } catch (const std::bad_alloc&) {
        m_typeAhead.Reset(GetClock().TickCount());
    }
    if (found < 0)
        return;  // the parent hears of a change only when a title matched
    SendMessage(LB_SETSEL, FALSE, -1);
    if (SendMessage(LB_SETSEL, TRUE, found) == LB_ERR)
        SetCurSel(found);
    else
        SendMessage(LB_SETCARETINDEX, static_cast<WPARAM>(found), FALSE);
    EnsureVisible(found);
    ::PostMessageA(::GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(m_hWnd));
}

bool CArticleListBox::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_CHAR:
        OnChar(static_cast<char>(wParam));
        result = 0;
        return true;
    case WM_LBUTTONDOWN: {
        result = DefaultProc(msg, wParam, lParam);
        POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        LRESULT hit = SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
        if (HIWORD(hit) || GetCount() == 0) {  // below the last title: nothing stays highlighted
            if (GetStyle() & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL))
                SendMessage(LB_SETSEL, FALSE, -1);
            else
                SetCurSel(-1);
        }
        return true;
    }
    case WM_MOUSEMOVE:
        // Swallowed: the list box's own drag-to-extend selection does not run.
        result = 0;
        return true;
    default:
        return false;
    }
}

bool CArticleListBox::OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg != WM_DRAWITEM)
        return false;
    DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
    result = TRUE;
    return true;
}
