// The full-screen shooting window of class "PIFFPOFF".
#include "shooting/shooting_window.h"

LRESULT CALLBACK ShootingWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
