// SoundObjects on the fake DirectSound: loading real wave files, the buffer rotation, lost buffers.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_dsound.h"
#include "sound/sound_object.h"

namespace {

typedef std::vector<std::string> Events;

class SoundObjectTest : public FakeDirectSoundTest {
protected:
    IDirectSound *directSound = NULL;
    std::string samples;
    std::string path;

    void SetUp() override
    {
        FakeDirectSoundTest::SetUp();
        directSound = NewDirectSound();
        samples = WaveSamples(300, 1);
        path = WriteFile("gun.wav", WavePcm(samples));
    }

    void TearDown() override
    {
        if (directSound) directSound->Release();
        FakeDirectSoundTest::TearDown();
    }

    int IdOf(SoundObject *object, int index) { return FakeBufferOf(object->buffers[index])->id; }
    FakeBufferRecord *Record(SoundObject *object, int index) { return FakeBufferOf(object->buffers[index]); }
};

TEST_F(SoundObjectTest, LoadMakesOneStaticBufferFilledWithTheDataAndDuplicatesOfIt)
{
    directSound->Release();
    directSound = NULL;
    // However DirectSound splits the locked region, the buffer ends up holding the data.
    const DWORD splits[] = {0, 1, 150, 299};
    for (DWORD split : splits) {
        SCOPED_TRACE(split);
        FakeDirectSoundReset();
        FakeDs.lockSplit = split;
        IDirectSound *ds = NewDirectSound();
        SoundObject *object = SoundObjectLoad(ds, path.c_str(), 3);
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(object->bufferCount, 3);
        EXPECT_EQ(object->currentBuffer, 0);
        EXPECT_EQ(object->waveSize, 300u);
        EXPECT_EQ(FakeDirectSoundCreateBufferCalls(), 1);
        EXPECT_EQ(FakeDirectSoundDuplicateCalls(), 2);

        FakeBufferRecord *first = Record(object, 0);
        EXPECT_EQ(first->flags, 0xE2u);
        EXPECT_EQ(first->size, 300u);
        EXPECT_EQ(first->fills, 1);
        EXPECT_EQ(AsString(first->lastFill), samples);
        EXPECT_EQ(AsString(FakeBufferSamples(first->id)), samples);
        // The format as in the file, and cbSize 0 behind it.
        EXPECT_EQ(AsString(first->format), WaveFormatBody({1, 11025, 8}, 18));
        for (int i = 1; i < 3; ++i) {
            EXPECT_EQ(Record(object, i)->duplicateOf, first->id);
            EXPECT_EQ(AsString(FakeBufferSamples(IdOf(object, i))), samples);
        }
        EXPECT_EQ(FakeDirectSoundLiveObjects(), 4);

        SoundObjectFree(object);
        ds->Release();
        EXPECT_EQ(FakeDirectSoundLiveObjects(), 0);
        EXPECT_TRUE(FakeDirectSoundMisuses().empty());
    }
}

TEST_F(SoundObjectTest, CountBelowOneGivesOneBuffer)
{
    directSound->Release();
    directSound = NULL;
    for (int count : {0, -5}) {
        SCOPED_TRACE(count);
        FakeDirectSoundReset();
        IDirectSound *ds = NewDirectSound();
        SoundObject *object = SoundObjectLoad(ds, path.c_str(), count);
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(object->bufferCount, 1);
        EXPECT_EQ(FakeBufferCount(), 1);
        EXPECT_EQ(FakeDirectSoundDuplicateCalls(), 0);
        SoundObjectFree(object);
        ds->Release();
        EXPECT_EQ(FakeDirectSoundLiveObjects(), 0);
    }
}

TEST_F(SoundObjectTest, PlaysRotateThroughBusyBuffersAndCutOffTheOldest)
{
    SoundObject *object = SoundObjectLoad(directSound, path.c_str(), 3);
    ASSERT_NE(object, nullptr);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(SoundObjectPlay(object, 0), 1);
        EXPECT_EQ(object->currentBuffer, i);
        EXPECT_TRUE(Record(object, i)->playing);
        FakeDirectSoundAdvance(40);
    }
    // Buffer 0 has played 120 bytes, 1 has 80, 2 has 40.
    EXPECT_EQ(SoundObjectPlay(object, 0), 1);
    EXPECT_EQ(object->currentBuffer, 0);
    FakeBufferRecord *oldest = Record(object, 0);
    EXPECT_EQ(FakeBufferEvents(oldest->id),
              (Events{"Lock 0 300 0", "Unlock 300 0", "Play 0", "Stop", "SetCurrentPosition 0", "Play 0"}));
    EXPECT_TRUE(oldest->playing);
    EXPECT_EQ(oldest->position, 0u);
    EXPECT_EQ(oldest->plays, 2);
    // The other two sound on, untouched.
    EXPECT_EQ(FakeBufferEvents(IdOf(object, 1)), Events{"Play 0"});
    EXPECT_EQ(Record(object, 1)->position, 80u);
    EXPECT_EQ(FakeBufferEvents(IdOf(object, 2)), Events{"Play 0"});
    EXPECT_TRUE(Record(object, 2)->playing);

    // A fifth shot moves on to buffer 1 and cuts it off the same way.
    EXPECT_EQ(SoundObjectPlay(object, 0), 1);
    EXPECT_EQ(object->currentBuffer, 1);
    EXPECT_EQ(FakeBufferEvents(IdOf(object, 1)), (Events{"Play 0", "Stop", "SetCurrentPosition 0", "Play 0"}));
    SoundObjectFree(object);
}

TEST_F(SoundObjectTest, AnIdleCurrentBufferIsUsedAgainFromWhereItStands)
{
    SoundObject *object = SoundObjectLoad(directSound, path.c_str(), 3);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(SoundObjectPlay(object, 0), 1);
    FakeBufferFinish(IdOf(object, 0));
    EXPECT_EQ(SoundObjectPlay(object, 0), 1);
    EXPECT_EQ(object->currentBuffer, 0);
    EXPECT_EQ(FakeBufferEvents(IdOf(object, 0)), (Events{"Lock 0 300 0", "Unlock 300 0", "Play 0", "Play 0"}));
    EXPECT_EQ(Record(object, 1)->plays + Record(object, 2)->plays, 0);

    // Stopped half-way by someone else: the next play goes on from there, nothing is rewound.
    FakeDirectSoundAdvance(120);
    object->buffers[0]->Stop();
    EXPECT_EQ(SoundObjectPlay(object, 0), 1);
    EXPECT_EQ(object->currentBuffer, 0);
    EXPECT_EQ(Record(object, 0)->position, 120u);
    EXPECT_EQ(Record(object, 0)->rewinds, 0);
    EXPECT_EQ(FakeBufferEvents(IdOf(object, 0)).back(), "Play 0");
    SoundObjectFree(object);
}

TEST_F(SoundObjectTest, ABusyOneBufferObjectRefusesAndTheSoundGoesOn)
{
    SoundObject *object = SoundObjectLoad(directSound, path.c_str(), 1);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(SoundObjectPlay(object, 0), 1);
    FakeDirectSoundAdvance(30);
    EXPECT_EQ(SoundObjectPlay(object, 0), 0);
    FakeBufferRecord *only = Record(object, 0);
    EXPECT_EQ(FakeBufferEvents(only->id), (Events{"Lock 0 300 0", "Unlock 300 0", "Play 0"}));
    EXPECT_TRUE(only->playing);
    EXPECT_EQ(only->position, 30u);
    EXPECT_EQ(object->currentBuffer, 0);

    FakeBufferFinish(only->id);
    EXPECT_EQ(SoundObjectPlay(object, 0), 1);
    SoundObjectFree(object);
}

TEST_F(SoundObjectTest, LoopingIsOnlyForAOneBufferObject)
{
    SoundObject *five = SoundObjectLoad(directSound, path.c_str(), 5);
    ASSERT_NE(five, nullptr);
    size_t before = FakeDirectSoundEvents().size();
    EXPECT_EQ(SoundObjectPlay(five, DSBPLAY_LOOPING), 0);
    EXPECT_EQ(FakeDirectSoundEvents().size(), before);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(Record(five, i)->plays, 0);
    SoundObjectFree(five);

    SoundObject *one = SoundObjectLoad(directSound, path.c_str(), 1);
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(SoundObjectPlay(one, DSBPLAY_LOOPING), 1);
    EXPECT_EQ(Record(one, 0)->playFlags, (DWORD)DSBPLAY_LOOPING);
    SoundObjectFree(one);
}

TEST_F(SoundObjectTest, ALostBufferIsRestoredRefilledAndPlayedInOnePlay)
{
    FakeDs.lockSplit = 100;
    SoundObject *object = SoundObjectLoad(directSound, path.c_str(), 1);
    ASSERT_NE(object, nullptr);
    int id = IdOf(object, 0);
    FakeBufferLose(id);
    ASSERT_NE(AsString(FakeBufferSamples(id)), samples);

    EXPECT_EQ(SoundObjectPlay(object, 0), 1);
    EXPECT_EQ(FakeBufferEvents(id), (Events{"Lock 0 300 0", "Unlock 100 200", "Restore", "Lock 0 300 0",
                                            "Unlock 100 200", "Play 0"}));
    EXPECT_EQ(AsString(FakeBufferSamples(id)), samples);
    EXPECT_EQ(AsString(Record(object, 0)->lastFill), samples);
    EXPECT_TRUE(Record(object, 0)->playing);
    SoundObjectFree(object);
}

TEST_F(SoundObjectTest, ALostNextBufferIsRestoredWhenTheRotationReachesIt)
{
    SoundObject *object = SoundObjectLoad(directSound, path.c_str(), 2);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(SoundObjectPlay(object, 0), 1);
    int next = IdOf(object, 1);
    FakeBufferLose(next);  // shares its samples with buffer 0: both hold garbage now

    EXPECT_EQ(SoundObjectPlay(object, 0), 1);
    EXPECT_EQ(object->currentBuffer, 1);
    EXPECT_EQ(FakeBufferEvents(next), (Events{"Restore", "Lock 0 300 0", "Unlock 300 0", "Play 0"}));
    EXPECT_EQ(AsString(FakeBufferSamples(next)), samples);
    SoundObjectFree(object);
}

TEST_F(SoundObjectTest, ALostBufferThatCannotBeRestoredDoesNotPlay)
{
    SoundObject *object = SoundObjectLoad(directSound, path.c_str(), 1);
    ASSERT_NE(object, nullptr);
    FakeBufferLose(IdOf(object, 0));
    FakeDs.restoreResult = DSERR_BUFFERLOST;
    EXPECT_EQ(SoundObjectPlay(object, 0), 0);
    EXPECT_EQ(Record(object, 0)->plays, 0);
    EXPECT_EQ(Record(object, 0)->fills, 1);  // only the one at loading

    // Restored, but the refill is refused: still no play.
    FakeDs.restoreResult = DS_OK;
    FakeBufferLose(IdOf(object, 0));
    FakeDs.failLockCall = 2;
    EXPECT_EQ(SoundObjectPlay(object, 0), 0);
    EXPECT_EQ(Record(object, 0)->plays, 0);
    SoundObjectFree(object);
}

TEST_F(SoundObjectTest, FailingDuplicationGivesBuffersOfTheirOwn)
{
    FakeDs.duplicateResult = DSERR_OUTOFMEMORY;
    SoundObject *object = SoundObjectLoad(directSound, path.c_str(), 3);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(FakeDirectSoundCreateBufferCalls(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Record(object, i)->duplicateOf, -1);
        EXPECT_EQ(AsString(FakeBufferSamples(IdOf(object, i))), samples);
    }
    for (int i = 0; i < 4; ++i) EXPECT_EQ(SoundObjectPlay(object, 0), 1);
    EXPECT_EQ(object->currentBuffer, 0);
    SoundObjectFree(object);
    EXPECT_EQ(FakeDirectSoundLiveObjects(), 1);

    // Neither a duplicate nor a buffer of its own for buffer 2: nothing is kept.
    FakeDs.failCreateBufferCall = FakeDirectSoundCreateBufferCalls() + 3;
    EXPECT_EQ(SoundObjectLoad(directSound, path.c_str(), 3), nullptr);
    EXPECT_EQ(FakeDirectSoundLiveObjects(), 1);
}

TEST_F(SoundObjectTest, ARefusedFirstBufferFailsTheLoadAndLeavesNothing)
{
    FakeDs.failCreateBufferCall = 1;
    EXPECT_EQ(SoundObjectLoad(directSound, path.c_str(), 3), nullptr);
    EXPECT_EQ(FakeDirectSoundDuplicateCalls(), 0);

    FakeDs.failLockCall = 1;
    EXPECT_EQ(SoundObjectLoad(directSound, path.c_str(), 3), nullptr);
    EXPECT_EQ(FakeBufferCount(), 1);
    EXPECT_TRUE(FakeBuffer(0)->released);

    // A format DirectSound does not take fails whatever the count.
    std::string wide = WriteFile("wide.wav", WavePcm(WaveSamples(240, 2), {6, 22050, 16}));
    for (int count : {1, 5}) EXPECT_EQ(SoundObjectLoad(directSound, wide.c_str(), count), nullptr);
    EXPECT_EQ(FakeDirectSoundLiveObjects(), 1);
}

TEST_F(SoundObjectTest, FilesWithoutPlayableSamplesLoadNothing)
{
    std::string noData = WriteFile("nodata.wav", WaveRiff(WaveChunk("fmt ", WaveFormatBody({1, 11025, 8}))));
    std::string notRiff = WriteFile("text.wav", "RIFX" + WavePcm(samples).substr(4));
    std::string empty = WriteFile("empty.wav", "");
    std::string emptyData = WriteFile("emptydata.wav",
                                      WaveRiff(WaveChunk("fmt ", WaveFormatBody({1, 11025, 8})) + WaveChunk("data", "")));
    for (const std::string &bad : {noData, notRiff, empty, emptyData, folder + "missing.wav"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(SoundObjectLoad(directSound, bad.c_str(), 3), nullptr);
    }
    EXPECT_EQ(SoundObjectLoad(NULL, path.c_str(), 3), nullptr);
    EXPECT_EQ(FakeDirectSoundLiveObjects(), 1);
}

TEST_F(SoundObjectTest, StopStopsAndRewindsEveryBuffer)
{
    SoundObject *object = SoundObjectLoad(directSound, path.c_str(), 3);
    ASSERT_NE(object, nullptr);
    for (int i = 0; i < 3; ++i) {
        SoundObjectPlay(object, 0);
        FakeDirectSoundAdvance(50);
    }
    EXPECT_EQ(SoundObjectStop(object), 1);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_FALSE(Record(object, i)->playing);
        EXPECT_EQ(Record(object, i)->position, 0u);
        EXPECT_EQ(Record(object, i)->stops, 1);
        EXPECT_EQ(Record(object, i)->rewinds, 1);
    }
    SoundObjectFree(object);

    EXPECT_EQ(SoundObjectStop(NULL), 0);
    EXPECT_EQ(SoundObjectPlay(NULL, 0), 0);
    EXPECT_EQ(SoundObjectNextBuffer(NULL), nullptr);
    SoundObjectFree(NULL);
}

TEST_F(SoundObjectTest, DataRunningPastTheFileEndIsCutAtTheEnd)
{
    // The data chunk announces 1000 bytes; the file ends after 200 of them.
    std::string cut = samples.substr(0, 200);
    std::string file = WaveRiff(WaveChunk("fmt ", WaveFormatBody({1, 11025, 8})) + "data" + std::string("\xE8\x03\0\0", 4) + cut);
    std::string truncated = WriteFile("truncated.wav", file);

    SoundObject *object = SoundObjectLoad(directSound, truncated.c_str(), 2);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->waveSize, 200u);
    EXPECT_EQ(Record(object, 0)->size, 200u);
    EXPECT_EQ(AsString(FakeBufferSamples(IdOf(object, 0))), cut);
    SoundObjectFree(object);
}

TEST_F(SoundObjectTest, AFormatAtTheVeryEndOfTheFileIsHandedOverWhole)
{
    // Data first, the format chunk last: nothing behind it in the file for cbSize.
    std::string format16 = WaveFormatBody({2, 22050, 16});
    std::string data = WaveSamples(400, 3);
    std::string at16 = WriteFile("fmt16.wav", WaveRiff(WaveChunk("data", data) + WaveChunk("fmt ", format16)));
    SoundObject *object = SoundObjectLoad(directSound, at16.c_str(), 1);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(AsString(Record(object, 0)->format), format16 + std::string(2, '\0'));
    EXPECT_EQ(AsString(FakeBufferSamples(IdOf(object, 0))), data);
    SoundObjectFree(object);

    // Fourteen bytes leave out the sample size as well: the format DirectSound gets has the
    // file's 14 bytes and zeros, and DirectSound then refuses a PCM format without bits.
    std::string format14 = format16.substr(0, 14);
    std::string at14 = WriteFile("fmt14.wav", WaveRiff(WaveChunk("data", data) + WaveChunk("fmt ", format14)));
    int calls = FakeDirectSoundCreateBufferCalls();
    EXPECT_EQ(SoundObjectLoad(directSound, at14.c_str(), 3), nullptr);
    EXPECT_EQ(FakeDirectSoundCreateBufferCalls(), calls + 1);
    EXPECT_EQ(AsString(FakeDirectSoundLastFormat()), format14 + std::string(4, '\0'));
    EXPECT_EQ(FakeDirectSoundLiveObjects(), 1);
}

}  // namespace
