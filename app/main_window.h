// The hidden main window of class "VROK": tray icon, menus, description text.
#pragma once

#include <windows.h>

enum {
    MSG_START_SHOOTING = WM_USER + 42,
    MSG_STARTED_AGAIN = WM_USER + 45,  // from a second copy of VROK, which then ends
};

struct MainWindowState {
    unsigned char dialogGuard;  // 1 while a dialog opened from here is open
    int clientWidth;
    int clientHeight;
    int descriptionDpi;         // the DPI the description is measured and painted for
    HFONT descriptionFont;      // NULL: the screen's default font; else that font at descriptionDpi
};

extern MainWindowState MainWindow;

extern const char MAIN_WINDOW_CLASS[];  // "VROK"
extern const char MAIN_WINDOW_TITLE[];  // "Death to Glitchcorp"

// Registers the window class; 1 on success.
int MainWindowRegister(HINSTANCE instance);
LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Formats the version into the first description line and measures the lines on the screen;
// 0 when the screen cannot be measured.
int DescriptionMeasure(void);

// Tells the copy of VROK that runs already that it was started again, and lets it take the
// foreground; a copy still starting, without its main window, is not told.
void MainWindowTellRunningCopy(void);

// Creates the hidden main window, sized for the description on its monitor; WM_CREATE probes
// sound and adds the tray icon. NULL when the creation was refused.
HWND MainWindowCreate(HINSTANCE instance);

