// The full-screen shooting window of class "PIFFPOFF".
#pragma once

#include <windows.h>

// Posted to the main window when the shooting window is gone.
enum { MSG_SHOOTING_ENDED = WM_USER + 44 };

extern const char SHOOTING_WINDOW_CLASS[];  // "PIFFPOFF"

LRESULT CALLBACK ShootingWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Registers the window class; 1 on success, 0 when it fails or is registered already.
int ShootingWindowRegister(HINSTANCE instance);

// The logon ends: a running activation ends at once, without its farewell; one in its end
// sequence stops waiting for the farewell.
void ShootingWindowEndSession(void);

// 1 while a shooting window exists or is being created (a box of its sound start may be open).
int ShootingWindowExists(void);
