// Entry point of quorvane.exe: the application object (shell/ui/quorvane_app.cpp) does the rest.
#include <windows.h>

#include "shell/ui/quorvane_app.h"

// The one application object; it exists before WinMain runs.
CQuorvaneApp theApp;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand)
{
    return CWinApp::Current()->Main(showCommand);
}
