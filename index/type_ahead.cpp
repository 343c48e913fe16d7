#include "index/type_ahead.h"

#include "framework/ansi_case.h"

namespace {

std::string Lowered(std::string text)
{
    if (!text.empty())
        AnsiLowerBuffer(&text[0], text.size());
    return text;
}

}  // namespace

int CTypeAhead::Find(const std::string& prefix, const List& list)
{
    if (list.count <= 0 || prefix.empty() || !list.textOf)
        return -1;
    std::string wanted = Lowered(prefix);
    int start = 0;
    if (list.anyHighlighted && list.caret >= 0 && list.caret < list.count)
        start = prefix.size() < 2 ? (list.caret + 1) % list.count : list.caret;
    for (int visited = 0; visited < list.count; ++visited) {
        int index = (start + visited) % list.count;
        std::string text = list.textOf(index);
        if (text.size() < wanted.size())
            continue;
        text.resize(wanted.size());
        if (Lowered(std::move(text)) == wanted)
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
