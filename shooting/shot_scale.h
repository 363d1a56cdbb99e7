// What is shot on a scaled display: lengths drawn for 96 dots per inch at a monitor's DPI, the
// monitor a point lies on, and the run-length coded art drawn for the common scales; portable.
#pragma once

#include <stddef.h>

enum {
    BASE_DPI = 96,            // 100 %: what is shot at its own size
    CLOCK_TARGET_MARGIN = 8,  // the clock target reaches this far around the clock, at 96 dpi
    MONITOR_SLOT_COUNT = 8,   // monitors told apart; further ones take the nearest of these
    ART_LEVEL_BITS = 6,       // a code byte: the level above these bits, the run's length less one in them
};

// A length in pixels at 96 dpi, at dpi: length * dpi / 96 to the nearest pixel, halves away from
// zero, so that the spread stays symmetric about the cursor.
int ScaledLength(int length, int dpi);

// A monitor in screen coordinates (right and bottom exclusive) and its DPI.
struct MonitorArea {
    int left, top, right, bottom;
    int dpi;
};

// The monitor holding (x, y), else the one nearest to it; -1 without monitors.
int MonitorAt(const MonitorArea *monitors, int count, int x, int y);

// Levels of the coded art: what the AND leaves of the screen.
enum { ART_WHITE, ART_GREY, ART_BLACK, ART_LEVEL_COUNT };

// Decodes count levels, row by row from the top, from size bytes of code, each a run of one level;
// 1 when the runs fill them exactly, 0 for any other code.
int ArtDecode(const unsigned char *code, size_t size, unsigned char *levels, size_t count);
