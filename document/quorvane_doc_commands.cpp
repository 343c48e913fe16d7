// The menu commands that act on the whole knowledge base, whichever of its windows is active, with
// the rules that enable and check their menu entries. Commands whose dialogs live in other windows
// are added with those windows.
#include <iterator>

#include "document/doc_host.h"
#include "document/doc_views.h"
#include "document/quorvane_doc.h"
#include "framework/string_table.h"
#include "resources/commands.h"
#include "resources/resource.h"
#include "shell/app_settings.h"
#include "shell/saved_query_menu.h"

namespace {

// Index view channel codes of the commands below.
constexpr IndexCode kCodeIsCatalog = IndexCode::kIsCatalog;
constexpr IndexCode kCodeIsVisible = IndexCode::kIsVisible;
constexpr IndexCode kCodeShowCatalog = IndexCode::kShowIndexWindow;
constexpr IndexCode kCodeBookmarksCleared = IndexCode::kBookmarksCleared;
constexpr IndexCode kCodePreviewFlags = IndexCode::kGetPreviewFlags;
constexpr IndexCode kCodeTogglePreview = IndexCode::kTogglePreview;
constexpr IndexCode kCodePreviewCycle = IndexCode::kCyclePreview;
constexpr IndexCode kCodeSetIndexMode = IndexCode::kSetIndexMode;
constexpr IndexCode kCodeGetIndexMode = IndexCode::kGetIndexMode;
constexpr IndexCode kCodeToggleIndexMode = IndexCode::kCycleIndexMode;
constexpr IndexCode kCodeGroupsVisible = IndexCode::kIsGroupPaneVisible;
constexpr IndexCode kCodeShowGroups = IndexCode::kShowGroupPane;
constexpr IndexCode kCodeManageReminders = IndexCode::kManageReminders;
// Article view hint: the bookmarked list changed.
constexpr ArticleHint kHintBookmarksChanged = ArticleHint::kBookmarkOff;

constexpr unsigned kCmdSortExtra1 = 106;  // 106..109: orders 4..7
constexpr unsigned kCmdSortExtra2 = 111;  // 111..114: orders 8..11
constexpr unsigned kCmdSortExtra3 = 116;  // 116..117: orders 12..13

// The sort order of a sort command; -1 for none.
int SortOrderOf(unsigned id)
{
    switch (id) {
    case IDM_VIEW_SORT_TITLE_UP:
        return 0;
    case IDM_VIEW_SORT_TITLE_DOWN:
        return 1;
    case IDM_VIEW_SORT_DATE_UP:
        return 2;
    case IDM_VIEW_SORT_DATE_DOWN:
        return 3;
    }
    if (id >= kCmdSortExtra1 && id <= kCmdSortExtra1 + 3)
        return 4 + int(id - kCmdSortExtra1);
    if (id >= kCmdSortExtra2 && id <= kCmdSortExtra2 + 3)
        return 8 + int(id - kCmdSortExtra2);
    if (id >= kCmdSortExtra3 && id <= kCmdSortExtra3 + 1)
        return 12 + int(id - kCmdSortExtra3);
    return -1;
}

}  // namespace

bool CQuorvaneDoc::OnCmdMsg(unsigned id, CCmdUI* ui)
{
    using Row = CommandEntry<CQuorvaneDoc>;
    static const Row kCommands[] = {
        Row(IDM_FILE_SAVE, &CQuorvaneDoc::OnFileSave, &CQuorvaneDoc::OnUpdateWritable),
        Row(IDM_FILE_COMPACT, nullptr, &CQuorvaneDoc::OnUpdateAlwaysDisabled),
        Row(IDM_ARTICLE_CLEAR_BOOKMARKS, &CQuorvaneDoc::OnClearBookmarks, &CQuorvaneDoc::OnUpdateClearBookmarks),
        Row(IDM_SHOW_INDEX, &CQuorvaneDoc::OnShowIndex),
        Row(IDM_ARTICLE_NEW, &CQuorvaneDoc::OnNewArticle, &CQuorvaneDoc::OnUpdateWritable),
        Row(IDM_KEYWORD_ADD, &CQuorvaneDoc::OnAddKeywordsToIndex, &CQuorvaneDoc::OnUpdateWritable),
        Row(IDM_KEYWORD_IMPORT_LIST, &CQuorvaneDoc::OnImportKeywordList, &CQuorvaneDoc::OnUpdateWritable),
        Row(IDM_KEYWORD_GROUPS, &CQuorvaneDoc::OnManageKeywordGroups, &CQuorvaneDoc::OnUpdateWritable),
        Row(IDM_WINDOW_CLOSE_ALL, &CQuorvaneDoc::OnCloseAllWindows),
        Row(IDM_VIEW_SORT_TITLE_UP, IDM_VIEW_SORT_TITLE_UP, &CQuorvaneDoc::OnSortOrder,
            &CQuorvaneDoc::OnUpdateSortOrder),
        Row(IDM_VIEW_SORT_DATE_UP, IDM_VIEW_SORT_DATE_DOWN, &CQuorvaneDoc::OnSortOrder,
            &CQuorvaneDoc::OnUpdateSortOrder),
        Row(kCmdSortExtra1, kCmdSortExtra1 + 3, &CQuorvaneDoc::OnSortOrder),
        Row(kCmdSortExtra2, kCmdSortExtra2 + 3, &CQuorvaneDoc::OnSortOrder),
        Row(kCmdSortExtra3, kCmdSortExtra3 + 1, &CQuorvaneDoc::OnSortOrder),
        Row(IDM_VIEW_AND, IDM_VIEW_OR, &CQuorvaneDoc::OnSelectListMode, &CQuorvaneDoc::OnUpdateSelectListMode),
        Row(IDM_VIEW_CATALOG, &CQuorvaneDoc::OnShowCatalog, &CQuorvaneDoc::OnUpdateShowCatalog),
        Row(IDM_VIEW_KEYWORD_LISTS, &CQuorvaneDoc::OnKeywordLists, &CQuorvaneDoc::OnUpdateKeywordLists),
        Row(IDM_VIEW_PREVIEWS, &CQuorvaneDoc::OnTogglePreviews, &CQuorvaneDoc::OnUpdateTogglePreviews),
        Row(IDM_VIEW_PREVIEW_CONTENT, IDM_VIEW_PREVIEW_KEYWORDS, &CQuorvaneDoc::OnPreviewKind,
            &CQuorvaneDoc::OnUpdatePreviewKind),
        Row(IDM_VIEW_PREVIEW_PANE, &CQuorvaneDoc::OnPreviewPaneCycle),
        Row(IDM_VIEW_MODE_ALL, IDM_VIEW_MODE_RELATED, &CQuorvaneDoc::OnIndexMode, &CQuorvaneDoc::OnUpdateIndexMode),
        Row(IDM_VIEW_MODE_TOGGLE, &CQuorvaneDoc::OnIndexModeToggle),
        Row(IDM_VIEW_GROUPS, &CQuorvaneDoc::OnKeywordGroupsPane, &CQuorvaneDoc::OnUpdateKeywordGroupsPane),
        Row(IDM_ARTICLE_REMINDERS, &CQuorvaneDoc::OnManageReminders),
        Row(IDM_FILE_PROPERTIES, &CQuorvaneDoc::OnFileProperties),
        Row(IDM_EDIT_UNDO, &CQuorvaneDoc::OnUndoImport, &CQuorvaneDoc::OnUpdateUndoImport),
        // Queries.
        Row(IDM_EDIT_BUILD_QUERY, &CQuorvaneDoc::OnBuildQuery),
        Row(IDM_EDIT_MANAGE_QUERIES, &CQuorvaneDoc::OnManageQueries),
        Row(kFirstSavedQueryCommand, kMoreQueriesCommand, &CQuorvaneDoc::OnRunSavedQuery,
            &CQuorvaneDoc::OnUpdateRunSavedQuery),
    };
    if (RouteToTable(this, kCommands, id, ui))
        return true;
    return CDocument::OnCmdMsg(id, ui);
}

void CQuorvaneDoc::OnUpdateWritable(CCmdUI& ui)
{
    ui.Enable(CanModify());
}

void CQuorvaneDoc::OnUpdateAlwaysDisabled(CCmdUI& ui)
{
    ui.Enable(false);
}

// ---- Bookmarked titles ----

void CQuorvaneDoc::OnClearBookmarks()
{
    if (!CanModify() || m_bookmarkedIds.GetSize() == 0)
        return;
    const std::string text =
        QuorFormat1(QuorLoadString(IDS_CLEAR_BOOKMARKS_PROMPT), std::to_string(GetBookmarkedCount()));
    if (!m_host.ConfirmClearBookmarks(text))
        return;
    ClearBookmarks();
}

void CQuorvaneDoc::ClearBookmarks()
{
    m_bookmarkedIds.RemoveAll();
    NotifyIndexView(kCodeBookmarksCleared);
    NotifyArticleViews(kHintBookmarksChanged);
    m_host.RefreshFindDialog();
}

void CQuorvaneDoc::OnUpdateClearBookmarks(CCmdUI& ui)
{
    ui.Enable(m_bookmarkedIds.GetSize() > 0 && CanModify());
}

void CQuorvaneDoc::OnShowIndex()
{
    m_host.ActivateIndexFrame();
}

// The window takes the next "Untitled" number as it shows the new article.
void CQuorvaneDoc::OnNewArticle()
{
    OpenArticle(kNoneId);
}

// Every article window runs its close check; one whose user chose Cancel stays open. The list is
// copied: a window may leave it while it closes.
void CQuorvaneDoc::OnCloseAllWindows()
{
    std::vector<CDocumentView*> views = Views();
    for (CDocumentView* view : views) {
        auto* article = dynamic_cast<CArticleNotifyTarget*>(view);
        if (article && article->PromptSaveAndClose())
            article->CloseFrame();
    }
}

// ---- Sorting and the selected-keyword mode ----

void CQuorvaneDoc::OnSortOrder(unsigned id)
{
    const int order = SortOrderOf(id);
    if (order >= 0)
        SetSortOrder(order);
}

void CQuorvaneDoc::OnUpdateSortOrder(CCmdUI& ui)
{
    const int stored = m_settings ? m_settings->GetSortOrder() : m_sortOrder;
    ui.SetCheck(SortOrderOf(ui.m_id) == stored ? 1 : 0);
}

int CQuorvaneDoc::StoredSelectListMode() const
{
    return m_settings ? m_settings->GetSelectListMode() : 0;
}

void CQuorvaneDoc::OnSelectListMode(unsigned id)
{
    if (m_settings)
        m_settings->SetSelectListMode(id == IDM_VIEW_OR ? 1 : 0);
    m_host.ApplySelectListMode();
}

void CQuorvaneDoc::OnUpdateSelectListMode(CCmdUI& ui)
{
    ui.SetCheck(StoredSelectListMode() == (ui.m_id == IDM_VIEW_OR ? 1 : 0) ? 1 : 0);
}

// ---- The index window's panes ----

void CQuorvaneDoc::OnShowCatalog()
{
    NotifyIndexView(kCodeShowCatalog, 1);
}

void CQuorvaneDoc::OnUpdateShowCatalog(CCmdUI& ui)
{
    const bool visible = GetIndexView() && NotifyIndexView(kCodeIsVisible) != 0;
    ui.SetCheck(visible && NotifyIndexView(kCodeIsCatalog) == 1 ? 1 : 0);
}

void CQuorvaneDoc::OnKeywordLists()
{
    NotifyIndexView(kCodeShowCatalog, NotifyIndexView(kCodeIsCatalog) != 1 ? 1 : 0);
}

void CQuorvaneDoc::OnUpdateKeywordLists(CCmdUI& ui)
{
    const bool visible = GetIndexView() && NotifyIndexView(kCodeIsVisible) != 0;
    ui.SetCheck(visible && NotifyIndexView(kCodeIsCatalog) != 1 ? 1 : 0);
}

void CQuorvaneDoc::OnTogglePreviews()
{
    NotifyIndexView(kCodeTogglePreview, 0);
}

void CQuorvaneDoc::OnUpdateTogglePreviews(CCmdUI& ui)
{
    ui.SetCheck(GetIndexView() && NotifyIndexView(kCodePreviewFlags) != 0 ? 1 : 0);
}

void CQuorvaneDoc::OnPreviewKind(unsigned id)
{
    NotifyIndexView(kCodeTogglePreview, id == IDM_VIEW_PREVIEW_CONTENT ? 1 : 2);
}

void CQuorvaneDoc::OnUpdatePreviewKind(CCmdUI& ui)
{
    const int32_t flag = ui.m_id == IDM_VIEW_PREVIEW_CONTENT ? 1 : 2;
    ui.SetCheck(GetIndexView() && (NotifyIndexView(kCodePreviewFlags) & flag) != 0 ? 1 : 0);
}

void CQuorvaneDoc::OnPreviewPaneCycle()
{
    NotifyIndexView(kCodePreviewCycle, 1);
}

void CQuorvaneDoc::OnIndexMode(unsigned id)
{
    NotifyIndexView(kCodeSetIndexMode, id == IDM_VIEW_MODE_RELATED ? 1 : 0);
}

void CQuorvaneDoc::OnUpdateIndexMode(CCmdUI& ui)
{
    const int32_t mode = ui.m_id == IDM_VIEW_MODE_RELATED ? 1 : 0;
    ui.Enable(StoredSelectListMode() == 0);
    ui.SetCheck(GetIndexView() && NotifyIndexView(kCodeGetIndexMode) == mode ? 1 : 0);
}

void CQuorvaneDoc::OnIndexModeToggle()
{
    NotifyIndexView(kCodeToggleIndexMode);
}

void CQuorvaneDoc::OnKeywordGroupsPane()
{
    NotifyIndexView(kCodeShowGroups, NotifyIndexView(kCodeGroupsVisible) != 0 ? 0 : 1, 1);
}

void CQuorvaneDoc::OnUpdateKeywordGroupsPane(CCmdUI& ui)
{
    const bool catalog = GetIndexView() && NotifyIndexView(kCodeIsCatalog) == 1;
    ui.Enable(!catalog);
    ui.SetCheck(GetIndexView() && NotifyIndexView(kCodeGroupsVisible) != 0 ? 1 : 0);
}

void CQuorvaneDoc::OnManageReminders()
{
    NotifyIndexView(kCodeManageReminders);
}

void CQuorvaneDoc::OnFileProperties()
{
    m_host.ShowFileProperties(*this);
}

// ---- Undo import ----

void CQuorvaneDoc::OnUndoImport()
{
    if (CanUndoImport())
        UndoImport();
}

void CQuorvaneDoc::OnUpdateUndoImport(CCmdUI& ui)
{
    const bool can = CanUndoImport();
    ui.Enable(can);
    ui.SetText(QuorLoadString(can ? IDS_UNDO_IMPORT_MENU : IDS_UNDO_MENU));
}
