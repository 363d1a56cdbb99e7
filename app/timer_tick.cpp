// Multimedia-timer ticks posted as WM_TIMER, at most one of each kind waiting in the queue.
#include "app/timer_tick.h"

int TickPost(volatile LONG *tick, HWND window, UINT_PTR id)
{
    LONG was = InterlockedCompareExchange(tick, TICK_WAITING, TICK_FREE);
    // A timer that runs late fires the period it missed right behind the last one: owed rather
    // than dropped, a window that keeps up keeps every period.
    if (was == TICK_WAITING) InterlockedCompareExchange(tick, TICK_OWED, TICK_WAITING);
    if (was != TICK_FREE) return 0;
    if (PostMessageA(window, WM_TIMER, id, 0)) return 1;
    // Nothing was queued, so no handler will free the kind.
    InterlockedExchange(tick, TICK_FREE);
    return 0;
}

void TickDone(volatile LONG *tick, HWND window, UINT_PTR id)
{
    // Posted messages come before input. Freed whatever waits, a tick of one kind outlasting the
    // period of the other (or the thread busy elsewhere) lets that one post meanwhile, and the two
    // take turns in the queue for good, ahead of the release.
    MSG input;
    int inputWaits = window && PeekMessageA(&input, window, WM_KEYFIRST, WM_MOUSELAST, PM_NOREMOVE | PM_QS_INPUT);
    for (;;) {
        LONG was = *tick;
        if (was != TICK_WAITING && was != TICK_OWED) return;  // a tick not posted, or of a burst reset
        LONG next = inputWaits ? TICK_HELD : window && was == TICK_OWED ? TICK_WAITING : TICK_FREE;
        if (InterlockedCompareExchange(tick, next, was) != was) continue;  // a period came meanwhile
        if (next == TICK_WAITING && !PostMessageA(window, WM_TIMER, id, 0)) InterlockedExchange(tick, TICK_FREE);
        return;
    }
}

void TickResume(volatile LONG *tick) { InterlockedCompareExchange(tick, TICK_FREE, TICK_HELD); }

void TickReset(volatile LONG *tick) { InterlockedExchange(tick, TICK_FREE); }
