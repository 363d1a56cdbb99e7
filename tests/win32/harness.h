// Shared by the Win32 tests: a fake DirectSound of real COM objects, a scripted message box,
// wave files, and a fixture that expects every DirectSound reference released and none misused.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>

#include <gtest/gtest.h>

#include <functional>

#include "app/app_state.h"
#include "sound/sound_engine.h"

struct FakeDsState {  // the script of the next DirectSound calls, and what they did
    HRESULT createResult, duplicateResult, restoreResult;
    DWORD busyUntil;                 // DirectSoundCreate says DSERR_ALLOCATED before this tick; ~0u: for good
    int failCreateBuffer, failLock;  // this call, counted from 1, fails
    DWORD lockSplit;                 // Lock hands out two regions, the first this long
    bool endless;  // a playing buffer ends after 3 s, past any bounded wait, so an unbounded one fails; else 1 ms a byte
    bool strict;   // as Windows' own: buffers of 8 or 16-bit PCM in one or two channels only, of 4 bytes at least
    int createCalls, createBufferCalls, lockCalls;
    int live, misuses;  // objects with references left; calls on released ones, buffers outliving theirs
    std::vector<std::string> events;  // "b<id> <call>", "ds Freed"
};
extern FakeDsState FakeDs;
struct FakeBuffer {
    int id, plays, lost, released;
    DWORD playing, position, size;  // playing: the tick Play started it, 0 when stopped
    std::string *samples;           // shared with its duplicates
    std::vector<std::string> calls;
};
FakeBuffer *Fake(IDirectSoundBuffer *buffer);
void FakeLose(IDirectSoundBuffer *buffer);  // DirectSound took its memory away
HRESULT WINAPI FakeDirectSoundCreate(const GUID *, IDirectSound **, IUnknown *);
std::string WavePcm(size_t samples, unsigned seed);  // an even count of 8-bit mono noise behind 44 bytes

// Every box calls answer, as inside its modal loop, for its answer; without one it is OK.
void BoxScript(std::function<int()> answer = nullptr);
extern std::vector<std::string> Boxes;  // "caption: text"
::testing::AssertionResult BoxesSay(std::vector<std::string> words);  // a box for each, in order

enum { GUN = SOUND_SLOT_MACHINE_GUN, GRENADE = SOUND_SLOT_GRENADE, FINAL = SOUND_SLOT_FINAL, CUCKOO = SOUND_SLOT_CUCKOO };
inline IDirectSoundBuffer *SlotBuffer(int slot, int index) { return SoundSlotObject(slot)->buffers[index]; }
int Plays(int slot);  // of all the slot's buffers
bool PumpUntil(std::function<bool()> done, DWORD ms);  // runs messages until done() or ms have passed

class Win32Test : public ::testing::Test {
protected:
    std::string folder;
    void SetUp() override;  // a fresh folder, everything reset; Profile 0's slot s plays s<s>.wav
    void TearDown() override;
    std::string Write(const std::string &name, const std::string &bytes);  // the path
};
