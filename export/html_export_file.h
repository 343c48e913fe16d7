// The HTML export file: what of it the rest of the program already uses.
#pragma once
#include <string>

class CHtmlExportFile {
public:
    // Entry `index` of the predefined charsets (the string table from 18000 on, each "label;charset",
    // ended by a lone ";"): false when the index is outside the list or its string has no ';'.
    static bool GetCharsetEntry(int index, std::string& label, std::string& charset);
};
