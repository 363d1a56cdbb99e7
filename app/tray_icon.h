// The one notification-area icon: its record, its tip and its wink.
#pragma once

#include <windows.h>
#include <shellapi.h>

enum {
    TRAY_ICON_ID = 42,
    MSG_TRAY_NOTIFY = WM_USER + 43,  // the icon's callback to its window; lParam is the mouse message
    TIMER_TRAY_WINK = 69,
    TRAY_WINK_PERIOD_MS = 100,
    TRAY_BALLOON_MS = 15000,  // what Windows before 10 shows a balloon for, at most
};

enum { TRAY_ICON_MAIN, TRAY_ICON_WINK_HALF, TRAY_ICON_WINK_SHUT, TRAY_ICON_COUNT };

struct TrayIconState {
    NOTIFYICONDATAA record;            // the record of the one icon
    HICON icons[TRAY_ICON_COUNT];      // small icons (16 x 16 at 100 %), loaded once
    int animationStep;                 // 0: not winking; 1..4: the next frame of the wink
    UINT taskbarCreatedMessage;        // the shell's "TaskbarCreated" broadcast
};

extern TrayIconState TrayIcon;

extern const char TRAY_TIP_START[];  // "VROK 95: Let off steam!!!"

// Loads the images and adds the icon for window with the starting tip.
void TrayIconAdd(HWND window);
// Adds the icon again when message says a restarted shell forgot it; 1 when it did.
int TrayIconOnTaskbarCreated(UINT message);
// Shows a balloon with title and text from the icon, where the shell has balloons.
void TrayIconBalloon(const char *title, const char *text);
void TrayIconDelete(void);
// Replaces the tip with the first 63 characters of text.
void TrayTipSet(const char *text);
// A mouse move over the icon starts a wink, unless one runs.
void TrayIconWinkStart(void);
// One frame of the wink, on each TIMER_TRAY_WINK tick: MEGAICON3, MEGAICON4, MEGAICON3, MEGAICON.
void TrayIconWinkStep(void);
