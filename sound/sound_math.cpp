// Stereo position arithmetic; portable.
#include "sound/sound_math.h"

int32_t PanForX(int32_t x, int32_t width)
{
    if (width == 0) return 0;
    // 64-bit product: no overflow for any screen coordinate.
    return (int32_t)(((int64_t)x * PAN_SPREAD) / width + PAN_LEFT_EDGE);
}
