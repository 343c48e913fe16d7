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

// LCMapStringA's sort keys compare byte by byte as CompareStringA (behind lstrcmpA, in the thread's
// locale) compares the texts. The count it returns includes the key's terminating NUL, which is
// dropped: a shorter key then sorts first, as the NUL would have made it.
void AppendAnsiSortKey(const char* text, std::string& key)
{
    LCID locale = GetThreadLocale();
    int n = LCMapStringA(locale, LCMAP_SORTKEY, text, -1, nullptr, 0);
    size_t start = key.size();
    if (n <= 0) {
        key += text;  // no key for this text: its bytes keep the sort going
        return;
    }
    key.resize(start + static_cast<size_t>(n));
    n = LCMapStringA(locale, LCMAP_SORTKEY, text, -1, &key[start], n);
    key.resize(n > 0 ? start + static_cast<size_t>(n) - 1 : start);
}
