// Where holes and craters go: straight onto the screen, or, on a composed desktop, into a copy
// of the screen that the shooting window shows. The one place that makes this choice.
#pragma once

#include <windows.h>

// At the start of an activation, before the window is shown: draws through screen, the whole
// screen's display context, and on a composed desktop copies the screen through it. Returns true
// when the copy is in use.
bool CanvasOpen(HWND window, HDC screen);

// ANDs size pixels of bitmap, from origin in it, onto the screen at screen position (x, y).
void CanvasAnd(HBITMAP bitmap, POINT size, POINT origin, int x, int y);

// A memory context like screen's with bitmap selected and screen's mapping mode, through which a
// bitmap is measured and copied; CanvasMemoryClose puts it away again.
HDC CanvasMemoryOpen(HDC screen, HBITMAP bitmap, HGDIOBJ *previous);
void CanvasMemoryClose(HDC memory, HGDIOBJ previous);

// WM_PAINT: paints the copy on a composed desktop; otherwise only validates, so the desktop
// beneath stays visible.
void CanvasPaint(HWND window);

// Frees the copy, if any.
void CanvasClose(void);
