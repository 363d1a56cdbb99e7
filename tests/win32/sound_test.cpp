// SoundObjects and the sound engine on the fake DirectSound: buffers, retries, failure boxes, pans.
#include "harness.h"

typedef std::vector<std::string> Calls;

TEST_F(Win32Test, ASoundObjectFillsEveryBufferPlaysThemInTurnAndRestoresALostOne)
{
    std::string path = Write("gun.wav", WavePcm(300, 9)), samples = WavePcm(300, 9).substr(44);
    IDirectSound *ds;
    FakeDirectSoundCreate(NULL, &ds, NULL);
    // Filled through both regions of a split Lock; a failed duplicate gets a buffer of its own.
    FakeDs.endless = true, FakeDs.lockSplit = 100, FakeDs.duplicateResult = DSERR_OUTOFMEMORY;
    SoundObject *own = SoundObjectLoad(ds, path.c_str(), 2);
    FakeDs.duplicateResult = DS_OK;
    SoundObject *three = SoundObjectLoad(ds, path.c_str(), 3);
    ASSERT_NE(own, nullptr);
    ASSERT_NE(three, nullptr);
    EXPECT_EQ(FakeDs.createBufferCalls, 3);
    for (SoundObject *each : {own, three})
        for (int i = 0; i < each->bufferCount; ++i) EXPECT_EQ(*Fake(each->buffers[i])->samples, samples);
    // Four plays on three buffers: the oldest is cut off and rewound first; Stop rewinds all.
    for (int i = 0; i < 4; ++i) EXPECT_EQ(SoundObjectPlay(three, 0), 1);
    EXPECT_EQ(Fake(three->buffers[0])->calls, (Calls{"Lock", "Unlock", "Play", "Stop", "Rewind", "Play"}));
    Fake(three->buffers[1])->position = 50;
    SoundObjectStop(three);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(std::make_pair(Fake(three->buffers[i])->playing, Fake(three->buffers[i])->position), std::make_pair(0ul, 0ul)) << i;
    // A lost buffer is restored and refilled by the play that finds it.
    FakeLose(own->buffers[0]);
    EXPECT_EQ(SoundObjectPlay(own, 0), 1);
    EXPECT_EQ(*Fake(own->buffers[0])->samples, samples);
    SoundObjectFree(own); SoundObjectFree(three);
    // A failed buffer or fill gives no object and holds nothing.
    FakeDs.failCreateBuffer = FakeDs.createBufferCalls + 1, FakeDs.failLock = FakeDs.lockCalls + 1;
    EXPECT_EQ(SoundObjectLoad(ds, path.c_str(), 1), nullptr);
    EXPECT_EQ(SoundObjectLoad(ds, path.c_str(), 1), nullptr);
    EXPECT_EQ(FakeDs.live, 1);
    ds->Release();
}

TEST_F(Win32Test, ABusyDeviceIsRetriedSilentlyForThreeSecondsThenYesTriesOnceAndNoDeclines)
{
    FakeDs.busyUntil = ~0u;
    DWORD start = GetTickCount(), asked = 0;
    int callsAsked = 0;
    BoxScript([&] {
        if (!asked) asked = GetTickCount(), callsAsked = FakeDs.createCalls;
        return Boxes.size() == 1 ? IDYES : IDNO;
    });
    EXPECT_EQ(SoundStart(NULL), 0);
    EXPECT_TRUE(BoxesSay({"Click Yes", "Click Yes", "disable DirectSound support permanently"}));
    EXPECT_GT(asked - start, 3000u);
    EXPECT_LT(asked - start, 3600u);
    EXPECT_GE(callsAsked, 20) << "not about one try every 100 ms";
    EXPECT_LE(callsAsked, 33) << "not about one try every 100 ms";
    EXPECT_EQ(FakeDs.createCalls, callsAsked + 1);
}

TEST_F(Win32Test, EveryFailedStartIsReportedInOrderAndLeavesNothingBehind)
{
    auto noise = [&](int slot) { Write("s" + std::to_string(slot) + ".wav", "noise"); };
    const std::pair<std::function<void()>, std::vector<std::string>> cases[] = {
        {[] { FakeDs.createResult = DSERR_NODRIVER; }, {"DirectX not installed"}},
        {[] { Settings.profiles[0].machineGunSound[0] = Settings.profiles[0].grenadeSound[0] = '?'; }, {"s1.wav"}},
        {[] { Settings.profiles[0].grenadeSound[0] = Settings.profiles[0].finalSound[0] = '?'; }, {"s3.wav"}},
        {[&] { noise(GUN), noise(GRENADE), noise(FINAL), noise(CUCKOO); }, {"MG", "grenade", "HLVB", "Cuckoo"}},
        {[&] { noise(FINAL), FakeDs.failCreateBuffer = 2; }, {"grenade", "HLVB"}},  // all load, then the boxes
    };
    for (const auto &each : cases) {
        TearDown(); SetUp();
        each.first();
        EXPECT_EQ(SoundStart(NULL), 0);
        EXPECT_TRUE(BoxesSay(each.second));
        EXPECT_EQ(FakeDs.live, 0);
        EXPECT_EQ(soundStarted, 0);
    }
}

TEST_F(Win32Test, PlaySetsVolumeThenPanOnlyForGunAndGrenadeAndRefusesABusyFarewell)
{
    FakeDs.endless = true;
    ASSERT_EQ(std::vector<int>({SoundStart(NULL), SoundStart(NULL)}), std::vector<int>({1, 1}));  // started while started: all anew
    const int counts[] = {0, 3, 5, 1, 1};
    for (int slot = GUN; slot <= CUCKOO; ++slot) ASSERT_EQ(SoundSlotObject(slot)->bufferCount, counts[slot]);
    EXPECT_EQ(std::vector<int>({SoundPlay(GUN, -2500, 0), SoundPlay(GUN, 0, 0)}), std::vector<int>({1, 1}));
    EXPECT_EQ(Fake(SlotBuffer(GUN, 0))->calls, (Calls{"Lock", "Unlock", "Play", "SetVolume 0", "SetPan -2500"}));
    EXPECT_EQ(Fake(SlotBuffer(GUN, 1))->calls, Calls{"Play"}) << "pan 0 leaves the buffer alone";
    EXPECT_EQ(SoundPlay(GRENADE, 2495, 0), 1);
    EXPECT_EQ(Fake(SlotBuffer(GRENADE, 0))->calls.back(), "SetPan 2495");
    EXPECT_EQ(std::vector<int>({SoundPlay(FINAL, 2000, 0), SoundPlay(CUCKOO, 2000, 0)}), std::vector<int>({1, 1}));
    EXPECT_EQ(Fake(SlotBuffer(FINAL, 0))->calls.back(), "Play") << "panned";
    EXPECT_EQ(Fake(SlotBuffer(CUCKOO, 0))->calls.back(), "Play") << "panned";
    // The final sound still playing is refused, and reported once a start.
    EXPECT_EQ(std::vector<int>({SoundPlay(FINAL, 0, 0), SoundPlay(FINAL, 0, 0)}), std::vector<int>({0, 0}));
    EXPECT_TRUE(BoxesSay({"Error while playing"}));
}
