#include "index/type_ahead.h"

#include "framework/ansi_case.h"

unsigned char CTypeAhead::FoldInitial(const char* text)
{
    return text ? AnsiLowerTable()[static_cast<unsigned char>(text[0])] : 0;
}

int CTypeAhead::Find(const std::string& prefix, const List& list)
{
    if (list.count <= 0 || prefix.empty() || !list.textOf)
        return -1;
    const unsigned char* lower = AnsiLowerTable();
    std::string wanted = prefix;
    for (char& c : wanted)
        c = static_cast<char>(lower[static_cast<unsigned char>(c)]);
    int start = 0;
    if (list.anyHighlighted && list.caret >= 0 && list.caret < list.count)
        start = prefix.size() < 2 ? (list.caret + 1) % list.count : list.caret;
    for (int visited = 0; visited < list.count; ++visited) {
        int index = (start + visited) % list.count;
        if (list.initials && list.initials[index] != static_cast<unsigned char>(wanted[0]))
            continue;
        const char* text = list.textOf(index);
        if (!text)
            continue;
        size_t i = 0;
        // A text shorter than the prefix stops at its terminator, which no prefix character matches.
        while (i < wanted.size() && lower[static_cast<unsigned char>(text[i])] == static_cast<unsigned char>(wanted[i]))
            ++i;
        if (i == wanted.size())
            return index;
    }
    return -1;
}

int CTypeAhead::OnChar(char c, uint32_t now, const List& list)
{
    if (now - m_lastKey > kPauseMs)
        m_prefix.clear();
    m_lastKey = now;
    if (c == kEscape) {
        m_prefix.clear();
        return -1;
    }
    m_prefix += c;
    int found = Find(m_prefix, list);
    if (found < 0 && m_prefix.size() == 2 && m_prefix[0] == c) {
        m_prefix.assign(1, c);
        found = Find(m_prefix, list);
    }
    return found;
}
