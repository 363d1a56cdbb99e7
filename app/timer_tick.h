// Multimedia-timer ticks posted as WM_TIMER, at most one of each kind waiting in the queue.
#pragma once

#include <windows.h>

// One kind of tick (a bullet, a gun sound, a test-fire shot), shared with the timer's thread.
enum { TICK_FREE, TICK_WAITING, TICK_OWED, TICK_HELD };

// On the timer's thread: posts WM_TIMER id to window unless a tick of this kind is waiting or
// being handled; then this period is owed to it, and any further one dropped. 1 when posted.
int TickPost(volatile LONG *tick, HWND window, UINT_PTR id);
// On the window's thread, once the tick's work is done. With the tick's window and id, a period
// owed is posted now; but while a click, key or move for the window waits, the kind is held until
// TickResume instead, so that the input comes before another tick. With window NULL the kind is
// free again and a period owed dropped.
void TickDone(volatile LONG *tick, HWND window, UINT_PTR id);
void TickResume(volatile LONG *tick);
// A new burst or test fire: whatever the last one left waiting, owed or held no longer counts.
void TickReset(volatile LONG *tick);
