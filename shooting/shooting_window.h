// The full-screen shooting window of class "PIFFPOFF".
#pragma once

#include <windows.h>

LRESULT CALLBACK ShootingWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// 1 while a shooting window exists or is being created (a box of its sound start may be open).
int ShootingWindowExists(void);
