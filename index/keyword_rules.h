// The rules of the keyword and keyword-group commands, free of windows so that they are tested
// natively: trimming names, the lines of a keyword list, the name a keyword may be renamed to, the
// duplicate test of a group name, the lines of the delete confirmations (a name cut to a width, a
// count that right-aligns on tab stops), names cut for the merge dialogs' statics, the count labels
// of the keyword dialogs, and what Change Keywords does to the highlighted articles.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "storage/id_set.h"

// `text` without white space (blank, tab, CR, LF, vertical tab, form feed) at either end.
std::string TrimName(const std::string& text);

// The keyword a line of a keyword list names: the line trimmed, cut at its first tab (the rest is a
// comment or a count) and trimmed again, so that "Work \t12" gives "Work" and not a near-duplicate
// "Work " that no dialog or query could name apart. Empty: the line names nothing.
std::string KeywordListLineName(const std::string& line);

// Renaming keyword `self` to the text typed: the trimmed name, or why it is refused. `find` is the
// document's case-insensitive name lookup (kNoneId when no keyword has the name), so changing only
// the case of the keyword's own name is accepted.
enum class KeywordNameProblem { kNone, kBlank, kTaken };
KeywordNameProblem CheckKeywordRename(const std::string& typed, int32_t self,
                                      const std::function<int32_t(const std::string&)>& find,
                                      std::string& trimmed);

// Whether `name` may not be given to a group. `found` is the id the case-insensitive lookup finds
// for it (or -1 / any negative when none has it). A new group (`groupId` negative) may not take a
// name some group has; an existing one may change only the case of its own stored name, or take a
// name no other group has.
bool IsGroupNameTaken(const std::string& name, int32_t found, int32_t groupId, const std::string& storedName);

// A label's template with its count: "%ld" (or "%d") replaced by `count`; a template without one
// gets nothing.
std::string FormatCountLabel(const std::string& format, long count);

// The count column of the delete confirmations: the number as "%10ld" with every leading blank
// turned into a tab, so that the list's evenly spaced tab stops right-align it.
std::string DeleteListCount(long count);

// A name cut for a delete-list line: the longest start of `name` that `fits` accepts, followed by
// "..." when anything was cut. `fits` measures a text in the list's font against the width; wider
// texts never fit when a shorter start does not, so the cut is found by halving.
std::string CutNameForList(const std::string& name, const std::function<bool(const std::string&)>& fits);

// A name cut for a static of the merge dialogs: the whole name when it fits; otherwise the longest
// start that fits with "..." after it, followed by "...".
std::string CutNameWithEllipsis(const std::string& name, const std::function<bool(const std::string&)>& fits);

// Change Keywords for Highlighted Articles: `shared` are the keywords every highlighted article
// carries and `result` what the user left assigned. The keywords to take off each article are the
// shared ones the user removed; every article then gets all of `result`.
void SharedKeywordsRemoved(const CKeywordIdSet& shared, const CKeywordIdSet& result, CKeywordIdSet& removed);
// An article's keywords after the change: (its keywords minus removed) united with result.
void ApplyKeywordChange(CKeywordIdSet& keywords, const CKeywordIdSet& removed, const CKeywordIdSet& result);

// Splits a keyword list, read in pieces of any size, into the names its lines give
// (KeywordListLineName, empty ones dropped). A line ends at LF, CR LF or a lone CR; the last line
// needs no end. A line is never cut by the size of a piece: one of 10,000 bytes is one name. A NUL
// ends the line's text (the rest of that line is ignored), as it ends a C string.
class CKeywordListParser {
public:
    void Feed(const char* data, size_t size, std::vector<std::string>& names);
    // The last line, when the text did not end with a line end.
    void Finish(std::vector<std::string>& names);

private:
    void EndLine(std::vector<std::string>& names);
    std::string m_line;
    bool m_afterCr = false;
    bool m_cut = false;  // a NUL was seen: the rest of the line is dropped
};
