// The configuration dialog's arithmetic and text rules: scroll positions, grenade delay, sound names,
// room for texts; portable.
#pragma once

#include <stddef.h>
#include <stdint.h>

// Scroll notification codes, numbered as Windows numbers SB_LINEUP ... SB_ENDSCROLL.
enum {
    SCROLL_LINE_UP = 0,
    SCROLL_LINE_DOWN = 1,
    SCROLL_PAGE_UP = 2,
    SCROLL_PAGE_DOWN = 3,
    SCROLL_THUMB_POSITION = 4,
    SCROLL_THUMB_TRACK = 5,
    SCROLL_TOP = 6,
    SCROLL_BOTTOM = 7,
    SCROLL_END = 8,
};

enum {
    CONFIG_POSITION_PAGE = 50,  // the bars run over the speeds, SPEED_MIN..SPEED_MAX
    GRENADE_DELAY_TEXT_SIZE = 100,   // what the dialog reads of the field, with its NUL
    SOUND_NAME_PART_MAX = 255,       // name and extension are each cut to this
    SOUND_DISPLAY_NAME_SIZE = 2 * SOUND_NAME_PART_MAX + 1,
};

// The scroll bar position after a notification. The top of the bar is "Low" and holds the
// largest number, so SCROLL_TOP gives 500 and SCROLL_BOTTOM gives 1; thumb is the dragged position.
int32_t ScrollPositionNext(int code, int32_t position, int32_t thumb);

// Reads the grenade delay field as strtol does (base 10), allowing trailing blanks. Returns 1 and
// sets *value when the text is a number in 0..30000 (empty or blank text is 0), else 0.
int GrenadeDelayParse(const char *text, int32_t *value);

// Tells whether a byte starts a double-byte character in the current code page; may be NULL.
typedef int (*LeadByteTest)(unsigned char byte);

// Writes the file name and extension of path (everything after the last '\\', '/' or drive
// colon) into out, each part cut to 255 characters, and returns out. A trail byte of a
// double-byte character is never taken for a separator. out is always terminated.
char *SoundFileDisplayName(const char *path, char *out, size_t size, LeadByteTest isLeadByte);

// Room for a control's text, in pixels: a control from left to right keeps its width where the text
// needs no more, and is widened to needed where it does; *dialogRight, the dialog's right edge,
// moves out where the widened control would come nearer to it than margin (the template's
// narrowest margin at the right). Returns the width.
int TextFitWidth(int left, int right, int needed, int margin, int *dialogRight);
