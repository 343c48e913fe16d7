#include "article/address_look.h"

#include <algorithm>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\0';
}

// A character a word around a position may hold.
bool IsWordChar(char c)
{
    return !IsBlank(c) && c != '<' && c != '>';
}

// Letters and digits: ASCII ones and the letters of the upper half of the code page.
bool IsLetterOrDigit(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u >= 0xC0;
}

void AddChange(std::vector<AddressLookChange>& changes, int32_t start, int32_t end, bool add)
{
    if (end > start) changes.push_back({start, end, add});
}

}  // namespace

bool IPositionText::IsLineStart(int32_t position) const
{
    if (position <= 0) return true;
    const char c = CharAt(position - 1);
    return c == '\r' || c == '\n' || c == '\v';
}

// ---- Stored links ----

CLinkSpans::CLinkSpans(const CLinkRangeList& links)
{
    m_spans.reserve(static_cast<size_t>(links.GetCount()));
    for (int i = 0; i < links.GetCount(); ++i) {
        const LinkRange& link = *links.Item(i);
        if (link.end > link.start) m_spans.push_back({link.start, link.end});
    }
    // Stored lists are sorted already; a list in another order costs one sort here.
    auto byStart = [](const TextSpan& a, const TextSpan& b) { return a.start < b.start; };
    if (!std::is_sorted(m_spans.begin(), m_spans.end(), byStart)) std::stable_sort(m_spans.begin(), m_spans.end(), byStart);
    m_maxEnd.resize(m_spans.size());
    int32_t maxEnd = INT32_MIN;
    for (size_t i = 0; i < m_spans.size(); ++i) m_maxEnd[i] = maxEnd = std::max(maxEnd, m_spans[i].end);
}

const TextSpan* CLinkSpans::Containing(int32_t position) const
{
    auto after = std::upper_bound(m_spans.begin(), m_spans.end(), position,
                                  [](int32_t p, const TextSpan& s) { return p < s.start; });
    for (size_t i = static_cast<size_t>(after - m_spans.begin()); i-- > 0;) {
        if (m_maxEnd[i] <= position) break;
        if (m_spans[i].end > position) return &m_spans[i];
    }
    return nullptr;
}

const TextSpan* CLinkSpans::NextAfter(int32_t position) const
{
    auto after = std::upper_bound(m_spans.begin(), m_spans.end(), position,
                                  [](int32_t p, const TextSpan& s) { return p < s.start; });
    return after == m_spans.end() ? nullptr : &*after;
}

const TextSpan* CLinkSpans::LastBefore(int32_t position) const
{
    auto at = std::lower_bound(m_spans.begin(), m_spans.end(), position,
                               [](const TextSpan& s, int32_t p) { return s.start < p; });
    const TextSpan* best = nullptr;
    for (size_t i = static_cast<size_t>(at - m_spans.begin()); i-- > 0;) {
        if (m_spans[i].end <= position && (!best || m_spans[i].end > best->end)) best = &m_spans[i];
        if (best && m_maxEnd[i] <= best->end) break;
    }
    return best;
}

// ---- Words ----

TextSpan NextScanWord(const IPositionText& text, const CLinkSpans& links, int32_t from)
{
    const int32_t n = text.Length();
    int32_t p = std::max<int32_t>(from, 0);
    for (;;) {
        while (p < n && IsBlank(text.CharAt(p))) ++p;
        const TextSpan* link = p < n ? links.Containing(p) : nullptr;
        if (!link) break;
        p = link->end;
    }
    if (p >= n) return {n, n};
    const TextSpan* next = links.NextAfter(p);
    const int32_t limit = next ? std::min(next->start, n) : n;
    const int32_t start = p;
    while (p < limit && !IsBlank(text.CharAt(p))) ++p;
    return {start, p};
}

TextSpan WordAround(const IPositionText& text, const CLinkSpans& links, int32_t position)
{
    const int32_t n = text.Length();
    if (position < 0 || position > n) return {position, position};
    const int32_t anchor = position < n && IsWordChar(text.CharAt(position)) ? position : position - 1;
    if (anchor < 0 || anchor >= n || !IsWordChar(text.CharAt(anchor)) || links.Containing(anchor))
        return {position, position};
    const TextSpan* before = links.LastBefore(anchor);
    const TextSpan* after = links.NextAfter(anchor);
    const int32_t low = before ? before->end : 0;
    const int32_t high = after ? std::min(after->start, n) : n;
    int32_t start = anchor;
    while (start > low && IsWordChar(text.CharAt(start - 1))) --start;
    int32_t end = anchor + 1;
    while (end < high && IsWordChar(text.CharAt(end))) ++end;
    while (start < end && !IsLetterOrDigit(text.CharAt(start))) ++start;
    return {start, end};
}

AddressMatch FindAddressInWord(const CLinkFinder& finder, const IPositionText& text, TextSpan word, int32_t from)
{
    AddressMatch match;
    from = std::max(from, word.start);
    match.consumedTo = word.end;
    if (from >= word.end) return match;
    std::string chars(static_cast<size_t>(word.end - from), '\0');
    for (int32_t p = from; p < word.end; ++p) chars[static_cast<size_t>(p - from)] = text.CharAt(p);
    LinkMatch found;
    match.kind = finder.FindLink(chars, 0, static_cast<int>(chars.size()), found);
    if (match.kind == CLinkFinder::kNone) {
        match.consumedTo = from + found.linkOffset;
        return match;
    }
    match.start = from + found.linkStart;
    match.end = from + found.linkEnd;
    match.consumedTo = match.end;
    return match;
}

void PlanAddressLooks(const CLinkFinder& finder, const IPositionText& text, const CLinkRangeList& links,
                      int32_t from, int32_t to, bool clearGaps, std::vector<AddressLookChange>& changes)
{
    const CLinkSpans spans(links);
    const int32_t n = text.Length();
    from = std::clamp<int32_t>(from, 0, n);
    to = std::clamp<int32_t>(to, from, n);
    int32_t gap = from;  // the first position the look has not been settled on
    int32_t scanned = to;
    for (int32_t p = from; p < n;) {
        const TextSpan word = NextScanWord(text, spans, p);
        if (word.start == word.end) break;
        if (word.start > to || (word.start == to && to > from)) break;
        for (int32_t q = word.start; q < word.end;) {
            const AddressMatch match = FindAddressInWord(finder, text, word, q);
            if (match.kind == CLinkFinder::kNone) break;
            if (clearGaps) AddChange(changes, gap, match.start, false);
            // The look goes on the match except on stored links' characters.
            for (int32_t c = match.start; c < match.end;) {
                if (const TextSpan* link = spans.Containing(c)) {
                    c = link->end;
                    continue;
                }
                const TextSpan* next = spans.NextAfter(c);
                const int32_t stop = next && next->start < match.end ? next->start : match.end;
                AddChange(changes, c, stop, true);
                c = stop;
            }
            gap = std::max(gap, match.end);
            q = match.consumedTo > q ? match.consumedTo : q + 1;
        }
        scanned = std::max(scanned, word.end);
        p = word.end;
    }
    if (clearGaps) AddChange(changes, gap, scanned, false);
}

TextSpan WidenToBlanks(const IPositionText& text, int32_t from, int32_t to)
{
    const int32_t n = text.Length();
    int32_t start = std::clamp<int32_t>(std::min(from, to), 0, n);
    int32_t end = std::clamp<int32_t>(std::max(from, to), 0, n);
    while (start > 0 && !IsBlank(text.CharAt(start - 1))) --start;
    while (end < n && !IsBlank(text.CharAt(end))) ++end;
    return {start, end};
}

std::vector<TextSpan> AddressRuns(IRunLooks& looks, int32_t from, int32_t to)
{
    std::vector<TextSpan> runs;
    for (int32_t p = from; p < to;) {
        RunLook look = looks.Look(p, to);
        int32_t end = to;
        if (!look.uniform) {
            // [p, good) is known uniform, [p, bad) is not; one character always is.
            int32_t good = p + 1;
            int32_t bad = to;
            bool goodKnown = false;
            while (bad - good > 1) {
                const int32_t mid = good + (bad - good) / 2;
                const RunLook probe = looks.Look(p, mid);
                if (probe.uniform) {
                    good = mid;
                    look = probe;
                    goodKnown = true;
                } else {
                    bad = mid;
                }
            }
            if (!goodKnown) look = looks.Look(p, good);
            end = good;
        }
        if (look.address) {
            if (!runs.empty() && runs.back().end == p)
                runs.back().end = end;
            else
                runs.push_back({p, end});
        }
        p = end;
    }
    return runs;
}

// ---- Typing ----

void CAddressTracker::Examine(const CLinkFinder& finder, const IPositionText& text, const CLinkRangeList& links,
                              TextSpan word, std::vector<AddressLookChange>& changes)
{
    if (word.end <= word.start) return;
    State& s = m_state;
    // The looks of the tracked word are known; a word that reaches past it and past what was just
    // typed (two words joined by a deleted blank) is formatted afresh.
    const int32_t knownStart = m_typed.end > m_typed.start ? std::min(s.wordStart, m_typed.start) : s.wordStart;
    const int32_t knownEnd = m_typed.end > m_typed.start ? std::max(s.wordEnd, m_typed.end) : s.wordEnd;
    const bool overlaps = s.wordEnd > s.wordStart && word.start < s.wordEnd && s.wordStart < word.end &&
                          word.start >= knownStart && word.end <= knownEnd;
    if (overlaps) {
        const AddressMatch match = FindAddressInWord(finder, text, word, word.start);
        if (match.kind != CLinkFinder::kNone) {
            const int32_t e = match.start, f = match.end;
            if (s.lookEnd > s.lookStart) {
                // The look moves from the old span to the match: what lies outside the match loses it,
                // what the old span did not cover gains it.
                AddChange(changes, s.lookStart, std::min(s.lookEnd, e), false);
                AddChange(changes, std::max(s.lookStart, f), s.lookEnd, false);
                AddChange(changes, e, std::min(f, s.lookStart), true);
                AddChange(changes, std::max(e, s.lookEnd), f, true);
            } else {
                AddChange(changes, e, f, true);
            }
            // A character typed behind an address takes its look from the one before; when it
            // does not belong to the address (a final full stop), it loses it.
            AddChange(changes, f, word.end, false);
            s.lookStart = e;
            s.lookEnd = f;
        } else {
            AddChange(changes, s.lookStart, s.lookEnd, false);
            s.lookStart = s.lookEnd = 0;
            if (text.IsLineStart(word.start)) AddChange(changes, word.start, word.start + 1, false);
        }
    } else {
        PlanAddressLooks(finder, text, links, word.start, word.end, true, changes);
        const AddressMatch match = FindAddressInWord(finder, text, word, word.start);
        s.lookStart = match.kind != CLinkFinder::kNone ? match.start : 0;
        s.lookEnd = match.kind != CLinkFinder::kNone ? match.end : 0;
    }
    s.wordStart = word.start;
    s.wordEnd = word.end;
}

void CAddressTracker::AfterKeystroke(const CLinkFinder& finder, const IPositionText& text,
                                     const CLinkRangeList& links, int32_t oldCaret, int32_t newCaret, int32_t delta,
                                     std::vector<AddressLookChange>& changes)
{
    State& s = m_state;
    const int32_t q = oldCaret;
    if (delta > 0) {
        for (int32_t* start : {&s.wordStart, &s.lookStart})
            if (*start >= q) *start += delta;
        for (int32_t* end : {&s.wordEnd, &s.lookEnd})
            if (*end > q) *end += delta;
    } else if (delta < 0) {
        const int32_t removedAt = std::min(oldCaret, newCaret);
        for (int32_t* p : {&s.wordStart, &s.wordEnd, &s.lookStart, &s.lookEnd})
            if (*p > removedAt) *p = std::max(removedAt, *p + delta);
    }
    if (s.wordEnd <= s.wordStart) s.wordStart = s.wordEnd = 0;
    if (s.lookEnd <= s.lookStart) s.lookStart = s.lookEnd = 0;

    const CLinkSpans spans(links);
    m_typed = delta > 0 ? TextSpan{q, q + delta} : TextSpan{};
    if (delta > 0) {
        if (!IsWordChar(text.CharAt(q))) {
            // A blank, '<' or '>' typed: it takes no address look, and the words on both sides of
            // it are examined.
            AddChange(changes, q, q + delta, false);
            if (q > 0) Examine(finder, text, links, WordAround(text, spans, q - 1), changes);
            Examine(finder, text, links, WordAround(text, spans, newCaret), changes);
        } else {
            const TextSpan word = WordAround(text, spans, q);
            if (q < word.start && text.IsLineStart(q)) AddChange(changes, q, q + 1, false);
            Examine(finder, text, links, word, changes);
            if (text.IsLineStart(newCaret)) Examine(finder, text, links, WordAround(text, spans, newCaret), changes);
        }
    } else if (delta < 0) {
        if (q > 0) Examine(finder, text, links, WordAround(text, spans, q - 1), changes);
        Examine(finder, text, links, WordAround(text, spans, newCaret), changes);
    }
}

// ---- Double-click on a quoted path ----

std::string QuotedPathAround(const IPositionText& text, int32_t position, TextSpan* quoted)
{
    const int32_t n = text.Length();
    int32_t start = std::clamp<int32_t>(position, 0, n);
    while (start > 0 && !IsBlank(text.CharAt(start - 1)) && text.CharAt(start - 1) != '<') --start;
    auto lineEnd = [&](int32_t p) {
        const char c = text.CharAt(p);
        return p >= n || c == '\r' || c == '\n' || c == '\v';
    };
    int32_t open = start;
    while (!lineEnd(open) && text.CharAt(open) != '"') ++open;
    if (lineEnd(open)) return std::string();
    int32_t close = open + 1;
    while (!lineEnd(close) && text.CharAt(close) != '"') ++close;
    if (lineEnd(close)) return std::string();
    int32_t first = open + 1, last = close;
    while (first < last && IsBlank(text.CharAt(first))) ++first;
    while (last > first && IsBlank(text.CharAt(last - 1))) --last;
    std::string path;
    for (int32_t p = first; p < last; ++p) path += text.CharAt(p);
    if (quoted && !path.empty()) *quoted = {start, close + 1};
    return path;
}

std::string QuotedFileAddress(const std::string& path)
{
    return "file://\"" + path + "\"";
}
