// Entry point of quorvane.exe. The main window is a plain top-level window for now; the application
// object with its frames and document templates takes its place as the shell grows.
#include <windows.h>
#include <commctrl.h>
#include <string>

#include "framework/string_table.h"
#include "resources/resource.h"

namespace {

const char kMainClass[] = "QuorvaneMainFrame";

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
    InitCommonControlsEx(&icc);

    HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME));
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    wc.lpszClassName = kMainClass;
    if (!RegisterClassExA(&wc))
        return 1;

    std::string caption = QuorLoadString(IDS_APP_NAME);
    HWND frame = CreateWindowExA(0, kMainClass, caption.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                 CW_USEDEFAULT, CW_USEDEFAULT, 800, 600, nullptr, nullptr, instance, nullptr);
    if (!frame)
        return 1;
    ShowWindow(frame, showCommand);
    UpdateWindow(frame);

    MSG msg;
    // GetMessage returns -1 on an invalid handle, 0 on WM_QUIT.
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
