// SoundObjects and the sound engine on the fake DirectSound: buffers, retries, failure boxes, pans.
#include "harness.h"

typedef std::vector<std::string> Calls;

static std::string Le(std::initializer_list<uint32_t> values, int bytes)
{ std::string le; for (uint32_t v : values) for (int i = 0; i < bytes; ++i) le += (char)(v >> 8 * i); return le; }
static std::string Wave(const std::string &format, const std::string &data, uint32_t claimed = 0)
{ return "RIFF" + Le({uint32_t(20 + format.size() + data.size())}, 4) + "WAVEfmt " + Le({uint32_t(format.size())}, 4) + format +
         "data" + Le({claimed ? claimed : uint32_t(data.size())}, 4) + data; }
// IMA ADPCM, mono, 11025 Hz: blocks of 256 bytes for 505 samples, each block as loud as its first.
static std::string Adpcm(std::initializer_list<uint32_t> blocks, const std::string &rest = "")
{ std::string data; for (uint32_t sample : blocks) data += Le({sample}, 4) + std::string(252, '\0');
  return Wave(Le({0x11, 1}, 2) + Le({11025, 5588}, 4) + Le({256, 4, 2, 505}, 2), data + rest); }

TEST_F(Win32Test, ASoundObjectFillsEveryBufferAndPlaysThemInTurn)
{
    std::string path = Write("gun.wav", WavePcm(300, 9)), samples = WavePcm(300, 9).substr(44);
    IDirectSound *ds;
    FakeDirectSoundCreate(NULL, &ds, NULL);
    FakeDs.endless = true;
    SoundObject *three = SoundObjectLoad(ds, path.c_str(), 3);
    ASSERT_NE(three, nullptr);
    EXPECT_EQ(FakeDs.createBufferCalls, 1);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(*Fake(three->buffers[i])->samples, samples);
    // Four plays on three buffers: the oldest is cut off and rewound first; Stop rewinds all.
    for (int i = 0; i < 4; ++i) EXPECT_EQ(SoundObjectPlay(three, 0), 1);
    EXPECT_EQ(Fake(three->buffers[0])->calls, (Calls{"Lock", "Unlock", "Play", "Stop", "Rewind", "Play"}));
    Fake(three->buffers[1])->position = 50;
    SoundObjectStop(three);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(std::make_pair(Fake(three->buffers[i])->playing, Fake(three->buffers[i])->position), std::make_pair(0ul, 0ul)) << i;
    SoundObjectFree(three);
    // A failed buffer or fill gives no object and holds nothing.
    FakeDs.failCreateBuffer = FakeDs.createBufferCalls + 1, FakeDs.failLock = FakeDs.lockCalls + 1;
    EXPECT_EQ(SoundObjectLoad(ds, path.c_str(), 1), nullptr);
    EXPECT_EQ(SoundObjectLoad(ds, path.c_str(), 1), nullptr);
    EXPECT_EQ(FakeDs.live, 1);
    ds->Release();
}

TEST_F(Win32Test, WhatAStrictDirectSoundRefusesLoadsAsSixteenBitPcmAndWhatItTakesAsItIs)
{
    IDirectSound *ds;
    FakeDirectSoundCreate(NULL, &ds, NULL);
    const std::string samples24 = Le({0x123456, 0xABCDEF, 0x7FFF80, 0x800000}, 3), floats = Le({0x3F000000, 0xBE800000}, 4),  // 0.5, -0.25
        path24 = Write("24.wav", Wave(Le({0xFFFE, 2}, 2) + Le({22050, 132300}, 4) + Le({6, 24, 22, 24}, 2) +
                                      Le({3, 1, 0x100000, 0xAA000080, 0x719B3800}, 4), samples24));  // extensible: front left and right, PCM
    std::string decoded;  // of the ADPCM file below
    for (uint32_t sample : {1000u, 0xF830u}) for (int i = 0; i < 505; ++i) decoded += Le({sample}, 2);
    // Taken as it is, or refused and made 16-bit PCM, ADPCM by the system's codec (whole blocks only): filled through a split
    // Lock, duplicates failing make buffers of the object's image, the length follows it (the float's average rate is wrong).
    FakeDs.lockSplit = 3, FakeDs.duplicateResult = DSERR_OUTOFMEMORY;
    const std::tuple<bool, std::string, std::string, uint32_t> cases[] = {{false, path24, samples24, 0},
        {true, path24, Le({0x1234, 0xABCE, 0x7FFF, 0x8000}, 2), 0},
        {true, Write("float.wav", Wave(Le({3, 1}, 2) + Le({22050, 1}, 4) + Le({4, 32}, 2), floats + floats)), Le({0x4000, 0xE000, 0x4000, 0xE000}, 2), 0},
        {true, Write("adpcm.wav", Adpcm({1000, 0xF830}, std::string(100, 'x'))), decoded, 91}};
    for (const auto &[strict, path, expected, ms] : cases) {
        FakeDs.strict = strict;
        const int calls = FakeDs.createBufferCalls;
        SoundObject *loaded = SoundObjectLoad(ds, path.c_str(), 2);
        ASSERT_NE(loaded, nullptr) << path;
        FakeLose(loaded->buffers[0]);
        EXPECT_EQ(SoundObjectPlay(loaded, 0), 1);  // restored and refilled
        for (int i = 0; i < 2; ++i) EXPECT_EQ(*Fake(loaded->buffers[i])->samples, expected) << path << i;
        EXPECT_EQ(std::make_pair(loaded->durationMs, FakeDs.createBufferCalls - calls), std::make_pair(ms, strict ? 3 : 2)) << path;
        SoundObjectFree(loaded);
    }
    // No codec for the format: nothing, and nothing held.
    EXPECT_EQ(SoundObjectLoad(ds, Write("codec.wav", Wave(Le({0x1234, 1}, 2) + Le({8000, 8000}, 4) + Le({1, 8}, 2), "abcd")).c_str(), 1), nullptr);
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
    auto noise = [&](int slot, const std::string &bytes = "noise") { Write("s" + std::to_string(slot) + ".wav", bytes); };
    const std::pair<std::function<void()>, std::vector<std::string>> cases[] = {
        {[] { FakeDs.createResult = DSERR_NODRIVER; }, {"DirectX not installed"}},
        {[] { Settings.profiles[0].machineGunSound[0] = Settings.profiles[0].grenadeSound[0] = '?'; }, {"s1.wav"}},
        {[] { Settings.profiles[0].grenadeSound[0] = Settings.profiles[0].finalSound[0] = '?'; }, {"s3.wav"}},
        // Empty, random bytes, 24 bits claiming 100 MB and holding none, ADPCM that would decode to over 64 MiB.
        {[&] { FakeDs.strict = true, noise(GUN, ""), noise(GRENADE), noise(FINAL, Wave(Le({1, 1}, 2) + Le({8000, 24000}, 4) +
              Le({3, 24}, 2), "", 100000000)), noise(CUCKOO, Adpcm({}, std::string(17 << 20, '\0'))); }, {"MG", "grenade", "HLVB", "Cuckoo"}},
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
