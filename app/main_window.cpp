// The hidden main window of class "VROK": tray icon, menus, description text.
#include "app/main_window.h"

#include <string.h>

#include "app/app_state.h"
#include "app/dpi.h"
#include "app/settings_file.h"
#include "app/tray_icon.h"
#include "dialogs/about_dialog.h"
#include "dialogs/config_dialog.h"
#include "dialogs/help.h"
#include "dialogs/statistics_dialog.h"
#include "resources/resource.h"
#include "shooting/shooting_window.h"
#include "sound/sound_engine.h"

MainWindowState MainWindow;

enum { DESCRIPTION_MARGIN = 10, DESCRIPTION_WINDOW_LINES = 11 };

const char MAIN_WINDOW_CLASS[] = "VROK";
const char MAIN_WINDOW_TITLE[] = "Death to Glitchcorp";

static const char FIRST_START_TITLE[] = "VROK is ready";
static const char FIRST_START_TEXT[] =
    "VROK now waits here in the notification area, on Windows 11 perhaps behind the ^ arrow.\n"
    "Double-click its face, or start VROK again, and shoot your desktop!";

// The sound probe: a start that fails switches sound off in every Profile for good.
static LRESULT OnCreate(HWND hwnd)
{
    // The window knows itself before CreateWindowExA returns; the tray records need it.
    App.mainWindow = hwnd;
    int started = SoundStart(hwnd);
    if (started == SOUND_START_QUIT) {
        // Refused creation: Wine destroys the window without WM_DESTROY, so quit from here.
        PostQuitMessage(0);
        return -1;
    }
    if (started == 0) SoundSwitchOff(1);
    SoundShutdown();

    MainWindow.dialogGuard = 0;
    TrayIconAdd(hwnd);
    // Newer Windows hide a new icon behind the notification area's arrow: a newcomer is told
    // where VROK went and how to start it.
    if (SettingsFileWasNew()) TrayIconBalloon(FIRST_START_TITLE, FIRST_START_TEXT);
    return 0;
}

static LRESULT OnDestroy(void)
{
    TrayIconDelete();
    // The main window's end is the program's end.
    PostQuitMessage(0);
    return 0;
}

static LRESULT OnSize(HWND hwnd, WPARAM kind, LPARAM size)
{
    MainWindow.clientWidth = LOWORD(size);
    MainWindow.clientHeight = HIWORD(size);
    if (kind == SIZE_RESTORED) SetForegroundWindow(hwnd);
    // Minimized, the description window hides instead of leaving a task-bar button.
    if (kind == SIZE_MINIMIZED) ShowWindow(hwnd, SW_HIDE);
    return 0;
}

static void PaintDescription(HWND hwnd)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    HGDIOBJ previousFont = MainWindow.descriptionFont ? SelectObject(dc, MainWindow.descriptionFont) : NULL;
    int top = MainWindow.clientHeight - DESCRIPTION_LINE_COUNT * App.lineHeight;
    if (top < 0) top = 0;
    for (int line = 0; line < DESCRIPTION_LINE_COUNT; ++line) {
        SetTextAlign(dc, TA_CENTER);
        TextOutA(dc, MainWindow.clientWidth / 2, top + line * App.lineHeight,
                 App.description[line], (int)strlen(App.description[line]));
        SetTextAlign(dc, TA_LEFT | TA_TOP);
    }
    if (previousFont) SelectObject(dc, previousFont);
    EndPaint(hwnd, &paint);
}

static void OpenDialog(HWND hwnd, const char *templateName, DLGPROC procedure)
{
    // One dialog at a time: the tray menu stays reachable while one is open. None while the
    // shooting window is being created: its sound start may be waiting in a box.
    if (MainWindow.dialogGuard || ShootingWindowExists()) return;
    MainWindow.dialogGuard = 1;
    DialogBoxParamA(App.instance, templateName, hwnd, procedure, 0);
    MainWindow.dialogGuard = 0;
}

// One activation at a time, and none while a box of ours waits for an answer: a sound start
// waiting in its box must not be entered a second time.
static int ActivationAllowed(void) { return !ShootingWindowExists() && !AppMessageBoxOpen(); }

static void Activate(HWND hwnd)
{
    if (!ActivationAllowed()) return;
    if (Settings.descriptionVisible) ShowWindow(hwnd, SW_RESTORE);
    UpdateWindow(hwnd);
    PostMessageA(hwnd, MSG_START_SHOOTING, 0, 0);
}

// Returns 1 when the command is one of ours (handled or ignored), 0 to leave it to the system.
static int OnCommand(HWND hwnd, WPARAM command)
{
    switch (command) {
    case CMD_ACTIVATE: Activate(hwnd); return 1;
    case CMD_CLOSE: DestroyWindow(hwnd); return 1;
    case CMD_CONFIGURATION: OpenDialog(hwnd, RES_DIALOG_CONFIG, ConfigDialogProc); return 1;
    case CMD_STATISTICS: OpenDialog(hwnd, RES_DIALOG_STATISTICS, StatisticsDialogProc); return 1;
    case CMD_HELP: HelpOpen(hwnd, HELP_CONTENTS, 0); return 1;
    case CMD_ABOUT: OpenDialog(hwnd, RES_DIALOG_ABOUT, AboutDialogProc); return 1;
    case CMD_ABOUT_ABOUT: OpenDialog(hwnd, RES_DIALOG_ABOUT_ABOUT, AboutDialogProc); return 1;
    }
    return 0;
}

// An open dialog gets back what the activation took from it, and shows what it changed.
static void OnShootingEnded(void)
{
    ConfigDialogActivationEnded();
    StatisticsDialogActivationEnded();
}

static LRESULT OnStartShooting(HWND hwnd)
{
    // A second request that was queued before the first was handled.
    if (!ActivationAllowed()) return 0;
    // The shooting window starts sound anew: an open configuration dialog lets go of it first.
    ConfigDialogActivationStarts();
    // Disabled already while a modal dialog is open, and then it stays so.
    BOOL wasDisabled = EnableWindow(hwnd, FALSE);
    // A monitor added or moved since the last look is covered too.
    AppScreenRead();
    // Across several monitors the window covers them all with its border just outside, as a
    // maximized window's is on one; maximizing would fit it to one monitor.
    RECT area = {App.screenLeft, App.screenTop, App.screenLeft + App.screenWidth, App.screenTop + App.screenHeight};
    int severalMonitors = AppScreenIsVirtual();
    if (severalMonitors) AdjustWindowRectEx(&area, WS_POPUP | WS_BORDER, FALSE, 0);
    HWND shooting = CreateWindowExA(0, SHOOTING_WINDOW_CLASS, "", WS_POPUP | WS_BORDER, area.left, area.top,
                                    area.right - area.left, area.bottom - area.top, NULL, NULL,
                                    App.instance, NULL);
    if (!wasDisabled) EnableWindow(hwnd, TRUE);
    if (shooting) {
        ShowWindow(shooting, severalMonitors ? SW_SHOWNORMAL : SW_SHOWMAXIMIZED);
        UpdateWindow(shooting);
        SetFocus(shooting);
    } else {
        ShowWindow(hwnd, SW_MINIMIZE);
        OnShootingEnded();
    }
    return 0;
}

static void ShowTrayMenu(HWND hwnd)
{
    POINT cursor;
    GetCursorPos(&cursor);
    // Without the foreground the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(hwnd);
    TrackPopupMenu(App.popupMenu, TPM_RIGHTALIGN | TPM_LEFTBUTTON, cursor.x, cursor.y, 0, hwnd, NULL);
    PostMessageA(hwnd, WM_NULL, 0, 0);
}

// The topmost visible dialog or box of this thread that takes input: the one a person would answer.
static HWND OpenDialogOnTop(void)
{
    DWORD thread = GetCurrentThreadId();
    for (HWND window = GetTopWindow(NULL); window; window = GetWindow(window, GW_HWNDNEXT)) {
        char className[8] = "";
        if (GetWindowThreadProcessId(window, NULL) == thread && IsWindowVisible(window) &&
            IsWindowEnabled(window) && GetClassNameA(window, className, sizeof className) &&
            strcmp(className, "#32770") == 0)
            return window;
    }
    return NULL;
}

// VROK was started again: the user wants to shoot, or has lost a dialog behind other windows.
static LRESULT OnStartedAgain(HWND hwnd)
{
    // An activation covers the screen: only a box of its own may come forward, not a dialog.
    if (ShootingWindowExists() && !AppMessageBoxOpen()) return 0;
    HWND open = OpenDialogOnTop();
    if (open)
        SetForegroundWindow(open);
    else
        PostMessageA(hwnd, WM_COMMAND, CMD_ACTIVATE, 0);  // as a double click on the icon
    return 0;
}

static LRESULT OnTrayNotify(HWND hwnd, LPARAM mouseMessage)
{
    switch (mouseMessage) {
    case WM_MOUSEMOVE: TrayIconWinkStart(); break;
    case WM_LBUTTONDBLCLK: PostMessageA(hwnd, WM_COMMAND, CMD_ACTIVATE, 0); break;
    case WM_RBUTTONDOWN: ShowTrayMenu(hwnd); break;
    }
    return 0;
}

// Windows ends the logon (or an installer's Restart Manager closes VROK) and may end the process
// as soon as this returns: what a normal end would write is written now, at once.
static LRESULT OnEndSession(WPARAM ending)
{
    if (!ending) return 0;  // cancelled: nothing changes
    App.sessionEnding = 1;
    ShootingWindowEndSession();
    SettingsSave();
    TrayIconDelete();
    PostQuitMessage(0);
    return 0;
}

static LRESULT OnTimer(WPARAM id)
{
    if (id == TIMER_TRAY_WINK) TrayIconWinkStep();
    return 0;
}

int MainWindowRegister(HINSTANCE instance)
{
    WNDCLASSA mainClass = {};
    mainClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    mainClass.lpfnWndProc = MainWindowProc;
    mainClass.hInstance = instance;
    mainClass.hIcon = LoadIconA(instance, RES_ICON_MAIN);
    mainClass.hCursor = LoadCursorA(instance, RES_CURSOR_MAIN);
    mainClass.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    mainClass.lpszClassName = MAIN_WINDOW_CLASS;
    return RegisterClassA(&mainClass) ? 1 : 0;
}

// The screen's default font grown to dpi, for a monitor whose DPI is not the screen's; NULL when
// the default font itself is made for dpi (0: the screen's).
static HFONT DescriptionFontFor(HDC screen, int dpi)
{
    int screenDpi = GetDeviceCaps(screen, LOGPIXELSY);
    LOGFONTA font = {};
    if (dpi <= 0 || screenDpi <= 0 || dpi == screenDpi ||
        !GetObjectA(GetCurrentObject(screen, OBJ_FONT), sizeof font, &font))
        return NULL;
    font.lfHeight = MulDiv(font.lfHeight, dpi, screenDpi);
    font.lfWidth = MulDiv(font.lfWidth, dpi, screenDpi);
    return CreateFontIndirectA(&font);
}

// Measures the nine lines with the font WM_PAINT draws them in, for a monitor of dpi.
static int DescriptionMeasureFor(int dpi)
{
    HDC screen = CreateDCA("DISPLAY", NULL, NULL, NULL);
    if (!screen) return 0;
    if (MainWindow.descriptionFont) DeleteObject(MainWindow.descriptionFont);
    MainWindow.descriptionFont = DescriptionFontFor(screen, dpi);
    MainWindow.descriptionDpi = MainWindow.descriptionFont ? dpi : GetDeviceCaps(screen, LOGPIXELSY);
    HGDIOBJ previousFont = MainWindow.descriptionFont ? SelectObject(screen, MainWindow.descriptionFont) : NULL;
    TEXTMETRICA metrics = {};
    GetTextMetricsA(screen, &metrics);
    App.lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    App.descriptionWidth = 0;
    for (int i = 0; i < DESCRIPTION_LINE_COUNT; ++i) {
        SIZE extent = {};
        GetTextExtentPoint32A(screen, App.description[i], (int)strlen(App.description[i]), &extent);
        if (extent.cx > App.descriptionWidth) App.descriptionWidth = extent.cx;
    }
    if (previousFont) SelectObject(screen, previousFont);
    DeleteDC(screen);
    return 1;
}

int DescriptionMeasure(void)
{
    DescriptionFormatVersion(App.description[0], DESCRIPTION_LINE_SIZE, App.versionMajor,
                             App.versionMinor);
    return DescriptionMeasureFor(0);
}

// Sized by the text alone: the widest line and a margin, eleven lines with the caption.
static SIZE DescriptionWindowSize(void)
{
    SIZE size = {App.descriptionWidth + MulDiv(DESCRIPTION_MARGIN, MainWindow.descriptionDpi, DPI_BASE),
                 DESCRIPTION_WINDOW_LINES * App.lineHeight};
    return size;
}

// For a monitor of dpi: the lines measured anew and the window sized for them, its top left corner
// at (x, y).
static void DescriptionFit(HWND hwnd, int dpi, int x, int y)
{
    DescriptionMeasureFor(dpi);
    SIZE size = DescriptionWindowSize();
    SetWindowPos(hwnd, NULL, x, y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Windows moved the window to a monitor of another DPI, or that monitor's scale changed.
static LRESULT OnDpiChanged(HWND hwnd, WPARAM dpi, LPARAM suggested)
{
    const RECT *at = (const RECT *)suggested;
    DescriptionFit(hwnd, LOWORD(dpi), at->left, at->top);
    return 0;
}

typedef BOOL(WINAPI *AllowSetForegroundWindowProc)(DWORD processId);

void MainWindowTellRunningCopy(void)
{
    HWND running = FindWindowA(MAIN_WINDOW_CLASS, MAIN_WINDOW_TITLE);
    DWORD processId = 0;
    if (!running || !GetWindowThreadProcessId(running, &processId)) return;
    // Started by the user, this copy may bring a window to the front and the running one may not:
    // it is given the right, or Windows would open its shooting window behind the others. Looked up
    // at run time: Windows 95 and NT 4 have no such call, nor the lock it opens.
    AllowSetForegroundWindowProc allow = (AllowSetForegroundWindowProc)(void (*)(void))GetProcAddress(
        GetModuleHandleA("user32.dll"), "AllowSetForegroundWindow");
    if (allow) allow(processId);
    PostMessageA(running, MSG_STARTED_AGAIN, 0, 0);
}

HWND MainWindowCreate(HINSTANCE instance)
{
    SIZE size = DescriptionWindowSize();
    HWND hwnd = CreateWindowExA(0, MAIN_WINDOW_CLASS, MAIN_WINDOW_TITLE, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                CW_USEDEFAULT, CW_USEDEFAULT, size.cx, size.cy, NULL, NULL, instance, NULL);
    // The lines were measured for the screen; the monitor the window came to may have its own DPI.
    int dpi = hwnd ? DpiOfWindow(hwnd) : 0;
    if (dpi && dpi != MainWindow.descriptionDpi) {
        RECT at;
        GetWindowRect(hwnd, &at);
        DescriptionFit(hwnd, dpi, at.left, at.top);
    }
    return hwnd;
}

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (TrayIconOnTaskbarCreated(message)) return 0;
    switch (message) {
    case WM_CREATE: return OnCreate(hwnd);
    case WM_DESTROY: return OnDestroy();
    case WM_SIZE: return OnSize(hwnd, wParam, lParam);
    case WM_PAINT: PaintDescription(hwnd); return 0;
    case WM_COMMAND:
    case WM_SYSCOMMAND:
        if (OnCommand(hwnd, wParam)) return 0;
        break;
    case MSG_START_SHOOTING: return OnStartShooting(hwnd);
    case MSG_SHOOTING_ENDED: OnShootingEnded(); return 0;
    case MSG_TRAY_NOTIFY: return OnTrayNotify(hwnd, lParam);
    case MSG_STARTED_AGAIN: return OnStartedAgain(hwnd);
    case WM_TIMER: return OnTimer(wParam);
    case WM_QUERYENDSESSION: return TRUE;  // VROK never holds up the end of a logon
    case WM_ENDSESSION: return OnEndSession(wParam);
    case WM_DPICHANGED: return OnDpiChanged(hwnd, wParam, lParam);
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
