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

// Reads at most SETTINGS_TEXT_SIZE bytes; returns how many, or 0 on a failed read.
static DWORD ReadSettingsBytes(HANDLE file)
{
    DWORD total = 0;
    while (total < SETTINGS_TEXT_SIZE) {
        DWORD got = 0;
        if (!ReadFile(file, settingsText.text + total, SETTINGS_TEXT_SIZE - total, &got, NULL))
            return 0;
        if (got == 0) break;
        total += got;
    }
    return total;
}

int SettingsLoad(void)
{
    int errorFlag = 1;
    int fileOpened = 0;
    settingsText.cursor = 0;
    settingsText.text[0] = '\0';

    HANDLE file = CreateFileA(App.settingsPath, GENERIC_READ, 0, NULL, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL, NULL);
    if (file != INVALID_HANDLE_VALUE) {
        fileOpened = 1;
        DWORD length = ReadSettingsBytes(file);
        if (length > 0) {
            settingsText.text[length] = '\0';
            errorFlag = SettingsParse(&settingsText, &Settings);
        }
        CloseHandle(file);
    }

    if (errorFlag) {
        if (fileOpened) AppMessageBox(NULL, "Corrupt VROK.INI file!", "Error", MB_ICONERROR);
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

int SettingsSave(void)
{
    if (!SettingsCompose(&settingsText, &Settings)) return 0;

    char newPath[PATH_BUFFER_SIZE + 8];
    snprintf(newPath, sizeof newPath, "%s.new", App.settingsPath);
    HANDLE file = CreateFileA(newPath, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                              FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return 0;

    int written = WriteWhole(file, settingsText.text, strlen(settingsText.text));
    if (written) written = FlushFileBuffers(file) ? 1 : 0;
    CloseHandle(file);
    // Only a complete new file may take the old one's place.
    if (!written || !MoveFileExA(newPath, App.settingsPath,
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(newPath);
        return 0;
    }
    return 1;
}
