// The program's string table: message texts by number, and "%1" substitution.
#pragma once
#include <string>

// The text of string `id`, or an empty string when the table has none.
std::string QuorLoadString(int id);

// `pattern` with every "%1" replaced by `arg`.
std::string QuorFormat1(const std::string& pattern, const std::string& arg);
