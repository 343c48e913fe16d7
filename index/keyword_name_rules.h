// The rules for names of keywords and keyword groups that the dialogs and the keyword list import
// share: trimming, the lines of a keyword list, the duplicate test of a group name, and the lines of
// the delete confirmations (a name cut to a width, a count that right-aligns on tab stops).
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// `text` without white space (blank, tab, CR, LF, vertical tab, form feed) at either end.
std::string TrimName(const std::string& text);

// The keyword a line of a keyword list names: the line trimmed, cut at its first tab (the rest is a
// comment or a count) and trimmed again, so that "Work \t12" gives "Work" and not a near-duplicate
// "Work " that no dialog or query could name apart. Empty: the line names nothing.
std::string KeywordListLineName(const std::string& line);

// Whether `name` may not be given to a group. `found` is the id the case-insensitive lookup finds
// for it (or -1 / any negative when none has it). A new group (`groupId` negative) may not take a
// name some group has; an existing one may change only the case of its own stored name, or take a
// name no other group has.
bool IsGroupNameTaken(const std::string& name, int32_t found, int32_t groupId, const std::string& storedName);

// The count column of a delete confirmation: `count` as "%10d" with every leading blank turned into
// a tab, so that the number ends on the list's last tab stop.
std::string DeleteListCount(int count);

// `name` cut at its end until `width(text)` is at most `limit`, then "..." appended; `name` itself
// when it fits. `width` measures a text in the list's font.
std::string FitNameToWidth(const std::string& name, int limit, const std::function<int(const std::string&)>& width);

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
