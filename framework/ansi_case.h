// Case folding and comparison of ANSI (Windows-1252) text: CharLowerBuffA, lstrcmpiA and lstrcmpA on
// Windows, the same letters of the code page natively.
#pragma once
#include <cstddef>

void AnsiLowerBuffer(char* text, size_t length);
// Negative, 0 or positive, as lstrcmpiA.
int AnsiCompareNoCase(const char* a, const char* b);
// Negative, 0 or positive, as lstrcmpA: letters compare alphabetically whatever their case, and only
// text that differs in case alone puts the lower-case letter first ("apple" < "Banana" < "banana"
// < "BANANA").
int AnsiCompare(const char* a, const char* b);
