// Case folding and comparison of ANSI (Windows-1252) text: CharLowerBuffA, lstrcmpiA and lstrcmpA on
// Windows, the same letters of the code page natively.
#pragma once
#include <cstddef>
#include <cstring>
#include <string>

void AnsiLowerBuffer(char* text, size_t length);
// The lower-case partner of every byte as AnsiLowerBuffer folds it (byte 0 stays 0), folded once:
// folding through the system name by name costs a search over thousands of names more than the
// search itself.
const unsigned char* AnsiLowerTable();
// Negative, 0 or positive, as lstrcmpiA.
int AnsiCompareNoCase(const char* a, const char* b);
// Negative, 0 or positive, as lstrcmpA: letters compare alphabetically whatever their case, and only
// text that differs in case alone puts the lower-case letter first ("apple" < "Banana" < "banana"
// < "BANANA").
int AnsiCompare(const char* a, const char* b);

// Appends the collation key of `text` to `key`. Two keys compared by CompareAnsiSortKeys order their
// texts as AnsiCompare does, and are equal exactly when AnsiCompare finds the texts equal: sorting
// many texts builds each key once instead of folding both texts in every comparison.
void AppendAnsiSortKey(const char* text, std::string& key);
// Negative, 0 or positive: bytes compared unsigned, a key that is a prefix of the other first.
inline int CompareAnsiSortKeys(const char* a, size_t aLength, const char* b, size_t bLength)
{
    int result = std::memcmp(a, b, aLength < bLength ? aLength : bLength);
    if (result != 0)
        return result;
    return aLength < bLength ? -1 : (aLength > bLength ? 1 : 0);
}
