// The configuration dialog's arithmetic and text rules: scroll positions, grenade delay, sound names; portable.
#include "dialogs/config_values.h"

#include <stdlib.h>
#include <string.h>

#include "app/settings.h"

int32_t ScrollPositionNext(int code, int32_t position, int32_t thumb)
{
    switch (code) {
    case SCROLL_LINE_UP: return position > SPEED_MIN ? position - 1 : position;
    case SCROLL_LINE_DOWN: return position < SPEED_MAX ? position + 1 : position;
    case SCROLL_PAGE_UP:
        return position > CONFIG_POSITION_PAGE ? position - CONFIG_POSITION_PAGE : SPEED_MIN;
    case SCROLL_PAGE_DOWN:
        return position < SPEED_MAX - CONFIG_POSITION_PAGE + 1 ? position + CONFIG_POSITION_PAGE
                                                                          : SPEED_MAX;
    case SCROLL_THUMB_POSITION:
    case SCROLL_THUMB_TRACK: return thumb;
    case SCROLL_TOP: return SPEED_MAX;
    case SCROLL_BOTTOM: return SPEED_MIN;
    }
    return position;
}

int GrenadeDelayParse(const char *text, int32_t *value)
{
    char *end = NULL;
    long number = strtol(text, &end, 10);
    // Blanks after the number are forgiven; anything else left over is not.
    while (*end == ' ') ++end;
    if (*end != '\0' || number < GRENADE_DELAY_MIN || number > GRENADE_DELAY_MAX) return 0;
    *value = (int32_t)number;
    return 1;
}

// Appends at most limit bytes of [from, to) to out, never beyond size - 1.
static void AppendPart(char *out, size_t size, const char *from, const char *to, size_t limit)
{
    size_t used = strlen(out);
    size_t length = (size_t)(to - from);
    if (length > limit) length = limit;
    if (length > size - 1 - used) length = size - 1 - used;
    memcpy(out + used, from, length);
    out[used + length] = '\0';
}

char *SoundFileDisplayName(const char *path, char *out, size_t size, LeadByteTest isLeadByte)
{
    if (size == 0) return out;
    out[0] = '\0';
    const char *name = path[0] != '\0' && path[1] == ':' ? path + 2 : path;
    const char *dot = NULL;
    const char *cursor = name;
    while (*cursor) {
        unsigned char byte = (unsigned char)*cursor;
        if (isLeadByte && isLeadByte(byte) && cursor[1] != '\0') {
            cursor += 2;
            continue;
        }
        if (byte == '\\' || byte == '/') {
            name = cursor + 1;
            dot = NULL;
        } else if (byte == '.') {
            dot = cursor;
        }
        ++cursor;
    }
    const char *extension = dot ? dot : cursor;
    AppendPart(out, size, name, extension, SOUND_NAME_PART_MAX);
    AppendPart(out, size, extension, cursor, SOUND_NAME_PART_MAX);
    return out;
}

int TextFitWidth(int left, int right, int needed, int margin, int *dialogRight)
{
    if (needed <= right - left) return right - left;
    if (left + needed + margin > *dialogRight) *dialogRight = left + needed + margin;
    return needed;
}
