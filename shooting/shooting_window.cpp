// The full-screen shooting window of class "PIFFPOFF": one activation from creation to the end.
#include "shooting/shooting_window.h"

#include <mmsystem.h>

#include "app/app_state.h"
#include "app/timer_tick.h"
#include "app/tray_icon.h"
#include "shooting/activation.h"
#include "shooting/shot_impact.h"
#include "shooting/screen_canvas.h"
#include "shooting/shot_math.h"
#include "shooting/statistics.h"
#include "sound/sound_engine.h"

ActivationState Activation;

const char SHOOTING_WINDOW_CLASS[] = "PIFFPOFF";

enum { FINAL_SOUND_POLL_MS = 100, FINAL_SOUND_MARGIN_MS = 1000, KEY_ESCAPE = 27 };

static const Profile *ActiveProfile(void) { return &Settings.profiles[Settings.activeProfile]; }

// Multimedia-timer threads only post, and only when the last tick of the kind was handled: a
// window that falls behind drops periods instead of piling them up ahead of the release.
static void CALLBACK ShotTimerProc(UINT, UINT, DWORD_PTR window, DWORD_PTR, DWORD_PTR)
{
    TickPost(&Activation.shotTick, (HWND)window, TIMER_SHOT);
}

static void CALLBACK GunSoundTimerProc(UINT, UINT, DWORD_PTR window, DWORD_PTR, DWORD_PTR)
{
    TickPost(&Activation.gunSoundTick, (HWND)window, TIMER_GUN_SOUND);
}

static void KillBurstTimers(void)
{
    // Only timers of ours: a stale id could by now belong to another timer of the process.
    if (Activation.shotTimer) timeKillEvent(Activation.shotTimer);
    if (Activation.gunSoundTimer) timeKillEvent(Activation.gunSoundTimer);
    Activation.shotTimer = 0;
    Activation.gunSoundTimer = 0;
}

// 0 when the screen cannot be drawn on: then there is nothing to shoot at.
static int PrepareGraphics(void)
{
    Activation.displayContext = CreateDCA("DISPLAY", NULL, NULL, NULL);
    if (!Activation.displayContext) return 0;
    AppScreenRead();
    Activation.widthTwentieth = App.screenWidth / 20;
    Activation.heightTwentieth = App.screenHeight / 20;
    Activation.bitmapOrigin.x = 0;
    Activation.bitmapOrigin.y = 0;
    // Made here, not at a bullet: a scaled display gets its images once per activation.
    ShotArtMake(Activation.displayContext);
    Activation.graphicsReady = true;
    return 1;
}

int ShootingWindowExists(void) { return Activation.window != NULL; }

static LRESULT OnDestroy(void);

static LRESULT OnCreate(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Activation.window = window;
    int started = SoundStart(window);
    if (started == SOUND_START_QUIT) {
        // Refused creation: Wine destroys the window without WM_DESTROY.
        Activation.window = NULL;
        return -1;
    }
    // Silent until the user turns sound on again in the configuration dialog.
    if (started == 0) SoundSwitchOff(0);
    // Monitors and their scales first: the clock's margin grows with its monitor's.
    ShotArtReadMonitors();
    Activation.clockTarget = ClockTargetRect();
    SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS);
    Activation.grenadesInFlight = 0;
    Activation.nextGrenadeSlot = 0;
    for (int k = 0; k < GRENADE_SLOT_COUNT; ++k) {
        Activation.grenades[k].timerId = GRENADE_TIMER_FIRST + k;
        // A crater of this activation's until a throw says which monitor's.
        Activation.grenades[k].art = ShotArtAt(0, 0);
    }
    SetCursor(App.shootingCursor);
    SetCapture(window);
    Activation.active = true;
    if (!Activation.graphicsReady && !PrepareGraphics()) {
        // Refused like a Cancel, with what was started undone.
        OnDestroy();
        ReleaseCapture();
        return -1;
    }
    // Taken before the window is shown: the copy is the desktop the user was looking at.
    CanvasOpen(window, Activation.displayContext);
    return DefWindowProcA(window, message, wParam, lParam);
}

static LRESULT OnDestroy(void)
{
    // Timers of a window closed without the end sequence would fire on for nothing.
    KillBurstTimers();
    Activation.active = false;
    CanvasClose();
    if (Activation.graphicsReady) {
        ShotArtFree();
        DeleteDC(Activation.displayContext);
        Activation.displayContext = NULL;
        Activation.graphicsReady = false;
    }
    if (soundStarted) SoundShutdown();
    SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
    Activation.window = NULL;
    // The main window gives sound back to an open configuration dialog.
    PostMessageA(App.mainWindow, MSG_SHOOTING_ENDED, 0, 0);
    return 0;
}

// The gun sounds from a point left of and above the cursor, and not over the clock.
static void GunSoundTick(void)
{
    POINT cursor;
    GetCursorPos(&cursor);
    int x = cursor.x - Activation.widthTwentieth / 2 - HOLE_OFFSET;
    int y = cursor.y - Activation.heightTwentieth / 2 - HOLE_OFFSET;
    POINT test = {x + HOLE_OFFSET, y + HOLE_OFFSET};
    if (PtInRect(&Activation.clockTarget, test) && ActiveProfile()->withCuckoo) return;
    SoundPlay(SOUND_SLOT_MACHINE_GUN, SoundPanForX(x - App.screenLeft, App.screenWidth), 0);
}

static void StartBurst(HWND window)
{
    // A press while a burst runs (its release lost) restarts it instead of leaking its timers.
    KillBurstTimers();
    // What the last burst left waiting or held (or took along with its window) counts no more.
    TickReset(&Activation.shotTick);
    TickReset(&Activation.gunSoundTick);
    ShotImpact(SHOT_BULLET, 0);
    Activation.shotTimer = timeSetEvent(SpeedPeriodMs(ActiveProfile()->fireSpeed), 0,
                                        ShotTimerProc, (DWORD_PTR)window, TIME_PERIODIC);
    Activation.gunSoundTimer = timeSetEvent(SpeedPeriodMs(ActiveProfile()->soundSpeed), 0,
                                            GunSoundTimerProc, (DWORD_PTR)window, TIME_PERIODIC);
    // The second bullet is the first tick in the queue (or the one the timer has put there).
    TickPost(&Activation.shotTick, window, TIMER_SHOT);
    // The first gun sound at once, not as a tick: it must not free the kind while one waits.
    GunSoundTick();
}

static void ThrowGrenade(HWND window)
{
    if (Activation.rightButtonHeld || !Activation.active || AppMessageBoxOpen() ||
        Activation.grenadesInFlight >= GRENADE_SLOT_COUNT)
        return;
    Activation.rightButtonHeld = true;
    POINT cursor;
    GetCursorPos(&cursor);
    GrenadeSlot *slot = &Activation.grenades[Activation.nextGrenadeSlot];
    // The crater lands where the cursor was at the throw, wherever it is at the detonation, at the
    // size of the monitor it was thrown at.
    slot->art = ShotArtAt(cursor.x, cursor.y);
    slot->craterX = cursor.x - slot->art->craterSize.x / 2;
    slot->craterY = cursor.y - slot->art->craterSize.y / 2;
    SoundPlay(SOUND_SLOT_GRENADE, SoundPanForX(slot->craterX - App.screenLeft, App.screenWidth), 0);
    SetTimer(window, slot->timerId, (UINT)ActiveProfile()->grenadeDelay, NULL);
    Activation.grenadesInFlight++;
    Activation.nextGrenadeSlot = (Activation.nextGrenadeSlot + 1) % GRENADE_SLOT_COUNT;
}

// The grenade slot whose timer, counted from first, id is; -1 when it is none of the five.
static int GrenadeSlotOfTimer(WPARAM id, UINT first)
{
    return id >= first && id < first + GRENADE_SLOT_COUNT ? (int)(id - first) : -1;
}

static int DetonationSlot(WPARAM id) { return GrenadeSlotOfTimer(id, GRENADE_TIMER_FIRST); }
static int CompletionSlot(WPARAM id) { return GrenadeSlotOfTimer(id, GRENADE_TIMER_FIRST + GRENADE_COMPLETION_OFFSET); }

static LRESULT OnTimer(HWND window, WPARAM id)
{
    if (DetonationSlot(id) >= 0) {
        KillTimer(window, id);
        ShotImpact(SHOT_CRATER, DetonationSlot(id));
        SetTimer(window, id + GRENADE_COMPLETION_OFFSET, GRENADE_COMPLETION_MS, NULL);
    } else if (CompletionSlot(id) >= 0) {
        KillTimer(window, id);
        Activation.grenadesInFlight--;
    } else if (id == TIMER_SHOT) {
        ShotImpact(SHOT_BULLET, 0);
        // Freed when done, not before: a tick slower than its period would let the next one in
        // while it works, and the queue would never be empty for the release.
        TickDone(&Activation.shotTick, window, TIMER_SHOT);
    } else if (id == TIMER_GUN_SOUND) {
        GunSoundTick();
        TickDone(&Activation.gunSoundTick, window, TIMER_GUN_SOUND);
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

// Waits while the farewell plays, polling as the end always has, but answering Windows on every
// turn: a sent message (the end of the logon among them) is handled, nothing queued is acted on
// (clicks and keys die with the window), and the window is never taken for hung. Ends early when
// the window or the logon goes.
static void WaitForFarewell(HWND window)
{
    // A buffer that never reports its end must not leave the screen covered: the wait ends a
    // margin after the sound's length.
    SoundObject *farewell = SoundSlotObject(SOUND_SLOT_FINAL);
    uint64_t limit = (uint64_t)(farewell ? farewell->durationMs : 0) + FINAL_SOUND_MARGIN_MS;
    DWORD waitStart = GetTickCount();
    MSG message;
    while (Activation.window == window && !App.sessionEnding &&
           SoundIsPlaying(SoundSlotObject(SOUND_SLOT_FINAL), 0) && GetTickCount() - waitStart < limit) {
        MsgWaitForMultipleObjects(0, NULL, FALSE, FINAL_SOUND_POLL_MS, QS_SENDMESSAGE);
        PeekMessageA(&message, NULL, 0, 0, PM_NOREMOVE);
    }
}

static LRESULT EndActivation(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    KillBurstTimers();
    Activation.active = false;
    SoundStop(SOUND_SLOT_MACHINE_GUN);
    SoundStop(SOUND_SLOT_GRENADE);
    // The farewell is heard in full before the desktop comes back; not when Windows is ending.
    if (!App.sessionEnding) {
        SoundPlay(SOUND_SLOT_FINAL, 0, 0);
        WaitForFarewell(window);
    }
    if (Activation.window != window) return 0;  // destroyed while it waited
    ReleaseCapture();
    SetEndOfActivationTip();
    ShowWindow(App.mainWindow, SW_HIDE);
    LRESULT result = DefWindowProcA(window, message, wParam, lParam);
    DestroyWindow(window);
    return result;
}

void ShootingWindowEndSession(void)
{
    // Creating (a box of its sound start may be open) or ending: the end sequence sees the flag.
    if (Activation.window && Activation.active) DestroyWindow(Activation.window);
}

LRESULT CALLBACK ShootingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The input a tick let go first has come: the ticks may follow again. Not the release, which
    // ends the burst: no tick may slip in before its timers die.
    int input = (message >= WM_KEYFIRST && message <= WM_KEYLAST) || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST);
    if (input && message != WM_LBUTTONUP) {
        TickResume(&Activation.shotTick);
        TickResume(&Activation.gunSoundTick);
    }
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
    case WM_RBUTTONUP: Activation.rightButtonHeld = false; return 0;
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
        if (Activation.active) return 1;
        break;
    }
    // While an activation runs the window keeps the focus, the foreground and the capture,
    // except while a box of ours waits for an answer.
    if (!Activation.active || AppMessageBoxOpen()) return DefWindowProcA(window, message, wParam, lParam);
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
