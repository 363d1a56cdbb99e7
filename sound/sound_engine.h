// The sound engine: the DirectSound object and the four SoundSlots, with every failure message.
#pragma once

#include <windows.h>
#include <stdint.h>

#include "sound/sound_object.h"

enum SoundSlot {
    SOUND_SLOT_MACHINE_GUN = 1,
    SOUND_SLOT_GRENADE = 2,
    SOUND_SLOT_FINAL = 3,
    SOUND_SLOT_CUCKOO = 4,
    SOUND_SLOT_COUNT = 4,
};

enum { SOUND_START_QUIT = -1 };

// Written here only; read everywhere.
extern int soundEnabled;  // the active Profile's useDirectSound; every operation is off while 0
extern int soundStarted;  // DirectSound is up

// The engine as at program start: sound wanted, nothing started.
void SoundEngineReset(void);
// Sound wanted or not for the run: start-up and the configuration dialog say which.
void SoundSetEnabled(int enabled);
// After a start that failed: sound off for the run, and for good in the active Profile or, with
// everyProfile, in all three; VROK.INI is written at once.
void SoundSwitchOff(int everyProfile);
// The running engine's DirectSound object, on which a preview is made; NULL while stopped.
IDirectSound *SoundDirectSound(void);

// Starts DirectSound with window as cooperative window and loads the four slots from the
// active Profile. 1: started; 0: not (a message was shown unless sound is disabled);
// SOUND_START_QUIT: the user chose Cancel and wants the program to end.
int SoundStart(HWND window);
void SoundShutdown(void);
int SoundPlay(int slot, int32_t pan, int32_t volume);
void SoundStop(int slot);
int SoundIsPlaying(SoundObject *object, int bufferIndex);
int32_t SoundPanForX(int32_t x, int32_t width);
SoundObject *SoundSlotObject(int slot);
