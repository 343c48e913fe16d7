// The visual-style library (uxtheme.dll), loaded at run time when present: five entry points bound
// by name. Themes are usable when the library and all five were found; drawing is themed while
// they are usable and the application is themed. One instance per process for the buttons; the
// colour button keeps its own.
#pragma once
#include <windows.h>

class CVisualStyles {
public:
    using HTheme = HANDLE;
    using OpenThemeDataFn = HTheme(WINAPI*)(HWND, LPCWSTR);
    using DrawThemeBackgroundFn = HRESULT(WINAPI*)(HTheme, HDC, int, int, const RECT*, const RECT*);
    using DrawThemeTextFn = HRESULT(WINAPI*)(HTheme, HDC, int, int, LPCWSTR, int, DWORD, DWORD, const RECT*);
    using CloseThemeDataFn = HRESULT(WINAPI*)(HTheme);
    using IsAppThemedFn = BOOL(WINAPI*)();

    // Loads the library and binds the entry points once; later calls do nothing until Free.
    void Load();
    // Frees the library; a later Load binds again.
    void Free();
    bool IsUsable() const { return m_usable; }
    // Usable and the application is themed now.
    bool IsActive() const { return m_usable && m_isAppThemed(); }
    // Makes the styles unusable (classic drawing), as if the library lacked an entry point.
    void Disable() { m_usable = false; }

    OpenThemeDataFn m_openThemeData = nullptr;
    DrawThemeBackgroundFn m_drawThemeBackground = nullptr;
    DrawThemeTextFn m_drawThemeText = nullptr;
    CloseThemeDataFn m_closeThemeData = nullptr;
    IsAppThemedFn m_isAppThemed = nullptr;

private:
    HMODULE m_library = nullptr;
    bool m_loaded = false;
    bool m_usable = false;
};

// The buttons' shared instance.
CVisualStyles& ButtonVisualStyles();
