// The statistics dialog "STATISTIK": holes and grenades of this run, and Reset.
#pragma once

#include <windows.h>

INT_PTR CALLBACK StatisticsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Shows the counts anew in an open statistics dialog once an activation has changed them.
void StatisticsDialogActivationEnded(void);
