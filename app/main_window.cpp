// The hidden main window of class "VROK": tray icon, menus, description text.
#include "app/main_window.h"

#include "app/app_state.h"

static LRESULT OnDestroy(HWND)
{
    // The main window's end is the program's end.
    PostQuitMessage(0);
    return 0;
}

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY: return OnDestroy(hwnd);
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
