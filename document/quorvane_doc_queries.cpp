// The query commands: Build Query, Manage Saved Queries and the Run Saved Query menu. The
// application's current query changes only when Build Query accepts a query or a saved query runs
// (text, range and code together); a cancelled dialog or a saved query that does not compile leaves
// it, and the "Query Titles" that follow it, as they were.
#include "document/doc_host.h"
#include "document/quorvane_doc.h"
#include "index/current_query.h"
#include "index/saved_query_actions.h"
#include "shell/saved_query_menu.h"
#include "storage/id_set.h"

void CQuorvaneDoc::OnBuildQuery()
{
    CCurrentQuery* current = m_host.GetCurrentQuery();
    if (!current)
        return;
    std::string text = current->GetText();
    int32_t from = 0;
    int32_t to = 0;
    current->GetDateRange(from, to);
    if (!m_host.RunBuildQuery(*this, text, from, to))
        return;
    if (CommitQuery(*current, this, text, from, to, false))
        ShowQueryTitles(*current);
}

void CQuorvaneDoc::OnManageQueries()
{
    CCurrentQuery* current = m_host.GetCurrentQuery();
    if (!current)
        return;
    if (m_host.RunManageQueries(*this, *current))
        ShowQueryTitles(*current);
    RebuildSavedQueryMenus();
}

void CQuorvaneDoc::OnRunSavedQuery(unsigned id)
{
    CCurrentQuery* current = m_host.GetCurrentQuery();
    if (!current)
        return;
    int position = static_cast<int>(id - kFirstSavedQueryCommand);
    if (id == kMoreQueriesCommand) {
        const int entry = m_host.ChooseSavedQuery(*this);
        if (entry < 0)
            return;
        m_queries.MoveToFront(entry);
        position = 0;
    }
    std::string text;
    int32_t from = 0;
    int32_t to = 0;
    if (m_queries.GetRecentAt(position, text, from, to) && CommitQuery(*current, this, text, from, to, true)) {
        ShowQueryTitles(*current);
        m_queries.TouchRecent(position);
    }
    RebuildSavedQueryMenus();
}

void CQuorvaneDoc::OnUpdateRunSavedQuery(CCmdUI& ui)
{
    ui.Enable(m_queries.GetCount() > 0);
}

void CQuorvaneDoc::ShowQueryTitles(CCurrentQuery& query)
{
    m_host.RepaintMainWindow();
    CArticleIdSet found;
    query.Run(found);
    m_host.ShowQueryTitles(found);
}

void CQuorvaneDoc::RebuildSavedQueryMenus()
{
    std::vector<std::string> names;
    m_queries.GetRecentNames(names);
    m_host.UpdateSavedQueryMenus(names, m_queries.GetRecentCount() < m_queries.GetCount());
}
