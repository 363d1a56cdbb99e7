// The one notification-area icon: its record, its tip and its wink.
#include "app/tray_icon.h"

#include <stdio.h>

#include "app/app_state.h"
#include "resources/resource.h"

TrayIconState TrayIcon;

const char TRAY_TIP_START[] = "VROK 95: Let off steam!!!";

static const char *const ICON_NAMES[TRAY_ICON_COUNT] = {RES_ICON_MAIN, RES_ICON_WINK_HALF, RES_ICON_WINK_SHUT};

// A copy of the icon's record with only the given fields to change.
static NOTIFYICONDATAA TrayRecord(UINT flags)
{
    NOTIFYICONDATAA record = TrayIcon.record;
    record.uFlags = flags;
    return record;
}

static void TrayIconAddRecord(void) { Shell_NotifyIconA(NIM_ADD, &TrayIcon.record); }

void TrayIconAdd(HWND window)
{
    // The notification area's size: 16 at 100 %, 20, 24 or 32 pixels on a scaled display.
    int width = GetSystemMetrics(SM_CXSMICON), height = GetSystemMetrics(SM_CYSMICON);
    for (int i = 0; i < TRAY_ICON_COUNT; ++i)
        TrayIcon.icons[i] = (HICON)LoadImageA(App.instance, ICON_NAMES[i], IMAGE_ICON, width, height, LR_DEFAULTCOLOR);
    NOTIFYICONDATAA *record = &TrayIcon.record;
    // A version 1 record: its size is the same on every Windows since 95, for both word sizes.
    record->cbSize = NOTIFYICONDATAA_V1_SIZE;
    record->hWnd = window;
    record->uID = TRAY_ICON_ID;
    record->uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record->uCallbackMessage = MSG_TRAY_NOTIFY;
    record->hIcon = TrayIcon.icons[TRAY_ICON_MAIN];
    snprintf(record->szTip, TRAY_TIP_SIZE, "%s", TRAY_TIP_START);
    // A restarted shell forgets every tray icon; it says so with this broadcast.
    TrayIcon.taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
    TrayIcon.animationStep = 0;
    TrayIconAddRecord();
}

int TrayIconOnTaskbarCreated(UINT message)
{
    if (message == 0 || message != TrayIcon.taskbarCreatedMessage) return 0;
    TrayIconAddRecord();
    return 1;
}

void TrayIconBalloon(const char *title, const char *text)
{
    // A balloon needs the version 2 record; the icon's own stays version 1. Windows 10 and 11 show
    // it as a notification, and hold it back while the user does not want to be disturbed. A shell
    // without balloons refuses the record, and then nothing changes.
    NOTIFYICONDATAA record = TrayRecord(NIF_INFO);
    record.cbSize = NOTIFYICONDATAA_V2_SIZE;
    snprintf(record.szInfo, sizeof record.szInfo, "%s", text);
    snprintf(record.szInfoTitle, sizeof record.szInfoTitle, "%s", title);
    record.uTimeout = TRAY_BALLOON_MS;
    record.dwInfoFlags = NIIF_INFO | NIIF_RESPECT_QUIET_TIME;
    Shell_NotifyIconA(NIM_MODIFY, &record);
}

void TrayIconDelete(void)
{
    NOTIFYICONDATAA record = TrayRecord(0);
    Shell_NotifyIconA(NIM_DELETE, &record);
}

void TrayTipSet(const char *text)
{
    // szTip holds 128 characters in newer headers, but a version 1 record has room for 64.
    snprintf(TrayIcon.record.szTip, TRAY_TIP_SIZE, "%s", text);
    NOTIFYICONDATAA record = TrayRecord(NIF_TIP);
    Shell_NotifyIconA(NIM_MODIFY, &record);
}

static void TrayIconShow(int index)
{
    TrayIcon.record.hIcon = TrayIcon.icons[index];
    NOTIFYICONDATAA record = TrayRecord(NIF_ICON);
    Shell_NotifyIconA(NIM_MODIFY, &record);
}

void TrayIconWinkStart(void)
{
    if (TrayIcon.animationStep != 0) return;
    SetTimer(TrayIcon.record.hWnd, TIMER_TRAY_WINK, TRAY_WINK_PERIOD_MS, NULL);
    TrayIcon.animationStep = 1;
}

void TrayIconWinkStep(void)
{
    switch (TrayIcon.animationStep) {
    case 1: TrayIconShow(TRAY_ICON_WINK_HALF); TrayIcon.animationStep = 2; break;
    case 2: TrayIconShow(TRAY_ICON_WINK_SHUT); TrayIcon.animationStep = 3; break;
    case 3: TrayIconShow(TRAY_ICON_WINK_HALF); TrayIcon.animationStep = 4; break;
    default:
        TrayIconShow(TRAY_ICON_MAIN);
        TrayIcon.animationStep = 0;
        KillTimer(TrayIcon.record.hWnd, TIMER_TRAY_WINK);
        break;
    }
}
