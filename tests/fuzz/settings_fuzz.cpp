// Fuzzes the settings text: numbers against strtoll, clamping, lines shortened as paths, rereading.
#include "app/app_text.h"
#include "app/settings.h"

#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#define REQUIRE(condition) if (!(condition)) abort()

static SettingsText Text;
static SettingsRecord First, Second, Read;

static void CheckLine(const std::string &line)
{
    // The number reader agrees with strtoll (C locale, held to 32 bits).
    int32_t value = 0;
    int valid = SettingsParseNumber(line.c_str(), &value);
    char *end = nullptr;
    long long wide = strtoll(line.c_str(), &end, 10);
    REQUIRE(value == (wide < INT32_MIN ? INT32_MIN : wide > INT32_MAX ? INT32_MAX : wide));
    REQUIRE(valid == (line.empty() || (end != line.c_str() && *end == '\0')));
    // Shortened into exactly sized buffers (ASan sees overruns): the path whole, or "..." and its end.
    for (size_t size : {line.size() + 1, std::max<size_t>(line.size(), 1), (size_t)3}) {
        std::vector<char> out(size);
        PathShortenFromLeft(line.c_str(), out.data(), size);
        REQUIRE(out.data() == (line.size() < size ? line : size < 4 ? "" : "..." + line.substr(line.size() + 4 - size)));
    }
}

// In range a value is kept, outside it goes to the nearest edge.
static bool Clamped(int32_t in, int32_t out, int32_t low, int32_t high) { return out == (in < low ? low : in > high ? high : in); }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > SETTINGS_TEXT_SIZE) size = SETTINGS_TEXT_SIZE;   // all the loader reads
    std::string text((const char *)data, size);
    for (size_t start = 0, cr = 0; start <= size; start = cr + 1)
        CheckLine(text.substr(start, (cr = std::min(text.find('\r', start), size)) - start).c_str());   // to a NUL, as C sees it

    memcpy(Text.text, text.c_str(), size + 1);   // and the NUL the loader adds
    Text.cursor = 0;
    REQUIRE(SettingsParse(&Text, &First) <= 1 && Text.cursor <= size);
    Read = First, SettingsClampRanges(&First);
    REQUIRE(First.activeProfile == (Read.activeProfile >= 0 && Read.activeProfile < PROFILE_COUNT ? Read.activeProfile : 0));
    for (int i = 0; i < PROFILE_COUNT; ++i) {
        const Profile &p = First.profiles[i], &q = Read.profiles[i];
        REQUIRE(Clamped(q.fireSpeed, p.fireSpeed, SPEED_MIN, SPEED_MAX) && Clamped(q.soundSpeed, p.soundSpeed, SPEED_MIN, SPEED_MAX));
        REQUIRE(Clamped(q.grenadeDelay, p.grenadeDelay, GRENADE_DELAY_MIN, GRENADE_DELAY_MAX));
        REQUIRE(p.withCuckoo == q.withCuckoo && p.useDirectSound == q.useDirectSound);
    }
    // Whatever was read and clamped writes back and rereads the same.
    REQUIRE(SettingsCompose(&Text, &First) == 1);
    const std::string written(Text.text, Text.cursor);
    Text.cursor = 0;
    REQUIRE(SettingsParse(&Text, &Second) == 0 && SettingsCompose(&Text, &Second) == 1);
    REQUIRE(written == std::string(Text.text, Text.cursor));
    return 0;
}
