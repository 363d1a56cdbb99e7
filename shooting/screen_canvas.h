// Where holes and craters go: straight onto the screen, or, on a composed desktop, into a copy
// of the screen that the shooting window shows. The one place that makes this choice.
#pragma once

#include <windows.h>

// True when the desktop is composed (DwmIsCompositionEnabled, dwmapi.dll loaded at run time;
// a missing library or entry means not composed).
bool DesktopIsComposed(void);

// At the start of an activation, before the window is shown: on a composed desktop, copies the
// screen through the display context. Returns true when the copy is in use.
bool CanvasOpen(HWND window);

// ANDs size pixels of bitmap onto the screen at screen position (x, y).
void CanvasAnd(HBITMAP bitmap, POINT size, int x, int y);

// WM_PAINT: paints the copy on a composed desktop; otherwise only validates, so the desktop
// beneath stays visible.
void CanvasPaint(HWND window);

// Frees the copy, if any.
void CanvasClose(void);
