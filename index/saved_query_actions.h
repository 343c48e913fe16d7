// What the query commands do to the application's current query and the saved queries, apart from
// their windows. The current query (text, date range and code together) changes only when a query
// is accepted or a saved query runs: every other step compiles in a short-lived query of its own, so
// a failed compile, a cancelled dialog, a new or edited saved query never leave the query shown
// under "Query Titles" with a text that its code does not match.
#pragma once
#include <cstdint>
#include <string>

#include "index/query_dialog_rules.h"

class CCurrentQuery;
class CQueryList;
class CQuerySource;

// Compiles `text` in a short-lived query over `source` (a saved query's errors reported as the
// saved-query message when `saved`); on success `current` takes the text, the range and the code.
// On failure `current` is left as it was and, when given, `errorStart`/`errorEnd` receive the span of
// the token where compiling stopped.
bool CommitQuery(CCurrentQuery& current, CQuerySource* source, const std::string& text, int32_t from, int32_t to,
                 bool saved, int* errorStart = nullptr, int* errorEnd = nullptr);

// The dialogs that the saved-query steps open; the windows answer them, tests answer for the user.
class IQueryPrompts {
public:
    virtual ~IQueryPrompts() = default;
    // Build Query over a saved query (caption `captionId`, no Save Query button): starts from `text`
    // and the range (`startFromCurrent`: even when keywords are selected in the index window); true
    // with an accepted text, which compiled, and its range.
    virtual bool EditQuery(int captionId, bool startFromCurrent, std::string& text, int32_t& from, int32_t& to) = 0;
    // Save Query as the name prompt (`rename`: "Rename Query To" starting from `startName`). True
    // with the trimmed name; when the user agreed to replace another entry of that name, that entry
    // has been removed from the list and `removed` is its former index (else -1).
    virtual bool AskQueryName(bool rename, const std::string& startName, std::string& name, int& removed) = 0;
    // "Delete this query: %s?", No the default; true for Yes.
    virtual bool ConfirmDeleteQuery(const std::string& name) = 0;
};

// The steps of Manage Queries on the entries of `list`. The current query is read (New starts from
// it) and changed only by Run.
class CManageQueriesModel {
public:
    CManageQueriesModel(CQueryList& list, CCurrentQuery& current, CQuerySource* source, IQueryPrompts& prompts,
                        bool canModify)
        : m_list(list), m_current(current), m_source(source), m_prompts(prompts), m_canModify(canModify)
    {
    }

    bool CanModify() const { return m_canModify; }
    ManageQueriesEnabling Enabling(int entry) const;

    // Each returns the entry to highlight afterwards, -1 when nothing changed.
    int New();
    int Edit(int entry);
    int Rename(int entry);
    // True when the entry was removed.
    bool Delete(int entry);
    // True when the entry compiled and became the current query (the dialog then ends with Run).
    bool Run(int entry);

private:
    CQueryList& m_list;
    CCurrentQuery& m_current;
    CQuerySource* m_source;
    IQueryPrompts& m_prompts;
    bool m_canModify;
};
