// Loading and saving the Settings in VROK.INI beside the program.
#pragma once

#include <windows.h>

// Reads VROK.INI at App.settingsPath into Settings; a corrupt file is reported and replaced by
// the defaults. A file that stays unreadable (held by another program) gives the defaults too,
// and is then left as it is at the end. Always leaves valid Settings. Returns 1 when the file
// was read whole.
int SettingsLoad(void);

// 1 when SettingsLoad found no VROK.INI: VROK has not run from this folder before.
int SettingsFileWasNew(void);

// The defaults for all three Profiles under the program folder; activeProfile 0.
void SettingsDefaults(void);

// Writes Settings to VROK.INI: beside it first, then swapped in, so a crash leaves the old file
// or the new one whole. Silent; nothing is written over a file that could not be read. Returns
// 1 when saved.
int SettingsSave(void);

// SettingsSave, and a failure told in a box owned by owner, once for each cause in a run; never
// while an activation runs or Windows ends the logon. Returns 1 when saved.
int SettingsSaveTelling(HWND owner);
