// Plays VROK's sound slots through the real DirectSound, for the recorded stereo checks.
// usage: vrok_play_slot SLOT PAN [SLOT PAN ...]; every play is followed by a 700 ms pause.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include "app/app_state.h"
#include "app/settings_file.h"
#include "sound/sound_engine.h"

// Nothing may wait for a person here: report the box and answer it.
static int WINAPI PrintMessageBox(HWND, LPCSTR text, LPCSTR caption, UINT)
{
    fprintf(stderr, "%s: %s\n", caption, text);
    return IDNO;
}

int main(int argc, char **argv)
{
    if (argc < 3 || argc % 2 == 0) {
        fputs("usage: vrok_play_slot SLOT PAN [SLOT PAN ...]\n", stderr);
        return 2;
    }
    AppStateReset();
    AppMessageBoxPlatform = PrintMessageBox;
    AppFindDirectSound();
    char modulePath[MAX_PATH];
    GetModuleFileNameA(NULL, modulePath, sizeof modulePath);
    ProgramFolderFromPath(modulePath, App.programFolder, sizeof App.programFolder);
    SettingsDefaults();

    HWND window = CreateWindowA("STATIC", "vrok_play_slot", 0, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    if (SoundStart(window) != 1) return 1;
    int status = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!SoundPlay(atoi(argv[i]), atoi(argv[i + 1]), 0)) status = 1;
        Sleep(700);
    }
    SoundShutdown();
    DestroyWindow(window);
    return status;
}
