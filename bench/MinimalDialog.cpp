// The smallest dialog program we can write: the yardstick for the program's start-up time. It
// shows an empty dialog from an in-memory template and ends when it is closed.
#include <windows.h>

namespace {
INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    if (message == WM_CLOSE) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    struct {
        DLGTEMPLATE header;
        WORD menu, windowClass;
        wchar_t title[16];
    } dialog{};
    dialog.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
    dialog.header.cx = 200;
    dialog.header.cy = 100;
    lstrcpyW(dialog.title, L"Minimal dialog");
    return static_cast<int>(DialogBoxIndirectParamA(instance, &dialog.header, nullptr, &Procedure, 0));
}
