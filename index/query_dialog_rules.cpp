#include "index/query_dialog_rules.h"

#include <algorithm>

#include "framework/ansi_case.h"
#include "index/current_query.h"
#include "index/query_list.h"

namespace {

bool IsWhite(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

}  // namespace

std::string TrimQueryTrailing(const std::string& text)
{
    size_t end = text.size();
    while (end > 0 && IsWhite(text[end - 1]))
        --end;
    return text.substr(0, end);
}

std::string TrimQueryName(const std::string& text)
{
    std::string trimmed = TrimQueryTrailing(text);
    size_t start = 0;
    while (start < trimmed.size() && IsWhite(trimmed[start]))
        ++start;
    return trimmed.substr(start);
}

std::string SelectedKeywordsQuery(std::vector<std::string> names, int andOrMode)
{
    // The order of the keyword lists, so the text reads as the user sees the names.
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return AnsiCompare(a.c_str(), b.c_str()) < 0; });
    const char* joint = andOrMode == 1 ? " OR " : " AND ";
    std::string text;
    for (const std::string& name : names) {
        if (!text.empty())
            text += joint;
        text += CCurrentQuery::QuoteName(name);
    }
    return text;
}

bool NeedsSpaceBefore(const std::string& text, int selStart)
{
    return text.size() > 1 && selStart > 1 && size_t(selStart) <= text.size() && text[size_t(selStart) - 1] != ' ';
}

std::string QueryInsertionText(const std::string& text, int selStart, const std::string& word)
{
    return (NeedsSpaceBefore(text, selStart) ? " " : "") + word + " ";
}

BuildQueryEnabling BuildQueryEnablingFor(const std::string& text, const std::string& previousText, bool canSave)
{
    const std::string trimmed = TrimQueryTrailing(text);
    BuildQueryEnabling on;
    on.ok = !trimmed.empty();
    on.save = canSave && on.ok;
    on.dates = on.ok;
    on.previous = !previousText.empty() && AnsiCompareNoCase(previousText.c_str(), trimmed.c_str()) != 0;
    return on;
}

void QueryErrorSelection(int start, int end, int& selStart, int& selEnd)
{
    if (start > 0 && start < end) {
        selStart = start - 1;
        selEnd = start;
    } else {
        selStart = selEnd = start;
    }
}

SaveNameDecision DecideSaveName(const CQueryList& list, const std::string& name, const std::string& startName,
                                int& existing)
{
    existing = -1;
    if (name.empty())
        return SaveNameDecision::kNothing;
    existing = list.FindByName(name);
    if (existing < 0)
        return SaveNameDecision::kAccept;
    if (!startName.empty() && AnsiCompareNoCase(name.c_str(), startName.c_str()) == 0)
        return SaveNameDecision::kAccept;
    return SaveNameDecision::kAskOverwrite;
}

int IndexAfterRemoval(int index, int removed)
{
    return removed >= 0 && removed < index ? index - 1 : index;
}

int RowAfterDelete(int row, int countAfter)
{
    if (countAfter <= 0)
        return -1;
    return row < countAfter ? row : countAfter - 1;
}

ManageQueriesEnabling ManageQueriesEnablingFor(bool highlighted, bool canModify)
{
    ManageQueriesEnabling on;
    on.newQuery = canModify;
    on.run = highlighted;
    on.edit = on.rename = on.remove = highlighted && canModify;
    return on;
}

std::string FormatQueryPrompt(const std::string& pattern, const std::string& name)
{
    std::string text = pattern;
    const size_t at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, name);
    return text;
}
