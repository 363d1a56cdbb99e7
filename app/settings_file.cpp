// Loading and saving the Settings in VROK.INI beside the program.
#include "app/settings_file.h"

#include <stdio.h>
#include <string.h>

#include "app/app_state.h"

static SettingsText settingsText;

static int PlatformIsNt(void)
{
    DWORD platform, major;
    return AppWindowsVersion(&platform, &major) && platform == VER_PLATFORM_WIN32_NT;
}

void SettingsDefaults(void)
{
    SettingsApplyDefaults(&Settings, App.programFolder, PlatformIsNt());
}

enum {
    HELD_FILE_TRIES = 20,     // a settings file someone holds is tried again for about two seconds
    HELD_FILE_PAUSE_MS = 100,
    REPLACE_TRIES = 10,       // and replacing it, for about half a second
    REPLACE_PAUSE_MS = 50,
};

// VROK.INI is there but could not be read: it still holds the user's settings, so it is not
// overwritten with the defaults this run falls back to.
static int settingsFileHeld;

// Reads at most SETTINGS_TEXT_SIZE bytes into *length; 0 on a failed read.
static int ReadSettingsBytes(HANDLE file, DWORD *length)
{
    DWORD total = 0;
    while (total < SETTINGS_TEXT_SIZE) {
        DWORD got = 0;
        if (!ReadFile(file, settingsText.text + total, SETTINGS_TEXT_SIZE - total, &got, NULL)) return 0;
        if (got == 0) break;
        total += got;
    }
    *length = total;
    return 1;
}

// Reads the file into the settings text. 1: read, *length bytes; 0: there is no file; -1: it is
// there but stays unreadable. One held by someone (a virus scanner, a backup, a sync client) is
// tried again for a moment first.
static int ReadSettingsFile(DWORD *length)
{
    for (int attempt = 1;; ++attempt) {
        // Others may read it meanwhile; nobody may write it.
        HANDLE file = CreateFileA(App.settingsPath, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL, NULL);
        if (file != INVALID_HANDLE_VALUE) {
            int read = ReadSettingsBytes(file, length);
            CloseHandle(file);
            if (read) return 1;
        } else if (GetFileAttributesA(App.settingsPath) == INVALID_FILE_ATTRIBUTES) {
            return 0;
        }
        if (attempt == HELD_FILE_TRIES) break;
        Sleep(HELD_FILE_PAUSE_MS);
    }
    settingsFileHeld = 1;
    return -1;
}

int SettingsLoad(void)
{
    int errorFlag = 1;
    settingsFileHeld = 0;
    settingsText.cursor = 0;
    settingsText.text[0] = '\0';

    DWORD length = 0;
    int read = ReadSettingsFile(&length);
    if (read == 1 && length > 0) {
        settingsText.text[length] = '\0';
        errorFlag = SettingsParse(&settingsText, &Settings);
    }

    if (errorFlag) {
        if (read == 1) AppMessageBox(NULL, "Corrupt VROK.INI file!", "Error", MB_ICONERROR);
        SettingsDefaults();
        return 0;
    }
    SettingsClampRanges(&Settings);
    return 1;
}

static int WriteWhole(HANDLE file, const char *text, size_t length)
{
    while (length > 0) {
        DWORD written = 0;
        if (!WriteFile(file, text, (DWORD)length, &written, NULL) || written == 0) return 0;
        text += written;
        length -= written;
    }
    return 1;
}

// Swaps the new file in; a reader holding the old one (a scanner, say) is waited for a moment.
static int ReplaceSettingsFile(const char *newPath)
{
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExA(newPath, App.settingsPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return 1;
        if (attempt == REPLACE_TRIES) return 0;
        Sleep(REPLACE_PAUSE_MS);
    }
}

int SettingsSave(void)
{
    if (settingsFileHeld || !SettingsCompose(&settingsText, &Settings)) return 0;

    char newPath[PATH_BUFFER_SIZE + 8];
    snprintf(newPath, sizeof newPath, "%s.new", App.settingsPath);
    HANDLE file = CreateFileA(newPath, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                              FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return 0;

    int written = WriteWhole(file, settingsText.text, strlen(settingsText.text));
    if (written) written = FlushFileBuffers(file) ? 1 : 0;
    CloseHandle(file);
    // Only a complete new file may take the old one's place.
    if (!written || !ReplaceSettingsFile(newPath)) {
        DeleteFileA(newPath);
        return 0;
    }
    return 1;
}
