// The sound engine on the fake DirectSound: start-up with its retries and boxes, the slots, play and pan, the main window's probe.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/main_window.h"
#include "fake_dsound.h"
#include "fake_message_box.h"
#include "sound/sound_engine.h"

namespace {

typedef std::vector<std::string> Events;

const char RETRY_TEXT[] =
    "Initialisation of DirectSound has failed!\n\nIt is likely that another application uses the "
    "waveform-device(s)! Close those applications to enable sound in VROK.\n\nClick Yes to try the "
    "DirectSound initialisation again.\nClick No to disable DirectSound support in VROK "
    "permanently.\nClick Cancel to quit. Using VROK without sound is only half the fun (or less).";
const char DECLINE_TEXT[] =
    "You have selected to disable DirectSound support permanently.\n\nIf you like to enable "
    "DirectSound again, select Configuration from the menu and check the \"Use DirectX Sound\" "
    "again.";
const char NO_DIRECTX_TEXT[] = "DirectX not installed or not availible. Sound will not work!";
const char DIRECTX_FAILED_TEXT[] = "DirectX initialization error. Sound will not work!";
const UINT NOTE = 0x1040;  // MB_SYSTEMMODAL | MB_ICONINFORMATION

// Profile 1 is active; profile 0 names files that do not exist, so a wrong Profile shows.
const int ACTIVE = 1;

// When each box came up: the fake box does not keep time, so it is wrapped.
MessageBoxProc recordedBox;
std::vector<DWORD> boxTicks;

int WINAPI TimedMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    boxTicks.push_back(GetTickCount());
    return recordedBox(owner, text, caption, type);
}

class SoundEngineTest : public FakeDirectSoundTest {
protected:
    HWND window = NULL;
    std::string data[SOUND_SLOT_COUNT + 1];

    void SetUp() override
    {
        FakeDirectSoundTest::SetUp();
        const char *names[] = {"", "gun.wav", "grenade.wav", "final.wav", "cuckoo.wav"};
        Profile &profile = Settings.profiles[ACTIVE];
        char *paths[] = {NULL, profile.machineGunSound, profile.grenadeSound, profile.finalSound,
                         profile.cuckooSound};
        for (int slot = 1; slot <= SOUND_SLOT_COUNT; ++slot) {
            data[slot] = WaveSamples(100 + 20 * slot, slot);
            std::string path = WriteFile(names[slot], WavePcm(data[slot]));
            snprintf(paths[slot], PATH_BUFFER_SIZE, "%s", path.c_str());
            snprintf(SlotPath(0, slot), PATH_BUFFER_SIZE, "%snot-here-%s", folder.c_str(), names[slot]);
        }
        for (Profile &each : Settings.profiles) each.useDirectSound = 1;
        Settings.activeProfile = ACTIVE;
        soundEnabled = 1;
        window = CreateWindowExA(0, "STATIC", "sound test", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
        boxTicks.clear();
        recordedBox = AppMessageBox;
        AppMessageBox = TimedMessageBox;
    }

    void TearDown() override
    {
        FakeDirectSoundTest::TearDown();
        DestroyWindow(window);
    }

    char *SlotPath(int profileIndex, int slot)
    {
        Profile &profile = Settings.profiles[profileIndex];
        switch (slot) {
        case SOUND_SLOT_MACHINE_GUN: return profile.machineGunSound;
        case SOUND_SLOT_GRENADE: return profile.grenadeSound;
        case SOUND_SLOT_FINAL: return profile.finalSound;
        default: return profile.cuckooSound;
        }
    }

    // Answers the next boxes; the timing wrapper stays in front of the fake.
    void AnswerBoxes(std::vector<int> answers)
    {
        FakeMessageBoxInstall(std::move(answers));
        recordedBox = AppMessageBox;
        AppMessageBox = TimedMessageBox;
        boxTicks.clear();
    }

    FakeBufferRecord *SlotBuffer(int slot, int index)
    {
        return FakeBufferOf(SoundSlotObject(slot)->buffers[index]);
    }

    void ExpectBox(size_t index, const std::string &text, const std::string &caption, UINT type)
    {
        const std::vector<MessageBoxCall> &boxes = FakeMessageBoxCalls();
        ASSERT_LT(index, boxes.size());
        EXPECT_EQ(boxes[index].text, text);
        EXPECT_EQ(boxes[index].caption, caption);
        EXPECT_EQ(boxes[index].type, type);
        EXPECT_EQ(boxes[index].owner, (HWND)NULL);
    }

    // After a start that returned 0: nothing left started, held or loaded.
    void ExpectNothingStarted()
    {
        EXPECT_EQ(soundStarted, 0);
        EXPECT_EQ(FakeDirectSoundLiveObjects(), 0);
        for (int slot = 1; slot <= SOUND_SLOT_COUNT; ++slot) EXPECT_EQ(SoundSlotObject(slot), nullptr);
    }
};

TEST_F(SoundEngineTest, StartLoadsTheActiveProfilesFourSoundsAndShutdownReleasesThem)
{
    EXPECT_EQ(SoundStart(window), 1);
    EXPECT_EQ(soundStarted, 1);
    EXPECT_TRUE(FakeMessageBoxCalls().empty());
    EXPECT_EQ(FakeDirectSoundCreateCalls(), 1);
    EXPECT_EQ(FakeDirectSoundCooperativeWindow(), window);
    EXPECT_EQ(FakeDirectSoundCooperativeLevel(), (DWORD)DSSCL_NORMAL);

    const int counts[] = {0, 3, 5, 1, 1};
    for (int slot = 1; slot <= SOUND_SLOT_COUNT; ++slot) {
        SCOPED_TRACE(slot);
        SoundObject *object = SoundSlotObject(slot);
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(object->bufferCount, counts[slot]);
        EXPECT_EQ(AsString(FakeBufferSamples(SlotBuffer(slot, 0)->id)), data[slot]);
    }
    EXPECT_EQ(FakeDirectSoundLiveObjects(), 1 + 3 + 5 + 1 + 1);

    // Machine gun, grenade, final sound, cuckoo were loaded in this order: buffers 0-2, 3-7, 8, 9.
    SoundPlay(SOUND_SLOT_MACHINE_GUN, -100, 0);
    SoundShutdown();
    EXPECT_EQ(soundStarted, 0);
    EXPECT_EQ(FakeDirectSoundLiveObjects(), 0);
    for (int slot = 1; slot <= SOUND_SLOT_COUNT; ++slot) EXPECT_EQ(SoundSlotObject(slot), nullptr);
    // Each slot stopped and rewound before it is freed; final sound first, DirectSound last.
    EXPECT_EQ(FakeBufferEvents(0), (Events{"Lock 0 120 0", "Unlock 120 0", "Play 0", "SetVolume 0",
                                           "SetPan -100", "Stop", "SetCurrentPosition 0", "Freed"}));
    std::vector<std::string> frees;
    for (const std::string &event : FakeDirectSoundEvents())
        if (event.find("Freed") != std::string::npos) frees.push_back(event);
    EXPECT_EQ(frees, (Events{"b8 Freed", "b0 Freed", "b1 Freed", "b2 Freed", "b3 Freed", "b4 Freed", "b5 Freed",
                             "b6 Freed", "b7 Freed", "b9 Freed", "ds Freed"}));
    // Shut down already: a second shutdown does nothing.
    size_t events = FakeDirectSoundEvents().size();
    SoundShutdown();
    EXPECT_EQ(FakeDirectSoundEvents().size(), events);
}

TEST_F(SoundEngineTest, StartWhileStartedReleasesEverythingAndStartsAnew)
{
    ASSERT_EQ(SoundStart(window), 1);
    int firstBuffers = FakeBufferCount();
    EXPECT_EQ(SoundStart(window), 1);
    EXPECT_EQ(FakeDirectSoundCreateCalls(), 2);
    EXPECT_EQ(FakeBufferCount(), 2 * firstBuffers);
    for (int id = 0; id < firstBuffers; ++id) EXPECT_TRUE(FakeBuffer(id)->released) << id;
    EXPECT_EQ(FakeDirectSoundLiveObjects(), 1 + firstBuffers);
    EXPECT_EQ(FakeBufferOf(SoundSlotObject(SOUND_SLOT_MACHINE_GUN)->buffers[0])->id, firstBuffers);
}

TEST_F(SoundEngineTest, ADeviceBusyForTwoSecondsIsWaitedForSilently)
{
    FakeDirectSoundBusyFor(2000);
    DWORD start = GetTickCount();
    EXPECT_EQ(SoundStart(window), 1);
    DWORD took = GetTickCount() - start;
    EXPECT_TRUE(FakeMessageBoxCalls().empty());
    EXPECT_GE(took, 2000u);
    EXPECT_LT(took, 2800u);
    // About one attempt every 100 ms, not a busy loop.
    EXPECT_GE(FakeDirectSoundCreateCalls(), 10);
    EXPECT_LE(FakeDirectSoundCreateCalls(), 23);
    EXPECT_EQ(soundStarted, 1);
}

TEST_F(SoundEngineTest, ADeviceBusyLongerAsksAfterThreeSecondsYesTriesOnceAndNoDeclines)
{
    FakeDs.busyForever = 1;
    AnswerBoxes({IDYES, IDNO});
    DWORD start = GetTickCount();
    EXPECT_EQ(SoundStart(window), 0);

    ASSERT_EQ(FakeMessageBoxCalls().size(), 3u);
    ExpectBox(0, RETRY_TEXT, "DirectX Error", 0x13);
    ExpectBox(1, RETRY_TEXT, "DirectX Error", 0x13);
    ExpectBox(2, DECLINE_TEXT, "VROK note", 0x40);
    EXPECT_GT(boxTicks[0] - start, 3000u);
    EXPECT_LT(boxTicks[0] - start, 3600u);
    // Yes: one attempt at once, and the box is back at once.
    const std::vector<DWORD> &ticks = FakeDirectSoundCreateTicks();
    ASSERT_GE(ticks.size(), 2u);
    EXPECT_GE(ticks.back(), boxTicks[0]);
    EXPECT_LE(ticks.back(), boxTicks[1]);
    EXPECT_LT(boxTicks[1] - boxTicks[0], 50u);
    EXPECT_LE(ticks[ticks.size() - 2], boxTicks[0]);
    ExpectNothingStarted();
}

TEST_F(SoundEngineTest, CancelInTheRetryBoxAsksToQuit)
{
    FakeDs.busyForever = 1;
    AnswerBoxes({IDCANCEL});
    EXPECT_EQ(SoundStart(window), SOUND_START_QUIT);
    ASSERT_EQ(FakeMessageBoxCalls().size(), 1u);
    ExpectBox(0, RETRY_TEXT, "DirectX Error", 0x13);
    int calls = FakeDirectSoundCreateCalls();
    EXPECT_GE(calls, 25);
    EXPECT_LE(calls, 35);
    ExpectNothingStarted();
}

TEST_F(SoundEngineTest, DirectSoundThatCannotBeCreatedIsReported)
{
    struct Case {
        HRESULT result;
        int entryPoint;
        const char *text;
    } cases[] = {
        {DSERR_NODRIVER, 1, NO_DIRECTX_TEXT},
        {DS_OK, 0, NO_DIRECTX_TEXT},
        {E_FAIL, 1, DIRECTX_FAILED_TEXT},
        {DSERR_OUTOFMEMORY, 1, DIRECTX_FAILED_TEXT},
    };
    for (const Case &each : cases) {
        SCOPED_TRACE(::testing::Message() << std::hex << each.result << " entry " << each.entryPoint);
        FakeDirectSoundReset();
        AnswerBoxes({});
        FakeDs.createResult = each.result;
        App.directSoundCreate = each.entryPoint ? FakeDirectSoundCreate : NULL;
        EXPECT_EQ(SoundStart(window), 0);
        ASSERT_EQ(FakeMessageBoxCalls().size(), 1u);
        ExpectBox(0, each.text, "DirectX Error", 0x10);
        EXPECT_EQ(FakeDirectSoundCreateCalls(), each.entryPoint);
        ExpectNothingStarted();
    }
}

TEST_F(SoundEngineTest, TheFirstMissingSoundFileIsReportedAndNothingIsLoaded)
{
    struct Case {
        std::vector<int> missing;
        int reported;
    } cases[] = {
        {{SOUND_SLOT_MACHINE_GUN, SOUND_SLOT_GRENADE}, SOUND_SLOT_MACHINE_GUN},
        {{SOUND_SLOT_GRENADE, SOUND_SLOT_FINAL}, SOUND_SLOT_FINAL},
        {{SOUND_SLOT_GRENADE}, SOUND_SLOT_GRENADE},
    };
    std::string present[SOUND_SLOT_COUNT + 1];
    for (int slot = 1; slot <= SOUND_SLOT_COUNT; ++slot) present[slot] = SlotPath(ACTIVE, slot);
    for (const Case &each : cases) {
        SCOPED_TRACE(each.reported);
        FakeDirectSoundReset();
        AnswerBoxes({});
        for (int slot = 1; slot <= SOUND_SLOT_COUNT; ++slot)
            snprintf(SlotPath(ACTIVE, slot), PATH_BUFFER_SIZE, "%s", present[slot].c_str());
        for (int slot : each.missing)
            snprintf(SlotPath(ACTIVE, slot), PATH_BUFFER_SIZE, "%sgone-%d.wav", folder.c_str(), slot);

        EXPECT_EQ(SoundStart(window), 0);
        ASSERT_EQ(FakeMessageBoxCalls().size(), 1u);
        ExpectBox(0, std::string("Can\xB4t locate the sound file ") + SlotPath(ACTIVE, each.reported) +
                         ". Select Configuration.",
                  "Configuration Error", NOTE);
        EXPECT_EQ(FakeDirectSoundCreateBufferCalls(), 0);
        ExpectNothingStarted();
    }
}

TEST_F(SoundEngineTest, ALongestPathInTheMissingFileMessageKeepsItsEnd)
{
    std::string name = "\\vrok-machine-gun.wav";
    std::string path = folder + std::string(PATH_BUFFER_SIZE - 1 - folder.size() - name.size(), 'd') + name;
    ASSERT_EQ(path.size(), 10041u);
    snprintf(SlotPath(ACTIVE, SOUND_SLOT_MACHINE_GUN), PATH_BUFFER_SIZE, "%s", path.c_str());

    EXPECT_EQ(SoundStart(window), 0);
    ASSERT_EQ(FakeMessageBoxCalls().size(), 1u);
    const std::string &text = FakeMessageBoxCalls()[0].text;
    const std::string head = "Can\xB4t locate the sound file ";
    const std::string tail = "dd" + name + ". Select Configuration.";
    EXPECT_LT(text.size(), 400u);
    EXPECT_GT(text.size(), 300u);  // shortened, not dropped
    EXPECT_EQ(text.compare(0, head.size(), head), 0) << text;
    ASSERT_GT(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    ExpectNothingStarted();
}

TEST_F(SoundEngineTest, AMissingCuckooOnlyFailsItsLoad)
{
    snprintf(SlotPath(ACTIVE, SOUND_SLOT_CUCKOO), PATH_BUFFER_SIZE, "%sno-cuckoo.wav", folder.c_str());
    EXPECT_EQ(SoundStart(window), 0);
    ASSERT_EQ(FakeMessageBoxCalls().size(), 1u);
    ExpectBox(0, "Loading of Cuckoo-sound failed!", "DirectSound Error", NOTE);
    ExpectNothingStarted();
}

TEST_F(SoundEngineTest, EveryFailedLoadIsReportedInSlotOrder)
{
    // All four exist, none is a wave.
    for (int slot = 1; slot <= SOUND_SLOT_COUNT; ++slot) WriteFile(strrchr(SlotPath(ACTIVE, slot), '\\') + 1, "noise");
    EXPECT_EQ(SoundStart(window), 0);
    ASSERT_EQ(FakeMessageBoxCalls().size(), 4u);
    ExpectBox(0, "Loading of MG-Sound failed!", "DirectSound Error", NOTE);
    ExpectBox(1, "Loading of grenade-sound failed!", "DirectSound Error", NOTE);
    ExpectBox(2, "Loading of HLVB-sound failed!", "DirectSound Error", NOTE);
    ExpectBox(3, "Loading of Cuckoo-sound failed!", "DirectSound Error", NOTE);
    ExpectNothingStarted();

    // Two of them failing in DirectSound itself: grenade (buffer 0 refused) and final sound.
    WriteFile("gun.wav", WavePcm(data[1]));
    WriteFile("grenade.wav", WavePcm(data[2]));
    WriteFile("cuckoo.wav", WavePcm(data[4]));
    FakeDirectSoundReset();
    AnswerBoxes({});
    FakeDs.duplicateResult = DSERR_OUTOFMEMORY;
    FakeDs.failCreateBufferCall = 4;  // the gun takes three, then the grenade's first
    EXPECT_EQ(SoundStart(window), 0);
    ASSERT_EQ(FakeMessageBoxCalls().size(), 2u);
    ExpectBox(0, "Loading of grenade-sound failed!", "DirectSound Error", NOTE);
    ExpectBox(1, "Loading of HLVB-sound failed!", "DirectSound Error", NOTE);
    ExpectNothingStarted();
}

TEST_F(SoundEngineTest, ARefusedCooperativeLevelIsReportedAndTheStartFails)
{
    FakeDs.cooperativeLevelResult = DSERR_INVALIDPARAM;
    EXPECT_EQ(SoundStart(window), 0);
    ASSERT_EQ(FakeMessageBoxCalls().size(), 1u);
    ExpectBox(0, "Setting of coorporative level failed!", "DirectSound Error", NOTE);
    // Loading went on regardless.
    EXPECT_EQ(FakeBufferCount(), 3 + 5 + 1 + 1);
    ExpectNothingStarted();
}

TEST_F(SoundEngineTest, PanFollowsTheXOfTheScreen)
{
    EXPECT_EQ(SoundPanForX(0, 1024), -2500);
    EXPECT_EQ(SoundPanForX(512, 1024), 0);
    EXPECT_EQ(SoundPanForX(1023, 1024), 2495);
    EXPECT_EQ(SoundPanForX(100, 1024), -2012);
    EXPECT_EQ(SoundPanForX(1, 1024), -2496);  // truncated toward zero, not down
    EXPECT_EQ(SoundPanForX(1919, 1920), 2497);
}

TEST_F(SoundEngineTest, GunAndGrenadeGetVolumeAndPanRightAfterTheyStart)
{
    ASSERT_EQ(SoundStart(window), 1);
    EXPECT_EQ(SoundPlay(SOUND_SLOT_MACHINE_GUN, -2500, 0), 1);
    FakeBufferRecord *first = SlotBuffer(SOUND_SLOT_MACHINE_GUN, 0);
    EXPECT_EQ(FakeBufferEvents(first->id), (Events{"Lock 0 120 0", "Unlock 120 0", "Play 0", "SetVolume 0", "SetPan -2500"}));
    EXPECT_EQ(first->pan, -2500);

    // Pan 0 touches nothing: the reused buffer keeps the pan of its last play ...
    FakeBufferFinish(first->id);
    EXPECT_EQ(SoundPlay(SOUND_SLOT_MACHINE_GUN, 0, 0), 1);
    EXPECT_EQ(SoundSlotObject(SOUND_SLOT_MACHINE_GUN)->currentBuffer, 0);
    EXPECT_EQ(FakeBufferEvents(first->id),
              (Events{"Lock 0 120 0", "Unlock 120 0", "Play 0", "SetVolume 0", "SetPan -2500", "Play 0"}));
    EXPECT_EQ(first->pan, -2500);
    // ... and one never set plays as it was made, centred.
    EXPECT_EQ(SoundPlay(SOUND_SLOT_MACHINE_GUN, 0, 0), 1);
    FakeBufferRecord *second = SlotBuffer(SOUND_SLOT_MACHINE_GUN, 1);
    EXPECT_EQ(FakeBufferEvents(second->id), Events{"Play 0"});
    EXPECT_EQ(second->pan, 0);

    EXPECT_EQ(SoundPlay(SOUND_SLOT_GRENADE, 2495, 0), 1);
    FakeBufferRecord *grenade = SlotBuffer(SOUND_SLOT_GRENADE, 0);
    EXPECT_EQ(FakeBufferEvents(grenade->id), (Events{"Lock 0 140 0", "Unlock 140 0", "Play 0", "SetVolume 0", "SetPan 2495"}));

    // The final sound and the cuckoo play as they are.
    EXPECT_EQ(SoundPlay(SOUND_SLOT_FINAL, 2000, 0), 1);
    EXPECT_EQ(FakeBufferEvents(SlotBuffer(SOUND_SLOT_FINAL, 0)->id), (Events{"Lock 0 160 0", "Unlock 160 0", "Play 0"}));
    EXPECT_EQ(SoundPlay(SOUND_SLOT_CUCKOO, -2000, 0), 1);
    EXPECT_EQ(FakeBufferEvents(SlotBuffer(SOUND_SLOT_CUCKOO, 0)->id), (Events{"Lock 0 180 0", "Unlock 180 0", "Play 0"}));
    EXPECT_TRUE(FakeMessageBoxCalls().empty());
}

TEST_F(SoundEngineTest, TheFinalSoundCannotPlayTwiceAtOnce)
{
    ASSERT_EQ(SoundStart(window), 1);
    SoundObject *final = SoundSlotObject(SOUND_SLOT_FINAL);
    EXPECT_EQ(SoundIsPlaying(final, 0), 0);
    EXPECT_EQ(SoundPlay(SOUND_SLOT_FINAL, 0, 0), 1);
    EXPECT_EQ(SoundIsPlaying(final, 0), 1);
    EXPECT_EQ(SoundPlay(SOUND_SLOT_FINAL, 0, 0), 0);
    ASSERT_EQ(FakeMessageBoxCalls().size(), 1u);
    ExpectBox(0, "Error while playing Soundbuffer!", "DirectSound Error", NOTE);
    EXPECT_EQ(SlotBuffer(SOUND_SLOT_FINAL, 0)->plays, 1);

    FakeBufferFinish(SlotBuffer(SOUND_SLOT_FINAL, 0)->id);
    EXPECT_EQ(SoundIsPlaying(final, 0), 0);
    EXPECT_EQ(SoundIsPlaying(NULL, 0), 0);
}

TEST_F(SoundEngineTest, StopStopsTheSlotAndAnEmptySlotIsReported)
{
    ASSERT_EQ(SoundStart(window), 1);
    SoundPlay(SOUND_SLOT_GRENADE, 0, 0);
    SoundPlay(SOUND_SLOT_GRENADE, 0, 0);
    FakeDirectSoundAdvance(10);
    SoundStop(SOUND_SLOT_GRENADE);
    for (int i = 0; i < 5; ++i) {
        EXPECT_FALSE(SlotBuffer(SOUND_SLOT_GRENADE, i)->playing);
        EXPECT_EQ(SlotBuffer(SOUND_SLOT_GRENADE, i)->position, 0u);
        EXPECT_EQ(SlotBuffer(SOUND_SLOT_GRENADE, i)->rewinds, 1);
    }
    EXPECT_EQ(SlotBuffer(SOUND_SLOT_MACHINE_GUN, 0)->stops, 0);
    EXPECT_TRUE(FakeMessageBoxCalls().empty());

    SoundShutdown();
    SoundStop(SOUND_SLOT_MACHINE_GUN);
    EXPECT_EQ(SoundPlay(SOUND_SLOT_MACHINE_GUN, -2500, 0), 0);
    ASSERT_EQ(FakeMessageBoxCalls().size(), 2u);
    ExpectBox(0, "Error while stopping Soundbuffer!", "DirectSound Error", NOTE);
    ExpectBox(1, "Error while playing Soundbuffer!", "DirectSound Error", NOTE);
}

TEST_F(SoundEngineTest, WithSoundDisabledNothingHappens)
{
    soundEnabled = 0;
    EXPECT_EQ(SoundStart(window), 0);
    EXPECT_EQ(FakeDirectSoundCreateCalls(), 0);
    EXPECT_EQ(SoundPanForX(0, 1024), 0);

    // Started, then switched off: everything is left alone, even the shutdown.
    soundEnabled = 1;
    ASSERT_EQ(SoundStart(window), 1);
    soundEnabled = 0;
    size_t events = FakeDirectSoundEvents().size();
    EXPECT_EQ(SoundPlay(SOUND_SLOT_MACHINE_GUN, -2500, 0), 0);
    SoundStop(SOUND_SLOT_GRENADE);
    EXPECT_EQ(SoundIsPlaying(SoundSlotObject(SOUND_SLOT_FINAL), 0), 0);
    SoundShutdown();
    EXPECT_EQ(FakeDirectSoundEvents().size(), events);
    EXPECT_EQ(soundStarted, 1);
    EXPECT_EQ(FakeDirectSoundLiveObjects(), 11);
    EXPECT_TRUE(FakeMessageBoxCalls().empty());

    // Switched on again, the next start shuts the old engine down first.
    soundEnabled = 1;
    EXPECT_EQ(SoundStart(window), 1);
    EXPECT_EQ(FakeDirectSoundLiveObjects(), 11);
    EXPECT_TRUE(FakeBuffer(0)->released);
}

// The main window starts sound once to see whether it works, and shuts it down again.
class SoundMainWindowProbeTest : public SoundEngineTest {
protected:
    void SetUp() override
    {
        SoundEngineTest::SetUp();
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = MainWindowProc;
        windowClass.hInstance = GetModuleHandleA(NULL);
        windowClass.lpszClassName = "VROK";
        // Another test may have registered it already.
        if (!RegisterClassA(&windowClass)) {
            ASSERT_EQ(GetLastError(), (DWORD)ERROR_CLASS_ALREADY_EXISTS);
        }
        DrainQuit();
    }

    HWND CreateMainWindow()
    {
        return CreateWindowExA(0, "VROK", "Death to Glitchcorp", WS_CAPTION | WS_SYSMENU, 0, 0, 200, 100,
                               NULL, NULL, GetModuleHandleA(NULL), NULL);
    }

    // Whether WM_QUIT was waiting; takes it away so later tests do not see it.
    static int DrainQuit()
    {
        MSG message;
        int quit = 0;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE))
            if (message.message == WM_QUIT) quit = 1;
        return quit;
    }
};

TEST_F(SoundMainWindowProbeTest, AWorkingStartIsShutDownAtOnce)
{
    HWND main = CreateMainWindow();
    ASSERT_NE(main, (HWND)NULL);
    EXPECT_EQ(FakeDirectSoundCreateCalls(), 1);
    EXPECT_EQ(FakeDirectSoundCooperativeWindow(), main);
    EXPECT_EQ(FakeDirectSoundLiveObjects(), 0);
    EXPECT_EQ(soundStarted, 0);
    EXPECT_EQ(soundEnabled, 1);
    for (const Profile &profile : Settings.profiles) EXPECT_EQ(profile.useDirectSound, 1);
    EXPECT_TRUE(FakeMessageBoxCalls().empty());
    DestroyWindow(main);
    EXPECT_EQ(DrainQuit(), 1);
}

TEST_F(SoundMainWindowProbeTest, AFailingStartSwitchesSoundOffInEveryProfile)
{
    FakeDs.createResult = DSERR_NODRIVER;
    HWND main = CreateMainWindow();
    ASSERT_NE(main, (HWND)NULL);
    EXPECT_EQ(soundEnabled, 0);
    for (const Profile &profile : Settings.profiles) EXPECT_EQ(profile.useDirectSound, 0);
    ASSERT_EQ(FakeMessageBoxCalls().size(), 1u);
    ExpectBox(0, NO_DIRECTX_TEXT, "DirectX Error", 0x10);
    EXPECT_EQ(DrainQuit(), 0);
    DestroyWindow(main);
    EXPECT_EQ(DrainQuit(), 1);
}

TEST_F(SoundMainWindowProbeTest, CancelInTheRetryBoxRefusesTheWindowAndQuits)
{
    FakeDs.busyForever = 1;
    AnswerBoxes({IDCANCEL});
    EXPECT_EQ(CreateMainWindow(), (HWND)NULL);
    EXPECT_EQ(DrainQuit(), 1);
    ASSERT_EQ(FakeMessageBoxCalls().size(), 1u);
    ExpectBox(0, RETRY_TEXT, "DirectX Error", 0x13);
    for (const Profile &profile : Settings.profiles) EXPECT_EQ(profile.useDirectSound, 1);
    EXPECT_EQ(FakeDirectSoundLiveObjects(), 0);
}

}  // namespace
