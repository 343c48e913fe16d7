// The hypertext links of an article's content: ranges of character positions, each with the link's
// kind, three values and its target text. The list follows edits of the text (Shift, RemoveRange) and is
// stored with the article.
//
// Stored form, after the article's information block (little-endian):
//   int32   count
//   per range:
//     int32   start
//     int32   end
//     int16   type (link kind: 1 file or folder, 2 Internet address, 3 article)
//     int32   target article (kind 3), -1 when absent
//     int32   value B, -1 when absent
//     int32   value C, -1 when absent
//     packed  target string, in the article's packed-field mode
// The list is sorted by start before it is written.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class CRecordStream;

struct LinkRange {
    int32_t start = 0;
    int32_t end = 0;  // the position after (or at) the end of the link text, as the editor sets it
    int16_t type = 0;
    // For an article link, the target article's id; -1 when absent or when the target is not in this
    // knowledge base.
    int32_t targetArticle = -1;
    int32_t valueB = -1;  // kept, copied and stored unchanged for the article content
    int32_t valueC = -1;
    std::string target;
};


class CLinkRangeList {
public:
    CLinkRangeList() = default;
    CLinkRangeList(const CLinkRangeList&) = default;
    CLinkRangeList& operator=(const CLinkRangeList&) = default;
    virtual ~CLinkRangeList() = default;

    int GetCount() const { return static_cast<int>(m_ranges.size()); }
    // False and `range` unchanged for an index outside the list.
    bool GetAt(int i, LinkRange& range) const;
    // Range i without a copy, or nullptr out of range; valid until the list changes.
    const LinkRange* Item(int i) const
    {
        return i >= 0 && i < GetCount() ? &m_ranges[static_cast<size_t>(i)] : nullptr;
    }
    void SetAt(int i, const LinkRange& range);
    void Add(const LinkRange& range);  // a memory failure raises code 1
    void RemoveAt(int i);
    void RemoveAll() { m_ranges.clear(); }
    void Copy(const CLinkRangeList& other);

    // Deletes every range whose start lies in [from, to).
    void RemoveRange(int32_t from, int32_t to);
    // Adds delta to start and end of every range whose start is at or after position.
    void Shift(int32_t position, int32_t delta);

    // The first range in list order with start <= position <= end. Its start, end and index are reported
    // whenever one exists (index -1 when none); the result is false when there is none, or when it is
    // touched only at a start or end that is not allowed.
    bool FindAt(int32_t position, int32_t& start, int32_t& end, int& index, bool allowAtStart,
                bool allowAtEnd) const;
    // The first range with end >= from and start <= to; false when none, when to touches its start
    // and touching the start is not allowed, or when from touches its end and that is not allowed.
    bool FindOverlap(int32_t from, int32_t to, int32_t& start, int32_t& end, int& index,
                     bool allowTouchingStart, bool allowTouchingEnd) const;
    // direction >= 0: the range with the smallest start greater than position; direction < 0: the
    // range with the greatest end less than position. False when there is none.
    bool FindNext(int32_t position, int32_t& start, int32_t& end, int& index, int direction) const;
    // By start; ranges with equal starts keep their order.
    void Sort();

    // The stored form. WriteTo sorts the list first; packed targets use `mode`. ReadFrom replaces the list;
    // a negative count is corruption (code 5).
    void ReadFrom(CRecordStream& stream);
    void WriteTo(CRecordStream& stream, int mode);


private:
    std::vector<LinkRange> m_ranges;
};
