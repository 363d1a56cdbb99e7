// A fake DirectSound for the Win32 tests: COM objects that count their references, scripted failures, a log of calls.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>

#include <gtest/gtest.h>

#include <stdint.h>

#include <string>
#include <vector>

#include "sound/sound_engine.h"

// The script of the next calls and what they did; FakeDirectSoundReset makes everything work again.
struct FakeDirectSoundState {
    HRESULT createResult;            // DirectSoundCreate once the device is free
    int busyForever;                 // DirectSoundCreate answers DSERR_ALLOCATED for good
    DWORD busyUntil;                 // ... or, when not 0, while GetTickCount is before this tick
    HRESULT cooperativeLevelResult, duplicateResult, restoreResult;
    int failCreateBufferCall;        // this CreateSoundBuffer call (counted from 1) fails
    int failLockCall;                // this Lock call (counted from 1, all buffers) fails
    DWORD lockSplit;                 // Lock hands out two regions, the first this long; 0: one region

    int createCalls, createBufferCalls, duplicateCalls, lockCalls;
    HWND cooperativeWindow;
    DWORD cooperativeLevel;
    int liveObjects;                 // DirectSound objects and buffers with references left
    int misuses;                     // calls on released objects or that VROK never makes, too early releases
    // Calls on buffers but GetStatus, "b<id> <Method> <arguments>"; last Releases "b<id> Freed", "ds Freed".
    std::vector<std::string> events;
};
extern FakeDirectSoundState FakeDs;

// One buffer's life; it outlives the buffer.
struct FakeBufferRecord {
    int id;                          // creation order from 0
    int duplicateOf;                 // id of the buffer it shares samples with, or -1
    DWORD flags, size;
    std::string format;              // the WAVEFORMATEX as DirectSound reads it
    LONG references;
    int released, lost, playing, plays;
    DWORD playFlags, position;
    LONG pan;
};

void FakeDirectSoundReset(void);  // objects a test leaked stay valid (never freed)
HRESULT WINAPI FakeDirectSoundCreate(const GUID *device, IDirectSound **directSound, IUnknown *outer);
const std::vector<std::string> &FakeDirectSoundEvents(void);
std::vector<std::string> FakeBufferEvents(int id);  // without the "b<id> " prefix
int FakeBufferCount(void);
FakeBufferRecord *FakeBuffer(int id);
FakeBufferRecord *FakeBufferOf(IDirectSoundBuffer *buffer);
std::string FakeBufferSamples(int id);  // shared with its duplicates
// Moves playing buffers on; one that reaches its end stops at position 0.
void FakeDirectSoundAdvance(DWORD bytes);
void FakeBufferFinish(int id);
// DirectSound took the memory away: stopped, garbage samples, Play and Lock fail until Restore.
void FakeBufferLose(int id);

struct PcmFormat {
    uint16_t channels;
    uint32_t rate;
    uint16_t bits;
};
std::string WaveChunk(const char *id, const std::string &body);
std::string WaveFormatBody(PcmFormat format, size_t size = 16);  // cut or padded to size
std::string WaveRiff(const std::string &chunks);
std::string WavePcm(const std::string &samples, PcmFormat format = {1, 11025, 8});
std::string WaveSamples(size_t count, unsigned seed);  // different seeds, different sounds
enum { GUN = SOUND_SLOT_MACHINE_GUN, GRENADE = SOUND_SLOT_GRENADE, FINAL = SOUND_SLOT_FINAL,
       CUCKOO = SOUND_SLOT_CUCKOO };
char *ProfileSoundPath(int profile, int slot);
void RegisterClassOnce(const char *name, WNDPROC procedure, HBRUSH brush = NULL);  // CS_DBLCLKS as WinMain's

// Per test: a fresh folder, the fake message box, App, Settings and sound state reset, the fake as
// DirectSoundCreate. TearDown shuts sound down and checks every reference went, nothing misused.
class FakeDirectSoundTest : public ::testing::Test {
protected:
    std::string folder;

    void SetUp() override;
    void TearDown() override;
    std::string WriteFile(const std::string &name, const std::string &bytes);  // the full path
    // The four slots of a Profile get files of 100 + 20 * slot bytes of WaveSamples(.., slot).
    void WriteProfileSounds(int profile);

private:
    std::vector<std::string> written;
};
