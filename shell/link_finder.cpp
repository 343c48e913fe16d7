#include "shell/link_finder.h"

#include <algorithm>
#include <new>
#include <vector>

#include "storage/link_target.h"

namespace {

// The prefix trie as a flat list of transitions grouped by state, ended by state -1. An accepting
// transition names the link kind in `next`, any other the state it leads to. State 0 is the start;
// state 49, the plain word, only accepts "@" (an e-mail address).
struct TrieEntry {
    int32_t state;
    char c;
    int32_t accept;
    int32_t next;
};

constexpr int32_t kStartState = 0;
constexpr int32_t kPlainWordState = 49;

struct Prefix {
    const char* text;
    int kind;
};
constexpr Prefix kPrefixes[] = {
    {"ftp://", CLinkFinder::kFtp},    {"gopher://", CLinkFinder::kGopher}, {"http://", CLinkFinder::kHttp},
    {"mailto:", CLinkFinder::kMailto}, {"news:", CLinkFinder::kNews},      {"file://", CLinkFinder::kFile},
    {"telnet://", CLinkFinder::kTelnet}, {"https://", CLinkFinder::kHttps}, {"www.", CLinkFinder::kWww},
};

class CPrefixTrie {
public:
    CPrefixTrie()
    {
        int32_t states = 1;
        for (const Prefix& prefix : kPrefixes) {
            int32_t state = kStartState;
            for (const char* p = prefix.text; *p; ++p) {
                const bool last = p[1] == '\0';
                TrieEntry* found = nullptr;
                for (TrieEntry& e : m_entries)
                    if (e.state == state && e.c == *p && !e.accept) found = &e;
                if (last) {
                    m_entries.push_back({state, *p, 1, prefix.kind});
                } else if (found) {
                    state = found->next;
                } else {
                    m_entries.push_back({state, *p, 0, states});
                    state = states++;
                }
            }
        }
        // The prefixes above use states 0 to 48; the plain word comes after them.
        m_entries.push_back({states, '@', 1, CLinkFinder::kEmail});
        m_plainWord = states;
        std::stable_sort(m_entries.begin(), m_entries.end(),
                         [](const TrieEntry& a, const TrieEntry& b) { return a.state < b.state; });
        m_entries.push_back({-1, 0, 0, 0});
        m_first.assign(static_cast<size_t>(states) + 1, -1);
        for (size_t i = m_entries.size() - 1; i-- > 0;)
            m_first[static_cast<size_t>(m_entries[i].state)] = static_cast<int32_t>(i);
    }

    int32_t PlainWord() const { return m_plainWord; }

    // The transition of `state` on `c`, or nullptr.
    const TrieEntry* Find(int32_t state, char c) const
    {
        if (state < 0 || static_cast<size_t>(state) >= m_first.size() || m_first[static_cast<size_t>(state)] < 0)
            return nullptr;
        for (size_t i = static_cast<size_t>(m_first[static_cast<size_t>(state)]); m_entries[i].state == state; ++i)
            if (m_entries[i].c == c) return &m_entries[i];
        return nullptr;
    }

private:
    std::vector<TrieEntry> m_entries;
    std::vector<int32_t> m_first;  // index of each state's first transition
    int32_t m_plainWord = kPlainWordState;
};

const CPrefixTrie& Trie()
{
    static const CPrefixTrie trie;
    return trie;
}

// ASCII only: bytes above 127 are neither letters nor white space here, whatever the locale says.
char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
bool IsAsciiAlnum(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}
bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

}  // namespace

CLinkFinder::CLinkFinder()
{
    Trie();
}

int CLinkFinder::FindLink(const std::string& text, int start, int length, LinkMatch& match) const
{
    return FindLink(text.data(), text.size(), start, length, match);
}

int CLinkFinder::FindLink(const char* text, size_t textSize, int start, int length, LinkMatch& match) const
{
    match = LinkMatch();
    if (start < 0) start = 0;
    match.scanStart = start;
    if (static_cast<size_t>(start) >= textSize || length <= 0)
        return kNone;
    const int end = static_cast<int>(std::min<size_t>(static_cast<size_t>(start) + static_cast<size_t>(length), textSize));

    const CPrefixTrie& trie = Trie();
    int32_t state = kStartState;
    int kind = kNone;
    int candStart = start;
    int candLength = 0;
    bool inWord = false;
    bool hasBody = false;
    int i = start;
    for (; i < end; ++i) {
        const char c = LowerAscii(text[i]);
        if (c == '<' || c == '"') {
            if (kind == kNone) {
                state = kStartState;
                continue;
            }
            if (kind == kFile && c == '"' && candLength < 8) {
                ++candLength;
                kind = kQuotedFile;
                hasBody = true;
                continue;
            }
            break;
        }
        if (c == '=' && kind == kNone) {
            state = kStartState;
            continue;
        }
        if (IsSpace(c) || c == '>') {
            if (kind != kNone) break;
            state = kStartState;
            inWord = false;
            continue;
        }
        if (inWord || IsAsciiAlnum(c) || c == '@' || state == trie.PlainWord()) {
            if (kind != kNone) {
                hasBody = true;
                ++candLength;
                continue;
            }
            if (state == kStartState) {
                candStart = i;
                candLength = 0;
                hasBody = false;
            }
            if (const TrieEntry* e = trie.Find(state, c)) {
                if (e->accept)
                    kind = e->next;
                else
                    state = e->next;
                inWord = true;
            } else if (c == '@' && candLength > 0) {
                kind = kEmail;
                inWord = true;
            } else {
                state = trie.PlainWord();
                inWord = false;
            }
            ++candLength;
            continue;
        }
        state = kStartState;
    }

    const int scanned = i - start;
    if (kind == kNone) {
        match.linkOffset = scanned;
        return kNone;
    }
    if (!hasBody) candLength = 0;
    if (kind != kQuotedFile)
        while (candLength > 0 && !IsLinkEndChar(text[candStart + candLength - 1]))
            --candLength;
    if (candLength == 0) {
        match.linkOffset = scanned;
        return kNone;
    }
    match.linkStart = candStart;
    match.linkOffset = candStart - start;
    match.linkLength = candLength;
    match.linkEnd = candStart + candLength;
    match.rest = end - match.linkEnd;
    return kind;
}

int CLinkFinder::ExtractLink(const std::string& text, std::string& link, int& start, int& length) const
{
    LinkMatch match;
    const int kind = FindLink(text, 0, static_cast<int>(std::min<size_t>(text.size(), 0x7FFFFFFF)), match);
    link.clear();
    if (kind == kNone)
        return kNone;
    try {
        link = text.substr(static_cast<size_t>(match.linkStart), static_cast<size_t>(match.linkLength));
        if (kind == kEmail) link.insert(0, "mailto:");
    } catch (const std::bad_alloc&) {
        return kind;
    }
    start = match.linkStart;
    length = match.linkLength;
    return kind;
}

int CLinkFinder::ExtractLinkAllowingSpaces(const std::string& text, std::string& link, int& start,
                                           int& length) const
{
    std::string copy;
    copy.reserve(text.size());
    for (char c : text) {
        if (c == ' ')
            copy += "%20";
        else
            copy += c;
    }
    return ExtractLink(copy, link, start, length);
}

bool CLinkFinder::IsWwwPrefix(const std::string& text)
{
    static const char kWww[] = "www.";
    if (text.size() < 4) return false;
    for (size_t i = 0; i < 4; ++i)
        if (LowerAscii(text[i]) != kWww[i]) return false;
    return true;
}

bool CLinkFinder::IsLinkEndChar(char c)
{
    return IsAsciiAlnum(c) || c == '#' || c == '/' || c == '~';
}

void CLinkFinder::OpenLink(const std::string& address)
{
    CLinkTarget target;
    target.Set(CLinkTarget::kInternet, address);
    target.Open(false, 0);
}
