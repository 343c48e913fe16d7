// The start-up windows of quorvane.exe in the test prefix's registry: off for the tests that drive
// the main window, back to a new user's state for the test of the start-up order.
#pragma once
#include <windows.h>

namespace e2e {

constexpr const char kProgramKey[] = "Software\\Harlowen Software\\Personal Quorvane\\QUORVANE";

inline bool ReadProgramValue(const char* name, DWORD& value)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kProgramKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = sizeof value, type = 0;
    const bool ok = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
                        ERROR_SUCCESS &&
                    type == REG_DWORD;
    RegCloseKey(key);
    return ok;
}

inline void WriteProgramValue(HKEY key, const char* name, DWORD value)
{
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

// on: as for a new user (splash, tips from the first, welcome); off: none of them.
inline void SetStartupWindows(bool on)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kProgramKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    if (on) {
        for (const char* name : {"InitOptions", "ShowTipOfTheDay", "TipOfTheDay", "Welcome"})
            RegDeleteValueA(key, name);
    } else {
        WriteProgramValue(key, "InitOptions", 0x501);
        WriteProgramValue(key, "ShowTipOfTheDay", 0);
        WriteProgramValue(key, "Welcome", 2);
    }
    RegCloseKey(key);
}

}  // namespace e2e
