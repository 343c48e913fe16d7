// Reads and drives a property sheet running on another thread of the test process: its current page,
// the controls on it, its tab, clicks that the page handles on its own thread, and OK.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <string>

#include "tests/support/gui_driver.h"

namespace gui {

class CSheetDriver {
protected:
    // The page window of the sheet's current tab.
    static HWND Page(HWND sheet) { return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }
    static HWND Control(HWND sheet, int id) { return GetDlgItem(Page(sheet), id); }
    static std::string Text(HWND sheet, int id) { return GetText(Control(sheet, id)); }
    static bool Enabled(HWND sheet, int id) { return IsWindowEnabled(Control(sheet, id)) != FALSE; }
    static int TabIndex(HWND sheet)
    {
        return static_cast<int>(SendMessageA(PropSheet_GetTabControl(sheet), TCM_GETCURSEL, 0, 0));
    }
    // A click as the button sends it; the page handles it on its own thread.
    static void Click(HWND sheet, int id)
    {
        HWND page = Page(sheet);
        PostMessageA(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(page, id)));
    }
    static void PressOk(HWND sheet) { PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0); }
};

}  // namespace gui
