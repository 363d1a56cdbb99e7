// The hidden main window of class "VROK": tray icon, menus, description text.
#pragma once

#include <windows.h>
#include <shellapi.h>

enum {
    MSG_START_SHOOTING = WM_USER + 42,
    MSG_TRAY_NOTIFY = WM_USER + 43,
    MSG_SHOOTING_ENDED = WM_USER + 44,  // posted by the shooting window when it is gone
    TRAY_ICON_ID = 42,
    TIMER_TRAY_WINK = 69,
    TRAY_WINK_PERIOD_MS = 100,
};

enum { TRAY_ICON_MAIN, TRAY_ICON_WINK_HALF, TRAY_ICON_WINK_SHUT, TRAY_ICON_COUNT };

// The main window's own state; one instance, read by the tests.
struct MainWindowState {
    NOTIFYICONDATAA trayIcon;           // the record of the one tray icon
    HICON trayIcons[TRAY_ICON_COUNT];   // 16 x 16 images, loaded once
    int animationStep;                  // 0: not winking; 1..4: the next frame of the wink
    unsigned char dialogGuard;          // 1 while a dialog opened from here is open
    int clientWidth;
    int clientHeight;
    UINT taskbarCreatedMessage;         // the shell's "TaskbarCreated" broadcast
};

extern MainWindowState mainWindowState;

extern const char MAIN_WINDOW_CLASS[];  // "VROK"
extern const char TRAY_TIP_START[];  // "VROK 95: Let off steam!!!"

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Formats the version into the first description line and measures the lines on the screen.
void DescriptionMeasure(void);

// Creates the hidden main window, sized for the description; WM_CREATE probes sound and adds
// the tray icon. NULL when the creation was refused.
HWND MainWindowCreate(HINSTANCE instance);

// Replaces the tray icon's tip with the first 63 characters of text.
void TrayTipSet(const char *text);
