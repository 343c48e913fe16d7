#include "index/keyword_rules.h"

#include <cstdio>

#include "framework/ansi_case.h"

namespace {

const char kWhiteSpace[] = " \t\r\n\v\f";

// The length of the longest start of `name` for which `fits` holds, by halving (a longer start never
// fits when a shorter one does not).
size_t LongestFittingStart(const std::string& name, const std::function<bool(const std::string&)>& fits)
{
    size_t low = 0;
    size_t high = name.size();
    while (low < high) {
        size_t middle = (low + high + 1) / 2;
        if (fits(name.substr(0, middle)))
            low = middle;
        else
            high = middle - 1;
    }
    return low;
}

}  // namespace

std::string TrimName(const std::string& text)
{
    size_t first = text.find_first_not_of(kWhiteSpace);
    if (first == std::string::npos)
        return std::string();
    size_t last = text.find_last_not_of(kWhiteSpace);
    return text.substr(first, last - first + 1);
}

std::string KeywordListLineName(const std::string& line)
{
    std::string name = TrimName(line);
    size_t tab = name.find('\t');
    if (tab != std::string::npos)
        name = TrimName(name.substr(0, tab));
    return name;
}

KeywordNameProblem CheckKeywordRename(const std::string& typed, int32_t self,
                                      const std::function<int32_t(const std::string&)>& find,
                                      std::string& trimmed)
{
    trimmed = TrimName(typed);
    if (trimmed.empty())
        return KeywordNameProblem::kBlank;
    int32_t other = find(trimmed);
    if (other != kNoneId && other != self)
        return KeywordNameProblem::kTaken;
    return KeywordNameProblem::kNone;
}

bool IsGroupNameTaken(const std::string& name, int32_t found, int32_t groupId, const std::string& storedName)
{
    if (found < 0)
        return false;
    if (groupId < 0)
        return true;
    if (AnsiCompareNoCase(name.c_str(), storedName.c_str()) == 0)
        return false;
    return found != groupId;
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

std::string DeleteListCount(long count)
{
    char text[32];
    std::snprintf(text, sizeof text, "%10ld", count);
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
    if (fits(name))
        return name;
    return name.substr(0, LongestFittingStart(name, fits)) + "...";
}

std::string CutNameWithEllipsis(const std::string& name, const std::function<bool(const std::string&)>& fits)
{
    if (fits(name))
        return name;
    auto fitsWithEllipsis = [&fits](const std::string& start) { return fits(start + "..."); };
    return name.substr(0, LongestFittingStart(name, fitsWithEllipsis)) + "...";
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

void CKeywordListParser::EndLine(std::vector<std::string>& names)
{
    std::string name = KeywordListLineName(m_line);
    if (!name.empty())
        names.push_back(std::move(name));
    m_line.clear();
    m_cut = false;
}

void CKeywordListParser::Feed(const char* data, size_t size, std::vector<std::string>& names)
{
    for (size_t i = 0; i < size; ++i) {
        char c = data[i];
        if (c == '\n') {
            if (!m_afterCr)
                EndLine(names);
            m_afterCr = false;
            continue;
        }
        m_afterCr = c == '\r';
        if (m_afterCr) {
            EndLine(names);
            continue;
        }
        if (c == '\0')
            m_cut = true;
        else if (!m_cut)
            m_line.push_back(c);
    }
}

void CKeywordListParser::Finish(std::vector<std::string>& names)
{
    if (!m_line.empty())
        EndLine(names);
    m_afterCr = false;
    m_cut = false;
}
