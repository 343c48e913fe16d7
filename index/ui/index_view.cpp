#include "index/ui/index_view.h"

#include <windowsx.h>

#include <algorithm>

#include "document/quorvane_doc.h"
#include "framework/clock.h"
#include "framework/string_table.h"
#include "framework/ui/app.h"
#include "framework/ui/frame_wnd.h"
#include "framework/ui/rich_edit.h"
#include "framework/ui/worker_thread.h"
#include "index/ui/index_doc_data.h"
#include "resources/index_window_res.h"
#include "shell/app_settings.h"
#include "shell/profile_store.h"
#include "storage/quor_error.h"

namespace {

const char kSection[] = "Index Display";

CIndexViewServices& ServicesStore()
{
    static CIndexViewServices services;
    return services;
}

HFONT FontOr(HFONT font)
{
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void Place(HWND window, const LayoutRect& rect)
{
    if (window)
        MoveWindow(window, rect.x, rect.y, rect.width, rect.height, TRUE);
}

void ShowIf(HWND window, bool show)
{
    if (window)
        ShowWindow(window, show ? SW_SHOWNA : SW_HIDE);
}

// Polls the document's reminders: a scan about a second after the start, then at every change of the
// minute and at the latest 30 seconds after the previous scan; posts "reminders due" to the view.
// Leaves within a second of the stop event.
unsigned WatchReminders(CReminderList* list)
{
    std::uint32_t nextForcedScan = GetClock().TickCount();
    int lastMinute = -1;
    while (!list->GetStopEvent().Wait(1000)) {
        QuorLocalTime now = QuorNow();
        std::uint32_t tick = GetClock().TickCount();
        if (static_cast<std::int32_t>(tick - nextForcedScan) < 0 && now.minute == lastMinute)
            continue;
        nextForcedScan = tick + 30000;
        lastMinute = now.minute;
        if (list->ScanDue())
            ::PostMessageA(reinterpret_cast<HWND>(list->GetWatcherWindow()), CIndexView::kRemindersDueMessage, 0, 0);
    }
    return 0;
}

// The article preview when no article module gives one: a read-only pane that stays empty.
class CEmptyArticlePreview : public CIndexArticlePreview {
public:
    bool CreatePane(HWND parent, int id) override
    {
        if (!LoadRichEdit())
            return false;
        RECT none = {0, 0, 10, 10};
        m_hWnd = CreateRichEdit(parent, id, none,
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY |
                                    ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_TABSTOP);
        return m_hWnd != nullptr;
    }
    HWND Handle() const override { return m_hWnd; }
    void SetDocument(CQuorvaneDoc*) override {}
    void ShowArticle(int32_t, bool) override {}
    void SetBackground(COLORREF color) override { ::SendMessageA(m_hWnd, EM_SETBKGNDCOLOR, 0, color); }
    void SetLinkMode(int) override {}

private:
    HWND m_hWnd = nullptr;
};

}  // namespace

void CIndexView::SetServices(const CIndexViewServices& services)
{
    ServicesStore() = services;
}

const CIndexViewServices& CIndexView::Services()
{
    return ServicesStore();
}

CIndexView::CIndexView() = default;

CIndexView::~CIndexView()
{
    StopReminderWatcher();
}

CQuorvaneDoc* CIndexView::Document() const
{
    return dynamic_cast<CQuorvaneDoc*>(GetDocument());
}

// ---- Creation ----

bool CIndexView::OnCreate(CREATESTRUCTA* create, LRESULT& result)
{
    try {
        if (!CreateChildren()) {
            result = -1;
            return true;
        }
    } catch (const CQuorError& error) {
        error.Report();
        result = -1;
        return true;
    }
    result = 0;
    return true;
}

bool CIndexView::CreateChildren()
{
    const CIndexViewServices& services = Services();
    HFONT dialogFont = FontOr(services.dialogFont);
    HFONT listFont = FontOr(services.listFont);
    {
        CClientDC dc(m_hWnd);
        HGDIOBJ old = SelectObject(dc, dialogFont);
        SIZE size = {};
        GetTextExtentPoint32A(dc, "Q", 1, &size);
        SelectObject(dc, old);
        m_headerHeight = size.cy + 9;
    }
    struct Header {
        CImageButton& button;
        int id;
        const char* caption;
    };
    const Header headers[] = {
        {m_groupHeader, kGroupHeader, "Keyword Groups"}, {m_indexHeader, kIndexHeader, "Index"},
        {m_selectedHeader, kSelectedHeader, ""},        {m_tagHeader, kTagHeader, ""},
        {m_attachmentHeader, kAttachmentHeader, ""},    {m_hypertextHeader, kHypertextHeader, ""},
        {m_privateHeader, kPrivateHeader, ""},          {m_reminderHeader, kReminderHeader, ""},
        {m_dateHeader, kDateHeader, "Date"},            {m_titlesCaption, kTitlesCaption, ""},
    };
    for (const Header& header : headers)
        if (!header.button.Create(m_hWnd, header.id, header.caption, dialogFont))
            return false;
    m_tagHeader.SetBitmap(IDB_MARK_BOOKMARK, RGB(255, 0, 255), CImageButton::kImageCentered);
    m_attachmentHeader.SetBitmap(IDB_MARK_ATTACHMENT, RGB(255, 255, 255), CImageButton::kImageCentered);
    m_hypertextHeader.SetBitmap(IDB_MARK_LINK, RGB(255, 255, 255), CImageButton::kImageCentered);
    m_privateHeader.SetBitmap(IDB_MARK_PRIVATE, RGB(255, 255, 255), CImageButton::kImageCentered);
    m_reminderHeader.SetBitmap(IDB_MARK_REMINDER, RGB(255, 0, 255), CImageButton::kImageCentered);

    RECT none = {0, 0, 10, 10};
    CQuorvaneDoc* document = Document();
    if (!m_groupList.Create(m_hWnd, kGroupList, none))
        return false;
    m_groupList.SetDocument(document);
    m_groupList.SetListFont(listFont, false);
    m_groupList.SetTargetKinds({DropKind::kSelectedKeywords, DropKind::kIndexTitleList, DropKind::kArticleWindow});
    if (!m_indexList.Create(m_hWnd, kIndexList, none))
        return false;
    m_indexList.SetDocument(document);
    m_indexList.SetSettings(services.settings);
    m_indexList.SetListFont(listFont, false);
    m_indexList.SetTargetKinds({DropKind::kSelectedKeywords, DropKind::kIndexTitleList, DropKind::kArticleWindow,
                                DropKind::kIndexGroupList});
    DWORD buttonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    if (!m_moveToSelected.CreateControl("BUTTON", 0, buttonStyle, none, m_hWnd, kMoveToSelectedButton) ||
        !m_moveToIndex.CreateControl("BUTTON", 0, buttonStyle, none, m_hWnd, kMoveToIndexButton))
        return false;
    m_moveToSelected.SetWindowText(">>");
    m_moveToIndex.SetWindowText("<<");
    m_moveToSelected.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont), FALSE);
    m_moveToIndex.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont), FALSE);
    if (!m_selectedList.Create(m_hWnd, kSelectedList, none))
        return false;
    m_selectedList.SetDocument(document);
    m_selectedList.SetSettings(services.settings);
    m_selectedList.SetListFont(listFont, false);
    m_selectedList.SetTargetKinds({DropKind::kIndexKeywordList, DropKind::kIndexTitleList, DropKind::kArticleWindow,
                                   DropKind::kIndexGroupList});
    if (!m_titleList.Create(m_hWnd, kTitleList, none))
        return false;
    m_titleList.SetDocument(document);
    m_titleList.SetSettings(services.settings);
    m_titleList.SetTitleListFont(listFont, false);
    m_titleList.LoadMarks();
    if (services.makeArticlePreview)
        m_articlePreview = services.makeArticlePreview();
    if (!m_articlePreview)
        m_articlePreview = std::make_unique<CEmptyArticlePreview>();
    if (!m_articlePreview->CreatePane(m_hWnd, kArticlePreview))
        m_articlePreview.reset();
    else
        m_articlePreview->SetDocument(document);
    if (!m_keywordPreview.Create(m_hWnd, kKeywordPreview, none))
        return false;
    m_keywordPreview.SetDocument(document);
    m_keywordPreview.SetSettings(services.settings);
    m_keywordPreview.SetListFont(listFont, false);
    m_keywordPreview.SetTargetKinds({DropKind::kSelectedKeywords, DropKind::kArticleWindow, DropKind::kIndexGroupList});

    m_focusList = m_indexList.m_hWnd;
    ReadValues();
    ApplyPreviewColor();
    if (m_articlePreview && services.settings)
        m_articlePreview->SetLinkMode(services.settings->GetActiveLinks() < 2 ? 1 : 2);
    if (m_values.view)
        m_focusList = m_titleList.m_hWnd;
    m_selection.UpdateCaptions();
    ApplyColumnHeaders();
    UpdateSortImages();
    SetTimer(kHoverTimer, 100);
    return true;
}

void CIndexView::ReadValues()
{
    IProfileStore* profile = Services().profile;
    IndexDisplayValues defaults;
    if (Services().settings)
        defaults.indexMode = Services().settings->GetIndexMode();
    m_values = defaults;
    m_groupVisibilityChanged = false;
    if (!profile)
        return;
    m_values.divider = profile->GetInt(kSection, "Divider", defaults.divider);
    m_values.listWidth = IndexDisplayValues::ReadListWidth(profile->GetInt(kSection, "ListWidth", defaults.listWidth));
    m_values.view = profile->GetInt(kSection, "View", defaults.view);
    m_values.previewOn = profile->GetInt(kSection, "PreviewOn", defaults.previewOn) & 3;
    m_values.previewHeight = profile->GetInt(kSection, "PreviewHeight", defaults.previewHeight);
    m_values.indexMode = profile->GetInt(kSection, "IndexMode", defaults.indexMode);
    m_values.groupWidth = profile->GetInt(kSection, "GroupWidth", defaults.groupWidth);
    m_values.groupVisible = profile->GetInt(kSection, "GroupVisible", defaults.groupVisible) != 0;
}

void CIndexView::WriteValues()
{
    IProfileStore* profile = Services().profile;
    if (!profile)
        return;
    profile->WriteInt(kSection, "Divider", m_values.divider);
    profile->WriteInt(kSection, "ListWidth", m_values.listWidth);
    profile->WriteInt(kSection, "View", m_values.view);
    profile->WriteInt(kSection, "PreviewOn", m_values.previewOn);
    profile->WriteInt(kSection, "PreviewHeight", m_values.previewHeight);
    profile->WriteInt(kSection, "IndexMode", m_values.indexMode);
    profile->WriteInt(kSection, "GroupWidth", m_values.groupWidth);
    if (m_groupVisibilityChanged)
        profile->WriteInt(kSection, "GroupVisible", m_values.groupVisible);
}

// ---- Initial update ----

void CIndexView::FillLists()
{
    CQuorvaneDoc* document = Document();
    if (!document)
        return;
    CGroupIdSet groups;
    document->GetAllKeywordGroupIds(groups);
    m_groupList.SetIds(groups);
    int andOr = Services().settings ? Services().settings->GetSelectListMode() : 0;
    m_selection.Start(andOr);
}

void CIndexView::OnInitialUpdate()
{
    CView::OnInitialUpdate();
    // The framework attaches the document after the window's creation: the lists learn of it here,
    // before anything is listed, drawn or sorted by name.
    CQuorvaneDoc* document = Document();
    m_groupList.SetDocument(document);
    m_indexList.SetDocument(document);
    m_selectedList.SetDocument(document);
    m_titleList.SetDocument(document);
    m_keywordPreview.SetDocument(document);
    if (m_articlePreview)
        m_articlePreview->SetDocument(document);
    m_data = document ? std::make_unique<CIndexDocData>(*document) : nullptr;
    m_selection.SetData(m_data.get());
    UpdateSortImages();
    m_selection.UpdateCaptions();
    try {
        FillLists();
        SetCatalog(m_values.view != 0);
        if (document && document->CanModify()) {
            DragAcceptFiles(m_hWnd, TRUE);
            m_acceptsFiles = true;
            m_dropTarget.SetNewArticle([this](UINT format, const std::string& text) { return NewArticleFromText(format, text); });
            m_dropTarget.Register(m_titleList.m_hWnd);
        }
        StopReminderWatcher();
        StartReminderWatcher();
    } catch (const CQuorError& error) {
        error.Report();
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
    }
}

void CIndexView::StartReminderWatcher()
{
    CQuorvaneDoc* document = Document();
    if (!document)
        return;
    CReminderList* list = &document->GetReminders();
    list->SetWatcherWindow(reinterpret_cast<std::uintptr_t>(m_hWnd));
    list->GetStopEvent().Reset();
    auto watcher = std::make_unique<CWorkerThread>([list] { return WatchReminders(list); });
    if (watcher->CreateSuspended() && watcher->Resume())
        m_watcher = std::move(watcher);
}

void CIndexView::StopReminderWatcher()
{
    if (m_watcher) {
        HCURSOR old = ::SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        if (CQuorvaneDoc* document = Document())
            document->GetReminders().GetStopEvent().Set();
        m_watcher->Wait(INFINITE);
        m_watcher.reset();
        ::SetCursor(old);
    }
    if (m_hWnd) {
        MSG msg;
        // A filtered peek still hands out WM_QUIT (the main window closing posted it): it goes back
        // for the message loop, or the program would never end.
        while (PeekMessageA(&msg, m_hWnd, kRemindersDueMessage, kRemindersDueMessage, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
        }
    }
}

// ---- Layout ----

IndexLayoutInput CIndexView::LayoutInput() const
{
    IndexLayoutInput in;
    RECT client = GetClientRect();
    in.clientWidth = client.right;
    in.clientHeight = client.bottom;
    in.headerHeight = m_headerHeight;
    in.themed = false;  // the header buttons draw the classic look
    in.catalog = m_values.view != 0;
    in.groupVisible = m_values.groupVisible != 0;
    in.groupWidth = m_values.groupWidth;
    in.listWidth = m_values.listWidth;
    in.divider = m_values.divider;
    in.previewFlags = m_values.previewOn;
    in.previewHeight = m_values.previewHeight;
    in.titlesMinHeight = m_titleList.m_hWnd ? m_titleList.GetMinimumHeight() : 0;
    in.mainDivider = Services().mainDivider ? Services().mainDivider() : 100;
    TitleLineInput line = m_titleList.LineInput();
    for (int c = 0; c < kStatusColumnCount; ++c) {
        in.statusShown[c] = line.statusShown[c];
        in.statusWidth[c] = line.statusWidth[c];
    }
    in.showDate = line.showDate;
    in.dateColumnWidth = TitleDateColumnWidth(line);
    return in;
}

void CIndexView::RecalcLayout()
{
    if (!m_titleList.m_hWnd)
        return;
    IndexLayoutInput in = LayoutInput();
    m_layout = LayOutIndexView(in);
    if (in.previewFlags != 0)
        m_values.previewHeight = m_layout.previewHeight;
    bool keywords = !in.catalog;
    bool groups = keywords && in.groupVisible;
    Place(m_groupList.m_hWnd, m_layout.groupList);
    Place(m_groupHeader.m_hWnd, m_layout.groupHeader);
    Place(m_indexList.m_hWnd, m_layout.indexList);
    Place(m_indexHeader.m_hWnd, m_layout.indexHeader);
    Place(m_moveToSelected.m_hWnd, m_layout.moveToSelected);
    Place(m_moveToIndex.m_hWnd, m_layout.moveToIndex);
    Place(m_selectedList.m_hWnd, m_layout.selectedList);
    Place(m_selectedHeader.m_hWnd, m_layout.selectedHeader);
    Place(PreviewHandle(), m_layout.articlePreview);
    Place(m_keywordPreview.m_hWnd, m_layout.keywordPreview);
    CImageButton* status[kStatusColumnCount] = {&m_tagHeader, &m_attachmentHeader, &m_hypertextHeader,
                                                &m_privateHeader, &m_reminderHeader};
    for (int c = 0; c < kStatusColumnCount; ++c) {
        Place(status[c]->m_hWnd, m_layout.statusHeaders[c]);
        ShowIf(status[c]->m_hWnd, in.statusShown[c]);
    }
    Place(m_dateHeader.m_hWnd, m_layout.dateHeader);
    ShowIf(m_dateHeader.m_hWnd, in.showDate);
    Place(m_titlesCaption.m_hWnd, m_layout.titlesCaption);
    Place(m_titleList.m_hWnd, m_layout.titlesList);
    for (HWND window : {m_indexList.m_hWnd, m_indexHeader.m_hWnd, m_selectedList.m_hWnd, m_selectedHeader.m_hWnd,
                        m_moveToSelected.m_hWnd, m_moveToIndex.m_hWnd})
        ShowIf(window, keywords);
    ShowIf(m_groupList.m_hWnd, groups);
    ShowIf(m_groupHeader.m_hWnd, groups);
    ShowIf(PreviewHandle(), (in.previewFlags & 1) != 0);
    ShowIf(m_keywordPreview.m_hWnd, (in.previewFlags & 2) != 0);
    Invalidate();
}

bool CIndexView::OnSize(UINT type, int width, int height, LRESULT& result)
{
    RecalcLayout();
    return false;
}

void CIndexView::SetCatalog(bool on)
{
    m_values.view = on ? 1 : 0;
    HWND focus = GetFocus();
    if (on && (focus == m_indexList.m_hWnd || focus == m_selectedList.m_hWnd || focus == m_groupList.m_hWnd))
        m_titleList.SetFocus();
    if (on && (m_focusList == m_indexList.m_hWnd || m_focusList == m_selectedList.m_hWnd ||
               m_focusList == m_groupList.m_hWnd))
        m_focusList = m_titleList.m_hWnd;
    RecalcLayout();
}

void CIndexView::ShowGroupPane(bool show, bool byUser)
{
    m_selection.Notify(IndexCode::kShowGroupPane, show ? 1 : 0, byUser ? 0 : 1);
}

void CIndexView::SetPreviewFlags(int flags)
{
    m_values.previewOn = flags & 3;
    ApplyPreviewFlags();
    m_selection.RefreshPreviews();
}

void CIndexView::ApplyColumnHeaders()
{
    bool showTime = Services().settings && Services().settings->GetShowTime();
    m_dateHeader.SetWindowText(showTime ? "Date / Time" : "Date");
}

void CIndexView::UpdateSortImages()
{
    int order = Document() ? Document()->GetSortOrder() : 0;
    int titles = order == 0 ? IDB_SORT_ASCENDING : order == 1 ? IDB_SORT_DESCENDING : IDB_SORT_NONE;
    int dates = order == 2 ? IDB_SORT_ASCENDING : order == 3 ? IDB_SORT_DESCENDING : IDB_SORT_NONE;
    m_titlesCaption.SetBitmap(titles, RGB(255, 255, 255), CImageButton::kImageLeft);
    m_dateHeader.SetBitmap(dates, RGB(255, 255, 255), CImageButton::kImageLeft);
    m_indexHeader.SetBitmap(m_indexList.IsDescending() ? IDB_SORT_DESCENDING : IDB_SORT_ASCENDING, RGB(255, 255, 255), CImageButton::kImageLeft);
}

// ---- Painting ----

void CIndexView::DrawGrip(HDC dc, const LayoutRect& grip, bool pointsLeft, bool hot)
{
    if (grip.width <= 0 || grip.height <= 0)
        return;
    RECT rect = {grip.x, grip.y, grip.Right(), grip.Bottom()};
    FillRect(dc, &rect, GetSysColorBrush(hot ? COLOR_BTNSHADOW : COLOR_BTNFACE));
    // Shared icons belong to the system's cache: never destroyed here. The arrow is transparent
    // around it, so the grip's colour shows whether the pointer is over it.
    HANDLE icon = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(pointsLeft ? IDI_GRIP_HIDE : IDI_GRIP_SHOW),
                             IMAGE_ICON, kGripIconWidth, kGripIconHeight, LR_SHARED);
    if (icon)
        DrawIconEx(dc, grip.x, grip.y + (grip.height - kGripIconHeight) / 2, static_cast<HICON>(icon), kGripIconWidth,
                   kGripIconHeight, 0, nullptr, DI_NORMAL);
}

void CIndexView::Paint()
{
    CPaintDC dc(m_hWnd);
    HPEN shadow = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    HGDIOBJ oldPen = SelectObject(dc, shadow);
    auto frame = [&](const LayoutRect& list) {
        if (list.width <= 0)
            return;
        MoveToEx(dc, list.x - 1, m_headerHeight, nullptr);
        LineTo(dc, list.x - 1, 0);
        LineTo(dc, list.Right(), 0);
    };
    bool catalog = m_values.view != 0;
    if (!catalog) {
        if (m_values.groupVisible)
            frame(m_layout.groupList);
        frame(m_layout.indexList);
        frame(m_layout.selectedList);
    }
    frame(m_layout.titlesList);
    SelectObject(dc, oldPen);
    DeleteObject(shadow);
    // Right grip: hides the keyword lists (points left), or shows them in catalog mode.
    DrawGrip(dc, m_layout.rightGrip, !catalog, m_rightGripHot == 1);
    if (!catalog)
        DrawGrip(dc, m_layout.leftGrip, m_values.groupVisible != 0, m_leftGripHot == 1);
}

// ---- Dividers ----

void CIndexView::DrawTracker()
{
    if (m_drag.state == kNoDivider)
        return;
    HDC dc = GetDCEx(m_hWnd, nullptr, DCX_CACHE);
    RECT band;
    RECT client = GetClientRect();
    if (m_drag.vertical)
        band = {m_layout.titlesLeft, m_tracked, client.right - 4, m_tracked + 2};
    else
        band = {m_tracked, m_headerHeight, m_tracked + 2, client.bottom};
    PatBlt(dc, band.left, band.top, band.right - band.left, band.bottom - band.top, DSTINVERT);
    ReleaseDC(m_hWnd, dc);
    m_trackerShown = !m_trackerShown;
}

void CIndexView::OnLButtonDown(POINT point)
{
    IndexLayoutInput in = LayoutInput();
    int state = HitTestDivider(in, m_layout, point.x, point.y);
    if (state == kNoDivider)
        return;
    m_dragState = state;
    m_pressPoint = point;
    SetCapture();
    if (state == kRightGrip || state == kLeftGrip)
        return;
    m_drag = BeginDividerDrag(state, in, m_layout, point.x, point.y);
    m_tracked = m_drag.Clamp(m_drag.vertical ? point.y : point.x);
    DrawTracker();
}

void CIndexView::OnMouseMove(UINT keys, POINT point)
{
    if (m_dragState == kRightGrip || m_dragState == kLeftGrip) {
        // A grip pressed and moved becomes the drag of the divider around it.
        bool catalog = m_values.view != 0;
        if (catalog || !(keys & MK_LBUTTON) || !PassesDragThreshold(point.x - m_pressPoint.x, 0))
            return;
        int divider = m_dragState == kRightGrip ? kSelectedWidthDivider : kGroupWidthDivider;
        if (divider == kGroupWidthDivider && !m_values.groupVisible)
            return;
        m_dragState = divider;
        m_drag = BeginDividerDrag(divider, LayoutInput(), m_layout, m_pressPoint.x, m_pressPoint.y);
        m_tracked = m_drag.Clamp(point.x);
        DrawTracker();
        return;
    }
    if (m_dragState != kNoDivider) {
        int position = m_drag.Clamp(m_drag.vertical ? point.y : point.x);
        if (position == m_tracked)
            return;
        if (m_trackerShown)
            DrawTracker();
        m_tracked = position;
        DrawTracker();
    }
}

void CIndexView::OnLButtonUp(POINT point)
{
    int state = m_dragState;
    m_dragState = kNoDivider;
    if (GetCapture() == m_hWnd)
        ReleaseCapture();
    if (state == kRightGrip || state == kLeftGrip) {
        const LayoutRect& grip = state == kRightGrip ? m_layout.rightGrip : m_layout.leftGrip;
        if (grip.Contains(point.x, point.y)) {
            UINT command = state == kRightGrip ? kKeywordListsCommand : kKeywordGroupsCommand;
            if (Services().postToMainFrame)
                Services().postToMainFrame(command);
        }
        return;
    }
    if (state == kNoDivider)
        return;
    if (m_trackerShown)
        DrawTracker();
    ApplyDividerDrag(m_drag, m_tracked, LayoutInput(), m_layout, m_values);
    m_drag = DividerDrag();
    RecalcLayout();
}

bool CIndexView::SetDividerCursor(POINT point)
{
    int state = m_dragState != kNoDivider ? m_dragState : HitTestDivider(LayoutInput(), m_layout, point.x, point.y);
    LPCSTR cursor = nullptr;
    int own = 0;
    switch (state) {
    case kIndexWidthDivider: cursor = IDC_SIZEWE; break;
    case kSelectedWidthDivider:
    case kGroupWidthDivider: cursor = IDC_SIZEWE; own = IDC_SPLIT_COLUMNS; break;
    case kPreviewDivider: cursor = IDC_SIZENS; own = IDC_SPLIT_PREVIEW; break;
    default: return false;
    }
    HCURSOR handle = own ? LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(own)) : nullptr;
    ::SetCursor(handle ? handle : LoadCursorA(nullptr, cursor));
    return true;
}

// ---- Messages ----

void CIndexView::OnContextMenu(HWND window, POINT screen)
{
    int menuId = 0;
    if (window == m_indexList.m_hWnd)
        menuId = IDR_INDEX_LIST_MENU;
    else if (window == m_selectedList.m_hWnd)
        menuId = IDR_SELECTED_LIST_MENU;
    else if (window == m_titleList.m_hWnd)
        menuId = IDR_TITLE_LIST_MENU;
    else if (window == m_groupList.m_hWnd)
        menuId = IDR_GROUP_LIST_MENU;
    if (!menuId)
        return;
    ::SetFocus(window);
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(menuId));
    if (!menu)
        return;
    CWinApp* app = CWinApp::Current();
    CWnd* main = app ? app->GetMainWnd() : nullptr;
    HWND owner = main && main->IsWindow() ? main->m_hWnd : m_hWnd;
    if (screen.x == -1 && screen.y == -1)
        GetCursorPos(&screen);
    TrackPopupMenu(GetSubMenu(menu, 0), TPM_RIGHTBUTTON, screen.x, screen.y, 0, owner, nullptr);
    DestroyMenu(menu);
}

void CIndexView::OnHeaderClick(UINT id)
{
    int order = Document() ? Document()->GetSortOrder() : 0;
    UINT command = 0;
    switch (id) {
    case kTagHeader: command = order == 4 ? 107 : 106; break;
    case kAttachmentHeader: command = order == 6 ? 109 : 108; break;
    case kHypertextHeader: command = order == 8 ? 112 : 111; break;
    case kPrivateHeader: command = order == 10 ? 114 : 113; break;
    case kReminderHeader: command = order == 12 ? 117 : 116; break;
    case kDateHeader: command = order == 2 ? 32882 : 32880; break;
    case kTitlesCaption: command = order != 0 ? 32871 : 32881; break;
    case kSelectedHeader: command = m_selection.GetAndOrMode() == 0 ? 32891 : 32890; break;
    case kIndexHeader:
        m_indexList.SetDescending(!m_indexList.IsDescending());
        UpdateSortImages();
        return;
    default: return;
    }
    PostMessage(WM_COMMAND, command, 0);
}

bool CIndexView::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    if (control && code == BN_CLICKED && id >= kTagHeader && id <= kReminderHeader) {
        OnHeaderClick(id);
        result = 0;
        return true;
    }
    if (control && code == LBN_SETFOCUS) {
        m_focusList = control;
        return false;
    }
    if (control && code == LBN_DBLCLK && id == kTitleList) {
        PostMessage(WM_COMMAND, IDM_ARTICLE_OPEN, 0);
        result = 0;
        return true;
    }
    if (control && code == LBN_DBLCLK && (id == kIndexList || id == kSelectedList)) {
        if (id == kIndexList)
            m_selection.MoveToSelected();
        else
            m_selection.MoveToIndex();
        result = 0;
        return true;
    }
    if (control && code == LBN_SELCHANGE && id == kTitleList) {
        m_selection.RefreshPreviews();
        return false;
    }
    if (control && code == LBN_DBLCLK && id == kGroupList) {
        // A double click on a group edits it, as Edit Keyword Group does.
        PostMessage(WM_COMMAND, IDM_GROUP_EDIT, 0);
        result = 0;
        return true;
    }
    if (control && code == LBN_SELCHANGE && id == kGroupList) {
        m_selection.RecomputeGroupFilter();
        return false;
    }
    if (control && code == BN_CLICKED && (id == kMoveToSelectedButton || id == kMoveToIndexButton)) {
        PostMessage(WM_COMMAND, id == kMoveToSelectedButton ? kMoveToSelectedCommand : kMoveToIndexCommand, 0);
        result = 0;
        return true;
    }
    if (!control && id != IDOK) {
        // A command of the view (a header click, a list's key): along the frame's route, view first.
        CFrameWnd* frame = GetParentFrame();
        if (frame && frame->ExecuteCommand(id)) {
            result = 0;
            return true;
        }
        return false;
    }
    if (!control && id == IDOK) {
        // Enter: the keyword step of the focused keyword list, or the focused header button's click.
        HWND focus = GetFocus();
        int focusId = focus && ::GetParent(focus) == m_hWnd ? ::GetDlgCtrlID(focus) : 0;
        if (focusId == kTitleList || focus == PreviewHandle())
            PostMessage(WM_COMMAND, IDM_ARTICLE_OPEN, 0);
        else if (focusId == kIndexList)
            m_selection.MoveToSelected();
        else if (focusId == kSelectedList)
            m_selection.MoveToIndex();
        else if (focusId >= kTagHeader && focusId <= kReminderHeader && focusId != kKeywordPreview)
            OnHeaderClick(static_cast<UINT>(focusId));
        result = 0;
        return true;
    }
    return false;
}

bool CIndexView::OnTimer(UINT_PTR id, LRESULT& result)
{
    if (id != kHoverTimer)
        return false;
    POINT cursor;
    GetCursorPos(&cursor);
    ScreenToClient(m_hWnd, &cursor);
    int right = m_layout.rightGrip.Contains(cursor.x, cursor.y) ? 1 : 2;
    int left = m_values.view == 0 && m_layout.leftGrip.Contains(cursor.x, cursor.y) ? 1 : 2;
    if (right != m_rightGripHot || left != m_leftGripHot) {
        m_rightGripHot = right;
        m_leftGripHot = left;
        Invalidate(false);
    }
    result = 0;
    return true;
}

bool CIndexView::OnClose(LRESULT& result)
{
    m_dropTarget.Revoke();
    WriteValues();
    return false;
}

bool CIndexView::OnDestroy(LRESULT& result)
{
    KillTimer(kHoverTimer);
    CloseRemindersManager();
    StopReminderWatcher();
    RevokeDrops();
    WriteValues();
    return CView::OnDestroy(result);
}

bool CIndexView::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (msg) {
    case WM_PAINT:
        Paint();
        result = 0;
        return true;
    case WM_ERASEBKGND: {
        RECT client = GetClientRect();
        FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
        result = 1;
        return true;
    }
    case WM_SETFOCUS:
        if (m_focusList && ::IsWindow(m_focusList) && ::IsWindowVisible(m_focusList))
            ::SetFocus(m_focusList);
        result = 0;
        return true;
    case WM_LBUTTONDOWN:
        OnLButtonDown(point);
        result = 0;
        return true;
    case WM_MOUSEMOVE:
        OnMouseMove(static_cast<UINT>(wParam), point);
        result = 0;
        return true;
    case WM_LBUTTONUP:
        OnLButtonUp(point);
        result = 0;
        return true;
    case WM_CAPTURECHANGED:
        if (m_dragState != kNoDivider && reinterpret_cast<HWND>(lParam) != m_hWnd) {
            if (m_trackerShown)
                DrawTracker();
            m_dragState = kNoDivider;
            m_drag = DividerDrag();
        }
        return false;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == m_hWnd && LOWORD(lParam) == HTCLIENT) {
            POINT cursor;
            GetCursorPos(&cursor);
            ScreenToClient(m_hWnd, &cursor);
            if (SetDividerCursor(cursor)) {
                result = TRUE;
                return true;
            }
        }
        return false;
    case WM_CONTEXTMENU:
        OnContextMenu(reinterpret_cast<HWND>(wParam), point);
        result = 0;
        return true;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        result = 0;
        return true;
    case CDragList::kDropMessage:
        OnKeywordsDropped(reinterpret_cast<HWND>(wParam), reinterpret_cast<HWND>(lParam));
        result = 0;
        return true;
    case kRemindersDueMessage:
        OnRemindersDue();
        result = 0;
        return true;
    default:
        return false;
    }
}

bool CIndexView::PreTranslateMessage(MSG* msg)
{
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST || msg->message == WM_SYSKEYDOWN)
        return false;
    if (msg->hwnd != m_hWnd && !IsChild(m_hWnd, msg->hwnd))
        return false;
    CWinApp* app = CWinApp::Current();
    CWnd* main = app ? app->GetMainWnd() : nullptr;
    if (main && main != this && main->PreTranslateMessage(msg))
        return true;
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE)
        return false;
    // Tab and Shift+Tab move between the lists and buttons, as in a dialog.
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_TAB) {
        bool back = GetKeyState(VK_SHIFT) < 0;
        HWND next = GetNextDlgTabItem(m_hWnd, GetFocus(), back);
        if (next)
            ::SetFocus(next);
        return true;
    }
    return false;
}

// ---- Notifications ----

int32_t CIndexView::IndexNotify(IndexCode code, ChannelArg p, int32_t n)
{
    return m_selection.Notify(code, p, n);
}

void CIndexView::UpdateTitleForArticle(int32_t id, const CKeywordIdSet& keywords, bool highlight)
{
    m_selection.UpdateTitleForArticle(id, keywords, highlight);
}

void CIndexView::RemoveArticleTitle(int32_t id)
{
    m_selection.RemoveArticleTitle(id);
}
