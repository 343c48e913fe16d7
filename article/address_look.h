// Recognised addresses in article text. Besides the stored links, the article pane gives Internet
// addresses, e-mail addresses and file addresses that the link finder recognises a look of their own
// (blue, underlined), without storing anything: over a range of text (`PlanAddressLooks`), and while
// the user types, word by word (`CAddressTracker`). Window-free: the pane hands in its text through
// `IPositionText` and carries out the look changes these return.
//
// Words. A word is a run of characters that are not white space. Scanning forward, a word also ends
// where a stored link begins, and a stored link's text is skipped as a whole. The word around a
// position (typing, hover, double-click) is also bounded by '<' and '>' and by the nearest stored
// links on either side, and loses the leading characters that are neither letters nor digits.
//
// Positions are the rich edit's character positions: a paragraph break counts one.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "article/link_protection.h"
#include "shell/link_finder.h"
#include "storage/link_range_list.h"

// The text as positions see it.
class IPositionText {
public:
    virtual ~IPositionText() = default;
    virtual int32_t Length() const = 0;
    // The character at `position`; '\0' outside the text.
    virtual char CharAt(int32_t position) const = 0;
    // `position` begins a line (the text's start, or just after a line break).
    virtual bool IsLineStart(int32_t position) const;
};

// A string whose every byte is one position (paragraph breaks as a single "\r").
class CStringPositionText : public IPositionText {
public:
    explicit CStringPositionText(const std::string& text) : m_text(text) {}
    int32_t Length() const override { return static_cast<int32_t>(m_text.size()); }
    char CharAt(int32_t position) const override
    {
        return position >= 0 && position < Length() ? m_text[static_cast<size_t>(position)] : '\0';
    }

private:
    const std::string& m_text;
};

// One change of look the pane carries out.
struct AddressLookChange {
    int32_t start = 0;
    int32_t end = 0;
    // true: the address look goes on [start, end); false: the characters of [start, end) that carry it
    // lose it (the others keep theirs).
    bool add = true;
};

// An address the link finder recognised in a word.
struct AddressMatch {
    int kind = CLinkFinder::kNone;
    int32_t start = 0;
    int32_t end = 0;
    // Where the finder stopped: the scan of a word goes on from here.
    int32_t consumedTo = 0;
};

// The stored links, sorted by start, for the word scans.
class CLinkSpans {
public:
    explicit CLinkSpans(const CLinkRangeList& links);
    // The link holding `position` (start <= position < end), or nullptr.
    const TextSpan* Containing(int32_t position) const;
    // The first link starting after `position`, or nullptr.
    const TextSpan* NextAfter(int32_t position) const;
    // The last link ending at or before `position`, or nullptr.
    const TextSpan* LastBefore(int32_t position) const;

private:
    std::vector<TextSpan> m_spans;  // by start
    std::vector<int32_t> m_maxEnd;  // greatest end among spans [0, i]
};

// The next word of a forward scan from `from`: blanks and stored links before it are skipped, and it
// ends at a blank or where a stored link begins. Empty (start == end) when the text ends first.
TextSpan NextScanWord(const IPositionText& text, const CLinkSpans& links, int32_t from);

// The word around `position`: the run holding the character at `position`, or, when that one is a
// blank or lies past the text, the run ending just before it. Empty when there is none.
TextSpan WordAround(const IPositionText& text, const CLinkSpans& links, int32_t position);

// The first address in `word` at or after `from` (kind 0 when none).
AddressMatch FindAddressInWord(const CLinkFinder& finder, const IPositionText& text, TextSpan word,
                               int32_t from);

// The look changes that put the address look on every recognised address of [from, to), never on
// a stored link's characters. With `clearGaps` the look also comes off the characters between them.
void PlanAddressLooks(const CLinkFinder& finder, const IPositionText& text, const CLinkRangeList& links,
                      int32_t from, int32_t to, bool clearGaps, std::vector<AddressLookChange>& changes);

// The range a refresh after an edit of [from, to) covers: widened outwards to the nearest blank.
TextSpan WidenToBlanks(const IPositionText& text, int32_t from, int32_t to);

// How one character's look compares over a run: the pane reads the format of [start, end) once.
struct RunLook {
    bool uniform = true;   // colour and underline are the same over the whole run
    bool address = false;  // and they are the address look
};
class IRunLooks {
public:
    virtual ~IRunLooks() = default;
    virtual RunLook Look(int32_t start, int32_t end) = 0;
};
// The runs of [from, to) that carry the address look: each found as the longest uniform run from its
// start (binary search), so a range of one look costs one question.
std::vector<TextSpan> AddressRuns(IRunLooks& looks, int32_t from, int32_t to);

// Following the address at the caret while the user types.
class CAddressTracker {
public:
    struct State {
        int32_t wordStart = 0, wordEnd = 0;  // the word at the caret
        int32_t lookStart = 0, lookEnd = 0;  // the address look last applied there (0, 0: none)
    };

    const State& GetState() const { return m_state; }
    void Reset() { m_state = State(); }
    // After a whole-range pass the look positions no longer name anything particular.
    void ForgetLook() { m_state.lookStart = m_state.lookEnd = 0; }

    // After a keystroke changed the text by `delta` characters (positive: inserted, negative: removed)
    // with the caret at `oldCaret` before and `newCaret` after. Appends the look changes.
    void AfterKeystroke(const CLinkFinder& finder, const IPositionText& text, const CLinkRangeList& links,
                        int32_t oldCaret, int32_t newCaret, int32_t delta, std::vector<AddressLookChange>& changes);

private:
    void Examine(const CLinkFinder& finder, const IPositionText& text, const CLinkRangeList& links, TextSpan word,
                 std::vector<AddressLookChange>& changes);
    State m_state;
    TextSpan m_typed;  // what the keystroke inserted
};

// The quoted path of a "file://" address with a double quote after it (kind 11) around `position`:
// scanning back to a blank, '<' or the text's start, then taking the characters between the first
// and the second double quote after that, trimmed of blanks. "" when there is none.
std::string QuotedPathAround(const IPositionText& text, int32_t position, TextSpan* quoted = nullptr);
// The text a file path becomes as an address: "file://" with the path in double quotes.
std::string QuotedFileAddress(const std::string& path);
