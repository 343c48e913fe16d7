#include "shell/no_case.h"

char FoldCase(char c)
{
    unsigned char u = static_cast<unsigned char>(c);
    if (u >= 'A' && u <= 'Z')
        return static_cast<char>(u + 32);
    // Latin-1 capitals À..Þ map 32 up, except the multiplication sign.
    if (u >= 0xC0 && u <= 0xDE && u != 0xD7)
        return static_cast<char>(u + 32);
    // Š, Œ, Ž (0x8A, 0x8C, 0x8E) pair with 0x9A, 0x9C, 0x9E; Ÿ (0x9F) with ÿ (0xFF).
    if (u == 0x8A || u == 0x8C || u == 0x8E)
        return static_cast<char>(u + 16);
    if (u == 0x9F)
        return static_cast<char>(0xFF);
    return c;
}

bool EqualNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i]))
            return false;
    }
    return true;
}
