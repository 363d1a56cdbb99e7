// Landing bullets and craters on the screen, the cuckoo on the clock, and the clock target.
#pragma once

#include <windows.h>

enum { SHOT_BULLET = 1, SHOT_CRATER = 2 };

// The task-bar clock's screen rectangle grown by 8 pixels on each side at 96 dpi, more on a scaled
// display; empty without one.
RECT ClockTargetRect(void);

// SHOT_BULLET: one bullet around the cursor (slot ignored); SHOT_CRATER: the crater of a
// grenade slot. Other kinds do nothing.
void ShotImpact(int kind, int slot);
