// A fake DirectSound for the Win32 tests: COM objects that count their references, scripted failures, a record of every call.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>

#include <gtest/gtest.h>

#include <stdint.h>

#include <string>
#include <vector>

// What the next calls answer. FakeDirectSoundReset puts every field back to "works".
struct FakeDirectSoundScript {
    HRESULT createResult;            // DirectSoundCreate once the device is free
    int busyForever;                 // DirectSoundCreate answers DSERR_ALLOCATED for good
    DWORD busyUntil;                 // ... or while GetTickCount is before this tick
    int busyUntilSet;
    HRESULT cooperativeLevelResult;
    int failCreateBufferCall;        // this CreateSoundBuffer call (counted from 1) fails; 0: none
    int failCreateBufferFrom;        // this call and every later one fail; 0: none
    HRESULT duplicateResult;
    int failLockCall;                // this Lock call (counted from 1, all buffers) fails; 0: none
    DWORD lockSplit;                 // Lock hands out two parts, the first this long; 0: one part
    HRESULT restoreResult;
};

// One buffer's life. It outlives the buffer, so a test can look at it after the release.
struct FakeBufferRecord {
    int id;                          // creation order from 0 across the test
    int duplicateOf;                 // id of the buffer it shares samples with, or -1
    DWORD flags;                     // dwFlags of its description
    DWORD size;                      // dwBufferBytes
    std::vector<unsigned char> format;  // the WAVEFORMATEX as it was handed over
    LONG references;
    int released;
    int playing;
    DWORD playFlags;
    int lost;
    DWORD position;
    LONG volume;
    LONG pan;
    int plays, stops, rewinds, restores, fills;
    std::vector<unsigned char> lastFill;  // the bytes written through the last Lock/Unlock
};

extern FakeDirectSoundScript FakeDs;

// Forgets every record and puts the script back; objects a test leaked stay valid (not freed).
void FakeDirectSoundReset(void);

// The DirectSoundCreate entry of the fake; put it in App.directSoundCreate.
HRESULT WINAPI FakeDirectSoundCreate(const GUID *device, IDirectSound **directSound, IUnknown *outer);
void FakeDirectSoundBusyFor(DWORD milliseconds);

int FakeDirectSoundCreateCalls(void);
const std::vector<DWORD> &FakeDirectSoundCreateTicks(void);  // GetTickCount at each call
int FakeDirectSoundCreateBufferCalls(void);
int FakeDirectSoundDuplicateCalls(void);
// The WAVEFORMATEX the last CreateSoundBuffer was given, taken or refused.
const std::vector<unsigned char> &FakeDirectSoundLastFormat(void);
HWND FakeDirectSoundCooperativeWindow(void);  // the last SetCooperativeLevel's window and level
DWORD FakeDirectSoundCooperativeLevel(void);

// DirectSound objects and buffers with references left.
int FakeDirectSoundLiveObjects(void);
// Wrong uses seen: a call on or a Release of a released object, an Unlock that does not match
// its Lock, a DirectSound object released while its buffers live on, a call the fake does not
// answer. Each is described.
const std::vector<std::string> &FakeDirectSoundMisuses(void);

// Every call on a buffer except GetStatus, as "b<id> <Method> <argument>", in order; the final
// release of a buffer is "b<id> Freed", of a DirectSound object "ds Freed".
const std::vector<std::string> &FakeDirectSoundEvents(void);
// The events of one buffer without the "b<id> " prefix.
std::vector<std::string> FakeBufferEvents(int id);

int FakeBufferCount(void);
FakeBufferRecord *FakeBuffer(int id);
FakeBufferRecord *FakeBufferOf(IDirectSoundBuffer *buffer);
// The sample memory the buffer plays (shared with its duplicates).
std::vector<unsigned char> FakeBufferSamples(int id);

// Moves every playing buffer on by bytes; one that reaches its end stops there, as a buffer
// that was not looping does, and stands at position 0 again.
void FakeDirectSoundAdvance(DWORD bytes);
// The buffer has played to its end.
void FakeBufferFinish(int id);
// DirectSound took the buffer's memory away: it stops, its samples are garbage, Play and Lock
// fail with DSERR_BUFFERLOST until Restore.
void FakeBufferLose(int id);

// Wave files for the tests.
struct PcmFormat {
    uint16_t channels;
    uint32_t rate;
    uint16_t bits;
};

std::string WaveChunk(const char *id, const std::string &body);
// The body of a "fmt " chunk for PCM, cut or padded to size bytes (16 is the usual).
std::string WaveFormatBody(PcmFormat format, size_t size = 16);
// "RIFF", the length of what follows, "WAVE", the chunks.
std::string WaveRiff(const std::string &chunks);
// A plain PCM wave file: fmt then data.
std::string WavePcm(const std::string &samples, PcmFormat format = {1, 11025, 8});
// count distinct-looking sample bytes; different seeds give different sounds.
std::string WaveSamples(size_t count, unsigned seed);
std::string AsString(const std::vector<unsigned char> &bytes);

// Per test: a fresh temporary folder, the fake message box, App and sound state reset, the fake
// as DirectSoundCreate entry. TearDown checks that every reference taken was released and
// that nothing was misused.
class FakeDirectSoundTest : public ::testing::Test {
protected:
    std::string folder;

    void SetUp() override;
    void TearDown() override;
    // Writes bytes to folder + name and returns the full path.
    std::string WriteFile(const std::string &name, const std::string &bytes);
    // A fresh DirectSound object of the fake; the test releases it.
    IDirectSound *NewDirectSound(void);

private:
    std::vector<std::string> written;
};
