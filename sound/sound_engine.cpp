// The sound engine: the DirectSound object and the four SoundSlots, with every failure message.
#include "sound/sound_engine.h"

#include <stdio.h>
#include <string.h>

#include "app/app_state.h"
#include "app/settings_file.h"
#include "sound/sound_math.h"

int soundEnabled = 1;
int soundStarted = 0;
static struct {
    IDirectSound *directSound;
    SoundObject *slots[SOUND_SLOT_COUNT + 1];      // index 1..4
    int playFailureReported[SOUND_SLOT_COUNT + 1];  // since the last start: later failures are silent
} soundEngine;

enum {
    RETRY_SILENTLY_MS = 3000,
    RETRY_PAUSE_MS = 100,
    LOCATE_MESSAGE_SIZE = 400,
    BOX_NOTE = MB_SYSTEMMODAL | MB_ICONINFORMATION,
};

static const char CAPTION_DIRECTX[] = "DirectX Error";
static const char CAPTION_DIRECTSOUND[] = "DirectSound Error";

static const char RETRY_TEXT[] =
    "Initialisation of DirectSound has failed!\n\nIt is likely that another application uses the "
    "waveform-device(s)! Close those applications to enable sound in VROK.\n\nClick Yes to try the "
    "DirectSound initialisation again.\nClick No to disable DirectSound support in VROK "
    "permanently.\nClick Cancel to quit. Using VROK without sound is only half the fun (or less).";
static const char DECLINE_TEXT[] =
    "You have selected to disable DirectSound support permanently.\n\nIf you like to enable "
    "DirectSound again, select Configuration from the menu and check the \"Use DirectX Sound\" "
    "again.";

struct SlotLoad {
    int slot;
    int bufferCount;
    const char *failure;
};

// The order of loading and of the failure boxes.
static const SlotLoad SLOT_LOADS[SOUND_SLOT_COUNT] = {
    {SOUND_SLOT_MACHINE_GUN, 3, "Loading of MG-Sound failed!"},
    {SOUND_SLOT_GRENADE, 5, "Loading of grenade-sound failed!"},
    {SOUND_SLOT_FINAL, 1, "Loading of HLVB-sound failed!"},
    {SOUND_SLOT_CUCKOO, 1, "Loading of Cuckoo-sound failed!"},
};

static const char *SlotPath(const Profile *profile, int slot)
{
    switch (slot) {
    case SOUND_SLOT_MACHINE_GUN: return profile->machineGunSound;
    case SOUND_SLOT_GRENADE: return profile->grenadeSound;
    case SOUND_SLOT_FINAL: return profile->finalSound;
    default: return profile->cuckooSound;
    }
}

void SoundEngineReset(void)
{
    soundEnabled = 1;
    soundStarted = 0;
    memset(&soundEngine, 0, sizeof soundEngine);
}

void SoundSetEnabled(int enabled) { soundEnabled = enabled ? 1 : 0; }

void SoundSwitchOff(int everyProfile)
{
    soundEnabled = 0;
    for (int i = 0; i < PROFILE_COUNT; ++i)
        if (everyProfile || i == Settings.activeProfile) Settings.profiles[i].useDirectSound = 0;
    // For good means on disk at once, not only if VROK ends normally.
    SettingsSave();
}

IDirectSound *SoundDirectSound(void) { return soundEngine.directSound; }

SoundObject *SoundSlotObject(int slot)
{
    return slot >= 1 && slot <= SOUND_SLOT_COUNT ? soundEngine.slots[slot] : NULL;
}

// Stops and frees every slot and releases DirectSound, whatever soundStarted says.
static void ReleaseEverything(void)
{
    static const int ORDER[SOUND_SLOT_COUNT] = {SOUND_SLOT_FINAL, SOUND_SLOT_MACHINE_GUN,
                                                SOUND_SLOT_GRENADE, SOUND_SLOT_CUCKOO};
    for (int slot : ORDER) {
        if (!soundEngine.slots[slot]) continue;
        SoundObjectStop(soundEngine.slots[slot]);
        SoundObjectFree(soundEngine.slots[slot]);
        soundEngine.slots[slot] = NULL;
    }
    if (soundEngine.directSound) soundEngine.directSound->Release();
    soundEngine.directSound = NULL;
    soundStarted = 0;
}

void SoundShutdown(void)
{
    if (!soundEnabled || !soundStarted) return;
    ReleaseEverything();
}

// Creates the DirectSound object, retrying silently while another program holds the device.
// Returns 1 when created, 0 when not (reported), SOUND_START_QUIT on Cancel.
static int CreateDirectSound(void)
{
    DWORD started = GetTickCount();
    for (;;) {
        HRESULT result = DSERR_NODRIVER;
        if (App.directSoundCreate) result = App.directSoundCreate(NULL, &soundEngine.directSound, NULL);
        if (SUCCEEDED(result) && soundEngine.directSound) return 1;
        soundEngine.directSound = NULL;

        if (result == DSERR_ALLOCATED) {
            int32_t elapsed = (int32_t)(GetTickCount() - started);
            if (elapsed >= 0 && elapsed <= RETRY_SILENTLY_MS) {
                Sleep(RETRY_PAUSE_MS);
                continue;
            }
            int answer = AppMessageBox(NULL, RETRY_TEXT, CAPTION_DIRECTX, MB_YESNOCANCEL | MB_ICONERROR);
            if (answer == IDCANCEL) return SOUND_START_QUIT;
            if (answer == IDYES) continue;
            AppMessageBox(NULL, DECLINE_TEXT, "VROK note", MB_ICONINFORMATION);
            return 0;
        }
        if (result == DSERR_NODRIVER)
            AppMessageBox(NULL, "DirectX not installed or not availible. Sound will not work!",
                          CAPTION_DIRECTX, MB_ICONERROR);
        else
            AppMessageBox(NULL, "DirectX initialization error. Sound will not work!",
                          CAPTION_DIRECTX, MB_ICONERROR);
        return 0;
    }
}

static int FileOpens(const char *path)
{
    FILE *file = fopen(path, "r");
    if (!file) return 0;
    fclose(file);
    return 1;
}

static void ReportMissingFile(const char *path)
{
    char message[LOCATE_MESSAGE_SIZE];
    char shownPath[LOCATE_MESSAGE_SIZE];
    // Room for the path once the fixed words are in; a longer path keeps its end, the file name.
    const size_t room = sizeof message - (sizeof "Can\xB4t locate the sound file . Select Configuration." - 1) - 1;
    PathShortenFromLeft(path, shownPath, room + 1);
    snprintf(message, sizeof message, "Can\xB4t locate the sound file %s. Select Configuration.", shownPath);
    AppMessageBox(NULL, message, "Configuration Error", BOX_NOTE);
}

int SoundStart(HWND window)
{
    if (!soundEnabled) return 0;
    if (soundStarted) SoundShutdown();
    memset(soundEngine.playFailureReported, 0, sizeof soundEngine.playFailureReported);

    int created = CreateDirectSound();
    if (created != 1) return created;
    soundStarted = 1;

    const Profile *profile = &Settings.profiles[Settings.activeProfile];
    const char *mustExist[] = {profile->machineGunSound, profile->finalSound, profile->grenadeSound};
    for (const char *path : mustExist) {
        if (!FileOpens(path)) {
            ReportMissingFile(path);
            ReleaseEverything();
            return 0;
        }
    }

    if (FAILED(soundEngine.directSound->SetCooperativeLevel(window, DSSCL_NORMAL))) {
        AppMessageBox(NULL, "Setting of coorporative level failed!", CAPTION_DIRECTSOUND, BOX_NOTE);
        soundStarted = 0;
    }
    for (const SlotLoad &load : SLOT_LOADS)
        soundEngine.slots[load.slot] =
            SoundObjectLoad(soundEngine.directSound, SlotPath(profile, load.slot), load.bufferCount);
    for (const SlotLoad &load : SLOT_LOADS) {
        if (soundEngine.slots[load.slot]) continue;
        AppMessageBox(NULL, load.failure, CAPTION_DIRECTSOUND, BOX_NOTE);
        soundStarted = 0;
    }
    if (!soundStarted) {
        // Nothing half-started stays behind: a later start begins from scratch.
        ReleaseEverything();
        return 0;
    }
    return 1;
}

static int SoundSetVolumePan(SoundObject *object, int32_t pan, int32_t volume)
{
    // A pan of 0 leaves the buffer as its last play set it, centred and full when never set.
    if (!soundEnabled || pan == 0 || !object) return 0;
    IDirectSoundBuffer *buffer = object->buffers[object->currentBuffer];
    buffer->SetVolume(volume);
    return buffer->SetPan(pan);
}

// A box's modal loop goes on dispatching timer ticks: a sound failing on every tick would open
// a box inside the box without end, so while any box of ours is open a failure passes silently.
static void ReportPlayOrStopFailure(const char *text)
{
    if (AppMessageBoxOpen()) return;
    AppMessageBox(NULL, text, CAPTION_DIRECTSOUND, BOX_NOTE);
}

int SoundPlay(int slot, int32_t pan, int32_t volume)
{
    if (!soundEnabled) return 0;
    SoundObject *object = SoundSlotObject(slot);
    int played = SoundObjectPlay(object, 0);
    if (slot == SOUND_SLOT_MACHINE_GUN || slot == SOUND_SLOT_GRENADE)
        SoundSetVolumePan(object, pan, volume);
    if (!played) {
        // Once per sound and start: a gun failing at every tick would otherwise bring the box
        // back each time it is answered, and the activation could never go on.
        int *reported = &soundEngine.playFailureReported[slot >= 1 && slot <= SOUND_SLOT_COUNT ? slot : 0];
        if (!*reported) ReportPlayOrStopFailure("Error while playing Soundbuffer!");
        *reported = 1;
        return 0;
    }
    return 1;
}

void SoundStop(int slot)
{
    if (!soundEnabled) return;
    if (!SoundObjectStop(SoundSlotObject(slot))) ReportPlayOrStopFailure("Error while stopping Soundbuffer!");
}

int SoundIsPlaying(SoundObject *object, int bufferIndex)
{
    if (!soundEnabled || !object || bufferIndex < 0 || bufferIndex >= object->bufferCount) return 0;
    DWORD status = 0;
    if (FAILED(object->buffers[bufferIndex]->GetStatus(&status))) return 0;
    return (status & DSBSTATUS_PLAYING) ? 1 : 0;
}

int32_t SoundPanForX(int32_t x, int32_t width)
{
    if (!soundEnabled) return 0;
    return PanForX(x, width);
}
