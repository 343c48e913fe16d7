// The program's string table: message texts by number, and "%1" substitution.
#pragma once
#include <initializer_list>
#include <string>

// The text of string `id`, or an empty string when the table has none.
std::string QuorLoadString(int id);

// `pattern` with every "%1" replaced by `arg`.
std::string QuorFormat1(const std::string& pattern, const std::string& arg);

// `pattern` with "%1" to "%9" replaced by the arguments in order (a placeholder without an
// argument is left as it is). Replaced text is not searched again.
std::string QuorFormatArgs(const std::string& pattern, std::initializer_list<std::string> args);

// `pattern` with its printf-style "%d" placeholders (at most three) filled with the numbers in order.
std::string QuorFormatNumbers(const std::string& pattern, int a, int b = 0, int c = 0);
