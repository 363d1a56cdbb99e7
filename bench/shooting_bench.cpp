// Measures real shooting windows with the real DirectSound: fire rate, bullet and gun-sound cost, leaks.
#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <stdio.h>
#include <stdlib.h>
#include <vector>

#include "app/app_state.h"
#include "app/settings_file.h"
#include "resources/resource.h"
#include "shooting/activation.h"
#include "shooting/shooting_window.h"
#include "shooting/shot_impact.h"
#include "shooting/statistics.h"
#include "sound/sound_engine.h"
#include "sound/sound_object.h"

enum { HOLD_MS = 10000, CALLS = 10000, GRENADE_WAVES = 20, ACTIVATIONS = 10, LOADS = 5 };

// A box means sound or settings went wrong: say so, never wait for a person.
static int WINAPI PrintMessageBox(HWND, LPCSTR text, LPCSTR caption, UINT)
{
    fprintf(stderr, "box %s: %s\n", caption, text);
    return IDNO;
}

static double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    return (double)(to.QuadPart - from.QuadPart) / (double)frequency.QuadPart;
}

static void Pump(DWORD ms)
{
    DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms) return;
        MsgWaitForMultipleObjects(0, NULL, FALSE, ms - elapsed, QS_ALLINPUT);
    }
}

// --- Handle counts. Wine 8 stubs GetGuiResources and GetProcessHandleCount (both give 0), so
// each is paired with a count Wine does keep: its per-process GDI handle table, the windows of
// the process and the system handle list.
struct Counts { DWORD gdi, user, gdiTable, windows, handles, handleList; };

static BOOL CALLBACK CountWindow(HWND window, LPARAM counter)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId()) return TRUE;
    ++*(DWORD *)counter;
    EnumChildWindows(window, CountWindow, counter);
    return TRUE;
}

static DWORD GdiTableCount(void)
{
#ifndef _WIN64
    return 0;  // the layout below is the 64-bit one
#endif
    // PEB.GdiSharedHandleTable: 65536 entries of 24 bytes, the type byte at 14.
    PROCESS_BASIC_INFORMATION process = {};
    NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &process, sizeof process, NULL);
    const unsigned char *table = process.PebBaseAddress ? *(unsigned char **)((char *)process.PebBaseAddress + 0xF8) : NULL;
    DWORD live = 0;
    for (int i = 0; table && i < 0x10000; ++i) live += table[24 * i + 14] != 0;
    return live;
}

struct HandleEntry { ULONG process; UCHAR type, flags; USHORT value; PVOID object; ACCESS_MASK access; };

static DWORD HandleListCount(void)
{
    static std::vector<unsigned char> buffer(1 << 22);  // SystemHandleInformation
    if (NtQuerySystemInformation((SYSTEM_INFORMATION_CLASS)16, buffer.data(), (ULONG)buffer.size(), NULL)) return 0;
    ULONG count = *(ULONG *)buffer.data();
    const HandleEntry *entries = (const HandleEntry *)(buffer.data() + sizeof(ULONG_PTR));
    DWORD mine = 0;
    for (ULONG i = 0; i < count; ++i) mine += entries[i].process == GetCurrentProcessId();
    return mine;
}

static Counts CountHandles(void)
{
    Pump(1000);  // lets finished threads and windows go first
    Counts c = {};
    c.gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    c.user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    c.gdiTable = GdiTableCount();
    EnumWindows(CountWindow, (LPARAM)&c.windows);
    GetProcessHandleCount(GetCurrentProcess(), &c.handles);
    c.handleList = HandleListCount();
    return c;
}

static ULONG DirectSoundRefs(void)
{
    IDirectSound *directSound = SoundDirectSound();
    if (!directSound) return 0;
    directSound->AddRef();
    return directSound->Release();
}

// --- Activations, driven as the main window and the user drive them.
static HWND Activate(void)
{
    HWND window = CreateWindowExA(0, SHOOTING_WINDOW_CLASS, "", WS_POPUP | WS_BORDER, 0, 0, App.screenWidth,
                                  App.screenHeight, NULL, NULL, App.instance, NULL);
    if (!window || !soundStarted) {
        fprintf(stderr, "activation failed (window %p, sound %d)\n", (void *)window, soundStarted);
        exit(1);
    }
    ShowWindow(window, SW_SHOWMAXIMIZED);
    UpdateWindow(window);
    SetFocus(window);
    SetCursorPos(App.screenWidth / 2, App.screenHeight / 2);  // far from the task-bar clock
    Pump(50);
    return window;
}

static void EndActivation(HWND window)
{
    SendMessageA(window, WM_CHAR, 27, 0);
    Pump(50);
    if (IsWindow(window) || Activation.active) {
        fprintf(stderr, "the end sequence left the window\n");
        exit(1);
    }
}

static void Burst(HWND window, DWORD ms)
{
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    Pump(ms);
    SendMessageA(window, WM_LBUTTONUP, 0, 0);
    Pump(20);  // the shots already posted land before the next measurement
}

// Throws count grenades at once; their completions are posted unless waitForCompletion.
static void GrenadeWave(HWND window, int count, bool waitForCompletion)
{
    uint32_t landed = Statistics.grenades + count;
    for (int i = 0; i < count; ++i) {
        SendMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON, 0);
        SendMessageA(window, WM_RBUTTONUP, 0, 0);
    }
    for (int t = 0; t < 500 && Statistics.grenades < landed; ++t) Pump(5);
    if (!waitForCompletion)
        for (int k = 0; k < GRENADE_SLOT_COUNT; ++k)
            SendMessageA(window, WM_TIMER, GRENADE_TIMER_FIRST + GRENADE_COMPLETION_OFFSET + k, 0);
    for (int t = 0; t < 400 && Activation.grenadesInFlight > 0; ++t) Pump(10);
    if (Statistics.grenades != landed || Activation.grenadesInFlight != 0) {
        fprintf(stderr, "grenades: %u landed, %d in flight\n", Statistics.grenades, Activation.grenadesInFlight);
        exit(1);
    }
}

static double FireRate(HWND window, int speed)
{
    Settings.profiles[Settings.activeProfile].fireSpeed = speed;
    uint32_t first = Statistics.shots;
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    Pump(HOLD_MS);
    uint32_t shots = Statistics.shots - first;
    QueryPerformanceCounter(&end);
    SendMessageA(window, WM_LBUTTONUP, 0, 0);
    Pump(20);
    return shots / Seconds(start, end);
}

// Median and 99th percentile in microseconds of CALLS calls of call(window).
static void Cost(HWND window, void (*call)(HWND), double *median, double *p99)
{
    std::vector<double> times(CALLS);
    for (double &time : times) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        call(window);
        QueryPerformanceCounter(&end);
        time = Seconds(start, end) * 1e6;
    }
    std::sort(times.begin(), times.end());
    *median = times[CALLS / 2];
    *p99 = times[CALLS * 99 / 100];
}

static void OneBullet(HWND) { ShotImpact(SHOT_BULLET, 0); }
static void OneGunSoundTick(HWND window) { SendMessageA(window, WM_TIMER, TIMER_GUN_SOUND, 0); }

// Median and slowest in milliseconds of LOADS loads of the file in the program folder, on the
// real DirectSound of a running activation; 0 / 0 when one fails.
static void LoadTime(const char *name, double *median, double *slowest)
{
    char path[MAX_PATH];
    snprintf(path, sizeof path, "%s%s", App.programFolder, name);
    std::vector<double> times(LOADS);
    *median = *slowest = 0;
    for (double &time : times) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        SoundObject *object = SoundObjectLoad(SoundDirectSound(), path, 1);
        QueryPerformanceCounter(&end);
        if (!object) return;
        SoundObjectFree(object);
        time = Seconds(start, end) * 1e3;
    }
    std::sort(times.begin(), times.end());
    *median = times[LOADS / 2];
    *slowest = times[LOADS - 1];
}

static void CountRow(const char *what, DWORD Counts::*field, const Counts *at)
{
    printf("| %s: start / before / after | %lu / %lu / %lu | %s |\n", what, at[0].*field,
           at[1].*field, at[2].*field, at[2].*field > at[1].*field ? "GROWTH" : "no growth");
}

int main()
{
    AppStateReset();
    AppMessageBoxPlatform = PrintMessageBox;
    App.instance = GetModuleHandleA(NULL);
    AppFindDirectSound();
    char modulePath[MAX_PATH];
    GetModuleFileNameA(NULL, modulePath, sizeof modulePath);
    ProgramFolderFromPath(modulePath, App.programFolder, sizeof App.programFolder);
    SettingsDefaults();
    Settings.profiles[Settings.activeProfile].grenadeDelay = 0;
    SoundSetEnabled(Settings.profiles[Settings.activeProfile].useDirectSound);
    App.screenWidth = (short)GetSystemMetrics(SM_CXSCREEN);
    App.screenHeight = (short)GetSystemMetrics(SM_CYSCREEN);
    App.shootingCursor = LoadCursorA(App.instance, RES_CURSOR_SHOOTING);
    App.holeBitmap = LoadBitmapA(App.instance, RES_BITMAP_HOLE);
    App.craterBitmap = LoadBitmapA(App.instance, RES_BITMAP_CRATER);
    if (!App.holeBitmap || !App.craterBitmap || !ShootingWindowRegister(App.instance)) return 1;

    Counts counts[3];
    counts[0] = CountHandles();
    // One whole activation first, so that what Wine sets up once is not counted as growth.
    HWND window = Activate();
    Burst(window, 200);
    GrenadeWave(window, 1, true);
    EndActivation(window);
    counts[1] = CountHandles();
    uint32_t shotsBefore = Statistics.shots, grenadesBefore = Statistics.grenades;

    window = Activate();
    ULONG refsFirst = DirectSoundRefs();
    const int speeds[] = {500, 490, 250};
    double rates[3];
    for (int i = 0; i < 3; ++i) rates[i] = FireRate(window, speeds[i]);
    double bulletMedian, bulletP99, soundMedian, soundP99;
    Cost(window, OneBullet, &bulletMedian, &bulletP99);
    Cost(window, OneGunSoundTick, &soundMedian, &soundP99);
    for (int wave = 0; wave < GRENADE_WAVES; ++wave)
        GrenadeWave(window, GRENADE_SLOT_COUNT, wave == GRENADE_WAVES - 1);
    ULONG refsLoaded = DirectSoundRefs();
    EndActivation(window);
    ULONG refsLast = 0;
    for (int i = 1; i < ACTIVATIONS; ++i) {
        window = Activate();
        Burst(window, 50);
        refsLast = DirectSoundRefs();
        EndActivation(window);
    }
    counts[2] = CountHandles();
    // Off the counts: a compressed sound, converted as it loads, beside the same sound in 16-bit PCM.
    window = Activate();
    double adpcmMedian, adpcmSlowest, pcmMedian, pcmSlowest;
    LoadTime("bench-adpcm.wav", &adpcmMedian, &adpcmSlowest);
    LoadTime("bench-pcm.wav", &pcmMedian, &pcmSlowest);
    EndActivation(window);

    printf("| Measurement | Result | Goal |\n|---|---|---|\n");
    for (int i = 0; i < 3; ++i) {
        double expected = 1000.0 / (501 - speeds[i]);
        printf("| Fire speed %d, %d s held: bullets/s | %.1f of %.1f (%.1f %%) | %s |\n", speeds[i],
               HOLD_MS / 1000, rates[i], expected, 100 * rates[i] / expected, i ? "" : ">= 95 %");
    }
    printf("| One bullet, ShotImpact(1, 0): median / p99 | %.1f / %.1f \xC2\xB5s | microseconds |\n",
           bulletMedian, bulletP99);
    printf("| One gun sound tick, WM_TIMER 2: median / p99 | %.1f / %.1f \xC2\xB5s | microseconds |\n",
           soundMedian, soundP99);
    printf("| Load of a 10 s stereo 44.1 kHz IMA ADPCM wave, SoundObjectLoad: median / slowest of %d | %.1f / %.1f ms "
           "(16-bit PCM of it: %.1f / %.1f ms) | off the firing path |\n", LOADS, adpcmMedian, adpcmSlowest, pcmMedian, pcmSlowest);
    CountRow("GDI objects, GetGuiResources", &Counts::gdi, counts);
    CountRow("USER objects, GetGuiResources", &Counts::user, counts);
    CountRow("GDI objects, Wine's handle table", &Counts::gdiTable, counts);
    CountRow("Windows of the process", &Counts::windows, counts);
    CountRow("Process handles, GetProcessHandleCount", &Counts::handles, counts);
    CountRow("Process handles, system handle list", &Counts::handleList, counts);
    printf("| DirectSound references: 1st measured activation, after its load, 10th | %lu / %lu / %lu | %s |\n",
           refsFirst, refsLoaded, refsLast,
           refsFirst == refsLoaded && refsLoaded == refsLast ? "no growth" : "GROWTH");
    printf("\nBetween before and after: %d activations, %u bullets, %u grenades.\n", ACTIVATIONS,
           Statistics.shots - shotsBefore, Statistics.grenades - grenadesBefore);
    return 0;
}
