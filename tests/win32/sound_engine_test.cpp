// The sound engine on the fake DirectSound: start-up with its retries and boxes, play and pan, the windows' starts.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/app_state.h"
#include "app/main_window.h"
#include "fake_dsound.h"
#include "fake_message_box.h"
#include "resources/resource.h"
#include "shooting/activation.h"
#include "shooting/shooting_window.h"
#include "sound/sound_engine.h"

namespace {

typedef std::vector<std::string> Strings;

const std::string RETRY =
    "DirectX Error: Initialisation of DirectSound has failed!\n\nIt is likely that another application uses the "
    "waveform-device(s)! Close those applications to enable sound in VROK.\n\nClick Yes to try the "
    "DirectSound initialisation again.\nClick No to disable DirectSound support in VROK "
    "permanently.\nClick Cancel to quit. Using VROK without sound is only half the fun (or less). (0x13)";
const std::string DECLINE =
    "VROK note: You have selected to disable DirectSound support permanently.\n\nIf you like to enable "
    "DirectSound again, select Configuration from the menu and check the \"Use DirectX Sound\" again. (0x40)";
const std::string NO_DIRECTX = "DirectX Error: DirectX not installed or not availible. Sound will not work! (0x10)";
const std::string DIRECTX_FAILED = "DirectX Error: DirectX initialization error. Sound will not work! (0x10)";

std::string Note(const std::string &text) { return "DirectSound Error: " + text + " (0x1040)"; }

const int ACTIVE = 1;  // the others name files that do not exist, so a wrong Profile shows

class SoundEngineTest : public FakeDirectSoundTest {
protected:
    HWND window = GetDesktopWindow();  // the cooperative window

    void SetUp() override
    {
        FakeDirectSoundTest::SetUp();
        WriteProfileSounds(ACTIVE);
        Settings.activeProfile = ACTIVE;
    }

    FakeBufferRecord *SlotBuffer(int slot, int index) { return FakeBufferOf(SoundSlotObject(slot)->buffers[index]); }

    void ExpectNothingStarted()
    {
        EXPECT_EQ(soundStarted, 0);
        EXPECT_EQ(FakeDs.liveObjects, 0);
        for (int slot = 1; slot <= SOUND_SLOT_COUNT; ++slot) EXPECT_EQ(SoundSlotObject(slot), nullptr);
    }

    void Restart(void)
    {
        FakeDirectSoundReset();
        FakeMessageBoxInstall();
        WriteProfileSounds(ACTIVE);
    }
};

TEST_F(SoundEngineTest, StartLoadsTheActiveProfileAgainAndAgainAndShutdownReleasesEverything)
{
    EXPECT_EQ(SoundStart(window), 1);
    EXPECT_EQ(FakeDs.cooperativeWindow, window);
    EXPECT_EQ(FakeDs.cooperativeLevel, (DWORD)DSSCL_NORMAL);
    // Started while started: everything of the first start goes, then all anew.
    EXPECT_EQ(SoundStart(window), 1);
    EXPECT_EQ(FakeDs.createCalls, 2);
    for (int id = 0; id < 10; ++id) EXPECT_TRUE(FakeBuffer(id)->released) << id;
    EXPECT_EQ(FakeDs.liveObjects, 1 + 10);
    const int counts[] = {0, 3, 5, 1, 1};
    for (int slot = 1; slot <= SOUND_SLOT_COUNT; ++slot) {
        EXPECT_EQ(SoundSlotObject(slot)->bufferCount, counts[slot]);
        EXPECT_EQ(FakeBufferSamples(SlotBuffer(slot, 0)->id), WaveSamples(100 + 20 * slot, slot));
    }
    EXPECT_TRUE(FakeMessageBoxCalls().empty());
    SoundShutdown();
    ExpectNothingStarted();
}

TEST_F(SoundEngineTest, ADeviceBusyForTwoSecondsIsWaitedForSilently)
{
    DWORD start = GetTickCount();
    FakeDs.busyUntil = start + 2000;
    EXPECT_EQ(SoundStart(window), 1);
    EXPECT_GE(GetTickCount() - start, 2000u);
    EXPECT_LT(GetTickCount() - start, 2800u);
    EXPECT_TRUE(FakeMessageBoxCalls().empty());
    // About one attempt every 100 ms, not a busy loop.
    EXPECT_GE(FakeDs.createCalls, 10);
    EXPECT_LE(FakeDs.createCalls, 23);
}

// When each box came, and how many DirectSoundCreate calls were made before it.
std::vector<std::pair<DWORD, int>> boxMoments;
MessageBoxProc fakeBox;

int WINAPI MomentBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    boxMoments.push_back({GetTickCount(), FakeDs.createCalls});
    return fakeBox(owner, text, caption, type);
}

TEST_F(SoundEngineTest, ADeviceBusyLongerAsksAfterThreeSecondsYesTriesOnceMoreAndNoDeclines)
{
    FakeDs.busyForever = 1;
    FakeMessageBoxInstall({IDYES, IDNO});
    fakeBox = AppMessageBoxPlatform;
    AppMessageBoxPlatform = MomentBox;
    boxMoments.clear();
    DWORD start = GetTickCount();
    EXPECT_EQ(SoundStart(window), 0);
    EXPECT_EQ(FakeMessageBoxShown(), (Strings{RETRY, RETRY, DECLINE}));
    ASSERT_EQ(boxMoments.size(), 3u);
    EXPECT_GT(boxMoments[0].first - start, 3000u);
    EXPECT_LT(boxMoments[0].first - start, 3600u);
    EXPECT_EQ(boxMoments[1].second, boxMoments[0].second + 1);
    EXPECT_LT(boxMoments[1].first - boxMoments[0].first, 50u);
    EXPECT_EQ(FakeDs.createCalls, boxMoments[1].second);
    ExpectNothingStarted();
}

TEST_F(SoundEngineTest, EveryFailedStartIsReportedInOrderAndLeavesNothing)
{
    auto gone = [&](int slot) {
        snprintf(ProfileSoundPath(ACTIVE, slot), PATH_BUFFER_SIZE, "%sgone-%d.wav", folder.c_str(), slot);
    };
    auto missing = [&](int slot) {
        return "Configuration Error: Can\xB4t locate the sound file " + folder + "gone-" + std::to_string(slot) +
               ".wav. Select Configuration. (0x1040)";
    };
    auto noise = [&](int slot) { WriteFile(ProfileSoundPath(ACTIVE, slot) + folder.size(), "noise"); };
    const std::string MG = Note("Loading of MG-Sound failed!"), HLVB = Note("Loading of HLVB-sound failed!");
    const std::string GRENADE_FAILED = Note("Loading of grenade-sound failed!");
    const std::string CUCKOO_FAILED = Note("Loading of Cuckoo-sound failed!");
    const struct {
        std::function<void()> script;
        Strings boxes;
    } cases[] = {
        {[] { FakeDs.createResult = DSERR_NODRIVER; }, {NO_DIRECTX}},
        {[] { App.directSoundCreate = NULL; }, {NO_DIRECTX}},
        {[] { FakeDs.createResult = E_FAIL; }, {DIRECTX_FAILED}},
        {[&] { gone(GUN), gone(GRENADE); }, {missing(GUN)}},  // the files must exist in this order
        {[&] { gone(GRENADE), gone(FINAL); }, {missing(FINAL)}},
        {[&] { gone(GRENADE); }, {missing(GRENADE)}},
        {[&] { gone(CUCKOO); }, {CUCKOO_FAILED}},
        {[&] { noise(GUN), noise(GRENADE), noise(FINAL), noise(CUCKOO); }, {MG, GRENADE_FAILED, HLVB, CUCKOO_FAILED}},
        {[&] { noise(FINAL), FakeDs.failCreateBufferCall = 2; }, {GRENADE_FAILED, HLVB}},
        {[] { FakeDs.cooperativeLevelResult = DSERR_INVALIDPARAM; }, {Note("Setting of coorporative level failed!")}},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(each.boxes[0]);
        Restart();
        App.directSoundCreate = FakeDirectSoundCreate;
        each.script();
        EXPECT_EQ(SoundStart(window), 0);
        EXPECT_EQ(FakeMessageBoxShown(), each.boxes);
        ExpectNothingStarted();
    }

    // The longest path is shortened from the left into 400 bytes: the file name stays.
    Restart();
    std::string name = "\\vrok-machine-gun.wav";
    std::string path = folder + std::string(PATH_BUFFER_SIZE - 1 - folder.size() - name.size(), 'd') + name;
    snprintf(ProfileSoundPath(ACTIVE, GUN), PATH_BUFFER_SIZE, "%s", path.c_str());
    EXPECT_EQ(SoundStart(window), 0);
    ASSERT_EQ(FakeMessageBoxCalls().size(), 1u);
    const std::string &text = FakeMessageBoxCalls()[0].text, tail = "dd" + name + ". Select Configuration.";
    EXPECT_LT(text.size(), 400u);
    ASSERT_GT(text.size(), 300u);
    EXPECT_EQ(text.rfind("Can\xB4t locate the sound file ", 0), 0u) << text;
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST_F(SoundEngineTest, GunAndGrenadeGetVolumeThenPanAfterPlayUnlessThePanIsZeroAndNothingPlaysWhenSwitchedOff)
{
    EXPECT_EQ(SoundPanForX(0, 1024), -2500);
    EXPECT_EQ(SoundPanForX(1, 1024), -2496);  // truncated toward zero, not down
    EXPECT_EQ(SoundPanForX(1919, 1920), 2497);

    ASSERT_EQ(SoundStart(window), 1);
    EXPECT_EQ(SoundPlay(GUN, -2500, 0), 1);
    EXPECT_EQ(SoundPlay(GRENADE, 2495, 0), 1);
    // Pan 0 touches nothing: the reused buffer keeps its pan, a new one stays centred.
    FakeBufferFinish(SlotBuffer(GUN, 0)->id);
    EXPECT_EQ(SoundPlay(GUN, 0, 0), 1);
    EXPECT_EQ(SoundPlay(GUN, 0, 0), 1);
    EXPECT_EQ(FakeBufferEvents(SlotBuffer(GUN, 0)->id),
              (Strings{"Lock 0 120 0", "Unlock 120 0", "Play 0", "SetVolume 0", "SetPan -2500", "Play 0"}));
    EXPECT_EQ(SlotBuffer(GUN, 0)->pan, -2500);
    EXPECT_EQ(FakeBufferEvents(SlotBuffer(GUN, 1)->id), Strings{"Play 0"});
    EXPECT_EQ(FakeBufferEvents(SlotBuffer(GRENADE, 0)->id),
              (Strings{"Lock 0 140 0", "Unlock 140 0", "Play 0", "SetVolume 0", "SetPan 2495"}));

    // The final sound and the cuckoo play as they are; the final sound once at a time.
    for (int slot : {FINAL, CUCKOO}) {
        EXPECT_EQ(SoundPlay(slot, 2000, 0), 1);
        EXPECT_EQ(FakeBufferEvents(SlotBuffer(slot, 0)->id).back(), "Play 0");
    }
    EXPECT_TRUE(FakeMessageBoxCalls().empty());
    EXPECT_EQ(SoundIsPlaying(SoundSlotObject(FINAL), 0), 1);
    EXPECT_EQ(SoundPlay(FINAL, 0, 0), 0);
    EXPECT_EQ(FakeMessageBoxShown(), Strings{Note("Error while playing Soundbuffer!")});
    EXPECT_EQ(SlotBuffer(FINAL, 0)->plays, 1);

    // Switched off: nothing is touched, not even by the shutdown, and nothing starts.
    SoundSetEnabled(0);
    size_t events = FakeDs.events.size();
    EXPECT_EQ(SoundPlay(GUN, -2500, 0), 0);
    SoundStop(GRENADE);
    EXPECT_EQ(SoundIsPlaying(SoundSlotObject(FINAL), 0), 0);
    EXPECT_EQ(SoundPanForX(0, 1024), 0);
    SoundShutdown();
    EXPECT_EQ(soundStarted, 1);
    EXPECT_EQ(SoundStart(window), 0);
    EXPECT_EQ(FakeDs.createCalls, 1);
    EXPECT_EQ(FakeDs.events.size(), events);
    EXPECT_EQ(FakeMessageBoxShown().size(), 1u);
}

// The main window starts sound once to see whether it works; the shooting window starts it for good.
class SoundWindowStartTest : public SoundEngineTest {
protected:
    void SetUp() override
    {
        SoundEngineTest::SetUp();
        // 0 once registered by an earlier test.
        MainWindowRegister(GetModuleHandleA(NULL));
        ShootingWindowRegister(GetModuleHandleA(NULL));
        DrainQuit();
    }

    HWND Create(const char *windowClass)
    {
        return CreateWindowExA(0, windowClass, "", WS_POPUP, 0, 0, 200, 100, NULL, NULL, GetModuleHandleA(NULL), NULL);
    }

    // Whether WM_QUIT was waiting; takes it away so later tests do not see it.
    static bool DrainQuit()
    {
        MSG message;
        bool quit = false;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) quit |= message.message == WM_QUIT;
        return quit;
    }
};

TEST_F(SoundWindowStartTest, TheMainWindowShutsAWorkingStartDownAndSwitchesAFailedOneOffEverywhere)
{
    for (HRESULT result : {(HRESULT)DS_OK, DSERR_NODRIVER}) {
        SCOPED_TRACE(result);
        Restart();
        FakeDs.createResult = result;
        HWND main = Create(MAIN_WINDOW_CLASS);
        ASSERT_NE(main, (HWND)NULL);
        EXPECT_EQ(FakeDs.createCalls, 1);
        EXPECT_EQ(FakeDs.liveObjects, 0);
        EXPECT_EQ(soundStarted, 0);
        EXPECT_EQ(soundEnabled, result == DS_OK);
        for (const Profile &profile : Settings.profiles) EXPECT_EQ(profile.useDirectSound, result == DS_OK);
        EXPECT_EQ(FakeMessageBoxShown(), result == DS_OK ? Strings{} : Strings{NO_DIRECTX});
        DestroyWindow(main);
        EXPECT_TRUE(DrainQuit());
    }
}

TEST_F(SoundWindowStartTest, CancelInTheRetryBoxRefusesTheMainWindowAndQuits)
{
    FakeDs.busyForever = 1;
    FakeMessageBoxInstall({IDCANCEL});
    EXPECT_EQ(Create(MAIN_WINDOW_CLASS), (HWND)NULL);
    EXPECT_EQ(FakeMessageBoxShown(), Strings{RETRY});
    EXPECT_TRUE(DrainQuit());
    for (const Profile &profile : Settings.profiles) EXPECT_EQ(profile.useDirectSound, 1) << "Cancel is not No";
}

BOOL CALLBACK CountShootingWindow(HWND window, LPARAM count)
{
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    *(int *)count += strcmp(name, SHOOTING_WINDOW_CLASS) == 0;
    return TRUE;
}

// An activation whose sound start waits in the retry box: the box's modal loop hands out a second
// request, which must not start a second shooting window inside the first; Cancel leaves none.
TEST_F(SoundWindowStartTest, WhileAnActivationsRetryBoxWaitsNoSecondStartsAndCancelLeavesNone)
{
    SoundSetEnabled(0);  // no sound probe
    HWND main = App.mainWindow = Create(MAIN_WINDOW_CLASS);
    ASSERT_NE(main, (HWND)NULL);
    SoundSetEnabled(1);
    FakeDs.busyForever = 1;
    int shootingWindows = 0;
    FakeMessageBoxInstall({IDCANCEL}, [&] {
        if (FakeMessageBoxCalls().size() > 1) return;
        SendMessageA(main, WM_COMMAND, CMD_ACTIVATE, 0);
        SendMessageA(main, MSG_START_SHOOTING, 0, 0);
        EnumThreadWindows(GetCurrentThreadId(), CountShootingWindow, (LPARAM)&shootingWindows);
    });
    SendMessageA(main, MSG_START_SHOOTING, 0, 0);
    EXPECT_EQ(FakeMessageBoxShown(), Strings{RETRY});
    EXPECT_EQ(shootingWindows, 1);
    EXPECT_FALSE(IsWindowVisible(main)) << "the second request showed the description";
    int left = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountShootingWindow, (LPARAM)&left);
    EXPECT_EQ(left, 0);
    EXPECT_FALSE(DrainQuit()) << "Cancel at an activation does not end the program";
    EXPECT_FALSE(Activation.active);
    EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), (DWORD)NORMAL_PRIORITY_CLASS);
    EXPECT_EQ(FakeDs.liveObjects, 0);
    DestroyWindow(main);
    DrainQuit();
}

}  // namespace
