// Case folding and case-insensitive comparison of ANSI (Windows-1252) text: CharLowerBuffA and
// lstrcmpiA on Windows, the same letters of the code page natively.
#pragma once
#include <cstddef>

void AnsiLowerBuffer(char* text, size_t length);
// Negative, 0 or positive, as lstrcmpiA.
int AnsiCompareNoCase(const char* a, const char* b);
