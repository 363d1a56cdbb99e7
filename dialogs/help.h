// Opening VROK.HLP beside the program, or saying where it was looked for.
#pragma once

#include <windows.h>

// Calls WinHelpA(owner, <program folder>\VROK.HLP, command, data) when the file opens and returns
// 1; otherwise shows the system-modal "Help Error" box with the path tried and returns 0.
int HelpOpen(HWND owner, UINT command, ULONG_PTR data);
