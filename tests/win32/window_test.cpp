// The main and shooting windows driven by messages: bursts, grenades, boxes, the end and its wait,
// the end of a logon, sound starts, the clock, the description window.
#include "harness.h"

#include <filesystem>
#include <thread>

#include "app/main_window.h"
#include "app/settings_file.h"
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
    void RealMainWindow() { DestroyWindow(App.mainWindow), App.mainWindow = MainWindowCreate(App.instance); }
    HWND Activate()  // not shown: Wine would give the never-painting window a black surface
    {
        window = CreateWindowExA(0, SHOOTING_WINDOW_CLASS, "", WS_POPUP, 0, 0, 800, 600, NULL, NULL, App.instance, NULL);
        return window;
    }
    LRESULT Send(UINT message, WPARAM wParam = 0) { return SendMessageA(window, message, wParam, 0); }
    static bool Drained()  // whether the program was told to end
    { MSG quit; bool ended = PeekMessageA(&quit, NULL, WM_QUIT, WM_QUIT, PM_REMOVE); return PumpUntil([] { return true; }, 0), ended; }
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
    static bool CursorAt(int x, int y)
    { return SetCursorPos(x, y) && PumpUntil([x, y] { POINT at; return GetCursorPos(&at) && at.x == x && at.y == y; }, 3000); }
};

TEST_F(WindowTest, AClickLandsTwoBulletsAndABurstStopsAtTheReleaseHoweverFarBehindOnAPressAgainAndWithTheWindow)
{
    ASSERT_NE(Activate(), (HWND)NULL);
    Send(WM_LBUTTONDOWN);
    EXPECT_EQ(Statistics.shots, 1u) << "no bullet at once";
    EXPECT_EQ(Plays(GUN), 1);
    ExpectTimersDieOn([&] { Send(WM_LBUTTONUP); });
    Drained();
    EXPECT_EQ(Statistics.shots, 2u) << "the posted bullet was lost";
    // Both kinds every 1 ms. While the thread stalls 50 periods, the first that finds the shot waiting
    // is owed to it (as when a late timer fires right behind), the rest are dropped.
    Settings.profiles[0].fireSpeed = Settings.profiles[0].soundSpeed = 500;
    Send(WM_LBUTTONDOWN), Sleep(50), Send(WM_LBUTTONUP), Drained();
    EXPECT_EQ(Statistics.shots, 5u) << "not the press's two and the one owed";
    // Each tick handled in 3 ms, as on a busy machine: a shot and a sound could take turns in the
    // queue for good, ahead of the release.
    auto loop = [](DWORD ms) {  // VROK's message loop, slowed; true once the release is handled
        MSG message;
        for (DWORD start = GetTickCount(); GetTickCount() - start < ms;)
            if (!PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) MsgWaitForMultipleObjects(0, NULL, FALSE, 1, QS_ALLINPUT);
            else if (Sleep(message.message == WM_TIMER ? 3 : 0), DispatchMessageA(&message), message.message == WM_LBUTTONUP) return true;
        return false;
    };
    SetForegroundWindow(window);  // the system's input goes there
    Send(WM_LBUTTONDOWN), loop(100);
    EXPECT_GE(Statistics.shots, 10u) << "behind, the gun no longer fires";  // 5 before
    Sleep(300);  // the thread stalls for 300 periods
    INPUT up = {INPUT_MOUSE, {{0, 0, 0, MOUSEEVENTF_LEFTUP, 0, 0}}};
    ASSERT_EQ(SendInput(1, &up, sizeof up), 1u);
    const uint32_t shots = Statistics.shots;
    EXPECT_TRUE(loop(2000)) << "the release never came first";
    loop(100);
    EXPECT_LE(Statistics.shots - shots, 1u) << "the stall's bullets were fired after the release";
    Send(WM_LBUTTONDOWN);
    ASSERT_TRUE(Bursting());
    ExpectTimersDieOn([&] { Send(WM_LBUTTONDOWN); });  // its release was lost
    ExpectTimersDieOn([&] { DestroyWindow(window); });
    EXPECT_EQ(FakeDs.live, 0);
}

TEST_F(WindowTest, AGunFailingMidBurstShowsOneBoxThatGetsMouseAndKeys)
{
    ASSERT_NE(Activate(), (HWND)NULL);
    SetFocus(window);
    std::vector<int> inBox;  // mouse free, burst stopped, keys free
    BoxScript([&] {
        if (Boxes.size() > 1) return IDOK;  // a box inside the box: failed below
        // The box's modal loop: ticks and clicks keep arriving while the user reads it.
        inBox = {GetCapture() != window, !Activation.shotTimer && !Activation.gunSoundTimer};
        SetFocus(App.mainWindow);
        Send(WM_RBUTTONDOWN); Send(WM_TIMER, TIMER_GUN_SOUND); PumpUntil([] { return false; }, 200);
        inBox.push_back(GetFocus() == App.mainWindow);
        return IDOK;
    });
    for (int i = 0; i < SoundSlotObject(GUN)->bufferCount; ++i) FakeLose(SlotBuffer(GUN, i));  // the device went for good
    FakeDs.restoreResult = DSERR_BUFFERLOST;
    Send(WM_LBUTTONDOWN);
    EXPECT_TRUE(BoxesSay({"Error while playing"}));
    EXPECT_EQ(inBox, std::vector<int>({1, 1, 1})) << "mouse free, burst stopped, keys free";
    EXPECT_EQ(Plays(GRENADE), 0) << "a click meant for the box threw a grenade";
    // Answered: the next move takes the mouse back, and the gun fires on without a box.
    Send(WM_MOUSEMOVE);
    EXPECT_EQ(GetCapture(), window);
    Send(WM_LBUTTONDOWN);
    EXPECT_TRUE(Bursting());
    EXPECT_EQ(Boxes.size(), 1u);
}

TEST_F(WindowTest, TheWindowTakesTheFocusBackAndOnlyEscapeEndsIt)
{
    RealMainWindow();
    ASSERT_NE(Activate(), (HWND)NULL);
    SetFocus(window), SetFocus(App.mainWindow);
    EXPECT_EQ(GetFocus(), window);
    Send(WM_CHAR, 'q');
    ASSERT_TRUE(IsWindow(window)) << "another key ended it";
    Send(WM_CHAR, 27);
    EXPECT_FALSE(IsWindow(window));
    const std::string tip = "VROK 95:Shots: 0/Grenades: 0/Last time activated: ";
    EXPECT_EQ(std::string(TrayIcon.record.szTip).substr(0, tip.size()), tip);
}

TEST_F(WindowTest, TheEndAnswersWindowsWhileItWaitsBoundedlyForTheFarewell)
{
    // A final sound that never reports its end is waited for its length and a second, and a
    // message sent meanwhile, as Windows sends them to see whether a window hangs, is answered.
    ASSERT_NE(Activate(), (HWND)NULL);
    DWORD limit = SoundSlotObject(FINAL)->durationMs + 1000, start = GetTickCount();
    FakeDs.endless = true;
    DWORD_PTR result; LRESULT answered = 0;
    std::thread windows([&] { Sleep(300); answered = SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 300, &result); });
    Send(WM_CHAR, 27);  // Escape
    DWORD took = GetTickCount() - start;
    windows.join();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_GE(took, limit);
    EXPECT_LT(took, limit + 400);
    EXPECT_TRUE(answered) << "not answered within 300 ms";
}

// Windows ends the logon: it may end the process as soon as WM_ENDSESSION is answered.
class EndOfLogonTest : public WindowTest {
protected:
    std::string ini;
    void SetUp() override
    {
        WindowTest::SetUp();
        RealMainWindow();
        snprintf(App.settingsPath, sizeof App.settingsPath, "%s", (ini = folder + "VROK.INI").c_str());
    }
    void EndSession(BOOL ending) { SendMessageA(App.mainWindow, WM_ENDSESSION, ending, 0); }
};

TEST_F(EndOfLogonTest, ABurstStopsAtOnceWithoutAFarewellAndTheSettingsAreSaved)
{
    ASSERT_NE(Activate(), (HWND)NULL);
    Send(WM_LBUTTONDOWN);
    EndSession(FALSE);  // cancelled: nothing changes
    EXPECT_TRUE(IsWindow(window)) << "a cancelled end ended the activation";
    EXPECT_FALSE(std::filesystem::exists(ini)) << "a cancelled end saved";
    FakeBuffer *farewell = Fake(SlotBuffer(FINAL, 0));
    ExpectTimersDieOn([&] { EndSession(TRUE); });
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(farewell->plays, 0);
    EXPECT_TRUE(std::filesystem::exists(ini));
    EXPECT_TRUE(Drained()) << "the program was not told to end";
}

// A save that fails is told once a cause, where the user looks: never over an activation, nor
// while Windows ends the logon, when nothing may wait for a click.
TEST_F(EndOfLogonTest, AFailedSaveIsToldOnceACauseAndNeitherOverAnActivationNorAtTheEndOfALogon)
{
    static SettingsRecord kept;
    kept = Settings, SettingsLoad(), Settings = kept;  // a run begins, with the fixture's sounds
    ASSERT_TRUE(std::filesystem::create_directory(ini + ".new"));  // in the way of every save
    ASSERT_NE(Activate(), (HWND)NULL);
    EXPECT_EQ(SettingsSaveTelling(NULL), 0);
    DestroyWindow(window);
    App.sessionEnding = 1;
    EXPECT_EQ(SettingsSaveTelling(NULL), 0);
    App.sessionEnding = 0;
    EXPECT_TRUE(Boxes.empty());
    EXPECT_EQ(SettingsSaveTelling(NULL), 0);
    EXPECT_EQ(SettingsSaveTelling(NULL), 0);
    snprintf(App.settingsPath, sizeof App.settingsPath, "%sgone\\VROK.INI", folder.c_str());  // another cause
    EXPECT_EQ(SettingsSaveTelling(NULL), 0);
    EXPECT_TRUE(BoxesSay({"settings in " + ini + ":", "gone\\VROK.INI:"}));
}

TEST_F(EndOfLogonTest, AStartFailingAtAnActivationSwitchesSoundOffInThatProfileOnlyAndSavesIt)
{
    FakeDs.createResult = DSERR_NODRIVER;
    ASSERT_NE(Activate(), (HWND)NULL);
    EXPECT_EQ(std::vector<int>({Settings.profiles[0].useDirectSound, Settings.profiles[1].useDirectSound}),
              std::vector<int>({0, 1}));
    EXPECT_TRUE(std::filesystem::exists(ini)) << "kept only until VROK ends";
}

TEST_F(EndOfLogonTest, TheFarewellWaitEndsWhenTheLogonDoes)
{
    ASSERT_NE(Activate(), (HWND)NULL);
    FakeDs.endless = true;
    std::thread windows([&] { Sleep(300); EndSession(TRUE); });
    DWORD start = GetTickCount();
    Send(WM_CHAR, 27);
    DWORD took = GetTickCount() - start;
    windows.join();
    EXPECT_LT(took, 600u) << "the farewell's bound is about 1 s";
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(std::filesystem::exists(ini));
}

TEST_F(WindowTest, TheProbeShutsAWorkingStartDownAndCancelInItsBoxEndsTheProgram)
{
    RealMainWindow();
    EXPECT_EQ(FakeDs.live, 0) << "the probe left DirectSound running";
    BoxScript([] { return IDCANCEL; });
    FakeDs.busyUntil = ~0u;
    EXPECT_EQ(MainWindowCreate(App.instance), (HWND)NULL);
    EXPECT_TRUE(Drained());
    EXPECT_EQ(Settings.profiles[0].useDirectSound, 1) << "Cancel taken for No";
}

TEST_F(WindowTest, CancelAtAnActivationLeavesNoWindowAndTheProgramInTheTray)
{
    // While the start waits in its box a second activation starts nothing.
    RealMainWindow();
    HWND main = App.mainWindow;
    int windowsDuringTheBox = -1;
    FakeDs.busyUntil = ~0u;
    BoxScript([&] {
        SendMessageA(main, WM_COMMAND, CMD_ACTIVATE, 0); SendMessageA(main, MSG_START_SHOOTING, 0, 0);
        HWND first = FindWindowA(SHOOTING_WINDOW_CLASS, NULL);
        windowsDuringTheBox = !first ? 0 : FindWindowExA(NULL, first, SHOOTING_WINDOW_CLASS, NULL) ? 2 : 1;
        return IDCANCEL;
    });
    ShowWindow(main, SW_RESTORE);  // the description, shown for the activation
    SendMessageA(main, MSG_START_SHOOTING, 0, 0);
    EXPECT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(windowsDuringTheBox, 1);
    EXPECT_EQ(FindWindowA(SHOOTING_WINDOW_CLASS, NULL), (HWND)NULL);
    EXPECT_FALSE(IsWindowVisible(main)) << "the description stayed";
    EXPECT_FALSE(Drained());
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
    ASSERT_TRUE(CursorAt(400, 300));
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

TEST_F(WindowTest, TheDescriptionRefitsToItsMonitorsDpi)
{
    ASSERT_TRUE(DescriptionMeasure());
    RealMainWindow();
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
