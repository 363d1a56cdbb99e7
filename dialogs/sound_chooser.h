// The open-file dialog for a wave file, extended with Play and Stop to hear it first.
#pragma once

#include <windows.h>
#include <stddef.h>

#include "sound/sound_object.h"

// Lets the user choose a wave file, starting in the folder of path with its name in the name box.
// On a choice the full path replaces path (pathSize bytes) and 1 is returned; 0 leaves it as it
// was. Play keeps its preview object in *preview, which the caller frees; caller is not used.
int ChooseSoundFile(HWND caller, const char *title, char *path, size_t pathSize, SoundObject **preview);

UINT_PTR CALLBACK SoundChooserHookProc(HWND hook, UINT message, WPARAM wParam, LPARAM lParam);
