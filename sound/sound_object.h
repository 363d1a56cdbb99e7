// A wave file made playable: the file image and one or more DirectSound buffers of it.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>
#include <stdint.h>

#include "sound/wave.h"

// One zero-filled block: these fields, then bufferCount buffer references.
struct SoundObject {
    const unsigned char *waveData;  // first sample byte, inside fileImage
    uint32_t waveSize;
    uint32_t durationMs;            // how long one play lasts
    int32_t bufferCount;            // at least 1
    int32_t currentBuffer;          // the buffer chosen last
    unsigned char *fileImage;       // the whole file, or its samples made 16-bit PCM; refills lost buffers
    IDirectSoundBuffer **buffers;   // points just past this record, into the same block
};

// Loads path into an object with count buffers (below 1 means 1): all of them or nothing.
SoundObject *SoundObjectLoad(IDirectSound *directSound, const char *path, int32_t count);
void SoundObjectFree(SoundObject *object);
// Plays the next buffer; 1 when one was started.
int SoundObjectPlay(SoundObject *object, DWORD flags);
// Stops and rewinds every buffer; 0 for an absent object.
int SoundObjectStop(SoundObject *object);
// The buffer to play next (see the rotation in sound_object.cpp), or NULL.
IDirectSoundBuffer *SoundObjectNextBuffer(SoundObject *object);

