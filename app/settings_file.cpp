// Loading and saving the Settings in VROK.INI beside the program.
#include "app/settings_file.h"

#include <stdio.h>
#include <string.h>

#include "app/app_state.h"
#include "shooting/shooting_window.h"

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

enum { TOLD_CAUSES_MAX = 8, REASON_SIZE = 512 };

// The causes of failed saves told in this run: a folder that stays read-only is said once, not
// at every OK.
static DWORD toldCauses[TOLD_CAUSES_MAX];
static int toldCount;

// There was no VROK.INI when VROK started: it has not run from this folder before.
static int settingsFileNew;

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
    toldCount = 0;  // a run begins: nothing told yet
    settingsText.cursor = 0;
    settingsText.text[0] = '\0';

    DWORD length = 0;
    int read = ReadSettingsFile(&length);
    settingsFileNew = read == 0;
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

int SettingsFileWasNew(void) { return settingsFileNew; }

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

// Why the last save failed, as the system says it; 0 when it did not, or when nothing was
// meant to be written (a file that could not be read is kept as it is).
static DWORD saveError;

static DWORD LastError(void)
{
    DWORD error = GetLastError();
    return error ? error : ERROR_GEN_FAILURE;
}

// Swaps the new file in; a reader holding the old one (a scanner, say) is waited for a moment.
// Returns 0 when it is in place, else the system's error.
static DWORD ReplaceSettingsFile(const char *newPath)
{
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExA(newPath, App.settingsPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return 0;
        if (attempt == REPLACE_TRIES) return LastError();
        Sleep(REPLACE_PAUSE_MS);
    }
}

int SettingsSave(void)
{
    saveError = 0;
    if (settingsFileHeld || !App.settingsPath[0]) return 0;
    if (!SettingsCompose(&settingsText, &Settings)) {
        saveError = ERROR_INVALID_DATA;
        return 0;
    }

    char newPath[PATH_BUFFER_SIZE + 8];
    snprintf(newPath, sizeof newPath, "%s.new", App.settingsPath);
    HANDLE file = CreateFileA(newPath, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                              FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        saveError = LastError();
        return 0;
    }

    int written = WriteWhole(file, settingsText.text, strlen(settingsText.text)) && FlushFileBuffers(file);
    if (!written) saveError = LastError();
    CloseHandle(file);
    // Only a complete new file may take the old one's place.
    if (written) saveError = ReplaceSettingsFile(newPath);
    if (saveError) {
        DeleteFileA(newPath);
        return 0;
    }
    return 1;
}

static const char SAVE_FAILED_TEXT[] =
    "VROK could not save its settings in %s:\n\n%s\n\nThe settings stay in effect until VROK ends. To "
    "keep them, move the VROK folder to one you can write to, or install VROK with its setup program, "
    "which installs it for you alone.";

// 1 when cause was told already in this run; else it counts as told from now on.
static int CauseTold(DWORD cause)
{
    for (int i = 0; i < toldCount; ++i)
        if (toldCauses[i] == cause) return 1;
    if (toldCount < TOLD_CAUSES_MAX) toldCauses[toldCount++] = cause;
    return 0;
}

// The system's own words for error, without the line end they come with.
static void ErrorReason(DWORD error, char *reason, DWORD size)
{
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, error, 0,
                                  reason, size, NULL);
    if (length == 0) length = (DWORD)snprintf(reason, size, "Error %lu.", (unsigned long)error);
    while (length > 0 && (unsigned char)reason[length - 1] <= ' ') reason[--length] = '\0';
}

int SettingsSaveTelling(HWND owner)
{
    if (SettingsSave()) return 1;
    // Nothing may wait for a click while Windows ends the logon, and no box goes over an
    // activation: a failure then is told at the next save that may tell it, if it fails again.
    if (!saveError || App.sessionEnding || ShootingWindowExists() || CauseTold(saveError)) return 0;
    static char reason[REASON_SIZE];
    static char text[sizeof SAVE_FAILED_TEXT + PATH_BUFFER_SIZE + REASON_SIZE];
    ErrorReason(saveError, reason, sizeof reason);
    snprintf(text, sizeof text, SAVE_FAILED_TEXT, App.settingsPath, reason);
    AppMessageBox(owner, text, "Error", MB_ICONERROR);
    return 0;
}
