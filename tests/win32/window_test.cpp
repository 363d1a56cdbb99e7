// The main and shooting windows driven by messages: burst timers, boxes, the end's wait, sound starts.
#include "harness.h"

#include "app/main_window.h"
#include "app/tray_icon.h"
#include "resources/resource.h"
#include "shooting/activation.h"
#include "shooting/shooting_window.h"
#include "shooting/statistics.h"

class WindowTest : public Win32Test {
protected:
    HWND window = NULL;
    void SetUp() override
    {
        Win32Test::SetUp();
        MainWindowRegister(App.instance); ShootingWindowRegister(App.instance);  // 0 when done before
        App.mainWindow = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 9, 9, NULL, NULL, NULL, NULL);
    }
    void TearDown() override { DestroyWindow(window); DestroyWindow(App.mainWindow); Drained(); Win32Test::TearDown(); }
    HWND Activate()  // not shown: Wine would give the never-painting window a black surface
    {
        window = CreateWindowExA(0, SHOOTING_WINDOW_CLASS, "", WS_POPUP, 0, 0, 800, 600, NULL, NULL, App.instance, NULL);
        return window;
    }
    LRESULT Send(UINT message, WPARAM wParam = 0) { return SendMessageA(window, message, wParam, 0); }
    static bool Drained()  // whether the program was told to end
    {
        MSG quit;
        bool ended = PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE);
        PumpUntil([] { return true; }, 0);
        return ended;
    }
    // The burst's multimedia timers are dead after act(): one still running is killed here.
    void ExpectTimersDieOn(std::function<void()> act)
    {
        UINT shot = Activation.shotTimer, sound = Activation.gunSoundTimer;
        ASSERT_TRUE(shot && sound);
        act();
        EXPECT_NE(timeKillEvent(shot), (MMRESULT)TIMERR_NOERROR) << "the shot timer ran on";
        EXPECT_NE(timeKillEvent(sound), (MMRESULT)TIMERR_NOERROR) << "the gun sound timer ran on";
    }
    bool Bursting() { return PumpUntil([shots = Statistics.shots] { return Statistics.shots >= shots + 10; }, 3000); }
};

TEST_F(WindowTest, Bursts)
{
    ASSERT_NE(Activate(), (HWND)NULL);
    // A bullet and the gun at once; the bullet posted with them lands after a quick release.
    uint32_t shots = Statistics.shots;
    Send(WM_LBUTTONDOWN);
    EXPECT_EQ(Statistics.shots, shots + 1);
    EXPECT_EQ(Plays(GUN), 1);
    ExpectTimersDieOn([&] { Send(WM_LBUTTONUP); });
    Drained();
    EXPECT_GE(Statistics.shots, shots + 2);
    // A press whose release was lost restarts the burst; the window's end stops it.
    Send(WM_LBUTTONDOWN);
    ASSERT_TRUE(Bursting());
    ExpectTimersDieOn([&] { Send(WM_LBUTTONDOWN); });
    ExpectTimersDieOn([&] { DestroyWindow(window); });
    EXPECT_EQ(FakeDs.live, 0);

    // A gun failing mid-burst shows one box that gets mouse and keys; then shooting goes on.
    ASSERT_NE(Activate(), (HWND)NULL);
    SetFocus(window);
    bool mouseFree = false, burstStopped = false, keysFree = false;
    BoxScript([&] {
        if (Boxes.size() > 1) return IDOK;  // a box inside the box: failed below
        // The box's modal loop: ticks and clicks keep arriving while the user reads it.
        mouseFree = GetCapture() != window;
        burstStopped = !Activation.shotTimer && !Activation.gunSoundTimer;
        SetFocus(App.mainWindow);
        Send(WM_RBUTTONDOWN); Send(WM_TIMER, TIMER_GUN_SOUND); PumpUntil([] { return false; }, 200);
        keysFree = GetFocus() == App.mainWindow;
        return IDOK;
    });
    for (int i = 0; i < SoundSlotObject(GUN)->bufferCount; ++i) FakeLose(SlotBuffer(GUN, i));  // the device went for good
    FakeDs.restoreResult = DSERR_BUFFERLOST;
    Send(WM_LBUTTONDOWN);
    EXPECT_TRUE(BoxesSay({"Error while playing"}));
    EXPECT_TRUE(mouseFree && burstStopped && keysFree);
    EXPECT_EQ(Plays(GRENADE), 0) << "a click meant for the box threw a grenade";
    // Answered: the next move takes the mouse back, and the gun fires on without a box.
    Send(WM_MOUSEMOVE);
    EXPECT_EQ(GetCapture(), window);
    Send(WM_LBUTTONDOWN);
    EXPECT_TRUE(Bursting());
    EXPECT_EQ(Boxes.size(), 1u);
}

TEST_F(WindowTest, EndWaitsForTheFinalSoundBoundedly)
{
    // A final sound that never reports its end is waited for its length and a second.
    ASSERT_NE(Activate(), (HWND)NULL);
    DWORD limit = SoundSlotObject(FINAL)->durationMs + 1000, start = GetTickCount();
    FakeDs.endless = true;
    Send(WM_CHAR, 27);  // Escape
    DWORD took = GetTickCount() - start;
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(took >= limit && took < limit + 400) << took;
}

TEST_F(WindowTest, SoundStartsOfTheWindows)
{
    // The main window's probe shuts a working start down.
    DestroyWindow(App.mainWindow);
    HWND main = App.mainWindow = MainWindowCreate(App.instance);
    EXPECT_EQ(FakeDs.live + soundStarted, 0);
    // Cancel in its retry box refuses it and ends the program; Cancel is not No.
    BoxScript([] { return IDCANCEL; });
    FakeDs.busyUntil = ~0u;
    EXPECT_EQ(MainWindowCreate(App.instance), (HWND)NULL);
    EXPECT_TRUE(Drained());
    EXPECT_EQ(Settings.profiles[0].useDirectSound, 1);
    // While an activation's start waits in that box a second one starts nothing; Cancel leaves
    // no shooting window, and the program goes on.
    bool during = false;
    BoxScript([&] {
        SendMessageA(main, WM_COMMAND, CMD_ACTIVATE, 0); SendMessageA(main, MSG_START_SHOOTING, 0, 0);
        HWND first = FindWindowA(SHOOTING_WINDOW_CLASS, NULL);
        during = first && !FindWindowExA(NULL, first, SHOOTING_WINDOW_CLASS, NULL);
        return IDCANCEL;
    });
    SendMessageA(App.mainWindow = main, MSG_START_SHOOTING, 0, 0);
    EXPECT_EQ(Boxes.size(), 1u);
    EXPECT_TRUE(during) << "none, or a second one, while the box waited";
    EXPECT_EQ(FindWindowA(SHOOTING_WINDOW_CLASS, NULL), (HWND)NULL);
    EXPECT_FALSE(Drained());
    // A start that fails at an activation switches sound off in the active Profile only.
    FakeDs.busyUntil = GetTickCount(), FakeDs.createResult = DSERR_NODRIVER;
    ASSERT_NE(Activate(), (HWND)NULL);
    EXPECT_TRUE(!Settings.profiles[0].useDirectSound && Settings.profiles[1].useDirectSound);
}

TEST_F(WindowTest, TheClockCuckoosInsteadOfTakingHolesAndSilencesTheGun)
{
    // A task bar of our own (Wine's has no clock) whose clock, with its margin of 8, holds
    // (92, 92)-(708, 508): every bullet around the middle of the screen hits it.
    for (const char *name : {"Shell_TrayWnd", "TrayNotifyWnd", "TrayClockWClass"}) {
        WNDCLASSA windowClass = {0, DefWindowProcA, 0, 0, App.instance, NULL, NULL, NULL, NULL, name};
        RegisterClassA(&windowClass);  // 0 when done before
    }
    HWND tray = CreateWindowExA(0, "Shell_TrayWnd", "", WS_POPUP, 0, 0, 800, 600, NULL, NULL, App.instance, NULL);
    HWND area = CreateWindowExA(0, "TrayNotifyWnd", "", WS_CHILD, 0, 0, 800, 600, tray, NULL, App.instance, NULL);
    CreateWindowExA(0, "TrayClockWClass", "", WS_CHILD, 100, 100, 600, 400, area, NULL, App.instance, NULL);
    ASSERT_EQ(FindWindowA("Shell_TrayWnd", NULL), tray) << "another task bar is found first";
    SetCursorPos(400, 300);
    ASSERT_TRUE(PumpUntil([] { POINT at; return GetCursorPos(&at) && at.x == 400 && at.y == 300; }, 3000));
    for (int withCuckoo : {1, 0}) {
        SCOPED_TRACE(withCuckoo);
        Settings.profiles[Settings.activeProfile].withCuckoo = withCuckoo;
        ASSERT_NE(Activate(), (HWND)NULL);
        uint32_t shots = Statistics.shots;
        for (int i = 0; i < 5; ++i) Send(WM_TIMER, TIMER_SHOT), Send(WM_TIMER, TIMER_GUN_SOUND);
        // With the cuckoo on: no hole, one cuckoo while it still sounds, no gun over the clock.
        EXPECT_EQ(Statistics.shots - shots, withCuckoo ? 0u : 5u);
        EXPECT_EQ(Plays(CUCKOO), withCuckoo);
        EXPECT_EQ(Plays(GUN), withCuckoo ? 0 : 5);
        DestroyWindow(window);
    }
    DestroyWindow(tray);
    EXPECT_TRUE(Boxes.empty());
}

TEST_F(WindowTest, AWinkShowsThreeFramesOnceAndEndsOnTheFace)
{
    DestroyWindow(App.mainWindow);
    App.mainWindow = MainWindowCreate(App.instance);
    const HICON *icons = TrayIcon.icons;
    std::vector<HICON> frames;
    SendMessageA(App.mainWindow, MSG_TRAY_NOTIFY, 0, WM_MOUSEMOVE);
    PumpUntil([&] {
        if (TrayIcon.record.hIcon != (frames.empty() ? icons[TRAY_ICON_MAIN] : frames.back()))
            frames.push_back(TrayIcon.record.hIcon);
        // A move during the wink neither restarts nor prolongs it.
        if (frames.size() == 1) SendMessageA(App.mainWindow, MSG_TRAY_NOTIFY, 0, WM_MOUSEMOVE);
        return TrayIcon.animationStep == 0;
    }, 3000);
    EXPECT_EQ(frames, std::vector<HICON>({icons[TRAY_ICON_WINK_HALF], icons[TRAY_ICON_WINK_SHUT],
                                          icons[TRAY_ICON_WINK_HALF], icons[TRAY_ICON_MAIN]}));
    EXPECT_FALSE(KillTimer(App.mainWindow, TIMER_TRAY_WINK)) << "the wink's timer outlived it";
}

TEST_F(WindowTest, TheDescriptionRefitsToItsMonitorsDpi)
{
    ASSERT_TRUE(DescriptionMeasure());
    DestroyWindow(App.mainWindow);
    App.mainWindow = MainWindowCreate(App.instance);
    auto place = [] { RECT r; GetWindowRect(App.mainWindow, &r); return std::vector<LONG>({r.left, r.top, r.right - r.left, r.bottom - r.top}); };
    const std::vector<LONG> made = place();
    const int line = App.lineHeight;
    // Moved to a 200 % monitor: the lines in the font at twice its size, the window where Windows says.
    RECT suggested = {40, 30, 50, 40}, back = {made[0], made[1], 0, 0};
    SendMessageA(App.mainWindow, WM_DPICHANGED, MAKEWPARAM(192, 192), (LPARAM)&suggested);
    EXPECT_GE(App.lineHeight, 2 * line - 2);
    EXPECT_EQ(place(), std::vector<LONG>({40, 30, App.descriptionWidth + 20, 11 * App.lineHeight}));
    // Back at 100 %: the screen's own font, the window as it was made.
    SendMessageA(App.mainWindow, WM_DPICHANGED, MAKEWPARAM(96, 96), (LPARAM)&back);
    EXPECT_EQ(place(), made);
}
