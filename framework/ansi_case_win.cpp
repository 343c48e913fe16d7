#include "framework/ansi_case.h"

#include <windows.h>

void AnsiLowerBuffer(char* text, size_t length)
{
    if (length > 0)
        CharLowerBuffA(text, static_cast<DWORD>(length));
}

int AnsiCompareNoCase(const char* a, const char* b)
{
    return lstrcmpiA(a, b);
}

int AnsiCompare(const char* a, const char* b)
{
    return lstrcmpA(a, b);
}
