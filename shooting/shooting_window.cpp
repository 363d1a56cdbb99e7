// The full-screen shooting window of class "PIFFPOFF": one activation from creation to the end.
#include "shooting/shooting_window.h"

#include <mmsystem.h>

#include "app/app_state.h"
#include "app/tray_icon.h"
#include "shooting/activation.h"
#include "shooting/shot_impact.h"
#include "shooting/screen_canvas.h"
#include "shooting/shot_math.h"
#include "shooting/statistics.h"
#include "sound/sound_engine.h"

ActivationState activation;

const char SHOOTING_WINDOW_CLASS[] = "PIFFPOFF";

enum { FINAL_SOUND_POLL_MS = 100, FINAL_SOUND_MARGIN_MS = 1000, KEY_ESCAPE = 27 };

static const Profile *ActiveProfile(void) { return &Settings.profiles[Settings.activeProfile]; }

// Multimedia-timer threads only post; everything else happens on the window's own thread.
static void CALLBACK ShotTimerProc(UINT, UINT, DWORD_PTR window, DWORD_PTR, DWORD_PTR)
{
    PostMessageA((HWND)window, WM_TIMER, TIMER_SHOT, 0);
}

static void CALLBACK GunSoundTimerProc(UINT, UINT, DWORD_PTR window, DWORD_PTR, DWORD_PTR)
{
    PostMessageA((HWND)window, WM_TIMER, TIMER_GUN_SOUND, 0);
}

static void KillBurstTimers(void)
{
    // Only timers of ours: a stale id could by now belong to another timer of the process.
    if (activation.shotTimer) timeKillEvent(activation.shotTimer);
    if (activation.gunSoundTimer) timeKillEvent(activation.gunSoundTimer);
    activation.shotTimer = 0;
    activation.gunSoundTimer = 0;
}

static POINT MeasureBitmap(HBITMAP bitmap)
{
    HDC memory = CreateCompatibleDC(activation.displayContext);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    SetMapMode(memory, GetMapMode(activation.displayContext));
    BITMAP record = {};
    GetObjectA(bitmap, sizeof record, &record);
    POINT size = {record.bmWidth, record.bmHeight};
    DPtoLP(memory, &size, 1);
    SelectObject(memory, previous);
    DeleteDC(memory);
    return size;
}

static void PrepareGraphics(void)
{
    activation.displayContext = CreateDCA("DISPLAY", NULL, NULL, NULL);
    App.screenWidth = (short)GetSystemMetrics(SM_CXSCREEN);
    App.screenHeight = (short)GetSystemMetrics(SM_CYSCREEN);
    activation.widthTwentieth = App.screenWidth / 20;
    activation.heightTwentieth = App.screenHeight / 20;
    activation.bitmapOrigin.x = 0;
    activation.bitmapOrigin.y = 0;
    activation.craterSize = MeasureBitmap(App.craterBitmap);
    activation.holeSize = MeasureBitmap(App.holeBitmap);
    activation.graphicsReady = true;
}

int ShootingWindowExists(void) { return activation.window != NULL; }

static LRESULT OnCreate(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    activation.window = window;
    int started = SoundStart(window);
    if (started == SOUND_START_QUIT) {
        // Refused creation: Wine destroys the window without WM_DESTROY.
        activation.window = NULL;
        return -1;
    }
    // Silent until the user turns sound on again in the configuration dialog.
    if (started == 0) SoundSwitchOff(0);
    activation.clockTarget = ClockTargetRect();
    SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS);
    activation.grenadesInFlight = 0;
    activation.nextGrenadeSlot = 0;
    for (int k = 0; k < GRENADE_SLOT_COUNT; ++k) activation.grenades[k].timerId = GRENADE_TIMER_FIRST + k;
    SetCursor(App.shootingCursor);
    SetCapture(window);
    activation.active = true;
    if (!activation.graphicsReady) PrepareGraphics();
    // Taken before the window is shown: the copy is the desktop the user was looking at.
    CanvasOpen(window);
    return DefWindowProcA(window, message, wParam, lParam);
}

static LRESULT OnDestroy(void)
{
    // Timers of a window closed without the end sequence would fire on for nothing.
    KillBurstTimers();
    activation.active = false;
    CanvasClose();
    if (activation.graphicsReady) {
        DeleteDC(activation.displayContext);
        activation.displayContext = NULL;
        activation.graphicsReady = false;
    }
    if (soundStarted) SoundShutdown();
    SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
    activation.window = NULL;
    // The main window gives sound back to an open configuration dialog.
    PostMessageA(App.mainWindow, MSG_SHOOTING_ENDED, 0, 0);
    return 0;
}

static void StartBurst(HWND window)
{
    // A press while a burst runs (its release lost) restarts it instead of leaking its timers.
    KillBurstTimers();
    ShotImpact(SHOT_BULLET, 0);
    activation.shotTimer = timeSetEvent(SpeedPeriodMs(ActiveProfile()->fireSpeed), 0,
                                        ShotTimerProc, (DWORD_PTR)window, TIME_PERIODIC);
    activation.gunSoundTimer = timeSetEvent(SpeedPeriodMs(ActiveProfile()->soundSpeed), 0,
                                            GunSoundTimerProc, (DWORD_PTR)window, TIME_PERIODIC);
    PostMessageA(window, WM_TIMER, TIMER_SHOT, 0);
    SendMessageA(window, WM_TIMER, TIMER_GUN_SOUND, 0);
}

// The gun sounds from a point left of and above the cursor, and not over the clock.
static void GunSoundTick(void)
{
    POINT cursor;
    GetCursorPos(&cursor);
    int x = cursor.x - activation.widthTwentieth / 2 - HOLE_OFFSET;
    int y = cursor.y - activation.heightTwentieth / 2 - HOLE_OFFSET;
    POINT test = {x + HOLE_OFFSET, y + HOLE_OFFSET};
    if (PtInRect(&activation.clockTarget, test) && ActiveProfile()->withCuckoo) return;
    SoundPlay(SOUND_SLOT_MACHINE_GUN, SoundPanForX(x, App.screenWidth), 0);
}

static void ThrowGrenade(HWND window)
{
    if (activation.rightButtonHeld || !activation.active || AppMessageBoxOpen() ||
        activation.grenadesInFlight >= GRENADE_SLOT_COUNT)
        return;
    activation.rightButtonHeld = true;
    POINT cursor;
    GetCursorPos(&cursor);
    GrenadeSlot *slot = &activation.grenades[activation.nextGrenadeSlot];
    // The crater lands where the cursor was at the throw, wherever it is at the detonation.
    slot->craterX = cursor.x - activation.craterSize.x / 2;
    slot->craterY = cursor.y - activation.craterSize.y / 2;
    SoundPlay(SOUND_SLOT_GRENADE, SoundPanForX(slot->craterX, App.screenWidth), 0);
    SetTimer(window, slot->timerId, (UINT)ActiveProfile()->grenadeDelay, NULL);
    activation.grenadesInFlight++;
    activation.nextGrenadeSlot = (activation.nextGrenadeSlot + 1) % GRENADE_SLOT_COUNT;
}

static LRESULT OnTimer(HWND window, WPARAM id)
{
    if (id > GRENADE_TIMER_FIRST - 1 && id < GRENADE_TIMER_FIRST - 1 + GRENADE_COMPLETION_OFFSET) {
        KillTimer(window, id);
        ShotImpact(SHOT_CRATER, (int)(id - GRENADE_TIMER_FIRST));
        SetTimer(window, id + GRENADE_COMPLETION_OFFSET, GRENADE_COMPLETION_MS, NULL);
    } else if (id >= GRENADE_TIMER_FIRST - 1 + GRENADE_COMPLETION_OFFSET) {
        KillTimer(window, id);
        activation.grenadesInFlight--;
    } else if (id == TIMER_SHOT) {
        ShotImpact(SHOT_BULLET, 0);
    } else if (id == TIMER_GUN_SOUND) {
        GunSoundTick();
    }
    return 0;
}

static void SetEndOfActivationTip(void)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char tip[TRAY_TIP_SIZE];
    TrayTipFormatActivation(tip, sizeof tip, Statistics.shots, Statistics.grenades, now.wHour,
                            now.wMinute, now.wSecond);
    TrayTipSet(tip);
}

static LRESULT EndActivation(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    KillBurstTimers();
    activation.active = false;
    SoundStop(SOUND_SLOT_MACHINE_GUN);
    SoundStop(SOUND_SLOT_GRENADE);
    SoundPlay(SOUND_SLOT_FINAL, 0, 0);
    // The farewell is heard in full before the desktop comes back, but a buffer that never
    // reports its end must not leave the screen covered: the wait ends a margin after its length.
    SoundObject *farewell = SoundSlotObject(SOUND_SLOT_FINAL);
    uint64_t limit = (uint64_t)(farewell ? farewell->durationMs : 0) + FINAL_SOUND_MARGIN_MS;
    DWORD waitStart = GetTickCount();
    while (SoundIsPlaying(farewell, 0) && GetTickCount() - waitStart < limit) Sleep(FINAL_SOUND_POLL_MS);
    ReleaseCapture();
    SetEndOfActivationTip();
    ShowWindow(App.mainWindow, SW_HIDE);
    LRESULT result = DefWindowProcA(window, message, wParam, lParam);
    DestroyWindow(window);
    return result;
}

LRESULT CALLBACK ShootingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: return OnCreate(window, message, wParam, lParam);
    case WM_DESTROY: return OnDestroy();
    case WM_PAINT:
        // Never painted on a plain desktop: what lies beneath stays visible and takes the holes.
        CanvasPaint(window);
        return 1;
    case WM_CHAR:
        if ((wParam & 0xFF) == KEY_ESCAPE) return SendMessageA(window, WM_RBUTTONDBLCLK, 0, 0);
        return 0;
    case WM_LBUTTONUP: KillBurstTimers(); return 0;
    case WM_RBUTTONDOWN: ThrowGrenade(window); return 0;
    case WM_RBUTTONUP: activation.rightButtonHeld = false; return 0;
    case WM_RBUTTONDBLCLK:
        // Not inside a box: the end sequence plays sounds and destroys the window under it.
        if (AppMessageBoxOpen()) return 0;
        return EndActivation(window, message, wParam, lParam);
    case WM_TIMER: return OnTimer(window, wParam);
    case WM_CANCELMODE:
        // A box of ours is opening: the burst stops as if released and the default handling
        // lets the capture go, so the box can be answered. Anything else keeps the capture.
        if (AppMessageBoxOpen()) {
            KillBurstTimers();
            break;
        }
        if (activation.active) return 1;
        break;
    }
    // While an activation runs the window keeps the focus, the foreground and the capture,
    // except while a box of ours waits for an answer.
    if (!activation.active || AppMessageBoxOpen()) return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case WM_KILLFOCUS: SetFocus(window); return 0;
    case WM_NCACTIVATE:
        if (!wParam) SetForegroundWindow(window);
        return 0;
    case WM_MOUSEMOVE:
        SetCursor(App.shootingCursor);
        // Back from a box: the mouse is ours again.
        if (GetCapture() != window) SetCapture(window);
        break;
    case WM_LBUTTONDOWN: StartBurst(window); break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int ShootingWindowRegister(HINSTANCE instance)
{
    // No background and no cursor: the window never paints and sets its own cursor. Right double
    // clicks end an activation, so the class asks for double clicks.
    WNDCLASSA shootingClass = {};
    shootingClass.style = CS_DBLCLKS;
    shootingClass.lpfnWndProc = ShootingWindowProc;
    shootingClass.hInstance = instance;
    shootingClass.lpszClassName = SHOOTING_WINDOW_CLASS;
    return RegisterClassA(&shootingClass) ? 1 : 0;
}
