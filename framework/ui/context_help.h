// Context-help mode: the user presses Shift+F1 (command kContextHelpCommand), the cursor becomes the
// help cursor and the next click names the help topic of what it hits; Esc, a right click or losing
// the mode to another window ends it without help. The help id of the clicked point comes from the
// window under it:
//   - a top-level window's non-client area: kHelpIdNonClient + its hit-test code (HTCAPTION...);
//   - otherwise the first nonzero answer to kHelpHitTestMessage from that window or an ancestor
//     (wParam 0, lParam the point in the asked window's client coordinates);
//   - otherwise a control's kHelpIdControl + its control id;
//   - otherwise the nearest frame's kHelpIdResource + its resource id; else no help.
// The id goes to the application's help hook, CWinApp::ShowHelp.
#pragma once
#include <windows.h>

constexpr unsigned kContextHelpCommand = 57669;
constexpr UINT kHelpHitTestMessage = 0x0366;

constexpr DWORD kHelpIdResource = 0x20000;
constexpr DWORD kHelpIdNonClient = 0x40000;
constexpr DWORD kHelpIdControl = 0x50000;

// The help id of screen point `point` by the rules above; 0 when the point is on no window of this
// thread.
DWORD HelpIdAtPoint(POINT point);

// Runs the mode for the windows of `frame`'s thread until a click or a cancel; returns the help id
// of the clicked point, 0 when cancelled. Messages other than keys and mouse clicks are dispatched
// meanwhile; a WM_QUIT ends the mode and is posted again.
DWORD RunContextHelpMode(HWND frame);

// The main window's help: the help id of the main frame's resource (kHelpIdResource + its id) to the
// application's help hook; nothing without an application or a main frame.
void ShowMainWindowHelp();
