#include "shell/profile_store.h"

#include <cstdint>
#include <cstdio>

#include "framework/ansi_case.h"

int IniTextToInt(const std::string& text, int defaultValue)
{
    if (text.empty())
        return defaultValue;
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    uint32_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10u + static_cast<uint32_t>(text[i] - '0');
    if (negative)
        value = 0u - value;
    return static_cast<int32_t>(value);
}

std::string IntToText(int value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%d", value);
    return buffer;
}

bool EqualNoCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && AnsiCompareNoCase(a.c_str(), b.c_str()) == 0;
}
