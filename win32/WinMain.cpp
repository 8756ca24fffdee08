// The process's entry point: the seam is Win32's, then the framework runs the application object.
#include <windows.h>
#include <commctrl.h>

#include "framework/Entry.h"
#include "win32/Win32Platform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    InitCommonControls();  // the version 6 controls the manifest asks for
    static Win32Platform platform;
    seam::SetPlatform(&platform);
    return AfxWinMain();
}
