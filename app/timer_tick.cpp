// Multimedia-timer ticks posted as WM_TIMER, at most one of each kind waiting in the queue.
#include "app/timer_tick.h"

int TickPost(volatile LONG *tick, HWND window, UINT_PTR id)
{
    if (InterlockedCompareExchange(tick, TICK_WAITING, TICK_FREE) != TICK_FREE) return 0;
    if (PostMessageA(window, WM_TIMER, id, 0)) return 1;
    // Nothing was queued, so no handler will free the kind.
    InterlockedExchange(tick, TICK_FREE);
    return 0;
}

void TickDone(volatile LONG *tick, HWND inputWindow)
{
    // Posted messages come before input. Were the kind simply freed, a tick of the other kind (or
    // the thread busy elsewhere) outlasting a period would let it post meanwhile, and two kinds
    // taking turns would keep the queue from ever reaching the input.
    MSG input;
    int inputWaits = inputWindow && PeekMessageA(&input, inputWindow, WM_KEYFIRST, WM_MOUSELAST,
                                                 PM_NOREMOVE | PM_QS_INPUT);
    InterlockedExchange(tick, inputWaits ? TICK_HELD : TICK_FREE);
}

void TickResume(volatile LONG *tick) { InterlockedCompareExchange(tick, TICK_FREE, TICK_HELD); }

void TickReset(volatile LONG *tick) { InterlockedExchange(tick, TICK_FREE); }
