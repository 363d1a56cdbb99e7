// Where a bullet lands: the runtime's random generator, the bullet spread and its arithmetic;
// portable.
#pragma once

#include <stdint.h>

enum {
    SPREAD_MAX_DISTANCE = 40,   // R: largest distance drawn, pixels
    SPREAD_DRAW_RANGE = 1024,   // N: each draw is 0..1023
    SPREAD_SCALE = 10,          // K: pixels
    SPREAD_MIN_COMPONENT = 16,  // smallest magnitude of either direction component
    ROOT_TOLERANCE = 8,         // the bisection stops at an interval this narrow
    HOLE_OFFSET = 8,            // the hole bitmap sits this far left of and above the hit point
};

// The C runtime's linear congruential generator: state 1 at program start, never reseeded.
extern uint32_t randomState;

// One draw: 0..32767.
int RandomNext(void);
// One draw scaled to 0..n-1: v * n / 32768, truncating.
int RandomBelow(int n);

// a * b / c rounded to the nearest integer, halves away from zero, with a 64-bit product
// (as the platform's MulDiv); -1 when c is 0 or the result does not fit in 32 bits.
int32_t MulDivRound(int32_t a, int32_t b, int32_t c);

// The distance for a draw r of 0..1023: r + r^3/3/S/S, scaled so that r = 1023 gives 40.
int SpreadDistance(int r);

// The largest multiple of 8 whose square is below s (bisection over 0..1024), for s >= 1.
int SpreadRoot(int32_t s);

// The draws of one bullet and where it lands relative to the cursor.
struct BulletPlacement {
    int r, dx, dy;   // the accepted draws
    int distance;    // d
    int offsetX, offsetY;
};

// Draws one bullet's offset from the generator, redrawing as the spread requires.
void BulletPlace(BulletPlacement *bullet);
