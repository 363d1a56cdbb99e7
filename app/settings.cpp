// Reading, writing, defaults and range checks of the settings text "VROK.INI"; portable.
#include "app/settings.h"

#include "app/app_text.h"

#include <stdio.h>
#include <string.h>

SettingsRecord Settings;

static const char SETTINGS_TAG[] = "VROK32";
static const char VERSION_OLD[] = "3.4";    // without the descriptionVisible line
static const char VERSION_NEW[] = "3.47";   // the one we write

enum { VERSION_BAD = 0, VERSION_34 = 1, VERSION_347 = 2 };

// One line buffer for a whole parse: a missing line must leave the previous line's text in
// place, and it holds a whole line so a long number line is judged in full, not cut. Large,
// hence static; parsing is only ever done from one thread.
static char ParseLineBuffer[SETTINGS_TEXT_SIZE + 1];

// isspace of the C locale, without depending on the locale the process happens to run in.
static int IsCLocaleSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int SettingsParseNumber(const char *line, int32_t *value)
{
    *value = 0;
    if (line[0] == '\0') return 1;

    const char *p = line;
    while (IsCLocaleSpace(*p)) ++p;
    int negative = 0;
    if (*p == '+' || *p == '-') {
        negative = (*p == '-');
        ++p;
    }
    if (*p < '0' || *p > '9') return 0;

    // The magnitude stops growing just past the largest we can represent, so any number of
    // digits is safe and still saturates.
    const int64_t limit = (int64_t)INT32_MAX + 1;
    int64_t magnitude = 0;
    while (*p >= '0' && *p <= '9') {
        if (magnitude <= limit) magnitude = magnitude * 10 + (*p - '0');
        ++p;
    }
    if (magnitude > limit) magnitude = limit;
    if (negative)
        *value = (int32_t)-magnitude;   // -limit is exactly INT32_MIN
    else
        *value = magnitude > INT32_MAX ? INT32_MAX : (int32_t)magnitude;
    return *p == '\0' ? 1 : 0;
}

void SettingsReadLine(SettingsText *text, int *errorFlag, char *line, size_t lineSize)
{
    const size_t end = sizeof text->text;
    size_t start = text->cursor;
    if (start >= end || text->text[start] == '\0') {
        *errorFlag = 1;
        return;
    }
    size_t cr = start;
    while (cr < end && text->text[cr] != '\0' && text->text[cr] != '\r') ++cr;
    if (cr >= end || text->text[cr] != '\r') {
        *errorFlag = 1;
        return;
    }
    text->text[cr] = '\0';
    if (lineSize > 0) {
        size_t length = cr - start;
        if (length > lineSize - 1) length = lineSize - 1;
        memcpy(line, text->text + start, length);
        line[length] = '\0';
    }
    size_t next = cr + 1;
    if (next < end && text->text[next] == '\n') ++next;
    text->cursor = next;
}

int SettingsWriteLine(SettingsText *text, const char *line)
{
    size_t length = strlen(line);
    size_t cursor = text->cursor;
    if (cursor > SETTINGS_TEXT_SIZE || length > SETTINGS_TEXT_SIZE - cursor ||
        2 > SETTINGS_TEXT_SIZE - cursor - length)
        return 0;
    memcpy(text->text + cursor, line, length);
    text->text[cursor + length] = '\r';
    text->text[cursor + length + 1] = '\n';
    text->cursor = cursor + length + 2;
    text->text[text->cursor] = '\0';
    return 1;
}

static void ReadNumber(SettingsText *text, int *errorFlag, int32_t *value)
{
    SettingsReadLine(text, errorFlag, ParseLineBuffer, sizeof ParseLineBuffer);
    if (!SettingsParseNumber(ParseLineBuffer, value)) *errorFlag = 1;
}

static void ReadPath(SettingsText *text, int *errorFlag, char *path)
{
    SettingsReadLine(text, errorFlag, ParseLineBuffer, sizeof ParseLineBuffer);
    size_t length = strnlen(ParseLineBuffer, PATH_BUFFER_SIZE - 1);   // longer lines are cut
    memcpy(path, ParseLineBuffer, length);
    path[length] = '\0';
}

int SettingsParse(SettingsText *text, SettingsRecord *settings)
{
    int errorFlag = 0;
    ParseLineBuffer[0] = '\0';

    SettingsReadLine(text, &errorFlag, ParseLineBuffer, sizeof ParseLineBuffer);
    if (strcmp(ParseLineBuffer, SETTINGS_TAG) != 0) errorFlag = 1;

    SettingsReadLine(text, &errorFlag, ParseLineBuffer, sizeof ParseLineBuffer);
    int version = VERSION_BAD;
    if (strcmp(ParseLineBuffer, VERSION_OLD) == 0)
        version = VERSION_34;
    else if (strcmp(ParseLineBuffer, VERSION_NEW) == 0)
        version = VERSION_347;
    else
        errorFlag = 1;

    // Every step runs even after an error; the caller replaces what matters with defaults.
    ReadNumber(text, &errorFlag, &settings->activeProfile);
    if (version == VERSION_347) ReadNumber(text, &errorFlag, &settings->descriptionVisible);

    for (int i = 0; i < PROFILE_COUNT; ++i) {
        Profile *profile = &settings->profiles[i];
        ReadPath(text, &errorFlag, profile->machineGunSound);
        ReadPath(text, &errorFlag, profile->grenadeSound);
        ReadPath(text, &errorFlag, profile->finalSound);
        ReadPath(text, &errorFlag, profile->cuckooSound);
        ReadNumber(text, &errorFlag, &profile->fireSpeed);
        ReadNumber(text, &errorFlag, &profile->soundSpeed);
        ReadNumber(text, &errorFlag, &profile->grenadeDelay);
        ReadNumber(text, &errorFlag, &profile->withCuckoo);
        ReadNumber(text, &errorFlag, &profile->useDirectSound);
    }
    return errorFlag;
}

static int WriteNumber(SettingsText *text, int32_t value)
{
    char line[16];
    snprintf(line, sizeof line, "%d", (int)value);
    return SettingsWriteLine(text, line);
}

int SettingsCompose(SettingsText *text, const SettingsRecord *settings)
{
    text->cursor = 0;
    text->text[0] = '\0';
    int ok = SettingsWriteLine(text, SETTINGS_TAG) && SettingsWriteLine(text, VERSION_NEW) &&
             WriteNumber(text, settings->activeProfile) &&
             WriteNumber(text, settings->descriptionVisible);
    for (int i = 0; ok && i < PROFILE_COUNT; ++i) {
        const Profile *profile = &settings->profiles[i];
        ok = SettingsWriteLine(text, profile->machineGunSound) &&
             SettingsWriteLine(text, profile->grenadeSound) &&
             SettingsWriteLine(text, profile->finalSound) &&
             SettingsWriteLine(text, profile->cuckooSound) &&
             WriteNumber(text, profile->fireSpeed) && WriteNumber(text, profile->soundSpeed) &&
             WriteNumber(text, profile->grenadeDelay) && WriteNumber(text, profile->withCuckoo) &&
             WriteNumber(text, profile->useDirectSound);
    }
    return ok ? 1 : 0;
}

void SettingsApplyDefaults(SettingsRecord *settings, const char *programFolder, int platformIsNt)
{
    // A folder too long for a path leaves the paths empty: a cut path would name another file.
    for (int i = 0; i < PROFILE_COUNT; ++i) {
        Profile *profile = &settings->profiles[i];
        PathJoin(profile->machineGunSound, PATH_BUFFER_SIZE, programFolder, "vrokgun.wav");
        PathJoin(profile->grenadeSound, PATH_BUFFER_SIZE, programFolder, "vrokgren.wav");
        PathJoin(profile->finalSound, PATH_BUFFER_SIZE, programFolder, "vrokhlvb.wav");
        PathJoin(profile->cuckooSound, PATH_BUFFER_SIZE, programFolder,
                 i == 0 ? "vrokkuck.wav" : "teckuc1.wav");
        profile->fireSpeed = DEFAULT_FIRE_SPEED;
        profile->soundSpeed = platformIsNt ? DEFAULT_SOUND_SPEED_NT : DEFAULT_SOUND_SPEED_9X;
        profile->grenadeDelay = DEFAULT_GRENADE_DELAY;
        profile->withCuckoo = 1;
        profile->useDirectSound = 1;
    }
    settings->activeProfile = 0;
}

int32_t SpeedPeriodMs(int32_t speed) { return SPEED_MAX + 1 - speed; }

static int32_t Clamp(int32_t value, int32_t low, int32_t high)
{
    return value < low ? low : value > high ? high : value;
}

void SettingsClampRanges(SettingsRecord *settings)
{
    if (settings->activeProfile < 0 || settings->activeProfile >= PROFILE_COUNT)
        settings->activeProfile = 0;
    for (int i = 0; i < PROFILE_COUNT; ++i) {
        Profile *profile = &settings->profiles[i];
        profile->fireSpeed = Clamp(profile->fireSpeed, SPEED_MIN, SPEED_MAX);
        profile->soundSpeed = Clamp(profile->soundSpeed, SPEED_MIN, SPEED_MAX);
        profile->grenadeDelay = Clamp(profile->grenadeDelay, GRENADE_DELAY_MIN, GRENADE_DELAY_MAX);
    }
}
