// The state of the one activation: what the shooting window keeps while the user shoots.
#pragma once

#include <windows.h>

#include "shooting/shot_art.h"

enum {
    GRENADE_SLOT_COUNT = 5,
    GRENADE_TIMER_FIRST = 1001,       // detonation timers 1001..1005
    GRENADE_COMPLETION_OFFSET = 100,  // completion timers 1101..1105
    GRENADE_COMPLETION_MS = 2600,
    TIMER_SHOT = 1,
    TIMER_GUN_SOUND = 2,
};

struct GrenadeSlot {
    int craterX;  // left edge of the crater, screen coordinates
    int craterY;  // top edge
    UINT timerId;
    const ShotArt *art;  // the crater of the monitor it was thrown at
};

struct ActivationState {
    HWND window;          // the shooting window, from the start of its creation until it is gone
    bool active;          // an activation runs: gates focus, activation and mouse handling
    bool graphicsReady;   // the display context exists and the bitmaps are made and measured (ShotArts)
    HDC displayContext;   // the whole screen
    POINT bitmapOrigin;
    int widthTwentieth;
    int heightTwentieth;
    RECT clockTarget;
    UINT shotTimer;       // multimedia timers of the current burst; 0 when none runs
    UINT gunSoundTimer;
    volatile LONG shotTick;      // their ticks in the queue (TickPost): at most one of each
    volatile LONG gunSoundTick;
    GrenadeSlot grenades[GRENADE_SLOT_COUNT];
    int nextGrenadeSlot;
    int grenadesInFlight;
    bool rightButtonHeld;
};

extern ActivationState Activation;
