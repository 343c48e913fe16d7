#include "index/keyword_rules.h"

#include <cstdio>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

std::string TrimKeywordName(const std::string& text)
{
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

KeywordNameProblem CheckKeywordRename(const std::string& typed, int32_t self,
                                      const std::function<int32_t(const std::string&)>& find,
                                      std::string& trimmed)
{
    trimmed = TrimKeywordName(typed);
    if (trimmed.empty())
        return KeywordNameProblem::kBlank;
    int32_t other = find(trimmed);
    if (other != kNoneId && other != self)
        return KeywordNameProblem::kTaken;
    return KeywordNameProblem::kNone;
}

std::string FormatCountLabel(const std::string& format, long count)
{
    for (const char* marker : {"%ld", "%d"}) {
        size_t at = format.find(marker);
        if (at != std::string::npos)
            return format.substr(0, at) + std::to_string(count) + format.substr(at + std::char_traits<char>::length(marker));
    }
    return format;
}

std::string FormatDeleteListCount(long count)
{
    char text[32];
    std::snprintf(text, sizeof(text), "%10ld", count);
    std::string out(text);
    for (char& c : out) {
        if (c != ' ')
            break;
        c = '\t';
    }
    return out;
}

std::string CutNameForList(const std::string& name, const std::function<bool(const std::string&)>& fits)
{
    std::string cut = name;
    while (!cut.empty() && !fits(cut))
        cut.pop_back();
    return cut.size() == name.size() ? cut : cut + "...";
}

std::string CutNameWithEllipsis(const std::string& name, const std::function<bool(const std::string&)>& fits)
{
    if (fits(name))
        return name;
    std::string cut = name;
    while (!cut.empty() && !fits(cut + "..."))
        cut.pop_back();
    return cut + "...";
}

void SharedKeywordsRemoved(const CKeywordIdSet& shared, const CKeywordIdSet& result, CKeywordIdSet& removed)
{
    removed.Copy(shared);
    removed.Subtract(result);
}

void ApplyKeywordChange(CKeywordIdSet& keywords, const CKeywordIdSet& removed, const CKeywordIdSet& result)
{
    keywords.Subtract(removed);
    keywords.Union(result);
}
