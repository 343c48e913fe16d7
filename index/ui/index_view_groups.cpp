// The index view's keyword-group commands: Unselect, Add, Edit (also a double click in the group
// list), Merge and Delete Keyword Groups. The dialogs choose; the document stores and tells the view
// (a group added, removed or changed) through the index channel.
#include "document/quorvane_doc.h"
#include "index/ui/group_dlgs.h"
#include "index/ui/index_view.h"
#include "resources/commands.h"
#include "storage/quor_error.h"

bool CIndexView::OnGroupCmdMsg(unsigned id, CCmdUI* ui)
{
    using Row = CommandEntry<CIndexView>;
    static const Row kCommands[] = {
        Row(IDM_GROUP_UNSELECT, &CIndexView::OnUnselectKeywordGroups, &CIndexView::OnUpdateGroupsHighlighted),
        Row(IDM_GROUP_ADD, &CIndexView::OnAddKeywordGroup, &CIndexView::OnUpdateAddKeywordGroup),
        Row(IDM_GROUP_EDIT, &CIndexView::OnEditKeywordGroup, &CIndexView::OnUpdateOneGroupHighlighted),
        Row(IDM_GROUP_MERGE, &CIndexView::OnMergeKeywordGroup, &CIndexView::OnUpdateOneGroupHighlighted),
        Row(IDM_GROUP_DELETE, &CIndexView::OnDeleteKeywordGroups, &CIndexView::OnUpdateDeleteKeywordGroups),
    };
    return RouteToTable(this, kCommands, id, ui);
}

int32_t CIndexView::OnlyHighlightedGroup()
{
    CGroupIdSet ids;
    if (m_groupList.GetSelectedIds(ids) != 1)
        return kNoneId;
    return ids.Values()[0];
}

void CIndexView::OnUpdateGroupsHighlighted(CCmdUI& ui)
{
    ui.Enable(m_groupList.m_hWnd && m_groupList.SendMessage(LB_GETSELCOUNT) > 0);
}

void CIndexView::OnUpdateAddKeywordGroup(CCmdUI& ui)
{
    ui.Enable(CanModifyDocument());
}

void CIndexView::OnUpdateOneGroupHighlighted(CCmdUI& ui)
{
    ui.Enable(CanModifyDocument() && m_groupList.m_hWnd && m_groupList.SendMessage(LB_GETSELCOUNT) == 1);
}

void CIndexView::OnUpdateDeleteKeywordGroups(CCmdUI& ui)
{
    ui.Enable(CanModifyDocument() && m_groupList.m_hWnd && m_groupList.SendMessage(LB_GETSELCOUNT) > 0);
}

void CIndexView::OnUnselectKeywordGroups()
{
    m_groupList.SendMessage(LB_SETSEL, FALSE, -1);
    m_selection.RecomputeGroupFilter();
}

void CIndexView::OnAddKeywordGroup()
{
    CQuorvaneDoc* document = Document();
    if (!document || !document->CanModify())
        return;
    CKeywordGroupDlg dialog(*document, m_hWnd);
    dialog.m_listFont = Services().listFont;
    dialog.DoModal();
}

void CIndexView::OnEditKeywordGroup()
{
    CQuorvaneDoc* document = Document();
    int32_t id = OnlyHighlightedGroup();
    if (!document || !document->CanModify() || id == kNoneId)
        return;
    CKeywordGroupDlg dialog(*document, m_hWnd);
    dialog.m_listFont = Services().listFont;
    dialog.m_groupId = id;
    if (dialog.DoModal() == IDOK) {
        m_groupList.SetGroupSel(id, true);
        m_selection.RecomputeGroupFilter();
    }
}

void CIndexView::OnMergeKeywordGroup()
{
    CQuorvaneDoc* document = Document();
    int32_t source = OnlyHighlightedGroup();
    if (!document || !document->CanModify() || source == kNoneId)
        return;
    CMergeIntoGroupDlg choice(*document, m_hWnd);
    choice.m_listFont = Services().listFont;
    choice.m_sourceId = source;
    m_groupList.GetIds(choice.m_offered);
    if (choice.DoModal() != IDOK || choice.m_targetId == source)
        return;
    CMergeKeywordGroupDlg question(*document, m_hWnd);
    question.m_sourceId = source;
    question.m_targetId = choice.m_targetId;
    if (question.DoModal() != IDOK)
        return;
    try {
        document->MergeKeywordGroup(source, choice.m_targetId);
    } catch (const CQuorError& error) {
        error.Report();
    }
}

void CIndexView::OnDeleteKeywordGroups()
{
    CQuorvaneDoc* document = Document();
    CGroupIdSet ids;
    if (!document || !document->CanModify() || m_groupList.GetSelectedIds(ids) == 0)
        return;
    CDeleteKeywordGroupsDlg dialog(*document, m_hWnd);
    dialog.m_ids.Copy(ids);
    if (dialog.DoModal() != IDOK)
        return;
    try {
        document->DeleteKeywordGroups(ids);
    } catch (const CQuorError& error) {
        error.Report();
    }
}
