// Multimedia-timer ticks posted as WM_TIMER, at most one of each kind waiting in the queue.
#pragma once

#include <windows.h>

// One kind of tick (a bullet, a gun sound, a test-fire shot), shared with the timer's thread.
enum { TICK_FREE = 0, TICK_WAITING = 1, TICK_HELD = 2 };

// On the timer's thread: posts WM_TIMER id to window unless a tick of this kind is still waiting
// or held; that period is then dropped. 1 when posted.
int TickPost(volatile LONG *tick, HWND window, UINT_PTR id);
// On the window's thread, once the tick's work is done: the next period may post again; but while
// a click, key or move for inputWindow waits (NULL: never looked for), the kind stays held until
// TickResume, so that the input comes before another tick.
void TickDone(volatile LONG *tick, HWND inputWindow);
void TickResume(volatile LONG *tick);
// A new burst or test fire: whatever the last one left waiting or held no longer counts.
void TickReset(volatile LONG *tick);
