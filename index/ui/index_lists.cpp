#include "index/ui/index_lists.h"

#include "document/quorvane_doc.h"
#include "framework/ui/gdi.h"
#include "resources/index_window_res.h"
#include "shell/app_settings.h"
#include "storage/date.h"

bool CIndexIndexList::OnKey(UINT vk)
{
    if (vk == VK_INSERT) {
        PostCommandToParent(kAddKeywordCommand);
        return true;
    }
    return CKeywordListBox::OnKey(vk);
}

bool CIndexGroupList::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == WM_KEYDOWN && (wParam == VK_INSERT || wParam == VK_DELETE)) {
        ::PostMessageA(::GetParent(m_hWnd), WM_COMMAND, wParam == VK_INSERT ? kAddGroupCommand : kDeleteGroupsCommand, 0);
        result = 0;
        return true;
    }
    return CKeywordGroupListBox::OnMessage(msg, wParam, lParam, result);
}

void CIndexTitleList::LoadMarks()
{
    struct Mark {
        int bitmap;
        COLORREF transparent;
    };
    static const Mark kMarks[kStatusColumnCount] = {
        {IDB_MARK_BOOKMARK, RGB(255, 0, 255)}, {IDB_MARK_ATTACHMENT, RGB(255, 255, 255)},
        {IDB_MARK_LINK, RGB(255, 255, 255)},   {IDB_MARK_PRIVATE, RGB(255, 255, 255)},
        {IDB_MARK_REMINDER, RGB(255, 0, 255)},
    };
    for (int c = 0; c < kStatusColumnCount; ++c) {
        m_marks[c].Load(kMarks[c].bitmap, kMarks[c].transparent);
        m_statusWidths[c] = m_marks[c].IsEmpty() ? 0 : static_cast<int>(m_marks[c].GetSize().cx);
    }
}

TitleLineInput CIndexTitleList::LineInput() const
{
    TitleLineInput in;
    if (m_settings) {
        in.statusShown[kTagColumn] = m_settings->GetShowTag() != 0;
        in.statusShown[kAttachmentColumn] = m_settings->GetShowAttachment() != 0;
        in.statusShown[kHypertextColumn] = m_settings->GetShowHypertextStatus() != 0;
        in.statusShown[kPrivateColumn] = m_settings->GetShowPrivateStatus() != 0;
        in.statusShown[kReminderColumn] = m_settings->GetShowReminderStatus() != 0;
        in.showDate = m_settings->GetShowDate() != 0;
        in.showTime = m_settings->GetShowTime() != 0;
    }
    for (int i = 0; i < 5; ++i)
        in.statusWidth[i] = m_statusWidths[i];
    in.dateWidth = m_dateWidth;
    in.timeWidth = m_timeWidth;
    in.spacing = m_spacing;
    return in;
}

void CIndexTitleList::Measure()
{
    CClientDC dc(m_hWnd);
    HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    auto width = [&](const std::string& text) {
        SIZE size = {};
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    };
    m_spacing = width("O");
    CDate sample;
    sample.SetValue(20001230);
    m_dateWidth = width(sample.Format(true));
    m_timeWidth = width(FormatTime(86340, false));
    SelectObject(dc, old);
}

void CIndexTitleList::SetTitleListFont(HFONT font, bool redraw)
{
    if (!font)
        return;
    SetListFont(font, redraw);
    Measure();
}

int CIndexTitleList::GetMinimumHeight() const
{
    int item = static_cast<int>(SendMessage(LB_GETITEMHEIGHT, 0));
    RECT window = GetWindowRect();
    RECT client = GetClientRect();
    int borders = (window.bottom - window.top) - (client.bottom - client.top);
    return item + borders + 4;
}

bool CIndexTitleList::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == WM_KEYDOWN && (wParam == VK_INSERT || wParam == VK_DELETE)) {
        ::PostMessageA(::GetParent(m_hWnd), WM_COMMAND, wParam == VK_INSERT ? kNewArticleCommand : kDeleteArticlesCommand, 0);
        result = 0;
        return true;
    }
    return CArticleListBox::OnMessage(msg, wParam, lParam, result);
}

void CIndexTitleList::DrawItem(const DRAWITEMSTRUCT& item)
{
    if (!PaintListItemBackground(item))
        return;
    int index = static_cast<int>(item.itemID);
    bool selected = (item.itemState & ODS_SELECTED) != 0;
    int32_t id = GetItemId(index);
    CQuorvaneDoc* document = GetDocument();
    if (id == kNoneId || !document)
        return;
    const char* title = TitleOf(id);
    bool highContrast = IsHighContrastOn();
    COLORREF titleColor = GetSysColor(COLOR_WINDOWTEXT);
    COLORREF dateColor = titleColor;
    if (selected) {
        titleColor = dateColor = GetSysColor(COLOR_HIGHLIGHTTEXT);
    } else if (m_settings && !highContrast) {
        titleColor = static_cast<COLORREF>(m_settings->GetTitleColor(true));
        dateColor = static_cast<COLORREF>(m_settings->GetDateColor());
    }
    TitleLineInput in = LineInput();
    TitleLineLayout line = LayOutTitleLine(in);
    SetBkMode(item.hDC, TRANSPARENT);
    int left = item.rcItem.left;
    int top = item.rcItem.top;
    // Each shown column keeps its place; its picture only when the article has the property.
    for (int c = 0; c < kStatusColumnCount; ++c) {
        if (line.statusX[c] < 0)
            continue;
        bool has = false;
        try {
            switch (c) {
            case kTagColumn: has = document->IsBookmarked(id); break;
            case kAttachmentColumn: has = document->GetArticleAttachmentCount(id) > 0; break;
            case kHypertextColumn: has = document->ArticleHasLinks(id); break;
            case kPrivateColumn: has = document->IsArticlePrivate(id); break;
            default: has = document->GetReminders().HasReminder(id); break;
            }
        } catch (...) {
            // An entry that cannot be read shows no mark.
        }
        if (has) {
            SIZE size = m_marks[c].GetSize();
            int height = item.rcItem.bottom - item.rcItem.top;
            m_marks[c].Draw(item.hDC, left + line.statusX[c], top + (height - static_cast<int>(size.cy)) / 2);
        }
    }
    if (in.showDate) {
        try {
            SetTextColor(item.hDC, dateColor);
            CDate value;
            value.SetValue(document->GetArticleDate(id));
            std::string date = value.Format(true);
            TextOutA(item.hDC, left + line.dateX, top, date.c_str(), static_cast<int>(date.size()));
            if (in.showTime) {
                std::string time = FormatTime(document->GetArticleTime(id), false);
                TextOutA(item.hDC, left + line.timeX, top, time.c_str(), static_cast<int>(time.size()));
            }
        } catch (...) {
            // A date that cannot be read leaves its column empty.
        }
    }
    if (title) {
        SetTextColor(item.hDC, titleColor);
        DrawTextWithinScreen(item.hDC, left + line.titleX, top, title, true);
    }
}
