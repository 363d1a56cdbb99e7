// What is shot on a scaled display: scaled lengths, the monitor of a point, the coded art.
#include "shooting/shot_scale.h"

#include "shooting/shot_math.h"

int ScaledLength(int length, int dpi)
{
    return MulDivRound(length, dpi, BASE_DPI);
}

// How far (x, y) lies outside a monitor, along each axis added up; 0 inside it.
static long long DistanceOutside(const MonitorArea *monitor, int x, int y)
{
    long long dx = x < monitor->left ? (long long)monitor->left - x : x >= monitor->right ? (long long)x - monitor->right + 1 : 0;
    long long dy = y < monitor->top ? (long long)monitor->top - y : y >= monitor->bottom ? (long long)y - monitor->bottom + 1 : 0;
    return dx + dy;
}

int MonitorAt(const MonitorArea *monitors, int count, int x, int y)
{
    // Several monitors need not fill the virtual screen: a point in a gap (a grenade thrown at the
    // edge, a cursor Windows let stray) takes the nearest one, as MonitorFromPoint would.
    int nearest = -1;
    long long nearestDistance = 0;
    for (int i = 0; i < count; ++i) {
        long long distance = DistanceOutside(&monitors[i], x, y);
        if (nearest < 0 || distance < nearestDistance) {
            nearest = i;
            nearestDistance = distance;
        }
    }
    return nearest;
}

int ArtDecode(const unsigned char *code, size_t size, unsigned char *levels, size_t count)
{
    size_t filled = 0;
    for (size_t i = 0; i < size; ++i) {
        unsigned level = code[i] >> ART_LEVEL_BITS;
        size_t run = (code[i] & ((1u << ART_LEVEL_BITS) - 1)) + 1;
        if (level >= ART_LEVEL_COUNT || run > count - filled) return 0;
        for (size_t end = filled + run; filled < end; ++filled) levels[filled] = (unsigned char)level;
    }
    return filled == count;
}
