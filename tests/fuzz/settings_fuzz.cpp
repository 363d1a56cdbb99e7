// Fuzzes reading the settings text: no overruns, and whatever was read writes back and rereads unchanged.
#include "app/settings.h"

#include <errno.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <initializer_list>

static SettingsText Text;
static SettingsRecord First;
static SettingsRecord Second;

static void Require(bool condition)
{
    if (!condition) abort();
}

static void RequirePathsTerminated(const SettingsRecord &settings)
{
    for (const Profile &p : settings.profiles)
        for (const char *path : {p.machineGunSound, p.grenadeSound, p.finalSound, p.cuckooSound})
            Require(memchr(path, '\0', PATH_BUFFER_SIZE) != nullptr && !strchr(path, '\r'));
}

static bool SameSettings(const SettingsRecord &a, const SettingsRecord &b)
{
    if (a.activeProfile != b.activeProfile || a.descriptionVisible != b.descriptionVisible)
        return false;
    for (int i = 0; i < PROFILE_COUNT; ++i) {
        const Profile &p = a.profiles[i], &q = b.profiles[i];
        if (strcmp(p.machineGunSound, q.machineGunSound) || strcmp(p.grenadeSound, q.grenadeSound) ||
            strcmp(p.finalSound, q.finalSound) || strcmp(p.cuckooSound, q.cuckooSound) ||
            p.fireSpeed != q.fireSpeed || p.soundSpeed != q.soundSpeed ||
            p.grenadeDelay != q.grenadeDelay || p.withCuckoo != q.withCuckoo ||
            p.useDirectSound != q.useDirectSound)
            return false;
    }
    return true;
}

// The number reader must agree with strtoll (C locale, clamped to 32 bits) on any line.
static void CheckNumberAgainstStrtoll(const char *line)
{
    int32_t value = 0;
    int valid = SettingsParseNumber(line, &value);
    char *end = nullptr;
    errno = 0;
    long long wide = strtoll(line, &end, 10);
    long long expected = wide < INT32_MIN ? INT32_MIN : wide > INT32_MAX ? INT32_MAX : wide;
    Require(value == expected);
    int expectedValid = line[0] == '\0' || (end != line && *end == '\0');
    Require(valid == expectedValid);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The loader reads at most SETTINGS_TEXT_SIZE bytes of the file.
    if (size > SETTINGS_TEXT_SIZE) size = SETTINGS_TEXT_SIZE;
    memcpy(Text.text, data, size);
    Text.text[size] = '\0';
    CheckNumberAgainstStrtoll(Text.text);

    Text.cursor = 0;
    memset(&First, 0, sizeof First);
    int error = SettingsParse(&Text, &First);
    Require(error == 0 || error == 1);
    Require(Text.cursor <= size);
    RequirePathsTerminated(First);

    // Every field is written by the parse whatever the input, so the record always rereads.
    if (!error) SettingsClampRanges(&First);
    Require(SettingsCompose(&Text, &First) == 1);
    Text.cursor = 0;
    memset(&Second, 0, sizeof Second);
    Require(SettingsParse(&Text, &Second) == 0);
    Require(SameSettings(First, Second));
    return 0;
}
