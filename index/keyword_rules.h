// The decisions behind the keyword commands of the index window, free of windows so that they are
// tested natively: the name a keyword may be renamed to, the lines of the delete-confirmation list,
// names shortened to a control's width, the count labels of the keyword dialogs, and what Change
// Keywords does to the highlighted articles.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "storage/id_set.h"

// Blanks (spaces, tabs) and line ends off both ends.
std::string TrimKeywordName(const std::string& text);

// Renaming keyword `self` to the text typed: the trimmed name, or why it is refused. `find` is the
// document's case-insensitive name lookup (kNoneId when no keyword has the name), so changing only
// the case of the keyword's own name is accepted.
enum class KeywordNameProblem { kNone, kBlank, kTaken };
KeywordNameProblem CheckKeywordRename(const std::string& typed, int32_t self,
                                      const std::function<int32_t(const std::string&)>& find,
                                      std::string& trimmed);

// A label's template with its count: "%ld" (or "%d") replaced by `count`; a template without one
// gets nothing.
std::string FormatCountLabel(const std::string& format, long count);

// The count column of the delete confirmations: the number right-aligned in ten characters with
// every leading space turned into a tab, so that the list's evenly spaced tab stops align it.
std::string FormatDeleteListCount(long count);

// A name cut for a delete-list line: characters are dropped from its end until `fits` accepts it,
// and "..." follows when any was dropped.
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
