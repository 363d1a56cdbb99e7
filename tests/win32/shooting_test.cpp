// The shooting window driven by messages: bursts, grenades, holes on the screen, the clock cuckoo, the end.
#include <windows.h>
#include <winternl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <thread>

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/tray_icon.h"
#include "fake_dsound.h"
#include "fake_message_box.h"
#include "shooting/activation.h"
#include "shooting/shooting_window.h"
#include "shooting/shot_math.h"
#include "shooting/statistics.h"
#include "sound/sound_engine.h"

namespace {

const COLORREF BACKDROP = RGB(0xC0, 0xA0, 0x60);  // neither black nor white, so AND shows on it
const COLORREF BLACK = RGB(0, 0, 0);
const int ACTIVE = 2;

COLORREF ScreenPixel(int x, int y)
{
    HDC screen = GetDC(NULL);
    COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(NULL, screen);
    return colour;
}

// Runs this thread's messages until done() holds or timeoutMs have passed; says whether it held.
template <class Condition> bool PumpUntil(Condition done, DWORD timeoutMs)
{
    for (DWORD start = GetTickCount();;) {
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        if (done()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, NULL, FALSE, 5, QS_ALLINPUT);
    }
}

// Handles what is queued already, so that a count read afterwards is settled.
void Drain(void) { PumpUntil([] { return true; }, 0); }

// White with a black inside: AND keeps the screen under the one-pixel frame and blackens the rest.
HBITMAP FramedBlackBitmap(int size)
{
    HDC screen = GetDC(NULL);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    PatBlt(memory, 0, 0, size, size, WHITENESS);
    PatBlt(memory, 1, 1, size - 2, size - 2, BLACKNESS);
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
    return bitmap;
}

// Live GDI objects of this process. Wine's GetGuiResources always says 0; there the GDI handle
// table the PEB points to (at 0xF8, 24-byte entries) is counted: entries with a type, ours or shared.
long GdiObjectCount(void)
{
    if (DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return (long)reported;
    typedef LONG(WINAPI * QueryProcess)(HANDLE, PROCESSINFOCLASS, void *, ULONG, ULONG *);
    QueryProcess query =
        (QueryProcess)(void *)GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess");
    PROCESS_BASIC_INFORMATION basic = {};
    if (!query || query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, NULL) != 0) return -1;
    const unsigned char *table = *(const unsigned char *const *)((const unsigned char *)basic.PebBaseAddress + 0xF8);
    long count = 0;
    // An entry: the object (8 bytes), the owning process id (2), lock (2), unique (2), type (1), ...
    for (const unsigned char *entry = table; table && entry < table + 24 * 0x10000; entry += 24) {
        USHORT owner = *(const USHORT *)(entry + 8);
        count += entry[14] && (owner == (USHORT)GetCurrentProcessId() || !owner);
    }
    return count;
}

class ShootingTest : public FakeDirectSoundTest {
protected:
    HWND backdrop = NULL, mainWindow = NULL, window = NULL, tray = NULL;

    void SetUp() override
    {
        FakeDirectSoundTest::SetUp();
        ShootingWindowRegister(GetModuleHandleA(NULL));  // 0 once registered by an earlier test
        RegisterClassOnce("VrokTestBackdrop", DefWindowProcA, CreateSolidBrush(BACKDROP));
        WriteProfileSounds(ACTIVE);
        Settings.profiles[ACTIVE].grenadeDelay = 30000;
        Settings.activeProfile = ACTIVE;
        Activation.rightButtonHeld = false;  // a window of a test before may have died with it held
        App.holeBitmap = FramedBlackBitmap(15);
        App.craterBitmap = FramedBlackBitmap(128);
        App.shootingCursor = LoadCursorA(NULL, (LPCSTR)IDC_CROSS);
        ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
        ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 600);
        TrayIcon.record.szTip[0] = '\0';
        // The user's desktop, one flat colour, and the main window that the end hides.
        backdrop = CreateWindowExA(0, "VrokTestBackdrop", "", WS_POPUP | WS_VISIBLE, 0, 0, 800, 600, NULL, NULL,
                                   App.instance, NULL);
        App.mainWindow = mainWindow =
            CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 40, 20, NULL, NULL, NULL, NULL);
        ASSERT_TRUE(PumpUntil([] { return ScreenPixel(400, 300) == BACKDROP; }, 3000));
    }

    void TearDown() override
    {
        for (HWND each : {window, tray, mainWindow, backdrop})
            if (IsWindow(each)) DestroyWindow(each);
        Drain();
        DeleteObject(App.holeBitmap);
        DeleteObject(App.craterBitmap);
        FakeDirectSoundTest::TearDown();
    }

    // Created as the main window creates it, but not shown: in this test program Wine gives a
    // window that never paints a black surface, which screen reads would see instead of the desktop.
    HWND Activate(void)
    {
        window =
            CreateWindowExA(0, SHOOTING_WINDOW_CLASS, "", WS_POPUP | WS_BORDER, 0, 0, 800, 600, NULL, NULL, App.instance, NULL);
        Drain();
        return window;
    }

    LRESULT Send(UINT message, WPARAM wParam = 0) { return SendMessageA(window, message, wParam, 0); }

    void Throw(void)
    {
        Send(WM_RBUTTONDOWN);
        Send(WM_RBUTTONUP);
    }

    // Wine moves the cursor through the X server and can report an older position for a while:
    // it counts as there once it has stayed there past the 100 ms in which Wine trusts itself.
    bool MoveCursor(int x, int y)
    {
        POINT at = {-1, -1};
        SetCursorPos(x, y);
        DWORD since = GetTickCount();
        bool there = PumpUntil([&] {
            GetCursorPos(&at);
            if (at.x == x && at.y == y) return GetTickCount() - since >= 150;
            SetCursorPos(x, y);
            since = GetTickCount();
            return false;
        }, 3000);
        EXPECT_TRUE(there) << "cursor at " << at.x << "," << at.y << " not " << x << "," << y;
        return there;
    }

    // Puts the cursor where the next bullet hits (x, y), the generator left as it was.
    bool AimNextBulletAt(int x, int y)
    {
        uint32_t saved = randomState;
        BulletPlacement bullet;
        BulletPlace(&bullet);
        randomState = saved;
        return MoveCursor(x - bullet.offsetX, y - bullet.offsetY);
    }

    FakeBufferRecord *Buffer(int slot, int index) { return FakeBufferOf(SoundSlotObject(slot)->buffers[index]); }
    long LastPan(int slot) { return Buffer(slot, SoundSlotObject(slot)->currentBuffer)->pan; }
    static long PanFor(int x) { return (long)x * 5000 / 800 - 2500; }

    void FinishAll(int slot)
    {
        for (int i = 0; i < SoundSlotObject(slot)->bufferCount; ++i) FakeBufferFinish(Buffer(slot, i)->id);
    }

    int Plays(int slot)
    {
        int plays = 0;
        for (int i = 0; i < SoundSlotObject(slot)->bufferCount; ++i) plays += Buffer(slot, i)->plays;
        return plays;
    }

    // A hole (15 pixels from the hit point less 8) or a crater (128 from the cursor less 64): the
    // frame keeps the backdrop, the inside is black.
    void ExpectMark(int x, int y, int size)
    {
        int last = size - 1, middle = size / 2;
        for (POINT p : {POINT{x, y}, POINT{x + last, y + last}, POINT{x - 1, y + middle}})
            EXPECT_EQ(ScreenPixel(p.x, p.y), BACKDROP) << p.x << "," << p.y;
        for (POINT p : {POINT{x + 1, y + 1}, POINT{x + middle, y + middle}, POINT{x + last - 1, y + last - 1}})
            EXPECT_EQ(ScreenPixel(p.x, p.y), BLACK) << p.x << "," << p.y;
    }

    // The burst's multimedia timers are dead after act(): one still running is killed here, failing the test.
    template <class Act> void ExpectBurstTimersDieOn(Act act)
    {
        UINT shotTimer = Activation.shotTimer, gunSoundTimer = Activation.gunSoundTimer;
        act();
        EXPECT_NE(timeKillEvent(shotTimer), (MMRESULT)TIMERR_NOERROR) << "the shot timer ran on";
        EXPECT_NE(timeKillEvent(gunSoundTimer), (MMRESULT)TIMERR_NOERROR) << "the gun sound timer ran on";
    }

    void StartBurst(void)
    {
        uint32_t shots = Statistics.shots;
        Send(WM_LBUTTONDOWN);
        EXPECT_TRUE(PumpUntil([&] { return Statistics.shots >= shots + 20 && Plays(GUN) >= 5; }, 3000));
    }
};

TEST_F(ShootingTest, ABurstRunsFromPressToReleaseRestartsOnAPressAndDiesWithTheWindow)
{
    ASSERT_NE(Activate(), (HWND)NULL);
    EXPECT_TRUE(Activation.active);
    EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), (DWORD)HIGH_PRIORITY_CLASS);
    EXPECT_EQ(FakeDs.cooperativeWindow, window);
    ASSERT_TRUE(AimNextBulletAt(200, 150));
    Send(WM_TIMER, TIMER_SHOT);
    ExpectMark(200 - 8, 150 - 8, 15);

    // A bullet and the gun at once, the gun from 20 + 8 pixels left of the cursor; however short
    // the press, a second bullet.
    ASSERT_TRUE(MoveCursor(300, 200));
    uint32_t shots = Statistics.shots;
    Send(WM_LBUTTONDOWN);
    EXPECT_EQ(Statistics.shots, shots + 1);
    EXPECT_EQ(Plays(GUN), 1);
    EXPECT_EQ(LastPan(GUN), PanFor(300 - 20 - 8));
    ExpectBurstTimersDieOn([&] { Send(WM_LBUTTONUP); });
    Drain();
    EXPECT_GE(Statistics.shots, shots + 2);

    // A press whose release was lost restarts the burst instead of adding a second one.
    StartBurst();
    ExpectBurstTimersDieOn([&] { Send(WM_LBUTTONDOWN); });
    // Closed in the middle of a burst, not by the user's end.
    ExpectBurstTimersDieOn([&] { DestroyWindow(window); });
    EXPECT_FALSE(Activation.active);
    EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), (DWORD)NORMAL_PRIORITY_CLASS);
    EXPECT_EQ(FakeDs.liveObjects, 0);
    EXPECT_STREQ(TrayIcon.record.szTip, "") << "only the end sets the tip";
    EXPECT_TRUE(IsWindowVisible(mainWindow)) << "only the end hides the main window";
}

TEST_F(ShootingTest, AGunFailingMidBurstShowsOneBoxThatGetsMouseAndKeysThenShootingGoesOn)
{
    ASSERT_NE(Activate(), (HWND)NULL);
    ASSERT_TRUE(MoveCursor(400, 300));
    SetFocus(window);
    ASSERT_EQ(GetCapture(), window);
    bool mouseFree = false, burstStopped = false, keysFree = false;
    FakeMessageBoxInstall({}, [&] {
        if (FakeMessageBoxCalls().size() > 1) return;  // a box inside the box: failed below
        // The box's modal loop: ticks and clicks keep arriving while the user reads it.
        mouseFree = GetCapture() != window;
        burstStopped = Activation.shotTimer == 0 && Activation.gunSoundTimer == 0;
        SetFocus(mainWindow);
        Send(WM_RBUTTONDOWN);
        Send(WM_TIMER, TIMER_GUN_SOUND);
        PumpUntil([] { return false; }, 300);
        keysFree = GetFocus() == mainWindow;
    });
    // A device that went away: every gun buffer lost for good.
    for (int i = 0; i < 3; ++i) FakeBufferLose(Buffer(GUN, i)->id);
    FakeDs.restoreResult = DSERR_BUFFERLOST;
    Send(WM_LBUTTONDOWN);
    EXPECT_EQ(FakeMessageBoxShown(), std::vector<std::string>{"DirectSound Error: Error while playing Soundbuffer! (0x1040)"});
    EXPECT_TRUE(mouseFree);
    EXPECT_TRUE(burstStopped);
    EXPECT_TRUE(keysFree);
    EXPECT_EQ(Activation.grenadesInFlight, 0) << "a click meant for the box threw a grenade";

    // Answered: the mouse comes back with its next move, the gun fires on, silent and without a box.
    Send(WM_MOUSEMOVE);
    EXPECT_EQ(GetCapture(), window);
    uint32_t shots = Statistics.shots;
    Send(WM_LBUTTONDOWN);
    EXPECT_TRUE(PumpUntil([&] { return Statistics.shots >= shots + 20; }, 3000));
    Send(WM_LBUTTONUP);
    EXPECT_EQ(FakeMessageBoxCalls().size(), 1u);
}

TEST_F(ShootingTest, FiveGrenadesFlyAtOnceInTheirSlotsAndEachCratersWhereItWasThrown)
{
    ASSERT_NE(Activate(), (HWND)NULL);
    uint32_t grenades = Statistics.grenades;
    const POINT throws[] = {{100, 100}, {250, 100}, {400, 100}, {550, 100}, {300, 400}, {700, 500}};
    for (int k = 0; k < 6; ++k) {
        SCOPED_TRACE(k);
        ASSERT_TRUE(MoveCursor(throws[k].x, throws[k].y));
        Send(WM_RBUTTONDOWN);
        Throw();  // still held: no second grenade
        EXPECT_EQ(Plays(GRENADE), std::min(k + 1, 5)) << "a sixth is refused silently";
        EXPECT_EQ(LastPan(GRENADE), PanFor(throws[std::min(k, 4)].x - 64));
    }
    EXPECT_EQ(Activation.grenadesInFlight, 5);
    EXPECT_EQ(Statistics.grenades, grenades) << "counted at the throw";

    // The third detonates (timer 1003) where it was thrown, and flies on until 1103.
    Send(WM_TIMER, 1003);
    EXPECT_EQ(Statistics.grenades, grenades + 1);
    ExpectMark(400 - 64, 100 - 64, 128);
    EXPECT_EQ(ScreenPixel(250, 100), BACKDROP) << "another slot's crater";
    Throw();
    EXPECT_EQ(Plays(GRENADE), 5);
    Send(WM_TIMER, 1103);
    EXPECT_EQ(Activation.grenadesInFlight, 4);
    EXPECT_EQ(Statistics.grenades, grenades + 1);

    // Room again: the throw takes the first slot, and its timer is 1001 again.
    Throw();
    EXPECT_EQ(Plays(GRENADE), 6);
    Send(WM_TIMER, 1001);
    ExpectMark(700 - 64, 500 - 64, 128);
    EXPECT_EQ(ScreenPixel(100, 100), BACKDROP) << "the slot's earlier crater";
}

TEST_F(ShootingTest, ACraterLandsAfterTheDelayWhereTheCursorWasAtTheThrow)
{
    Settings.profiles[ACTIVE].grenadeDelay = 600;
    ASSERT_NE(Activate(), (HWND)NULL);
    uint32_t grenades = Statistics.grenades;
    ASSERT_TRUE(MoveCursor(200, 200));
    DWORD thrown = GetTickCount();
    Throw();
    ASSERT_TRUE(MoveCursor(560, 420));
    ASSERT_LT(GetTickCount() - thrown, 550u) << "the cursor moved too late to tell the two places apart";
    ASSERT_TRUE(PumpUntil([&] { return Statistics.grenades != grenades; }, 3000));
    EXPECT_GE(GetTickCount() - thrown, 590u);
    EXPECT_LT(GetTickCount() - thrown, 1200u);
    ExpectMark(200 - 64, 200 - 64, 128);
    EXPECT_EQ(ScreenPixel(560, 420), BACKDROP) << "a crater at the cursor of the detonation";
}

TEST_F(ShootingTest, TheClockCuckoosInsteadOfTakingHolesAndSilencesTheGunWhileTheCuckooIsOn)
{
    // A task bar of our own, found before Wine's (which has no clock): the clock is at
    // (650, 320)-(710, 350), so the target is (642, 312)-(718, 358).
    for (const char *name : {"Shell_TrayWnd", "TrayNotifyWnd", "TrayClockWClass"})
        RegisterClassOnce(name, DefWindowProcA, (HBRUSH)GetStockObject(WHITE_BRUSH));
    tray = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "Shell_TrayWnd", "", WS_POPUP | WS_VISIBLE, 500, 300, 250,
                           80, NULL, NULL, App.instance, NULL);
    HWND notificationArea =
        CreateWindowExA(0, "TrayNotifyWnd", "", WS_CHILD | WS_VISIBLE, 50, 10, 180, 60, tray, NULL, App.instance, NULL);
    CreateWindowExA(0, "TrayClockWClass", "", WS_CHILD | WS_VISIBLE, 100, 10, 60, 30, notificationArea, NULL,
                    App.instance, NULL);
    ASSERT_EQ(FindWindowA("Shell_TrayWnd", NULL), tray) << "another task bar is found first";
    ASSERT_TRUE(PumpUntil([] { return ScreenPixel(680, 335) == RGB(255, 255, 255); }, 3000));
    ASSERT_NE(Activate(), (HWND)NULL);
    const struct {
        POINT point;
        int withCuckoo;
        bool finishCuckoo, onClock;
        int cuckoos;
    } cases[] = {
        {{717, 357}, 1, false, true, 1},   // the last pixel inside
        {{718, 330}, 1, false, false, 1},  // the right edge is outside
        {{680, 358}, 1, false, false, 1},  // so is the bottom edge
        {{642, 312}, 1, false, true, 1},   // the first pixel inside, the cuckoo still sounding: nothing at all
        {{660, 320}, 1, true, true, 2},
        {{690, 340}, 0, true, false, 2},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(::testing::Message() << each.point.x << "," << each.point.y);
        Settings.profiles[ACTIVE].withCuckoo = each.withCuckoo;
        if (each.finishCuckoo) FinishAll(CUCKOO);
        uint32_t shots = Statistics.shots;
        ASSERT_TRUE(AimNextBulletAt(each.point.x, each.point.y));
        Send(WM_TIMER, TIMER_SHOT);
        EXPECT_EQ(Statistics.shots, shots + !each.onClock);
        EXPECT_EQ(ScreenPixel(each.point.x, each.point.y) == BLACK, !each.onClock);
        EXPECT_EQ(Plays(CUCKOO), each.cuckoos);
        // The gun's test point is the cursor less half a twentieth of the screen: (20, 15) at 800 x 600.
        ASSERT_TRUE(MoveCursor(each.point.x + 20, each.point.y + 15));
        int plays = Plays(GUN);
        Send(WM_TIMER, TIMER_GUN_SOUND);
        EXPECT_EQ(Plays(GUN), plays + !each.onClock);
        if (!each.onClock) {
            EXPECT_EQ(LastPan(GUN), PanFor(each.point.x + 20 - 28));
        }
        FinishAll(GUN);
    }
    EXPECT_TRUE(FakeMessageBoxCalls().empty()) << "a sounding cuckoo was started again";
}

TEST_F(ShootingTest, EscapeAndTheRightDoubleClickEndTheActivationAlike)
{
    // With Escape the final sound never reports its end: the wait stops a second after its length.
    for (WPARAM escape : {0, 1}) {
        SCOPED_TRACE(escape ? "Escape, a final sound that never ends" : "right double click");
        FakeDirectSoundReset();
        ShowWindow(mainWindow, SW_SHOWNA);
        ASSERT_NE(Activate(), (HWND)NULL);
        Send(WM_CHAR, 'a');
        Send(WM_CHAR, 13);
        ASSERT_TRUE(IsWindow(window)) << "another key ended it";
        ASSERT_TRUE(MoveCursor(400, 300));
        Throw();
        StartBurst();
        // The device's side of the final sound: it ends 300 ms after it started, on another thread.
        FakeBufferRecord *finalSound = Buffer(FINAL, 0);
        uint32_t finalLength = SoundSlotObject(FINAL)->durationMs;
        bool startedPlaying = false, aliveWhilePlaying = false;
        std::thread device([&] {
            volatile int *playing = &finalSound->playing;
            for (DWORD start = GetTickCount(); !(startedPlaying = *playing) && GetTickCount() - start < 5000;) Sleep(2);
            Sleep(300);
            aliveWhilePlaying = IsWindow(window);
            // Ended late all the same, so that a wait without a bound fails instead of hanging.
            if (escape) Sleep(2000);
            FakeBufferFinish(finalSound->id);
        });
        SYSTEMTIME before, after;
        GetLocalTime(&before);
        DWORD start = GetTickCount();
        ExpectBurstTimersDieOn([&] { Send(escape ? WM_CHAR : WM_RBUTTONDBLCLK, escape ? 27 : 0); });
        DWORD took = GetTickCount() - start;
        GetLocalTime(&after);
        device.join();

        // Gone once the final sound has ended, not before.
        EXPECT_TRUE(startedPlaying);
        EXPECT_TRUE(aliveWhilePlaying);
        EXPECT_GE(took, escape ? 1000u + finalLength : 300u);
        EXPECT_LT(took, escape ? 1500u : 1000u);
        EXPECT_FALSE(IsWindow(window));
        EXPECT_EQ(finalSound->plays, 1);
        EXPECT_FALSE(Activation.active);
        EXPECT_FALSE(IsWindowVisible(mainWindow));
        EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), (DWORD)NORMAL_PRIORITY_CLASS);
        // What was shot, and when it ended: within the second of one of the two readings.
        char tips[2][TRAY_TIP_SIZE];
        for (const SYSTEMTIME *at : {&before, &after})
            TrayTipFormatActivation(tips[at == &after], TRAY_TIP_SIZE, Statistics.shots, Statistics.grenades, at->wHour,
                                    at->wMinute, at->wSecond);
        std::string tip = TrayIcon.record.szTip;
        EXPECT_TRUE(tip == tips[0] || tip == tips[1]) << tip;
        Drain();
    }
}

TEST_F(ShootingTest, WithSoundOffActivationsMakeNoSoundCallsEndAtOnceAndLeaveNoGdiObjects)
{
    SoundSetEnabled(0);
    auto shoot = [&](int bullets, int craters) {
        for (int i = 0; i < bullets; ++i) Send(WM_TIMER, TIMER_SHOT), Send(WM_TIMER, TIMER_GUN_SOUND);
        for (int i = 0; i < craters; ++i) {
            int slot = Activation.nextGrenadeSlot;
            Throw();
            Send(WM_TIMER, 1001 + slot);
            Send(WM_TIMER, 1101 + slot);
        }
    };
    // One activation first: what Wine makes once, on first use, is there before counting.
    ASSERT_NE(Activate(), (HWND)NULL);
    ASSERT_TRUE(MoveCursor(400, 300));
    shoot(1, 1);
    DestroyWindow(window);
    long before = GdiObjectCount();
    ASSERT_GT(before, 0);

    ASSERT_NE(Activate(), (HWND)NULL);
    // Silent until the user turns sound on again: the active Profile keeps that.
    EXPECT_EQ(Settings.profiles[ACTIVE].useDirectSound, 0);
    EXPECT_EQ(Settings.profiles[0].useDirectSound, 1);
    shoot(1, 1);
    long during = GdiObjectCount();
    uint32_t shots = Statistics.shots, grenades = Statistics.grenades;
    shoot(1000, 20);
    EXPECT_EQ(Statistics.shots, shots + 1000);
    EXPECT_EQ(Statistics.grenades, grenades + 20);
    EXPECT_EQ(GdiObjectCount(), during);
    Throw();
    DWORD start = GetTickCount();
    Send(WM_RBUTTONDBLCLK);
    EXPECT_LT(GetTickCount() - start, 90u) << "waited for a final sound that cannot play, or for a grenade";
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(GdiObjectCount(), before) << "the display context outlived the window";
    EXPECT_EQ(FakeDs.createCalls, 0);
    EXPECT_TRUE(FakeDs.events.empty());
    EXPECT_TRUE(FakeMessageBoxCalls().empty());
}

}  // namespace
