// The display's scale in dots per inch, 96 at 100 %: each monitor's own where Windows has it (8.1
// and later), the screen's on Vista to 8, 96 before Vista.
#pragma once

#include <windows.h>

enum { DPI_BASE = 96 };  // 100 %

// The monitors' rectangles and DPIs, at most count of them; returns how many (at least one: without
// a list of monitors, the virtual screen at the screen's DPI).
int DpiMonitorsRead(RECT *areas, int *dpis, int count);

// The DPI of the monitor window is on; 0 where Windows cannot tell (before Windows 10 1607).
int DpiOfWindow(HWND window);
