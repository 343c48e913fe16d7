// The tip file of the Tip of the Day dialog: quorvane.tod beside the program, read-only, one tip at a
// time. The program never writes it; resources/make_tips.py does at build time.
//
// All integers little-endian; offsets from the start of the file, or of the tip record (R).
//
// Header (offset 0, 12 bytes):
//   0   4  magic "QVTD", compared exactly (no terminator)
//   4   2  version, signed; above 100 the file is refused
//   6   2  tip count n, signed; a negative count reads as no tips
//   8   4  index offset
// Index: n unsigned 32-bit entries, entry i = R of tip i; 0x80000000 or more is unreadable.
// Tip record:
//   R+0  2  kind, unsigned: 0 an ordinary tip (the dialog shows only these)
//   R+2  2  header length H: the text length lies at R + H (a gap after the links is skipped)
//   R+4  2  link count k
//   R+6     k link records:  0 2 first character   2 2 last character (inclusive)
//                            4 2 link kind: 0 a shell target, else a help context number
//                            6 2 target length L   8 L target text
//   R+H  4  text length T
//   R+H+4 T the tip text, single-byte characters, ending at its first zero byte
//
// Untrusted input: the file ships beside the program but may be replaced or damaged. T and L are
// checked against the bytes the file still holds before anything is allocated or read; a text or
// target without a zero byte ends at its length; a link whose range does not lie inside the text is
// dropped; a read never goes past the bytes a field announces.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "framework/file.h"

struct TipLink {
    uint16_t first = 0;
    uint16_t last = 0;  // inclusive
    uint16_t kind = 0;  // 0: `target` opens through the shell; else `target` holds a help context number
    std::string target;

    bool operator==(const TipLink& o) const
    {
        return first == o.first && last == o.last && kind == o.kind && target == o.target;
    }
};

class CTipFile : public CFile {
public:
    static constexpr int kMaxVersion = 100;

    // Opens `path` read-only and checks its header; false (count 0, file closed) on any failure.
    bool Open(const std::string& path);
    int GetCount() const { return m_count; }
    // Index entry n, or -1 for n outside the tips or an unreadable entry.
    int64_t GetRecordOffset(int n);
    // The kind of tip n, or -1 when it cannot be read.
    int GetKind(int n);
    // Reads tip n whole: its kind, its links in file order and its text. False when the index entry
    // is invalid or a read fails; the outputs are then empty (kind 0).
    bool ReadTip(int n, int& kind, std::vector<TipLink>& links, std::string& text);
    // Closes, swallowing errors.
    void CloseQuietly();

private:
    // Reads exactly n bytes at the position; false at the end of the file.
    bool ReadExact(void* buffer, uint32_t n);
    bool ReadU16(uint16_t& value);
    bool ReadU32(uint32_t& value);
    // True when `n` bytes remain after the position.
    bool Holds(uint64_t n) const;

    uint32_t m_indexOffset = 0;
    int m_count = 0;
    uint64_t m_length = 0;
};

// The tip the dialog shows next, starting at `next` (the stored TipOfTheDay): tips of other kinds
// and unreadable ones are skipped, at most one pass over the file, wrapping to 0 outside the count.
// `next` becomes the tip after the last one tried. True when a tip was read into `links` and
// `text`; with no tips nothing changes.
bool ReadNextTip(CTipFile& file, int& next, std::vector<TipLink>& links, std::string& text);

// The help context number of a help link's target: decimal digits, or hexadecimal after an "x"
// ("257", "0x101" and "x101" are all 257); the first other character ends it, and so does a digit
// that would take it beyond 32 bits. 0 for an empty or non-numeric target.
uint32_t ParseHelpNumber(const std::string& target);
