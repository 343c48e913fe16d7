#include "index/saved_query_actions.h"

#include "index/current_query.h"
#include "index/query_list.h"
#include "resources/resource.h"

bool CommitQuery(CCurrentQuery& current, CQuerySource* source, const std::string& text, int32_t from, int32_t to,
                 bool saved, int* errorStart, int* errorEnd)
{
    CCurrentQuery trial(source);
    trial.SetText(text);
    trial.SetDateRange(from, to);
    const bool compiled = saved ? trial.CompileSaved(text) : trial.Compile(text);
    if (!compiled) {
        int start = 0;
        int end = 0;
        trial.GetErrorSpan(start, end);
        if (errorStart)
            *errorStart = start;
        if (errorEnd)
            *errorEnd = end;
        return false;
    }
    // The same text over the same names compiles again to the same code; only the shown query's
    // compiler keeps it.
    current.SetSource(source);
    current.SetText(text);
    current.SetDateRange(from, to);
    return current.Compile(text);
}

ManageQueriesEnabling CManageQueriesModel::Enabling(int entry) const
{
    return ManageQueriesEnablingFor(entry >= 0 && entry < m_list.GetCount(), m_canModify);
}

int CManageQueriesModel::New()
{
    if (!m_canModify)
        return -1;
    std::string text = m_current.GetText();
    int32_t from = 0;
    int32_t to = 0;
    m_current.GetDateRange(from, to);
    if (!m_prompts.EditQuery(IDS_NEW_QUERY_CAPTION, false, text, from, to))
        return -1;
    std::string name;
    int removed = -1;
    if (!m_prompts.AskQueryName(false, std::string(), name, removed))
        return -1;
    return m_list.Add(name, text, from, to);
}

int CManageQueriesModel::Edit(int entry)
{
    std::string name;
    std::string text;
    int32_t from = 0;
    int32_t to = 0;
    if (!m_canModify || !m_list.GetAt(entry, name, text, from, to))
        return -1;
    if (!m_prompts.EditQuery(IDS_EDIT_QUERY_CAPTION, true, text, from, to))
        return -1;
    m_list.SetQuery(entry, text, from, to);
    return entry;
}

int CManageQueriesModel::Rename(int entry)
{
    if (!m_canModify || entry < 0 || entry >= m_list.GetCount())
        return -1;
    std::string oldName;
    m_list.GetName(entry, oldName);
    std::string name;
    int removed = -1;
    if (!m_prompts.AskQueryName(true, oldName, name, removed))
        return -1;
    // The entry the user highlighted, found again if the replaced one lay before it.
    const int renamed = IndexAfterRemoval(entry, removed);
    m_list.SetName(renamed, name);
    return renamed;
}

bool CManageQueriesModel::Delete(int entry)
{
    std::string name;
    if (!m_canModify || entry < 0 || entry >= m_list.GetCount())
        return false;
    m_list.GetName(entry, name);
    if (!m_prompts.ConfirmDeleteQuery(name))
        return false;
    m_list.Remove(entry);
    return true;
}

bool CManageQueriesModel::Run(int entry)
{
    std::string name;
    std::string text;
    int32_t from = 0;
    int32_t to = 0;
    if (!m_list.GetAt(entry, name, text, from, to))
        return false;
    return CommitQuery(m_current, m_source, text, from, to, true);
}
