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
    size_t start = key.size();
    // One call into a buffer that holds the keys of ordinary titles (a few bytes per character);
    // asking for the size first made every key twice, the larger half of a titles list's first sort.
    // A key that does not fit (the call fails) is sized first after all.
    size_t room = 6 * std::strlen(text) + 32;
    key.resize(start + room);
    int n = LCMapStringA(locale, LCMAP_SORTKEY, text, -1, &key[start], static_cast<int>(room));
    if (n <= 0) {
        n = LCMapStringA(locale, LCMAP_SORTKEY, text, -1, nullptr, 0);
        if (n <= 0) {
            key.resize(start);
            key += text;  // no key for this text: its bytes keep the sort going
            return;
        }
        key.resize(start + static_cast<size_t>(n));
        n = LCMapStringA(locale, LCMAP_SORTKEY, text, -1, &key[start], n);
    }
    key.resize(n > 0 ? start + static_cast<size_t>(n) - 1 : start);
}
