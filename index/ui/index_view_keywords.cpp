// The index view's keyword commands: Edit, Delete and Merge Keyword, Change Keywords for Highlighted
// Articles, Edit > Delete by the focused list, and keywords dropped on the titles or the group list.
// The dialogs choose; the document changes the file; the selection keeps the lists in step.
#include <windows.h>

#include <new>

#include "document/quorvane_doc.h"
#include "framework/string_table.h"
#include "framework/ui/app.h"
#include "framework/ui/frame_wnd.h"
#include "index/keyword_rules.h"
#include "index/ui/index_view.h"
#include "index/ui/keyword_dlgs.h"
#include "resources/keyword_commands_res.h"
#include "resources/resource.h"
#include "storage/quor_error.h"

bool CIndexView::RouteKeywordCommands(unsigned id, CCmdUI* ui)
{
    using Row = CommandEntry<CIndexView>;
    static const Row kCommands[] = {
        Row(IDM_KEYWORD_EDIT, &CIndexView::OnEditKeyword, &CIndexView::OnUpdateOneKeyword),
        Row(IDM_KEYWORD_MERGE, &CIndexView::OnMergeKeyword, &CIndexView::OnUpdateOneKeyword),
        Row(IDM_KEYWORD_DELETE, &CIndexView::OnDeleteKeyword, &CIndexView::OnUpdateDeleteKeyword),
        Row(IDM_KEYWORD_CHANGE, &CIndexView::OnChangeKeywords, &CIndexView::OnUpdateChangeKeywords),
        Row(IDM_EDIT_DELETE, &CIndexView::OnDeleteByFocus, &CIndexView::OnUpdateDeleteByFocus),
        Row(IDM_KEYWORD_REMOVE, &CIndexView::OnDeleteByFocus, &CIndexView::OnUpdateDeleteByFocus),
    };
    return RouteToTable(this, kCommands, id, ui);
}

// ---- Helpers ----

HWND CIndexView::DialogOwner() const
{
    CWinApp* app = CWinApp::Current();
    CWnd* main = app ? app->GetMainWnd() : nullptr;
    return main && main->IsWindow() ? main->m_hWnd : m_hWnd;
}

int CIndexView::AskUser(int messageId, UINT style) const
{
    return MessageBoxA(DialogOwner(), QuorLoadString(messageId).c_str(), QuorLoadString(IDS_APP_NAME).c_str(), style);
}

// The list the keyboard is in, or the list that had it last (a menu takes the focus away from it).
HWND CIndexView::FocusedList() const
{
    HWND focus = GetFocus();
    for (HWND list : {m_indexList.m_hWnd, m_selectedList.m_hWnd, m_titleList.m_hWnd, m_groupList.m_hWnd})
        if (focus && focus == list)
            return focus;
    return m_focusList;
}

bool CIndexView::CanModifyDocument() const
{
    CQuorvaneDoc* document = Document();
    return document && document->IsOpen() && document->CanModify();
}

// The one keyword highlighted in the focused index or selected list; kNoneId otherwise.
int32_t CIndexView::OnlyHighlightedKeyword() const
{
    HWND focus = FocusedList();
    const CKeywordListBox* list = nullptr;
    if (focus && focus == m_indexList.m_hWnd)
        list = &m_indexList;
    else if (focus && focus == m_selectedList.m_hWnd)
        list = &m_selectedList;
    if (!list)
        return kNoneId;
    CKeywordIdSet ids;
    list->GetSelectedIds(ids);
    return ids.GetSize() == 1 ? ids.GetAt(0) : kNoneId;
}

// While the private articles are hidden nothing may change every article of a keyword: the user
// gives the password first.
bool CIndexView::PassPasswordGate(int askId, int refusedId)
{
    CQuorvaneDoc* document = Document();
    if (!document->ArePrivateArticlesHidden())
        return true;
    AskUser(askId, MB_OK | MB_ICONINFORMATION);
    if (document->UnlockPrivateArticles())
        return true;
    AskUser(refusedId, MB_OK | MB_ICONINFORMATION);
    return false;
}

template <class Step>
void CIndexView::RunKeywordCommand(Step step)
{
    try {
        step();
    } catch (const CQuorError& error) {
        error.Report();
    } catch (const std::bad_alloc&) {
        ::ReportOutOfMemory();
    }
}

// ---- Update rules ----

void CIndexView::OnUpdateOneKeyword(CCmdUI& ui)
{
    ui.Enable(CanModifyDocument() && OnlyHighlightedKeyword() != kNoneId);
}

void CIndexView::OnUpdateDeleteKeyword(CCmdUI& ui)
{
    HWND focus = FocusedList();
    ui.Enable(CanModifyDocument() && focus && focus == m_indexList.m_hWnd &&
              m_indexList.SendMessage(LB_GETSELCOUNT) > 0);
}

void CIndexView::OnUpdateChangeKeywords(CCmdUI& ui)
{
    ui.Enable(CanModifyDocument() && m_titleList.SendMessage(LB_GETSELCOUNT) > 0);
}

void CIndexView::OnUpdateDeleteByFocus(CCmdUI& ui)
{
    HWND focus = FocusedList();
    bool enable = false;
    if (!focus)
        enable = false;
    else if (focus == m_selectedList.m_hWnd)
        enable = m_selectedList.SendMessage(LB_GETSELCOUNT) > 0;
    else if (focus == m_indexList.m_hWnd)
        enable = CanModifyDocument() && m_indexList.SendMessage(LB_GETSELCOUNT) > 0;
    else if (focus == m_titleList.m_hWnd)
        enable = CanModifyDocument() && m_titleList.SendMessage(LB_GETSELCOUNT) > 0;
    else if (focus == m_groupList.m_hWnd)
        enable = CanModifyDocument() && m_groupList.SendMessage(LB_GETSELCOUNT) > 0;
    ui.Enable(enable);
}

// ---- Commands ----

void CIndexView::OnEditKeyword()
{
    CQuorvaneDoc* document = Document();
    int32_t keyword = OnlyHighlightedKeyword();
    if (!document || keyword == kNoneId)
        return;
    RunKeywordCommand([&] {
        if (!document->AreKeywordGroupsConsistent(keyword)) {
            // The lists are repaired instead; the user edits the keyword afterwards.
            if (AskUser(IDS_GROUP_LISTS_OUT_OF_SYNC, MB_YESNO | MB_ICONEXCLAMATION) == IDYES)
                document->RepairGroupLinks();
            return;
        }
        CEditKeywordDlg dialog(document, Services().dialogFont, DialogOwner());
        dialog.m_keyword = keyword;
        dialog.m_name = document->GetKeywordName(keyword);
        if (dialog.DoModal() != IDOK)
            return;
        document->UpdateKeyword(keyword, dialog.m_name, dialog.m_groups);
    });
}

void CIndexView::OnDeleteKeyword()
{
    CQuorvaneDoc* document = Document();
    if (!document)
        return;
    RunKeywordCommand([&] {
        CKeywordIdSet keywords;
        m_indexList.GetSelectedIds(keywords);
        if (keywords.GetSize() == 0)
            return;
        if (!PassPasswordGate(IDS_PASSWORD_TO_DELETE_KEYWORDS, IDS_KEYWORDS_NOT_DELETED))
            return;
        CDeleteKeywordsDlg dialog(*document, DialogOwner());
        dialog.m_keywords.Copy(keywords);
        if (dialog.DoModal() != IDOK)
            return;
        const CKeywordIdSet& deleted = keywords;
        m_selection.Notify(IndexCode::kDeleteKeywords, &deleted, 0);
    });
}

void CIndexView::OnMergeKeyword()
{
    CQuorvaneDoc* document = Document();
    int32_t source = OnlyHighlightedKeyword();
    if (!document || source == kNoneId)
        return;
    RunKeywordCommand([&] {
        if (!PassPasswordGate(IDS_PASSWORD_TO_MERGE_KEYWORDS, IDS_KEYWORDS_NOT_MERGED))
            return;
        CMergeKeywordIntoDlg choice(*document, Services().listFont, DialogOwner());
        choice.m_source = source;
        if (choice.DoModal() != IDOK || choice.m_target == source || choice.m_target == kNoneId)
            return;
        CMergeKeywordDlg confirm(*document, DialogOwner());
        confirm.m_source = source;
        confirm.m_target = choice.m_target;
        if (confirm.DoModal() != IDOK)
            return;
        UpdateWindow();
        // A merge that fails part way raises, and the source stays: its articles keep it.
        document->MergeKeyword(source, choice.m_target);
        CKeywordIdSet merged;
        merged.Add(source);
        const CKeywordIdSet& deleted = merged;
        m_selection.Notify(IndexCode::kDeleteKeywords, &deleted, 0);
    });
}

void CIndexView::OnChangeKeywords()
{
    CQuorvaneDoc* document = Document();
    if (!document || !Services().editSharedKeywords)
        return;
    RunKeywordCommand([&] {
        CArticleIdSet titles;
        GetHighlightedTitles(titles);
        if (titles.GetSize() == 0)
            return;
        CKeywordIdSet shared;
        m_selection.CommonKeywords(titles, shared);
        CKeywordIdSet result;
        if (!Services().editSharedKeywords(*document, DialogOwner(), shared, result))
            return;
        CKeywordIdSet removed;
        SharedKeywordsRemoved(shared, result, removed);
        CIndexSelection::CTitleBatch batch(m_selection);
        document->ChangeKeywordsOfArticles(titles, removed, result);
    });
}

void CIndexView::OnDeleteByFocus()
{
    HWND focus = FocusedList();
    if (!focus)
        return;
    if (focus == m_indexList.m_hWnd) {
        OnDeleteKeyword();
    } else if (focus == m_selectedList.m_hWnd) {
        m_selection.MoveToIndex();
    } else if (focus == m_titleList.m_hWnd || focus == m_groupList.m_hWnd) {
        // Delete Article and Delete Keyword Groups are their own commands, wherever they are handled.
        CFrameWnd* frame = GetParentFrame();
        if (frame)
            frame->ExecuteCommand(focus == m_titleList.m_hWnd ? IDM_ARTICLE_DELETE : IDM_GROUP_DELETE);
    }
}

// ---- Keywords dropped on the titles or the group list ----

void CIndexView::AssignDroppedKeywords(HWND target, HWND source)
{
    CQuorvaneDoc* document = Document();
    if (!CanModifyDocument())
        return;
    CKeywordListBox* from = nullptr;
    int sourceName = 0;
    if (source == m_indexList.m_hWnd) {
        from = &m_indexList;
        sourceName = IDS_INDEX_COLUMN;
    } else if (source == m_selectedList.m_hWnd) {
        from = &m_selectedList;
        sourceName = IDS_SELECTED_COLUMN;
    } else if (source == m_keywordPreview.m_hWnd && target == m_groupList.m_hWnd) {
        from = &m_keywordPreview;
        sourceName = IDS_KEYWORD_LIST_COLUMN;
    }
    if (!from)
        return;
    RunKeywordCommand([&] {
        CKeywordIdSet keywords;
        from->GetSelectedIds(keywords);
        if (target == m_titleList.m_hWnd) {
            CArticleIdSet titles;
            GetHighlightedTitles(titles);
            if (titles.GetSize() == 0) {
                AskUser(IDS_NO_TITLES_FOR_KEYWORDS, MB_OK | MB_ICONINFORMATION);
                return;
            }
            CAssignKeywordsDlg dialog(sourceName, DialogOwner());
            if (dialog.DoModal() != IDOK || keywords.GetSize() == 0)
                return;
            CIndexSelection::CTitleBatch batch(m_selection);
            document->ChangeKeywordsOfArticles(titles, CKeywordIdSet(), keywords);
        } else {
            CGroupIdSet groups;
            m_groupList.GetSelectedIds(groups);
            if (groups.GetSize() == 0) {
                AskUser(IDS_NO_GROUPS_FOR_KEYWORDS, MB_OK | MB_ICONINFORMATION);
                return;
            }
            CAssignKeywordGroupsDlg dialog(sourceName, DialogOwner());
            if (dialog.DoModal() != IDOK || keywords.GetSize() == 0)
                return;
            document->AddKeywordsToGroups(keywords, groups);
            m_selection.Notify(IndexCode::kGroupsChanged, 0, 0);
        }
    });
}
