// SoundObjects on the fake DirectSound: loading real wave files, the buffer rotation, lost buffers.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "fake_dsound.h"
#include "sound/sound_object.h"

namespace {

typedef std::vector<std::string> Events;

class SoundObjectTest : public FakeDirectSoundTest {
protected:
    IDirectSound *directSound = NULL;
    std::string samples = WaveSamples(300, 1);
    std::string path;
    std::vector<SoundObject *> loaded;

    void SetUp() override
    {
        FakeDirectSoundTest::SetUp();
        FakeDirectSoundCreate(NULL, &directSound, NULL);
        path = WriteFile("gun.wav", WavePcm(samples));
    }

    void TearDown() override
    {
        for (SoundObject *object : loaded) SoundObjectFree(object);
        directSound->Release();
        FakeDirectSoundTest::TearDown();
    }

    // Freed at TearDown, before the DirectSound object.
    SoundObject *Load(int count, const std::string &file = "")
    {
        SoundObject *object = SoundObjectLoad(directSound, (file.empty() ? path : file).c_str(), count);
        if (!object) throw std::runtime_error("the load failed");
        loaded.push_back(object);
        return object;
    }

    FakeBufferRecord *Record(SoundObject *object, int index) { return FakeBufferOf(object->buffers[index]); }
    Events EventsOf(SoundObject *object, int index) { return FakeBufferEvents(Record(object, index)->id); }
    std::string Samples(SoundObject *object, int index) { return FakeBufferSamples(Record(object, index)->id); }
};

TEST_F(SoundObjectTest, LoadFillsOneBufferHoweverLockSplitsItAndDuplicatesIt)
{
    const struct {
        int count, buffers;
        DWORD split;
    } cases[] = {{3, 3, 0}, {3, 3, 1}, {3, 3, 150}, {3, 3, 299}, {0, 1, 0}, {-5, 1, 0}};
    for (const auto &each : cases) {
        SCOPED_TRACE(::testing::Message() << "count " << each.count << " split " << each.split);
        FakeDs.lockSplit = each.split;
        int created = FakeDs.createBufferCalls, duplicated = FakeDs.duplicateCalls;
        SoundObject *object = Load(each.count);
        EXPECT_EQ(object->bufferCount, each.buffers);
        EXPECT_EQ(FakeDs.createBufferCalls, created + 1);
        EXPECT_EQ(FakeDs.duplicateCalls, duplicated + each.buffers - 1);
        // The file's format with cbSize 0 behind it, not the bytes that follow in the file.
        EXPECT_EQ(Record(object, 0)->format, WaveFormatBody({1, 11025, 8}, 18));
        for (int i = 0; i < each.buffers; ++i) {
            EXPECT_EQ(Record(object, i)->duplicateOf, i ? Record(object, 0)->id : -1);
            EXPECT_EQ(Samples(object, i), samples);
        }
    }
}

TEST_F(SoundObjectTest, PlaysRotateCuttingOffTheOldestAnIdleCurrentBufferPlaysAsItStandsAndStopRewindsAll)
{
    SoundObject *object = Load(3);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(SoundObjectPlay(object, 0), 1);
        FakeDirectSoundAdvance(40);
    }
    EXPECT_EQ(object->currentBuffer, 0);
    const Events cutOff = {"Lock 0 300 0", "Unlock 300 0", "Play 0", "Stop", "SetCurrentPosition 0", "Play 0"};
    EXPECT_EQ(EventsOf(object, 0), cutOff);
    for (int i : {1, 2}) EXPECT_EQ(EventsOf(object, i), Events{"Play 0"});

    // Finished, then stopped half-way by someone else: played on from there, never rewound.
    FakeBufferFinish(Record(object, 0)->id);
    EXPECT_EQ(SoundObjectPlay(object, 0), 1);
    FakeDirectSoundAdvance(100);
    object->buffers[0]->Stop();
    EXPECT_EQ(SoundObjectPlay(object, 0), 1);
    EXPECT_EQ(object->currentBuffer, 0);
    EXPECT_EQ(Record(object, 0)->position, 100u);
    Events reused = cutOff;
    reused.insert(reused.end(), {"Play 0", "Stop", "Play 0"});
    EXPECT_EQ(EventsOf(object, 0), reused);

    // Stop stops and rewinds every buffer.
    EXPECT_EQ(SoundObjectStop(object), 1);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(!Record(object, i)->playing && Record(object, i)->position == 0) << i;
}

TEST_F(SoundObjectTest, ABusySingleBufferAndLoopingOnSeveralAreRefused)
{
    SoundObject *one = Load(1), *five = Load(5);
    EXPECT_EQ(SoundObjectPlay(one, 0), 1);
    EXPECT_EQ(SoundObjectPlay(one, 0), 0);
    EXPECT_EQ(EventsOf(one, 0), (Events{"Lock 0 300 0", "Unlock 300 0", "Play 0"}));
    EXPECT_EQ(SoundObjectPlay(five, DSBPLAY_LOOPING), 0);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(Record(five, i)->plays, 0);
    FakeBufferFinish(Record(one, 0)->id);
    EXPECT_EQ(SoundObjectPlay(one, DSBPLAY_LOOPING), 1);
    EXPECT_EQ(Record(one, 0)->playFlags, (DWORD)DSBPLAY_LOOPING);
}

TEST_F(SoundObjectTest, ALostBufferIsRestoredAndRefilledInThePlayThatFindsIt)
{
    FakeDs.lockSplit = 100;
    SoundObject *one = Load(1), *two = Load(2);
    FakeBufferLose(Record(one, 0)->id);
    EXPECT_EQ(SoundObjectPlay(one, 0), 1);
    EXPECT_EQ(EventsOf(one, 0),
              (Events{"Lock 0 300 0", "Unlock 100 200", "Restore", "Lock 0 300 0", "Unlock 100 200", "Play 0"}));
    EXPECT_EQ(Samples(one, 0), samples);
    // The next buffer of a rotation as well.
    EXPECT_EQ(SoundObjectPlay(two, 0), 1);
    FakeBufferLose(Record(two, 1)->id);
    EXPECT_EQ(SoundObjectPlay(two, 0), 1);
    EXPECT_EQ(EventsOf(two, 1), (Events{"Restore", "Lock 0 300 0", "Unlock 100 200", "Play 0"}));
    EXPECT_EQ(Samples(two, 1), samples);

    // Not restored, or restored but not refilled: not played.
    FakeBufferLose(Record(one, 0)->id);
    FakeDs.restoreResult = DSERR_BUFFERLOST;
    EXPECT_EQ(SoundObjectPlay(one, 0), 0);
    FakeDs.restoreResult = DS_OK;
    FakeDs.failLockCall = FakeDs.lockCalls + 1;
    EXPECT_EQ(SoundObjectPlay(one, 0), 0);
    EXPECT_EQ(Record(one, 0)->plays, 1);
}

TEST_F(SoundObjectTest, FailuresInDirectSoundGiveBuffersOfTheirOwnOrNoObjectAndNothingHeld)
{
    FakeDs.duplicateResult = DSERR_OUTOFMEMORY;
    SoundObject *object = Load(3);
    EXPECT_EQ(FakeDs.createBufferCalls, 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Record(object, i)->duplicateOf, -1);
        EXPECT_EQ(Samples(object, i), samples);
    }

    // The CreateSoundBuffer or Lock call, counted from this load, that fails.
    const struct {
        int create, lock;
        HRESULT duplicate;
    } cases[] = {{1, 0, DS_OK}, {0, 1, DS_OK}, {3, 0, DSERR_OUTOFMEMORY}, {0, 3, DSERR_OUTOFMEMORY}};
    for (const auto &each : cases) {
        SCOPED_TRACE(::testing::Message() << "create " << each.create << " lock " << each.lock);
        FakeDs.duplicateResult = each.duplicate;
        FakeDs.failCreateBufferCall = each.create ? FakeDs.createBufferCalls + each.create : 0;
        FakeDs.failLockCall = each.lock ? FakeDs.lockCalls + each.lock : 0;
        EXPECT_EQ(SoundObjectLoad(directSound, path.c_str(), 3), nullptr);
        EXPECT_EQ(FakeDs.liveObjects, 1 + 3);
    }
}

}  // namespace
