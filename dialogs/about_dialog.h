// The two about dialogs, "MEGAABOUT" with the version line and "ABOUTABOUT".
#pragma once

#include <windows.h>

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
