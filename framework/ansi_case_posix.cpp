// Natively: the upper-case letters of Windows-1252 fold to their lower-case partners; everything
// else compares by byte value.
#include "framework/ansi_case.h"

#include <cstring>

namespace {

unsigned char LowerOf(unsigned char c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return static_cast<unsigned char>(c + 0x20);
    switch (c) {
    case 0x8A:  // S caron
    case 0x8C:  // OE
    case 0x8E:  // Z caron
        return static_cast<unsigned char>(c + 0x10);
    case 0x9F:  // Y diaeresis
        return 0xFF;
    default:
        return c;
    }
}

}  // namespace

void AnsiLowerBuffer(char* text, size_t length)
{
    for (size_t i = 0; i < length; ++i)
        text[i] = static_cast<char>(LowerOf(static_cast<unsigned char>(text[i])));
}

int AnsiCompareNoCase(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        unsigned char x = LowerOf(static_cast<unsigned char>(*a));
        unsigned char y = LowerOf(static_cast<unsigned char>(*b));
        if (x != y)
            return x < y ? -1 : 1;
        if (x == 0)
            return 0;
    }
}

int AnsiCompare(const char* a, const char* b)
{
    int folded = AnsiCompareNoCase(a, b);
    if (folded != 0)
        return folded;
    for (; *a; ++a, ++b) {
        if (*a != *b)
            return LowerOf(static_cast<unsigned char>(*a)) == static_cast<unsigned char>(*a) ? -1 : 1;
    }
    return 0;
}

// The folded text, a NUL, then one byte per character: 1 for a character that folding leaves as it
// is, 2 for an upper-case letter. Folded texts that differ decide at their first difference (or at
// the NUL of the shorter one), as AnsiCompareNoCase does; equal folded texts have equal lengths and
// the first differing case byte puts the lower-case letter first, as AnsiCompare does. Folding is
// one to one on the upper-case letters, so equal keys are equal texts.
void AppendAnsiSortKey(const char* text, std::string& key)
{
    size_t length = std::strlen(text);
    size_t start = key.size();
    key.resize(start + 2 * length + 1);
    char* folded = &key[start];
    char* cases = folded + length + 1;
    for (size_t i = 0; i < length; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        unsigned char lower = LowerOf(c);
        folded[i] = static_cast<char>(lower);
        cases[i] = lower == c ? 1 : 2;
    }
    folded[length] = 0;
}
