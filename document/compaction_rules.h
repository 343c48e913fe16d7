// The text rules of compaction, kept apart from the passes that apply them so that tables of cases
// test them directly.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>

// Deletes every "\objsub" control word of `rtf`: one preceded by an even number of backslashes (none
// included) is a control word; after an odd number the backslash is escaped and the letters are text.
// A longer control word that merely starts with those letters is kept. True when something was
// deleted.
bool RemoveObjSubControlWords(std::string& rtf);

// Rewrites a saved query's text for another file version. The text is cut into tokens: a
// double-quoted string with its quotes, a single-quoted string with its quotes, one ' ', '(' or
// ')', or a run of other characters up to one of those three. A token equal to `oldWord` (any case)
// becomes `newWord`; a token equal to `newWord` (any case) is wrapped in double quotes so that it
// stays a plain word; every other token is kept. True when the text changed.
bool RewriteQueryWord(std::string& text, const std::string& oldWord, const std::string& newWord);

// A report pattern with printf-style "%d" and "%s" replaced by the arguments in order ("%%" is one
// '%'); a placeholder without an argument stays as it is.
struct ReportArg {
    ReportArg(int32_t number) : text(std::to_string(number)) {}
    ReportArg(const std::string& value) : text(value) {}
    std::string text;
};
std::string FormatReportPattern(const std::string& pattern, std::initializer_list<ReportArg> args);
