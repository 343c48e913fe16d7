// Natively: the upper-case letters of Windows-1252 fold to their lower-case partners; everything
// else compares by byte value.
#include "framework/ansi_case.h"

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
