// The article view's windows: creating the children, laying them out, painting the header, the
// splitter and the other mouse work, the focus and the notifications of the document.
#include "article/ui/article_view.h"

#include <windows.h>
#include <shellapi.h>
#include <windowsx.h>
#include <commctrl.h>

#include <algorithm>

#include "controls/ui/masked_bitmap.h"
#include "document/quorvane_doc.h"
#include "framework/string_table.h"
#include "framework/ui/app.h"
#include "framework/ui/frame_wnd.h"
#include "framework/ui/mdi_wnd.h"
#include "resources/index_window_res.h"
#include "resources/resource.h"
#include "resources/article_window_res.h"
#include "shell/app_settings.h"
#include "storage/quor_error.h"

namespace {

CArticleViewServices& ServicesSlot()
{
    static CArticleViewServices services;
    return services;
}

bool g_savingWithoutWarnings = false;

// The keyword list's menu sends the command the list itself posts on Enter and double click.
static_assert(IDM_KEYWORD_CHANGE_FROM_LIST == CKeywordListBox::kAddKeywordsCommand, "one command, one id");

// The calendar button's picture.
constexpr int kCalendarBitmap = 258;

// Text extent of `text` in `font` on the screen.
SIZE TextExtent(HFONT font, const std::string& text)
{
    SIZE size = {0, 0};
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size;
}

// The pictures of the header's marks, shared by every article window (loaded on first use, kept
// until the program ends). A picture that does not load leaves its mark blank.
const CMaskedBitmap& MarkPicture(ArticleMark mark)
{
    static CMaskedBitmap pictures[3];
    static bool loaded = false;
    if (!loaded) {
        loaded = true;
        pictures[0].Load(IDB_MARK_BOOKMARK, RGB(255, 0, 255));
        pictures[1].Load(IDB_MARK_ATTACHMENT, RGB(255, 255, 255));
        pictures[2].Load(IDB_MARK_REMINDER, RGB(255, 0, 255));
    }
    switch (mark) {
    case ArticleMark::kBookmark:
        return pictures[0];
    case ArticleMark::kAttachment:
        return pictures[1];
    default:
        return pictures[2];
    }
}

}  // namespace

void CArticleView::SetServices(const CArticleViewServices& services) { ServicesSlot() = services; }
const CArticleViewServices& CArticleView::Services() { return ServicesSlot(); }
bool CArticleView::IsSavingWithoutWarnings() { return g_savingWithoutWarnings; }
void CArticleView::SetSavingWithoutWarnings(bool on) { g_savingWithoutWarnings = on; }

CArticleView::CArticleView()
{
    m_hooks.statusText = [this](const std::string& text) { ShowStatus(text); };
    m_hooks.tab = [this](HWND from, bool back) { MoveFocus(from, back); };
    m_hooks.titleEnter = [this] { m_content.SetFocus(); };
    m_hooks.contextMenu = [this](HWND control, POINT screen) { ShowContextMenu(control, screen); };
    m_hooks.timeFocus = [this] { m_activeText = m_timeField.m_hWnd; };
}

CArticleView::~CArticleView() = default;

CQuorvaneDoc* CArticleView::GetDoc() const { return dynamic_cast<CQuorvaneDoc*>(GetDocument()); }

HFONT CArticleView::TitleFont() const
{
    HFONT font = Services().titleFont;
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

bool CArticleView::OnCreate(CREATESTRUCTA* create, LRESULT& result)
{
    try {
        CreateChildren();
    } catch (const CQuorError&) {
        ReportOutOfMemory();
        result = -1;
        return true;
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
        result = -1;
        return true;
    }
    result = 0;
    return true;
}

void CArticleView::CreateChildren()
{
    const RECT none = {0, 0, 10, 10};
    // The document is attached only after creation: its writability is asked in OnInitialUpdate.
    if (!m_titleBox.CreateControl("EDIT", WS_EX_CLIENTEDGE, WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | ES_NOHIDESEL,
                                  none, m_hWnd, kTitleBoxId))
        throw CQuorError(kOutOfMemory);
    m_titleBox.SetHooks(&m_hooks);
    m_titleBox.SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    m_titleBox.LimitText(CArticleTitleBox::kMaxLength);

    if (!m_dateBox.Create(m_hWnd, none, kDateBoxId, WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_RIGHT | ES_MULTILINE))
        throw CQuorError(kOutOfMemory);
    m_dateBox.SetHooks(&m_hooks);
    m_dateBox.SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(2, 2));
    m_dateBox.LimitText(10);

    if (!m_calendarButton.Create("", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, none, m_hWnd, kCalendarButtonId))
        throw CQuorError(kOutOfMemory);
    m_calendarButton.SetHooks(&m_hooks);
    m_calendarButton.SetBitmap(kCalendarBitmap, RGB(255, 255, 255));
    m_calendarButton.SetImageCentered(true);

    if (!m_timeField.CreateControl(DATETIMEPICK_CLASSA, WS_EX_CLIENTEDGE, WS_CHILD | WS_VISIBLE | WS_TABSTOP | DTS_TIMEFORMAT,
                                   none, m_hWnd, kTimeFieldId))
        throw CQuorError(kOutOfMemory);
    m_timeField.SetHooks(&m_hooks);

    if (!m_content.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                              ES_NOHIDESEL | ES_WANTRETURN | ES_SAVESEL,
                          none, m_hWnd, kContentId))
        throw CQuorError(kOutOfMemory);
    m_content.SendMessage(EM_EXLIMITTEXT, 0, 0xFFFFFF);
    m_content.SendMessage(EM_SETEVENTMASK, 0,
                          m_content.SendMessage(EM_GETEVENTMASK) | ENM_CHANGE | ENM_DRAGDROPDONE | ENM_SELCHANGE | ENM_PROTECTED);
    if (Services().statusText)
        m_content.SetStatusTextHandler(Services().statusText);

    if (!m_keywordList.Create(m_hWnd, kKeywordListId, none))
        throw CQuorError(kOutOfMemory);
    m_keywordList.SetListFont(Services().listFont, false);
    m_keywordList.SetCharHandler([this](char c) {
        if (IsEditable())
            ChangeKeywords(std::string(1, c));
    });
    m_keywordList.SetTabHandler([this](bool back) { MoveFocus(m_keywordList.m_hWnd, back); });
    m_keywordList.SetStatusTextHandler([this] { ShowStatus(QuorLoadString(IDS_ASSIGNED_KEYWORDS_PROMPT)); });

    // The attachment mark's tip: the tool control subclasses the view to see the mouse, and asks the
    // view for the text (TTN_NEEDTEXTA) each time it shows, so the tip follows the attachments.
    m_tips = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr,
                               ::GetModuleHandleA(nullptr), nullptr);
    if (m_tips) {
        TOOLINFOA tool = {};
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        tool.uFlags = TTF_SUBCLASS;
        tool.hwnd = m_hWnd;
        tool.uId = kAttachmentMarkTool;
        tool.lpszText = LPSTR_TEXTCALLBACKA;
        ::SendMessageA(m_tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
        ::SendMessageA(m_tips, TTM_SETMAXTIPWIDTH, 0, 0x7FFF);
    }

    m_content.ResetDefaultFormat();
    if (Services().getKeywordWidth)
        m_keywordWidth = std::max(0, Services().getKeywordWidth());
    m_activeText = m_titleBox.m_hWnd;
    ApplyFonts();
}

void CArticleView::ApplyFonts()
{
    HFONT title = TitleFont();
    for (HWND control : {m_titleBox.m_hWnd, m_dateBox.m_hWnd, m_timeField.m_hWnd})
        ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(title), TRUE);
    m_titleBox.SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    m_dateBox.SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(2, 2));
    m_keywordList.SetListFont(Services().listFont, true);
}

bool CArticleView::OnSize(UINT type, int width, int height, LRESULT& result)
{
    if (type != SIZE_MINIMIZED)
        RecalcLayout();
    return false;
}

void CArticleView::RecalcLayout()
{
    if (!m_hWnd || !m_titleBox.m_hWnd)
        return;
    RECT client = GetClientRect();
    const CAppSettings* settings = Services().settings;
    HFONT title = TitleFont();
    ArticleLayoutInput in;
    in.width = client.right;
    in.height = client.bottom;
    in.dateTextWidth = TextExtent(title, " 00/00/0000 ").cx;
    in.timeTextWidth = TextExtent(title, " 24:88 PM ").cx;
    in.scrollBarWidth = GetSystemMetrics(SM_CXVSCROLL);
    in.buttonImageWidth = m_calendarButton.GetImageSize().cx;
    in.textHeight = TextExtent(title, "a").cy;
    in.timeTextHeight = in.textHeight;
    in.keywordLabelHeight = TextExtent(Services().headerFont, QuorLoadString(IDS_ARTICLE_KEYWORDS_LABEL)).cy;
    in.keywordWidth = m_keywordWidth;
    in.showDate = !settings || settings->GetDisplayDate() != 0;
    in.showTime = !settings || settings->GetDisplayTime() != 0;
    m_layout = LayoutArticleWindow(in);

    auto place = [](HWND hwnd, const ArticleRect& r, bool show) {
        ::MoveWindow(hwnd, r.x, r.y, r.width, r.height, TRUE);
        ::ShowWindow(hwnd, show ? SW_SHOWNA : SW_HIDE);
    };
    place(m_titleBox.m_hWnd, m_layout.title, true);
    place(m_dateBox.m_hWnd, m_layout.date, m_layout.dateShown);
    place(m_calendarButton.m_hWnd, m_layout.calendarButton, m_layout.dateShown);
    place(m_timeField.m_hWnd, m_layout.time, m_layout.timeShown);
    place(m_content.m_hWnd, m_layout.content, true);
    place(m_keywordList.m_hWnd, m_layout.keywordList, m_layout.keywordList.width > 0);
    ::ShowScrollBar(m_content.m_hWnd, SB_HORZ, m_info.GetWordWrap() == 0);
    if (m_tips) {
        ArticleRect mark = MarkRect(ArticleMark::kAttachment);
        TOOLINFOA tool = {};
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        tool.hwnd = m_hWnd;
        tool.uId = kAttachmentMarkTool;
        tool.rect = {mark.x, mark.y, mark.x + mark.width, mark.y + mark.height};
        ::SendMessageA(m_tips, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    RECT header = {0, 0, client.right, m_layout.content.y};
    ::InvalidateRect(m_hWnd, &header, TRUE);
}

ArticleRect CArticleView::MarkRect(ArticleMark mark) const
{
    SIZE size = MarkPicture(mark).GetSize();
    if (size.cx <= 0 || size.cy <= 0)
        size = {16, 16};
    return ArticleMarkRect(GetClientRect().right, mark, size.cx, size.cy);
}

bool CArticleView::IsMarkShown(ArticleMark mark) const
{
    switch (mark) {
    case ArticleMark::kBookmark:
        return m_bookmarked;
    case ArticleMark::kAttachment:
        return m_attachments.GetSize() > 0;
    default:
        return m_hasReminder;
    }
}

void CArticleView::PaintHeader(HDC dc)
{
    RECT client = GetClientRect();
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    for (ArticleMark mark : {ArticleMark::kBookmark, ArticleMark::kAttachment, ArticleMark::kReminder}) {
        if (!IsMarkShown(mark))
            continue;
        ArticleRect r = MarkRect(mark);
        MarkPicture(mark).Draw(dc, r.x, r.y);
    }
    if (m_layout.keywordList.width > 0) {
        HFONT header = Services().headerFont ? Services().headerFont : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        HGDIOBJ old = SelectObject(dc, header);
        std::string label = QuorLoadString(IDS_ARTICLE_KEYWORDS_LABEL);
        TextOutA(dc, m_layout.keywordList.x + 2, m_layout.content.y, label.c_str(), static_cast<int>(label.size()));
        SelectObject(dc, old);
    }
}

void CArticleView::OnMouse(UINT msg, int x, int y)
{
    switch (msg) {
    case WM_LBUTTONDOWN:
        if (IsOnSplitter(m_layout, x, y)) {
            m_splitting = true;
            m_splitX = x;
            ::SetCapture(m_hWnd);
            InvertSplitBar(m_splitX);
        }
        break;
    case WM_MOUSEMOVE:
        if (m_splitting) {
            InvertSplitBar(m_splitX);
            m_splitX = x;
            InvertSplitBar(m_splitX);
        } else if (IsOnSplitter(m_layout, x, y)) {
            SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
        } else {
            auto over = [&](ArticleMark mark) { return IsMarkShown(mark) && MarkRect(mark).Contains(x, y); };
            if (over(ArticleMark::kBookmark))
                ShowStatus(QuorLoadString(IDS_BOOKMARKED_ARTICLE_PROMPT));
            else if (over(ArticleMark::kAttachment))
                ShowStatus(QuorLoadString(IDS_OPEN_ATTACHMENTS_PROMPT));
            else if (over(ArticleMark::kReminder))
                ShowStatus(QuorLoadString(IDS_REMINDER_SET_PROMPT));
        }
        break;
    case WM_LBUTTONUP:
        if (m_splitting) {
            InvertSplitBar(m_splitX);
            m_splitting = false;
            ::ReleaseCapture();
            m_keywordWidth = KeywordWidthAfterSplit(m_layout, x);
            if (Services().setKeywordWidth)
                Services().setKeywordWidth(m_keywordWidth);
            RecalcLayout();
        }
        break;
    default:
        break;
    }
}

void CArticleView::InvertSplitBar(int x)
{
    // Drawn twice at the same place it is gone again, so the bar needs no saved background. A cache
    // DC without DCX_CLIPCHILDREN lets it cross the content and the keyword list.
    int low = 0, high = 0;
    SplitterLimits(m_layout, low, high);
    x = std::min(std::max(x, low), high);
    HDC dc = ::GetDCEx(m_hWnd, nullptr, DCX_CACHE);
    if (!dc)
        return;
    ::PatBlt(dc, x, m_layout.content.y, kArticleSplitterGap, m_layout.content.height, DSTINVERT);
    ::ReleaseDC(m_hWnd, dc);
}

void CArticleView::MoveFocus(HWND from, bool back)
{
    HWND next = ::GetNextDlgTabItem(m_hWnd, from, back);
    if (!next)
        return;
    ::SetFocus(next);
    if (next == m_titleBox.m_hWnd || next == m_dateBox.m_hWnd) {
        ::SendMessageA(next, EM_SETSEL, 0, -1);
        ::SendMessageA(next, EM_SCROLLCARET, 0, 0);
    }
}

void CArticleView::ShowContextMenu(HWND control, POINT screen)
{
    int menuId = 0;
    if (control == m_titleBox.m_hWnd)
        menuId = IDR_TITLE_BOX_MENU;
    else if (control == m_dateBox.m_hWnd)
        menuId = IDR_ARTICLE_DATE_MENU;
    else if (control == m_timeField.m_hWnd)
        menuId = IDR_ARTICLE_TIME_MENU;
    else if (control == m_keywordList.m_hWnd)
        menuId = IDR_ARTICLE_KEYWORDS_MENU;
    if (!menuId)
        return;
    // The menu key sends (-1, -1): the menu then opens at the control's top-left corner.
    if (screen.x == -1 && screen.y == -1) {
        RECT rect;
        ::GetWindowRect(control, &rect);
        screen = {rect.left + 4, rect.top + 4};
    }
    HMENU menu = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(menuId));
    if (!menu)
        return;
    if (HMENU popup = ::GetSubMenu(menu, 0)) {
        if (Services().trackMenu) {
            Services().trackMenu(popup, screen);
        } else {
            CWinApp* app = CWinApp::Current();
            CWnd* main = app ? app->GetMainWnd() : nullptr;
            HWND owner = main && main->m_hWnd ? main->m_hWnd : m_hWnd;
            ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, owner, nullptr);
        }
    }
    ::DestroyMenu(menu);
}

int CArticleView::Ask(const std::string& text, UINT style)
{
    HWND owner = GetParentFrame() ? GetParentFrame()->m_hWnd : m_hWnd;
    if (Services().messageBox)
        return Services().messageBox(owner, text, style);
    return MessageBoxA(owner, text.c_str(), QuorLoadString(IDS_APP_NAME).c_str(), style);
}

void CArticleView::ShowStatus(const std::string& text)
{
    if (Services().statusText)
        Services().statusText(text);
}

void CArticleView::ReportError(const CQuorError& error)
{
    if (error.Code() == 0)
        return;
    Ask(error.Message(), MB_OK | MB_ICONEXCLAMATION);
}

std::string CArticleView::AttachmentTipText() const
{
    std::string text;
    if (m_attachments.GetSize() == 1) {
        const CLinkTarget* only = m_attachments.Item(0);
        if (only->GetKind() == CLinkTarget::kFile)
            text = only->GetFileName();
        else
            only->GetTarget(text);
    } else if (m_attachments.GetSize() > 1) {
        text = QuorFormat1(QuorLoadString(IDS_ATTACHMENT_COUNT_TIP), std::to_string(m_attachments.GetSize()));
    }
    if (text.size() > 80)
        text.resize(80);
    return text;
}

bool CArticleView::OnNotify(NMHDR* header, LRESULT& result)
{
    if (header->hwndFrom == m_tips && header->code == TTN_NEEDTEXTA && header->idFrom == kAttachmentMarkTool) {
        m_tipText = AttachmentTipText();
        reinterpret_cast<NMTTDISPINFOA*>(header)->lpszText = &m_tipText[0];
        result = 0;
        return true;
    }
    if (header->idFrom == kTimeFieldId && header->code == DTN_DATETIMECHANGE) {
        OnEditChange();
        return false;
    }
    return false;
}

bool CArticleView::OnDestroy(LRESULT& result)
{
    if (m_tips) {
        ::DestroyWindow(m_tips);
        m_tips = nullptr;
    }
    if (m_dropRegistered) {
        m_titleDropTarget.Revoke();
        m_keywordDropTarget.Revoke();
        ::DragAcceptFiles(m_hWnd, FALSE);
        m_dropRegistered = false;
    }
    return CView::OnDestroy(result);
}

bool CArticleView::PreTranslateMessage(MSG* msg)
{
    return false;
}

bool CArticleView::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(m_hWnd, &paint);
        PaintHeader(dc);
        EndPaint(m_hWnd, &paint);
        result = 0;
        return true;
    }
    case WM_SETFOCUS:
        if (m_activeText && ::IsWindow(m_activeText) && ::IsWindowVisible(m_activeText))
            ::SetFocus(m_activeText);
        else
            m_titleBox.SetFocus();
        result = 0;
        return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
        OnMouse(msg, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        result = 0;
        return true;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && reinterpret_cast<HWND>(wParam) == m_hWnd) {
            POINT point;
            GetCursorPos(&point);
            ::ScreenToClient(m_hWnd, &point);
            SetCursor(LoadCursor(nullptr, IsOnSplitter(m_layout, point.x, point.y) ? IDC_SIZEWE : IDC_ARROW));
            result = TRUE;
            return true;
        }
        return false;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        result = 0;
        return true;
    case CDragList::kDropMessage:
        OnKeywordsDropped(reinterpret_cast<HWND>(lParam));
        result = 0;
        return true;
    case WM_CONTEXTMENU:
        // The keyword list leaves its WM_CONTEXTMENU to the default procedure, which hands it here.
        if (reinterpret_cast<HWND>(wParam) == m_keywordList.m_hWnd) {
            m_keywordList.SetFocus();
            ShowContextMenu(m_keywordList.m_hWnd, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            result = 0;
            return true;
        }
        return false;
    default:
        return false;
    }
}

int32_t CArticleView::OnDocumentNotify(ArticleHint hint, int32_t p, int32_t n)
{
    int32_t answer = 0;
    try {
        switch (hint) {
        case ArticleHint::kKeywordAssigned:
            m_keywordSnapshot.reset();
            m_keywordList.AddId(p, false);
            break;
        case ArticleHint::kKeywordDeleted:
            m_keywordList.RemoveId(p);
            if (m_keywordSnapshot)
                m_keywordSnapshot->Remove(p);
            break;
        case ArticleHint::kKeywordRenamed:
            if (m_keywordList.HasId(p)) {
                m_keywordList.RemoveId(p);
                m_keywordList.AddId(p, false);
            }
            break;
        case ArticleHint::kPendingKeywordStored:
            if (m_keywordList.HasId(p)) {
                m_keywordList.RemoveId(p);
                m_keywordList.AddId(n, false);
            }
            if (m_keywordSnapshot && m_keywordSnapshot->Contains(p)) {
                m_keywordSnapshot->Remove(p);
                m_keywordSnapshot->Add(n);
            }
            break;
        case ArticleHint::kBookmarkState:
            m_bookmarked = p != 0;
            Invalidate();
            break;
        case ArticleHint::kUsesPendingKeyword:
            answer = HasAssignedKeyword(p) ? 1 : 0;
            break;
        case ArticleHint::kDisplayChanged:
            ApplyFonts();
            RecalcLayout();
            Invalidate();
            break;
        case ArticleHint::kBookmarkOff:
            m_bookmarked = false;
            Invalidate();
            break;
        case ArticleHint::kStatusPrompt:
            if (p == 32795 && !m_modified && m_undoSnapshot)
                answer = IDS_REDO_ARTICLE_CHANGES_PROMPT;
            break;
        case ArticleHint::kRedraw:
            RecalcLayout();
            UpdateWindow();
            break;
        case ArticleHint::kSaveIfModified:
            if (m_modified)
                SaveArticle(false, true);
            answer = m_modified ? 0 : 1;
            break;
        case ArticleHint::kReload:
            ReloadArticle();
            break;
        case ArticleHint::kActiveLinks:
            SetContentLinkMode(p);
            break;
        case ArticleHint::kReminderChanged:
            if (CQuorvaneDoc* document = GetDoc())
                m_hasReminder = document->GetReminders().FindByArticle(m_articleId) >= 0;
            Invalidate();
            break;
        case ArticleHint::kArticleDeleting:
            m_modified = false;
            break;
        default:
            break;
        }
    } catch (const CQuorError& error) {
        ReportError(error);
    }
    return answer;
}

bool CArticleView::HasAssignedKeyword(int32_t id) const
{
    return m_keywordList.HasId(id) || (m_keywordSnapshot && m_keywordSnapshot->Contains(id));
}

void CArticleView::CloseFrame()
{
    if (CFrameWnd* frame = GetParentFrame())
        ::PostMessageA(frame->m_hWnd, WM_CLOSE, 0, 0);
}

bool CArticleView::IsEditable()
{
    CQuorvaneDoc* document = GetDoc();
    if (!document || !document->CanModify())
        return false;
    CFrameWnd* frame = GetParentFrame();
    return ::IsWindowVisible(m_hWnd) && !(frame && ::IsIconic(frame->m_hWnd));
}

bool CArticleView::CanModify()
{
    CQuorvaneDoc* document = GetDoc();
    return document && document->CanModify();
}

void CArticleView::FocusView() { SetFocus(); }

HWND CArticleView::GetActiveContent()
{
    return GetFocus() == m_content.m_hWnd ? m_content.m_hWnd : nullptr;
}

// ---- Character formats of the active text control: only the content takes them ----

CHARFORMAT2A CArticleView::SelectionFormat(DWORD mask)
{
    CHARFORMAT2A format = {};
    format.cbSize = sizeof(format);
    format.dwMask = mask;
    m_content.SendMessage(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return format;
}

COLORREF CArticleView::GetSelectionColor()
{
    if (m_activeText != m_content.m_hWnd)
        return static_cast<COLORREF>(-2);
    CHARFORMAT2A format = SelectionFormat(CFM_COLOR);
    if (!(format.dwMask & CFM_COLOR))
        return static_cast<COLORREF>(-2);
    return (format.dwEffects & CFE_AUTOCOLOR) ? static_cast<COLORREF>(-1) : format.crTextColor;
}

void CArticleView::SetSelectionColor(COLORREF color)
{
    if (m_activeText != m_content.m_hWnd || !IsEditable())
        return;
    CHARFORMAT2A format = {};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_COLOR;
    if (color == static_cast<COLORREF>(-1))
        format.dwEffects = CFE_AUTOCOLOR;
    else
        format.crTextColor = color;
    m_content.SetCharFormat(format, SCF_SELECTION);
}

COLORREF CArticleView::GetHighlightColor()
{
    if (m_activeText != m_content.m_hWnd)
        return static_cast<COLORREF>(-2);
    CHARFORMAT2A format = SelectionFormat(CFM_BACKCOLOR);
    if (!(format.dwMask & CFM_BACKCOLOR))
        return static_cast<COLORREF>(-2);
    return (format.dwEffects & CFE_AUTOBACKCOLOR) ? static_cast<COLORREF>(-1) : format.crBackColor;
}

void CArticleView::SetHighlightColor(COLORREF color)
{
    if (m_activeText != m_content.m_hWnd || !IsEditable())
        return;
    CHARFORMAT2A format = {};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_BACKCOLOR;
    if (color == static_cast<COLORREF>(-1))
        format.dwEffects = CFE_AUTOBACKCOLOR;
    else
        format.crBackColor = color;
    m_content.SetCharFormat(format, SCF_SELECTION);
}

void CArticleView::SetSelectionFace(const std::string& face)
{
    if (m_activeText != m_content.m_hWnd || !IsEditable())
        return;
    CHARFORMAT2A format = {};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_FACE;
    lstrcpynA(format.szFaceName, face.c_str(), LF_FACESIZE);
    m_content.SetCharFormat(format, SCF_SELECTION);
}

void CArticleView::SetSelectionSize(int twips)
{
    if (m_activeText != m_content.m_hWnd || !IsEditable())
        return;
    CHARFORMAT2A format = {};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_SIZE;
    format.yHeight = twips;
    m_content.SetCharFormat(format, SCF_SELECTION);
}
