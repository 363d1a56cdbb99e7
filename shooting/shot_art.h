// What is shot on each monitor of this activation: the hole and the crater at the monitor's DPI.
#pragma once

#include <windows.h>

#include "shooting/shot_scale.h"

// The hole and the crater for one DPI, with the sizes measured from them.
struct ShotArt {
    int dpi;
    HBITMAP hole;       // at 96 dpi the bitmaps "LOCH" and "GRENADE"; else made for this activation
    HBITMAP crater;
    POINT holeSize;
    POINT craterSize;
    int holeOffset;     // the hole's top left corner lies this far left of and above the hit point
};

struct ShotArtState {
    MonitorArea monitors[MONITOR_SLOT_COUNT];
    int monitorCount;
    ShotArt art[MONITOR_SLOT_COUNT];  // one for each DPI among the monitors
    int artCount;
};

extern ShotArtState ShotArts;

// At the start of an activation: the monitors and the DPI of each.
void ShotArtReadMonitors(void);
// Then, with the screen's context: the bitmaps for each DPI, drawn for it or stretched with hard
// edges from the nearest drawn; their sizes. Nothing is made for 96 dpi.
void ShotArtMake(HDC screen);
// At its end: deletes what was made.
void ShotArtFree(void);
// What is shot at (x, y): the art of the monitor there or nearest to it.
const ShotArt *ShotArtAt(int x, int y);
