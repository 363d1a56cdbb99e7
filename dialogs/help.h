// Opening the help beside the program, or saying where it was looked for.
#pragma once

#include <windows.h>

// From Windows Vista on, with VROK.CHM beside the program, opens it in HTML Help (the
// configuration page for HELP_CONTEXT_CONFIGURATION, the contents otherwise; the window belongs to
// the main window) and returns 1.
// Elsewhere calls WinHelpA(owner, <program folder>\VROK.HLP, command, data) when that file opens
// and returns 1, or shows the system-modal "Help Error" box with the path tried and returns 0.
int HelpOpen(HWND owner, UINT command, ULONG_PTR data);
