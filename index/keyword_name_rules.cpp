#include "index/keyword_name_rules.h"

#include <cstdio>

#include "framework/ansi_case.h"

namespace {
const char kWhiteSpace[] = " \t\r\n\v\f";
}

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

std::string DeleteListCount(int count)
{
    char text[32];
    std::snprintf(text, sizeof text, "%10d", count);
    std::string result(text);
    for (char& c : result) {
        if (c != ' ')
            break;
        c = '\t';
    }
    return result;
}

std::string FitNameToWidth(const std::string& name, int limit, const std::function<int(const std::string&)>& width)
{
    if (width(name) <= limit)
        return name;
    // The widths grow with the length, so the longest prefix that fits is found by halving.
    size_t lo = 0;
    size_t hi = name.size();
    while (lo < hi) {
        size_t mid = (lo + hi + 1) / 2;
        if (width(name.substr(0, mid)) <= limit)
            lo = mid;
        else
            hi = mid - 1;
    }
    return name.substr(0, lo) + "...";
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
