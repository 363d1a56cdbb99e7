// The full-screen shooting window of class "PIFFPOFF".
#pragma once

#include <windows.h>

LRESULT CALLBACK ShootingWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
