// The configuration dialog "CONFIG": the three Profiles, the active one, sound and the test fire.
#pragma once

#include <windows.h>

// Sent by the dialog to itself to show the active working Profile.
enum { MSG_CONFIG_REFRESH = WM_USER + 1 };

INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The test fire's multimedia-timer callback: posts WM_TIMER 42 to the dialog (user) and nothing else.
void CALLBACK PreviewTimerProc(UINT timerId, UINT message, DWORD_PTR user, DWORD_PTR, DWORD_PTR);

// An activation is about to restart sound with its own window: an open dialog stops its test
// fire and frees its preview, whose buffers die with the DirectSound object they came from.
void ConfigDialogActivationStarts(void);
// The activation is over: an open dialog that had sound running starts it again for itself.
void ConfigDialogActivationEnded(void);
