// The hidden main window of class "VROK": tray icon, menus, description text.
#include "app/main_window.h"

#include "app/app_state.h"
#include "sound/sound_engine.h"

// The sound probe: a start that fails switches sound off in every Profile for good.
static LRESULT OnCreate(HWND hwnd)
{
    int started = SoundStart(hwnd);
    if (started == SOUND_START_QUIT) return -1;
    if (started == 0) {
        soundEnabled = 0;
        for (Profile &profile : Settings.profiles) profile.useDirectSound = 0;
    }
    SoundShutdown();
    return 0;
}

static LRESULT OnDestroy(HWND)
{
    // The main window's end is the program's end.
    PostQuitMessage(0);
    return 0;
}

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: return OnCreate(hwnd);
    case WM_DESTROY: return OnDestroy(hwnd);
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
