// Stereo position arithmetic; portable.
#pragma once

#include <stdint.h>

enum { PAN_SPREAD = 5000, PAN_LEFT_EDGE = -2500 };

// The pan for a screen x: -2500 at the left edge, 0 in the middle, just under 2500 at the right.
// The quotient is truncated toward zero; a width of 0 gives the centre.
int32_t PanForX(int32_t x, int32_t width);
