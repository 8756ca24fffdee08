// The bare dialog: shows the program's main dialog template and nothing else, and ends with the id of
// the button that closed it (IDOK or IDCANCEL) as its exit code. It is the target the end-to-end driver
// is tested against, and the floor the program's start-up time is compared with.
//
// After the dialog is gone it writes that id to bare_dialog.out in its current directory, so a test can
// tell which folder it was started in.
#include <windows.h>

#include <cstdio>

#include "resources/resource.h"

namespace {

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: {
            HINSTANCE instance = GetModuleHandleW(nullptr);
            auto big = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                                     GetSystemMetrics(SM_CXICON),
                                                     GetSystemMetrics(SM_CYICON), LR_SHARED));
            auto small = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                                       GetSystemMetrics(SM_CXSMICON),
                                                       GetSystemMetrics(SM_CYSMICON), LR_SHARED));
            SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
            SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, LOWORD(wParam));
                return TRUE;
            }
            break;
    }
    return FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    INT_PTR result =
        DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_COMPORT_DIALOG), nullptr, DialogProc, 0);
    if (FILE* out = _wfopen(L"bare_dialog.out", L"w")) {
        std::fprintf(out, "%d\n", static_cast<int>(result));
        std::fclose(out);
    }
    return static_cast<int>(result);
}
