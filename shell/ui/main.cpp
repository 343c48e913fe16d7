// Entry point of quorvane.exe: the application object (shell/ui/quorvane_app.cpp) does the rest.
#include <windows.h>

#include "framework/ui/app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand)
{
    return CWinApp::Current()->Main(showCommand);
}
