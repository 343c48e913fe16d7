// The decisions of the query dialogs (Build Query, Save Query, Manage Queries), kept apart from the
// windows so that they are tested by tables: the start text, where an inserted word needs a space,
// which controls are enabled, the selection that shows a compile error, the name decision of Save
// Query, and which rows and entries are meant after a removal.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class CQueryList;

// ---- Build Query ----

// `text` without trailing white space; leading white space stays.
std::string TrimQueryTrailing(const std::string& text);
// `text` without white space at either end (query names).
std::string TrimQueryName(const std::string& text);

// The keywords selected in the index window as a query: their names sorted by name, each written as
// query text, joined by " AND " (mode 0) or " OR " (mode 1). Empty for no names.
std::string SelectedKeywordsQuery(std::vector<std::string> names, int andOrMode);

// Whether a word inserted at a selection starting at `selStart` needs a space before it: the text is
// longer than one character, the selection starts after its second character and the character
// before it is not a space.
bool NeedsSpaceBefore(const std::string& text, int selStart);
// What replaces the selection when `word` is inserted: a space first where NeedsSpaceBefore says so,
// the word, and one space after it.
std::string QueryInsertionText(const std::string& text, int selStart, const std::string& word);

// What Build Query enables for the text in its edit.
struct BuildQueryEnabling {
    bool ok = false;
    bool save = false;
    bool dates = false;
    bool previous = false;
};
// `previousText` is the query's text when the dialog opened (trailing white space removed).
BuildQueryEnabling BuildQueryEnablingFor(const std::string& text, const std::string& previousText, bool canSave);

// The selection that shows a compile error whose token spans [start, end): the one character before
// the token when start lies above 0 and below end, else a caret at start.
void QueryErrorSelection(int start, int end, int& selStart, int& selEnd);

// ---- Save Query ----

enum class SaveNameDecision {
    kNothing,        // the trimmed name is empty: the dialog stays, nothing asked
    kAccept,         // a new name, or the renamed entry's own name in another case
    kAskOverwrite,   // another entry has this name: ask before it is replaced
};
// The decision for `name` (trimmed) against the entries of `list`; `startName` is the renamed
// entry's name (empty unless renaming). `existing` receives the index of the entry of that name, -1
// when none.
SaveNameDecision DecideSaveName(const CQueryList& list, const std::string& name, const std::string& startName,
                                int& existing);

// The index of entry `index` after entry `removed` left the list (-1: none left): lowered by one
// when the removed entry lay before it.
int IndexAfterRemoval(int index, int removed);

// ---- Manage Queries ----

// The list row highlighted after row `row` was deleted and `countAfter` rows remain: the same row,
// the one above when the deleted row was the last, -1 when none remain.
int RowAfterDelete(int row, int countAfter);

struct ManageQueriesEnabling {
    bool newQuery = false;
    bool edit = false;
    bool rename = false;
    bool remove = false;
    bool run = false;
};
ManageQueriesEnabling ManageQueriesEnablingFor(bool highlighted, bool canModify);

// `pattern` (a question of the query dialogs) with its "%s" replaced by `name`.
std::string FormatQueryPrompt(const std::string& pattern, const std::string& name);
