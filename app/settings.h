// The persisted configuration (three sound Profiles) and the settings text format; portable.
#pragma once

#include <stddef.h>
#include <stdint.h>

enum {
    PATH_BUFFER_SIZE = 10042,   // a path of at most 10041 characters and its NUL
    PROFILE_COUNT = 3,
    SPEED_MIN = 1,
    SPEED_MAX = 500,
    GRENADE_DELAY_MIN = 0,
    GRENADE_DELAY_MAX = 30000,
    DEFAULT_FIRE_SPEED = 495,
    DEFAULT_SOUND_SPEED_NT = 490,
    DEFAULT_SOUND_SPEED_9X = 450,
    DEFAULT_GRENADE_DELAY = 1500,
    // Room for the longest Settings we can compose: twelve full paths and seventeen numbers
    // of eleven characters, each line with CR LF, plus the tag and version lines. Every file
    // we write therefore reads back whole.
    SETTINGS_TEXT_SIZE = 12 * (PATH_BUFFER_SIZE - 1 + 2) + 17 * (11 + 2) + 8 + 6,
};

struct Profile {
    char machineGunSound[PATH_BUFFER_SIZE];
    char grenadeSound[PATH_BUFFER_SIZE];
    char finalSound[PATH_BUFFER_SIZE];
    char cuckooSound[PATH_BUFFER_SIZE];
    int32_t fireSpeed;
    int32_t soundSpeed;
    int32_t grenadeDelay;
    int32_t withCuckoo;
    int32_t useDirectSound;
};

struct SettingsRecord {
    int32_t activeProfile;
    int32_t descriptionVisible;
    Profile profiles[PROFILE_COUNT];
};

// The file content while reading, or the text being composed while writing, and a cursor.
struct SettingsText {
    char text[SETTINGS_TEXT_SIZE + 1];
    size_t cursor;
};

extern SettingsRecord Settings;

// Parses a whole line as a signed decimal (leading white space, optional sign, digits,
// saturating at the 32-bit limits). Returns 1 when the line is used up, 0 when it is malformed;
// *value gets what was parsed either way (0 when no digit was found). An empty line is 0 and valid.
int SettingsParseNumber(const char *line, int32_t *value);

// Copies the next CR-terminated line into line (at most lineSize - 1 characters, always
// NUL-terminated) and advances past the CR and one LF after it. Sets *errorFlag to 1 and leaves
// line as it was when no complete line is left.
void SettingsReadLine(SettingsText *text, int *errorFlag, char *line, size_t lineSize);

// Appends text and CR LF at the cursor. Returns 0 (and appends nothing) when it would not fit.
int SettingsWriteLine(SettingsText *text, const char *line);

// Reads the settings from text->text (already NUL-terminated after the bytes of the file).
// Stores every value as it is parsed, as the format has always done, and returns the error
// flag: 1 when a line is missing or malformed, the tag or version is wrong.
int SettingsParse(SettingsText *text, SettingsRecord *settings);

// Composes the version 3.47 text of settings into text. Returns 1, or 0 when it cannot fit
// (it always fits with paths of at most 10041 characters).
int SettingsCompose(SettingsText *text, const SettingsRecord *settings);

// The defaults for all three Profiles under the program folder (ending in a backslash), then
// activeProfile 0. descriptionVisible is left alone.
void SettingsApplyDefaults(SettingsRecord *settings, const char *programFolder, int platformIsNt);

// The timer period of a speed of 1..500: 500 ms at the slowest, 1 ms at the fastest.
int32_t SpeedPeriodMs(int32_t speed);

// Brings loaded values into the ranges the rest of the program relies on: an active Profile
// outside 0..2 becomes 0, speeds are clamped to 1..500 and grenade delays to 0..30000.
void SettingsClampRanges(SettingsRecord *settings);
