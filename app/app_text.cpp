// Text helpers of start-up: the program folder, paths beside the program, the version line; portable.
#include "app/app_text.h"

#include <stdio.h>
#include <string.h>

int ProgramFolderFromPath(const char *modulePath, char *folder, size_t size)
{
    if (size == 0) return 0;
    folder[0] = '\0';
    const char *lastSeparator = nullptr;
    for (const char *p = modulePath; *p; ++p)
        if (*p == '\\' || *p == '/') lastSeparator = p;
    if (!lastSeparator) return 1;
    size_t length = (size_t)(lastSeparator - modulePath) + 1;
    if (length >= size) return 0;
    memcpy(folder, modulePath, length);
    folder[length] = '\0';
    return 1;
}

int PathJoin(char *out, size_t size, const char *folder, const char *name)
{
    if (size == 0) return 0;
    int written = snprintf(out, size, "%s%s", folder, name);
    if (written < 0 || (size_t)written >= size) {
        out[0] = '\0';
        return 0;
    }
    return 1;
}

void DescriptionFormatVersion(char *line, size_t size, unsigned versionMajor, unsigned versionMinor)
{
    static const char placeholder[] = "%u.%u";
    const char *at = strstr(line, placeholder);
    if (!at || size == 0) return;
    // Substitute the placeholder rather than using the line as a format string.
    char scratch[DESCRIPTION_LINE_SIZE * 2];
    snprintf(scratch, sizeof scratch, "%.*s%u.%u%s", (int)(at - line), line, versionMajor,
             versionMinor, at + sizeof placeholder - 1);
    snprintf(line, size, "%s", scratch);
}

void PathShortenFromLeft(const char *path, char *out, size_t outSize)
{
    static const char ELLIPSIS[] = "...";
    if (outSize == 0) return;
    size_t length = strlen(path);
    if (length < outSize) {
        memcpy(out, path, length + 1);
        return;
    }
    if (outSize < sizeof ELLIPSIS) {
        out[0] = '\0';
        return;
    }
    size_t keep = outSize - sizeof ELLIPSIS;
    memcpy(out, ELLIPSIS, sizeof ELLIPSIS - 1);
    memcpy(out + sizeof ELLIPSIS - 1, path + length - keep, keep + 1);
}

void PathEnsureBackslash(char *path, size_t size)
{
    size_t length = strlen(path);
    if (length == 0 || path[length - 1] == '\\' || length + 2 > size) return;
    path[length] = '\\';
    path[length + 1] = '\0';
}

void TrayTipFormatActivation(char *tip, size_t size, uint32_t shots, uint32_t grenades, int hour,
                             int minute, int second)
{
    if (size == 0) return;
    char time[16];
    snprintf(time, sizeof time, "%02d:%02d:%02d", hour, minute, second);
    // Composed in full first, then cut like every tip: the counts decide what falls off the end.
    char full[TRAY_TIP_FORMAT_SIZE];
    snprintf(full, sizeof full, "VROK 95:Shots: %u/Grenades: %u/Last time activated: %s",
             (unsigned)shots, (unsigned)grenades, time);
    size_t limit = size < TRAY_TIP_SIZE ? size - 1 : TRAY_TIP_SIZE - 1;
    snprintf(tip, limit + 1, "%s", full);
}
