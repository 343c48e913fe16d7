// Comparison of option names and paths without regard to letter case, folding the Windows-1252 letters
// the way the system's case-insensitive compare does for the ANSI code page.
#pragma once
#include <string>

// The Windows-1252 lower-case form of one byte.
char FoldCase(char c);

bool EqualNoCase(const std::string& a, const std::string& b);
