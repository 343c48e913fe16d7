#include "index/ui/keyword_list_box.h"

#include <algorithm>
#include <unordered_map>

#include "document/quorvane_doc.h"
#include "framework/clock.h"
#include "shell/app_settings.h"
#include "storage/quor_error.h"

bool IsHighContrastOn()
{
    HIGHCONTRASTA contrast = {};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

bool PaintListItemBackground(const DRAWITEMSTRUCT& item)
{
    if (item.itemAction == ODA_FOCUS) {
        DrawFocusRect(item.hDC, &item.rcItem);
        return false;
    }
    bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (item.itemState & ODS_FOCUS)
        DrawFocusRect(item.hDC, &item.rcItem);
    return true;
}

void SetListFontWithTextHeight(HWND list, HFONT font, bool redraw)
{
    CClientDC dc(list);
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    if (metrics.tmHeight > 0)
        SendMessageA(list, LB_SETITEMHEIGHT, 0, metrics.tmHeight);
    SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
}

void DrawTextWithinScreen(HDC dc, int x, int y, const std::string& text, bool tabbed)
{
    auto widthOf = [&](int length) {
        if (tabbed)
            return static_cast<int>(LOWORD(GetTabbedTextExtentA(dc, text.c_str(), length, 0, nullptr)));
        SIZE size = {};
        GetTextExtentPoint32A(dc, text.c_str(), length, &size);
        return static_cast<int>(size.cx);
    };
    int screen = GetSystemMetrics(SM_CXSCREEN);
    int length = static_cast<int>(text.size());
    if (length > 0 && widthOf(length) > screen) {
        // The longest prefix narrower than the screen, by halving.
        int low = 0;
        int high = length;
        while (low < high) {
            int middle = (low + high + 1) / 2;
            if (widthOf(middle) < screen)
                low = middle;
            else
                high = middle - 1;
        }
        length = low;
    }
    if (tabbed)
        TabbedTextOutA(dc, x, y, text.c_str(), length, 0, nullptr, x);
    else
        TextOutA(dc, x, y, text.c_str(), length);
}

CKeywordListBox::CKeywordListBox() : m_typeAhead(GetClock().TickCount()) {}

CKeywordListBox::~CKeywordListBox() = default;

bool CKeywordListBox::Create(HWND parent, int id, const RECT& rect, DWORD extraStyle)
{
    return CreateControl("LISTBOX", WS_EX_CLIENTEDGE, kStyle | extraStyle, rect, parent, id);
}

void CKeywordListBox::SetDocument(CQuorvaneDoc* document)
{
    m_document = document;
    m_model.SetNameSource([this](int32_t id) {
        if (!m_document)
            return std::string();
        try {
            return m_document->GetKeywordName(id);
        } catch (...) {
            return std::string();  // drawn, compared and searched as empty
        }
    });
}

void CKeywordListBox::SetRedraw(bool on) const
{
    SendMessage(WM_SETREDRAW, on ? TRUE : FALSE);
    if (on)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

std::vector<int> CKeywordListBox::SelectedIndexes() const
{
    int count = static_cast<int>(SendMessage(LB_GETSELCOUNT));
    std::vector<int> indexes(count > 0 ? static_cast<size_t>(count) : 0);
    if (count > 0) {
        int got = static_cast<int>(SendMessage(LB_GETSELITEMS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(indexes.data())));
        indexes.resize(got > 0 ? static_cast<size_t>(got) : 0);
    }
    return indexes;
}

int32_t CKeywordListBox::GetItemId(int index) const
{
    return m_model.Items().IsValidIndex(index) ? m_model.Items().At(index) : kNoneId;
}

void CKeywordListBox::GetSelectedIds(CIdSet& out) const
{
    out.RemoveAll();
    for (int index : SelectedIndexes())
        if (m_model.Items().IsValidIndex(index))
            out.Values().push_back(m_model.Items().At(index));
    out.Sort();
}

void CKeywordListBox::ApplyModel(const std::vector<int32_t>& highlighted, int32_t caretId, int caretIndex)
{
    SetRedraw(false);
    int count = m_model.Items().Count();
    bool refused = SendMessage(LB_SETCOUNT, static_cast<WPARAM>(count)) < 0;
    SendMessage(LB_SETSEL, FALSE, -1);
    if (!highlighted.empty() || caretId != kNoneId) {
        std::unordered_map<int32_t, int> indexOf;
        indexOf.reserve(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i)
            indexOf.emplace(m_model.Items().At(i), i);
        std::vector<int> indexes;
        indexes.reserve(highlighted.size());
        for (int32_t id : highlighted) {
            auto it = indexOf.find(id);
            if (it != indexOf.end())
                indexes.push_back(it->second);
        }
        SelectIndexRuns(std::move(indexes));
        auto caret = indexOf.find(caretId);
        if (caret != indexOf.end())
            caretIndex = caret->second;
    }
    SendMessage(LB_SETTOPINDEX, 0);
    if (count > 0)
        SendMessage(LB_SETCARETINDEX, static_cast<WPARAM>(std::clamp(caretIndex, 0, count - 1)), FALSE);
    SetRedraw(true);
    UpdateWindow();
    if (refused)
        CQuorError(kTooManyKeywords).Report();
}

void CKeywordListBox::SetIds(const CIdSet& ids)
{
    m_model.SetIds(ids);
    ApplyModel({}, kNoneId, 0);
}

bool CKeywordListBox::AddId(int32_t id, bool highlight)
{
    bool already = false;
    int index = m_model.AddId(id, already);
    if (index < 0)
        return already;
    if (SendMessage(LB_INSERTSTRING, static_cast<WPARAM>(index), 0) < 0) {
        m_model.RemoveId(id);
        throw CQuorError(kTooManyKeywords);
    }
    if (highlight) {
        SendMessage(LB_SETSEL, TRUE, index);
        SendMessage(LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
    }
    return false;
}

void CKeywordListBox::AddAndSelectIds(const CIdSet& ids)
{
    // Past a few dozen, one sorted refill beats an insertion per id: each insertion shifts the
    // list's items, so thousands of them (a keyword list imported) grew with the square.
    if (ids.GetSize() > kRefillFrom) {
        std::vector<int32_t> added;
        CKeywordIdSet listed;
        listed.Copy(m_model.GetIds().Values());
        for (int32_t id : ids.Values())
            if (id != kNoneId && !m_model.HasId(id)) {
                added.push_back(id);
                listed.Values().push_back(id);
            }
        listed.Sort();
        m_model.SetIds(listed);
        int32_t last = kNoneId;
        for (int32_t id : added)
            if (m_model.IsVisible(id))
                last = id;
        ApplyModel(added, last, 0);
        int caret = last == kNoneId ? -1 : m_model.Items().IndexOf(last);
        if (caret >= 0)
            EnsureVisible(caret);
        return;
    }
    SetRedraw(false);
    SendMessage(LB_SETSEL, FALSE, -1);
    bool refused = false;
    int32_t last = kNoneId;
    for (int32_t id : ids.Values()) {
        if (m_model.HasId(id))
            continue;
        try {
            AddId(id, true);
            if (m_model.IsVisible(id))
                last = id;
        } catch (const CQuorError&) {
            refused = true;
        }
    }
    int caret = last == kNoneId ? -1 : m_model.Items().IndexOf(last);
    if (caret >= 0)
        SendMessage(LB_SETCARETINDEX, static_cast<WPARAM>(caret), FALSE);
    SetRedraw(true);
    if (caret >= 0)
        EnsureVisible(caret);
    if (refused)
        CQuorError(kTooManyKeywords).Report();
}

void CKeywordListBox::RemoveId(int32_t id)
{
    int caret = static_cast<int>(SendMessage(LB_GETCARETINDEX));
    int index = m_model.Items().IndexOf(id);
    if (index >= 0)
        SendMessage(LB_SETSEL, FALSE, index);
    if (m_model.RemoveId(id) >= 0)
        SendMessage(LB_DELETESTRING, static_cast<WPARAM>(index));
    int count = GetCount();
    if (count == 0)
        SendMessage(LB_SETSEL, FALSE, -1);
    else if (caret >= 0)
        SendMessage(LB_SETCARETINDEX, static_cast<WPARAM>(std::min(caret, count - 1)), FALSE);
}

void CKeywordListBox::RemoveIds(const CIdSet& ids)
{
    // Past a few dozen, one new count instead of a deletion per item: each deletion shifts and
    // repaints the list, so thousands of them (Undo Import) took a minute.
    if (ids.GetSize() <= kRefillFrom) {
        for (int32_t id : ids.Values())
            RemoveId(id);
        return;
    }
    CKeywordIdSet highlighted;
    GetSelectedIds(highlighted);
    highlighted.Subtract(ids);
    int caret = static_cast<int>(SendMessage(LB_GETCARETINDEX));
    int top = GetTopIndex();
    m_model.RemoveIds(ids);
    ApplyModel(highlighted.Values(), kNoneId, caret);
    if (GetCount() > 0)
        SendMessage(LB_SETTOPINDEX, static_cast<WPARAM>(std::min(top, GetCount() - 1)));
}

void CKeywordListBox::RemoveSelected()
{
    std::vector<int> selected = SelectedIndexes();
    if (selected.empty())
        return;
    int caret = static_cast<int>(SendMessage(LB_GETCARETINDEX));
    int top = GetTopIndex();
    m_model.RemoveItems(selected);
    // One new count instead of a deletion per item: removing thousands stays linear. What remains
    // was not highlighted.
    ApplyModel({}, kNoneId, caret);
    if (GetCount() == 0)
        SendMessage(LB_SETSEL, FALSE, -1);
    else
        SendMessage(LB_SETTOPINDEX, static_cast<WPARAM>(std::min(top, GetCount() - 1)));
}

void CKeywordListBox::ResetContent()
{
    m_model.Clear();
    SendMessage(LB_RESETCONTENT);
}

// Highlights by runs of neighbouring items with redraw off: a highlight per item repaints that item,
// and highlighting thousands one by one took minutes under the platform's list box.
void CKeywordListBox::SelectIds(const CIdSet& ids)
{
    SetRedraw(false);
    std::vector<int> indexes;
    int count = m_model.Items().Count();
    for (int i = 0; i < count; ++i)
        if (ids.Contains(m_model.Items().At(i)))
            indexes.push_back(i);
    SelectIndexRuns(std::move(indexes));
    SetRedraw(true);
}

// One LB_SELITEMRANGEEX per run of neighbouring indexes: even with redraw off, thousands of single
// highlights (LB_SETSEL) took over a second under the platform's list box.
void CKeywordListBox::SelectIndexRuns(std::vector<int> indexes) const
{
    std::sort(indexes.begin(), indexes.end());
    for (size_t i = 0; i < indexes.size();) {
        size_t last = i;
        while (last + 1 < indexes.size() && indexes[last + 1] <= indexes[last] + 1)
            ++last;
        SendMessage(LB_SELITEMRANGEEX, static_cast<WPARAM>(indexes[i]), static_cast<LPARAM>(indexes[last]));
        i = last + 1;
    }
}

void CKeywordListBox::SelectId(int32_t id)
{
    int index = m_model.Items().IndexOf(id);
    if (index < 0)
        return;
    SendMessage(LB_SETSEL, TRUE, index);
    SendMessage(LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
}

void CKeywordListBox::SetFilter(const CIdSet& filter, bool filterOn, bool showAll)
{
    CKeywordIdSet highlighted;
    GetSelectedIds(highlighted);
    int caretIndex = static_cast<int>(SendMessage(LB_GETCARETINDEX));
    int32_t caretId = GetItemId(caretIndex);
    m_model.SetFilter(filter, filterOn, showAll);
    ApplyModel(highlighted.Values(), caretId, caretIndex);
}

void CKeywordListBox::RefreshFilter(bool filterOn)
{
    CKeywordIdSet highlighted;
    GetSelectedIds(highlighted);
    int caretIndex = static_cast<int>(SendMessage(LB_GETCARETINDEX));
    int32_t caretId = GetItemId(caretIndex);
    m_model.RefreshFilter(filterOn);
    ApplyModel(highlighted.Values(), caretId, caretIndex);
}

void CKeywordListBox::SetDescending(bool descending)
{
    HCURSOR old = ::SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    if (m_model.SetDescending(descending))
        ApplyModel({}, kNoneId, 0);
    ::SetCursor(old);
}

void CKeywordListBox::SetBackgroundColor(int32_t state)
{
    m_background.Reset();
    m_backgroundState = state;
    if (state == -1)
        m_background.Reset(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
    else if (state != -2)
        m_background.Reset(CreateSolidBrush(static_cast<COLORREF>(state)));
    Invalidate();
}

void CKeywordListBox::SetListFont(HFONT font, bool redraw)
{
    CClientDC dc(m_hWnd);
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    SIZE size = {};
    GetTextExtentPoint32A(dc, "a", 1, &size);
    SelectObject(dc, old);
    if (size.cy > 0)
        SendMessage(LB_SETITEMHEIGHT, 0, size.cy);
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
}

std::string CKeywordListBox::GetItemText(int index) const
{
    if (!m_model.Items().IsValidIndex(index))
        return std::string();
    return m_model.NameOf(m_model.Items().At(index));
}

void CKeywordListBox::ResetTypeAhead()
{
    m_typeAhead.Reset(GetClock().TickCount());
}

void CKeywordListBox::EnsureVisible(int index) const
{
    RECT item = {};
    if (!GetItemRect(index, &item))
        return;
    RECT client = GetClientRect();
    if (item.bottom <= client.bottom)
        return;
    int top = GetTopIndex();
    SendMessage(LB_SETTOPINDEX, static_cast<WPARAM>(item.top < client.top ? index : top + 1));
}

void CKeywordListBox::ScrollToTop(int index) const
{
    if (index < 0 || index == GetTopIndex())
        return;
    // Turning drawing back on shows the window: a hidden list just scrolls.
    if (!(::GetWindowLongA(m_hWnd, GWL_STYLE) & WS_VISIBLE)) {
        SendMessage(LB_SETTOPINDEX, static_cast<WPARAM>(index));
        return;
    }
    // The default procedure's WM_SETREDRAW: the list box's own keeps drawing its scroll bar.
    ::DefWindowProcA(m_hWnd, WM_SETREDRAW, FALSE, 0);
    SendMessage(LB_SETTOPINDEX, static_cast<WPARAM>(index));
    ::DefWindowProcA(m_hWnd, WM_SETREDRAW, TRUE, 0);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

COLORREF CKeywordListBox::TextColor() const
{
    if (m_useSystemTextColor || !m_settings || IsHighContrastOn() || m_settings->GetFileAutoColor())
        return GetSysColor(COLOR_WINDOWTEXT);
    return static_cast<COLORREF>(m_settings->GetFileTextColor());
}

void CKeywordListBox::DrawItem(const DRAWITEMSTRUCT& item)
{
    if (item.itemAction == ODA_FOCUS) {
        DrawFocusRect(item.hDC, &item.rcItem);
        return;
    }
    int index = static_cast<int>(item.itemID);
    std::string text = GetItemText(index);
    bool selected = (item.itemState & ODS_SELECTED) != 0;
    COLORREF background;
    if (selected)
        background = GetSysColor(COLOR_HIGHLIGHT);
    else if (m_backgroundState == -2)
        background = GetSysColor(COLOR_WINDOW);
    else if (m_backgroundState == -1)
        background = GetSysColor(COLOR_BTNFACE);
    else
        background = static_cast<COLORREF>(m_backgroundState);
    COwnedHandle<HBRUSH> brush(CreateSolidBrush(background));
    FillRect(item.hDC, &item.rcItem, brush);
    if (item.itemState & ODS_FOCUS)
        DrawFocusRect(item.hDC, &item.rcItem);
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : TextColor());
    DrawTextWithinScreen(item.hDC, item.rcItem.left + 2, item.rcItem.top, text, false);
}

void CKeywordListBox::PostCommandToParent(UINT command) const
{
    ::PostMessageA(::GetParent(m_hWnd), WM_COMMAND, command, 0);
}

bool CKeywordListBox::OnKey(UINT vk)
{
    if (vk == VK_INSERT) {
        PostCommandToParent(kAddKeywordsCommand);
        return true;
    }
    if (vk == VK_DELETE) {
        PostCommandToParent(kRemoveKeywordCommand);
        return true;
    }
    return false;
}

void CKeywordListBox::OnChar(char c)
{
    CTypeAhead::List list;
    list.count = m_model.Items().Count();
    list.caret = static_cast<int>(SendMessage(LB_GETCARETINDEX));
    list.anyHighlighted = SendMessage(LB_GETSELCOUNT) > 0;
    std::string name;
    list.textOf = [this, &name](int index) {
        name = GetItemText(index);
        return name.c_str();
    };
    int found = -1;
    try {
        found = m_typeAhead.OnChar(c, GetClock().TickCount(), list);
    } catch (const std::bad_alloc&) {
        m_typeAhead.Reset(GetClock().TickCount());
    }
    if (found >= 0) {
        if (GetStyle() & LBS_EXTENDEDSEL) {
            SendMessage(LB_SETSEL, FALSE, -1);
            SendMessage(LB_SETSEL, TRUE, found);
            SendMessage(LB_SETCARETINDEX, static_cast<WPARAM>(found), FALSE);
        } else {
            SetCurSel(found);
        }
        EnsureVisible(found);
    }
    ::PostMessageA(::GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(m_hWnd));
}

bool CKeywordListBox::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_CHAR:
        // An owner-drawn list without strings has no search of its own: the key ends here.
        OnChar(static_cast<char>(wParam));
        result = 0;
        return true;
    case WM_KEYDOWN:
        if (OnKey(static_cast<UINT>(wParam))) {
            result = 0;
            return true;
        }
        return false;
    default:
        return CDragList::OnMessage(msg, wParam, lParam, result);
    }
}

std::string CKeywordListBox::ItemTipText(int index) const
{
    return GetItemText(index);
}

bool CKeywordListBox::OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_DRAWITEM:
        DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        result = TRUE;
        return true;
    case WM_CTLCOLORLISTBOX:
        if (m_backgroundState == -2 || !m_background)
            return false;
        result = reinterpret_cast<LRESULT>(m_background.Get());
        return true;
    default:
        return CDragList::OnReflectedMessage(msg, wParam, lParam, result);
    }
}
