// The index view's lists, previews and captions as its selection (CIndexSelection) changes them, and
// the view's own commands: the keyword steps, Select All in the keyword lists, the start lists, and
// keywords dropped between the lists.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>

#include "document/quorvane_doc.h"
#include "framework/string_table.h"
#include "framework/ui/app.h"
#include "framework/ui/frame_wnd.h"
#include "framework/ui/mdi_wnd.h"
#include "index/ui/index_doc_data.h"
#include "index/ui/index_view.h"
#include "resources/resource.h"
#include "shell/app_settings.h"
#include "storage/quor_error.h"

// ---- Commands ----

bool CIndexView::OnCmdMsg(unsigned id, CCmdUI* ui)
{
    using Row = CommandEntry<CIndexView>;
    static const Row kCommands[] = {
        Row(kMoveToSelectedCommand, &CIndexView::OnMoveToSelected, &CIndexView::OnUpdateMoveToSelected),
        Row(kMoveToIndexCommand, &CIndexView::OnMoveToIndex, &CIndexView::OnUpdateMoveToIndex),
        Row(kSelectAllKeywordsCommand, &CIndexView::OnSelectAllKeywords, &CIndexView::OnUpdateSelectAllKeywords),
        Row(IDM_ARTICLE_ALL_TITLES, &CIndexView::OnShowAllTitles),
        Row(IDM_ARTICLE_BOOKMARKED, &CIndexView::OnShowBookmarkedTitles),
        Row(IDM_ARTICLE_WITH_ATTACHMENTS, &CIndexView::OnShowArticlesWithAttachments),
    };
    if (RouteToTable(this, kCommands, id, ui) || OnArticleCmdMsg(id, ui))
        return true;
    if (OnGroupCmdMsg(id, ui) || RouteKeywordCommands(id, ui))
        return true;
    return CView::OnCmdMsg(id, ui);
}

bool CIndexView::IsShowing() const
{
    if (!IsWindowVisible())
        return false;
    CFrameWnd* frame = GetParentFrame();
    return !frame || !::IsIconic(frame->m_hWnd);
}

void CIndexView::OnMoveToSelected()
{
    m_selection.MoveToSelected();
}

void CIndexView::OnMoveToIndex()
{
    m_selection.MoveToIndex();
}

void CIndexView::OnUpdateMoveToSelected(CCmdUI& ui)
{
    ui.Enable(IsShowing() && m_indexList.SendMessage(LB_GETSELCOUNT) > 0);
}

void CIndexView::OnUpdateMoveToIndex(CCmdUI& ui)
{
    ui.Enable(IsShowing() && m_selectedList.SendMessage(LB_GETSELCOUNT) > 0);
}

void CIndexView::OnSelectAllKeywords()
{
    HWND focus = GetFocus();
    CKeywordListBox* list = focus == m_keywordPreview.m_hWnd ? static_cast<CKeywordListBox*>(&m_keywordPreview)
                                                              : static_cast<CKeywordListBox*>(&m_selectedList);
    if (list->GetCount() > 0)
        list->SendMessage(LB_SETSEL, TRUE, -1);
}

void CIndexView::OnUpdateSelectAllKeywords(CCmdUI& ui)
{
    HWND focus = GetFocus();
    const CKeywordListBox& list = focus == m_keywordPreview.m_hWnd ? static_cast<CKeywordListBox&>(m_keywordPreview)
                                                                   : static_cast<CKeywordListBox&>(m_selectedList);
    ui.Enable(list.GetCount() > 0);
}

void CIndexView::OnShowAllTitles()
{
    m_selection.ShowAllTitles();
}

void CIndexView::OnShowBookmarkedTitles()
{
    m_selection.ShowBookmarkedTitles();
}

void CIndexView::OnShowArticlesWithAttachments()
{
    m_selection.ShowArticlesWithAttachments();
}

void CIndexView::OnKeywordsDropped(HWND target, HWND source)
{
    CDragList* dragged = CDragList::FromDrop(reinterpret_cast<WPARAM>(target), reinterpret_cast<LPARAM>(source));
    if (!dragged)
        return;
    if (target == m_indexList.m_hWnd && source == m_selectedList.m_hWnd) {
        m_selection.MoveToIndex();
    } else if (target == m_selectedList.m_hWnd && source == m_indexList.m_hWnd) {
        m_selection.MoveToSelected();
    } else if (target == m_selectedList.m_hWnd && source == m_keywordPreview.m_hWnd) {
        CKeywordIdSet ids;
        m_keywordPreview.GetSelectedIds(ids);
        m_selection.AddKeywordsToSelection(ids);
    } else if (target == m_titleList.m_hWnd || target == m_groupList.m_hWnd) {
        AssignDroppedKeywords(target, source);
    }
}

bool CIndexView::NewArticleFromText(UINT format, const std::string& text)
{
    CQuorvaneDoc* document = Document();
    if (!document || !Services().pasteIntoArticle)
        return false;
    auto articleWindows = [document] {
        std::vector<CArticleNotifyTarget*> windows;
        for (CDocumentView* view : document->Views())
            if (auto* article = dynamic_cast<CArticleNotifyTarget*>(view))
                windows.push_back(article);
        return windows;
    };
    std::vector<CArticleNotifyTarget*> before = articleWindows();
    SendMessage(WM_COMMAND, IDM_ARTICLE_NEW, 0);
    // The text goes only into the window New Article just made; when it made none, nothing is pasted
    // (another article's window must never receive it).
    for (CArticleNotifyTarget* window : articleWindows()) {
        if (std::find(before.begin(), before.end(), window) == before.end() && window->GetArticleId() == kNoneId)
            return Services().pasteIntoArticle(window, format, text);
    }
    return false;
}

void CIndexView::OnDropFiles(HDROP drop)
{
    std::vector<std::string> paths;
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        UINT length = DragQueryFileA(drop, i, nullptr, 0);
        std::string path(length + 1, '\0');
        DragQueryFileA(drop, i, &path[0], length + 1);
        path.resize(length);
        paths.push_back(path);
    }
    DragFinish(drop);
    if (!paths.empty() && Services().importFiles) {
        try {
            Services().importFiles(paths);
        } catch (const CQuorError& error) {
            error.Report();
        }
    }
}

void CIndexView::RevokeDrops()
{
    m_dropTarget.Revoke();
    if (m_acceptsFiles && m_hWnd)
        DragAcceptFiles(m_hWnd, FALSE);
    m_acceptsFiles = false;
}

// ---- Titles ----

void CIndexView::SetTitles(const CArticleIdSet& ids)
{
    m_titleList.SetIds(ids);
}

void CIndexView::GetTitles(CArticleIdSet& out)
{
    m_titleList.GetIds(out);
}

int CIndexView::GetTitleCount()
{
    return m_titleList.GetItemCount();
}

bool CIndexView::HasTitle(int32_t id)
{
    return m_titleList.HasId(id);
}

bool CIndexView::IsTitleHighlighted(int32_t id)
{
    return m_titleList.IsIdSelected(id);
}

void CIndexView::InsertTitle(int32_t id, bool highlight)
{
    m_titleList.AddId(id, highlight);
}

void CIndexView::RemoveTitle(int32_t id)
{
    m_titleList.RemoveId(id);
}

void CIndexView::MoveTitle(int32_t id, bool highlight)
{
    // A highlighted title is scrolled to at its new place, as an insertion of it would be.
    m_titleList.MoveId(id, highlight || m_titleList.IsIdSelected(id));
}

void CIndexView::RemoveTitles(const CArticleIdSet& ids)
{
    m_titleList.RemoveIds(ids);
}

void CIndexView::GetHighlightedTitles(CArticleIdSet& out)
{
    m_titleList.GetSelectedIds(out);
}

int CIndexView::GetHighlightedTitleCount()
{
    LRESULT count = m_titleList.SendMessage(LB_GETSELCOUNT);
    return count > 0 ? static_cast<int>(count) : 0;
}

int32_t CIndexView::GetOnlyHighlightedTitle()
{
    if (GetHighlightedTitleCount() != 1)
        return kNoneId;
    int index = -1;
    if (m_titleList.SendMessage(LB_GETSELITEMS, 1, reinterpret_cast<LPARAM>(&index)) != 1)
        return kNoneId;
    return m_titleList.GetItemId(index);
}

void CIndexView::ClearTitleHighlights()
{
    m_titleList.SendMessage(LB_SETSEL, FALSE, -1);
}

int CIndexView::TitleIndexOf(int32_t id)
{
    return m_titleList.IndexOfId(id);
}

int32_t CIndexView::TitleAt(int index)
{
    return m_titleList.GetItemId(index);
}

void CIndexView::HighlightOnlyTitle(int index)
{
    m_titleList.SendMessage(LB_SETSEL, FALSE, -1);
    m_titleList.SendMessage(LB_SETSEL, TRUE, index);
    m_titleList.SendMessage(LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
}

void CIndexView::RepaintTitles()
{
    m_titleList.Invalidate();
    m_titleList.UpdateWindow();
}

void CIndexView::ResortTitles(bool keepHighlights)
{
    m_titleList.Resort(keepHighlights);
}

void CIndexView::RepositionTitles(const CArticleIdSet& ids)
{
    m_titleList.Reposition(ids);
}

// ---- Keyword lists and groups ----

CKeywordListBox& CIndexView::KeywordList(KeywordPane pane)
{
    switch (pane) {
    case KeywordPane::kSelected: return m_selectedList;
    case KeywordPane::kPreview: return m_keywordPreview;
    default: return m_indexList;
    }
}

void CIndexView::GetKeywords(KeywordPane pane, CKeywordIdSet& out)
{
    KeywordList(pane).GetIds(out);
}

void CIndexView::GetHighlightedKeywords(KeywordPane pane, CKeywordIdSet& out)
{
    KeywordList(pane).GetSelectedIds(out);
}

bool CIndexView::HasKeyword(KeywordPane pane, int32_t id)
{
    return KeywordList(pane).HasId(id);
}

void CIndexView::SetKeywords(KeywordPane pane, const CKeywordIdSet& ids)
{
    CKeywordListBox& list = KeywordList(pane);
    list.SetIds(ids);
    if (pane == KeywordPane::kPreview)
        list.UpdateWindow();
}

void CIndexView::AddKeyword(KeywordPane pane, int32_t id, bool highlight)
{
    KeywordList(pane).AddId(id, highlight);
}

void CIndexView::AddAndSelectKeywords(KeywordPane pane, const CKeywordIdSet& ids)
{
    KeywordList(pane).AddAndSelectIds(ids);
}

void CIndexView::SelectKeywords(KeywordPane pane, const CKeywordIdSet& ids)
{
    KeywordList(pane).SelectIds(ids);
}

void CIndexView::ClearKeywordHighlights(KeywordPane pane)
{
    KeywordList(pane).SendMessage(LB_SETSEL, FALSE, -1);
}

void CIndexView::RemoveHighlightedKeywords(KeywordPane pane)
{
    KeywordList(pane).RemoveSelected();
}

void CIndexView::RemoveKeywords(KeywordPane pane, const CKeywordIdSet& ids)
{
    KeywordList(pane).RemoveIds(ids);
}

void CIndexView::RepaintKeywords(KeywordPane pane)
{
    CKeywordListBox& list = KeywordList(pane);
    list.Invalidate();
    list.UpdateWindow();
}

void CIndexView::SetIndexFilter(const CKeywordIdSet& filter, bool filterOn, bool showAll)
{
    m_indexList.SetFilter(filter, filterOn, showAll);
}

void CIndexView::RefreshIndexFilter(bool filterOn)
{
    m_indexList.RefreshFilter(filterOn);
}

void CIndexView::GetHighlightedGroups(CGroupIdSet& out)
{
    m_groupList.GetSelectedIds(out);
}

void CIndexView::AddGroup(int32_t id, bool highlight)
{
    m_groupList.AddGroup(id);
    if (highlight)
        m_groupList.SetGroupSel(id, true);
}

bool CIndexView::RemoveGroup(int32_t id)
{
    bool highlighted = m_groupList.IsGroupSelected(id);
    m_groupList.RemoveGroup(id);
    return highlighted;
}

// ---- Previews and captions ----

void CIndexView::ShowArticlePreview(int32_t id, bool force)
{
    if (m_articlePreview)
        m_articlePreview->ShowArticle(id, force);
}

namespace {

// The captions are image buttons: a new text repaints the button at once, so a step that writes the
// caption it already shows (each selecting step writes the titles caption twice, and a change of mode
// both headers) leaves it alone.
void SetCaptionText(const CWnd& caption, const std::string& text)
{
    if (caption.GetWindowText() != text)
        caption.SetWindowText(text);
}

}  // namespace

void CIndexView::SetIndexCaption(const std::string& text)
{
    SetCaptionText(m_indexHeader, text);
}

void CIndexView::SetSelectedCaption(const std::string& text)
{
    SetCaptionText(m_selectedHeader, text);
}

void CIndexView::SetTitlesCaption(const std::string& text)
{
    SetCaptionText(m_titlesCaption, text);
}

// ---- The window around the lists ----

bool CIndexView::IsWindowShown()
{
    return IsWindowVisible();
}

void CIndexView::ShowFrame(bool activate)
{
    CFrameWnd* frame = GetParentFrame();
    if (!frame)
        return;
    if (!frame->IsWindowVisible())
        frame->ShowWindow(SW_SHOW);
    if (!activate)
        return;
    if (::IsIconic(frame->m_hWnd))
        frame->ShowWindow(SW_RESTORE);
    HWND client = ::GetParent(frame->m_hWnd);
    if (client)
        ::SendMessageA(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(frame->m_hWnd), 0);
}

void CIndexView::ApplyListFont()
{
    HFONT font = Services().listFont ? Services().listFont : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    m_groupList.SetListFont(font, true);
    m_indexList.SetListFont(font, true);
    m_selectedList.SetListFont(font, true);
    m_titleList.SetTitleListFont(font, true);
    m_keywordPreview.SetListFont(font, true);
    RecalcLayout();
}

void CIndexView::MeasureDates()
{
    m_titleList.Measure();
    m_titleList.Invalidate();
    RecalcLayout();
}

void CIndexView::ApplySortImages()
{
    UpdateSortImages();
}

void CIndexView::ApplyPreviewFlags()
{
    RecalcLayout();
}

void CIndexView::ApplyPreviewColor()
{
    int32_t color = Services().settings ? Services().settings->GetPreviewColor() : -1;
    COLORREF background = color == -1 ? GetSysColor(COLOR_BTNFACE) : static_cast<COLORREF>(color);
    if (m_articlePreview)
        m_articlePreview->SetBackground(background);
    m_keywordPreview.SetBackgroundColor(color == -1 ? -1 : color);
}

void CIndexView::SetPreviewLinkMode(int mode)
{
    if (m_articlePreview)
        m_articlePreview->SetLinkMode(mode);
}

void CIndexView::ApplyDisplayPrefs()
{
    ApplyColumnHeaders();
    m_titleList.Invalidate();
    RecalcLayout();
}

void CIndexView::SavePlacement()
{
    if (CFrameWnd* frame = GetParentFrame())
        frame->SendMessage(kSavePlacementMessage);
}

void CIndexView::ApplyGroupPane(bool byUser)
{
    if (byUser)
        m_groupVisibilityChanged = true;
    if (!m_values.groupVisible) {
        if (GetFocus() == m_groupList.m_hWnd)
            m_indexList.SetFocus();
        if (m_focusList == m_groupList.m_hWnd)
            m_focusList = m_indexList.m_hWnd;
    }
    RecalcLayout();
}

void CIndexView::PostShowIndex()
{
    PostMessage(WM_COMMAND, IDM_SHOW_INDEX, 0);
}

// ---- The application ----

void CIndexView::ReportError(const CQuorError& error)
{
    error.Report();
}

void CIndexView::ReportOutOfMemory()
{
    ::ReportOutOfMemory();
}

void CIndexView::ShowInformation(int messageId)
{
    CWinApp* app = CWinApp::Current();
    CWnd* main = app ? app->GetMainWnd() : nullptr;
    HWND owner = main && main->IsWindow() ? main->m_hWnd : m_hWnd;
    MessageBoxA(owner, QuorLoadString(messageId).c_str(), QuorLoadString(IDS_APP_NAME).c_str(),
                MB_OK | MB_ICONINFORMATION);
}

void CIndexView::BeginWaitCursor()
{
    if (m_waitDepth++ == 0)
        m_cursorBeforeWait = ::SetCursor(LoadCursorA(nullptr, IDC_WAIT));
}

void CIndexView::EndWaitCursor()
{
    if (m_waitDepth > 0 && --m_waitDepth == 0)
        ::SetCursor(m_cursorBeforeWait);
}

int CIndexView::GetInitList()
{
    return Services().settings ? Services().settings->GetInitList() : 0;
}

bool CIndexView::GetAutoUpdateQuery()
{
    return Services().settings && Services().settings->GetAutoUpdateQuery() != 0;
}

CCurrentQuery* CIndexView::GetCurrentQuery()
{
    return Services().currentQuery;
}

void CIndexView::DropImportKeywords(const CKeywordIdSet& keywords)
{
    if (Services().dropImportKeywords)
        Services().dropImportKeywords(keywords);
}
