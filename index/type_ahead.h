// Type-ahead in the program's lists: typed characters build a prefix that selects the next item whose
// text begins with it (without regard to case). More than 1000 ms without a key starts a new prefix,
// Esc empties it, and the same letter twice steps to the next item that begins with that letter.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

class CTypeAhead {
public:
    enum : uint32_t { kPauseMs = 1000 };
    enum : char { kEscape = 27 };

    explicit CTypeAhead(uint32_t now = 0) : m_lastKey(now) {}

    // The item of the list that the key `c`, typed at tick `now`, selects; -1 when none matched (also
    // for Esc). `start` says where the search begins (below), `count` is the number of items and
    // `textOf` gives an item's text, valid until its next call (nullptr when it cannot be read). A
    // key only looks at as many characters of each text as the prefix has, with no copy. A long list
    // also gives `initials`: FoldInitial of each item's text, in display order, so that a key reads
    // only the texts that begin with the prefix's first letter (a key that matches nothing costs one
    // pass over a byte array).
    struct List {
        int count = 0;
        int caret = -1;          // the caret item
        bool anyHighlighted = false;
        std::function<const char*(int index)> textOf;
        const unsigned char* initials = nullptr;  // count bytes, or null
    };
    int OnChar(char c, uint32_t now, const List& list);

    // The first character of `text` folded as the search folds it (0 for an empty or unreadable text).
    static unsigned char FoldInitial(const char* text);

    // The next key starts a new prefix.
    void Reset(uint32_t now) { m_lastKey = now - kPauseMs; }
    const std::string& Prefix() const { return m_prefix; }

    // The first item from the search start (the caret item, or the item after it for a prefix of one
    // character; item 0 when nothing is highlighted), wrapping round once, whose text begins
    // with `prefix` without regard to case; -1 for none.
    static int Find(const std::string& prefix, const List& list);

private:
    std::string m_prefix;
    uint32_t m_lastKey;
};
