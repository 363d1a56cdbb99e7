// The configuration dialog's rules: sound names on the buttons, scroll positions, grenade delay.
#include <gtest/gtest.h>

#include <string>

#include "dialogs/config_values.h"

namespace {

// Shift-JIS lead bytes: 0x95 0x5C is one character whose trail byte looks like a backslash.
int ShiftJisLead(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

TEST(SoundFileDisplayName, IsNameAndExtensionAfterTheLastSeparator)
{
    struct Case {
        const char *path;
        LeadByteTest lead;
        const char *name;
    } cases[] = {
        {"D:\\SOUNDS\\GUN.WAV", NULL, "GUN.WAV"},
        {"GUN", NULL, "GUN"},
        {"D:GUN.WAV", NULL, "GUN.WAV"},
        {"D:/WAVES/SHOT.A.WAV", NULL, "SHOT.A.WAV"},
        {"D:\\SOUNDS.OLD\\GUN", NULL, "GUN"},
        {"D:\\SOUNDS\\", NULL, ""},
        {"", NULL, ""},
        {"C:\\\x95\\GUN.WAV", ShiftJisLead, "\x95\\GUN.WAV"},
        {"C:\\\x95\\GUN.WAV", NULL, "GUN.WAV"},
    };
    for (const Case &c : cases) {
        char out[SOUND_DISPLAY_NAME_SIZE];
        EXPECT_STREQ(SoundFileDisplayName(c.path, out, sizeof out, c.lead), c.name) << c.path;
    }
}

TEST(SoundFileDisplayName, CutsEachPartAndNeverOverflows)
{
    std::string path = "C:\\" + std::string(300, 'n') + "." + std::string(300, 'e');
    char out[SOUND_DISPLAY_NAME_SIZE], small[8] = "xxxxxxx";
    EXPECT_EQ(SoundFileDisplayName(path.c_str(), out, sizeof out, NULL), std::string(255, 'n') + "." + std::string(254, 'e'));
    EXPECT_STREQ(SoundFileDisplayName("C:\\SOUNDS\\MACHINEGUN.WAV", small, 6, NULL), "MACHI");
    EXPECT_EQ(small[6], 'x');
}

TEST(ScrollPosition, FollowsTheNotification)
{
    const int32_t positions[] = {1, 50, 51, 120, 450, 451, 500};
    struct Row {
        int code;
        int32_t expected[7];
    } rows[] = {
        {SCROLL_LINE_UP, {1, 49, 50, 119, 449, 450, 499}},
        {SCROLL_LINE_DOWN, {2, 51, 52, 121, 451, 452, 500}},
        {SCROLL_PAGE_UP, {1, 1, 1, 70, 400, 401, 450}},
        {SCROLL_PAGE_DOWN, {51, 100, 101, 170, 500, 500, 500}},
        {SCROLL_THUMB_POSITION, {77, 77, 77, 77, 77, 77, 77}},
        {SCROLL_THUMB_TRACK, {77, 77, 77, 77, 77, 77, 77}},
        {SCROLL_TOP, {500, 500, 500, 500, 500, 500, 500}},
        {SCROLL_BOTTOM, {1, 1, 1, 1, 1, 1, 1}},
        {SCROLL_END, {1, 50, 51, 120, 450, 451, 500}},
    };
    for (const Row &row : rows)
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(ScrollPositionNext(row.code, positions[i], 77), row.expected[i])
                << "code " << row.code << " at " << positions[i];
}

TEST(GrenadeDelay, AcceptsNumbersUpTo30000WithBlanksAround)
{
    struct Case {
        const char *text;
        int valid;
        int32_t value;
    } cases[] = {
        {"30000", 1, 30000}, {"0", 1, 0},       {"", 1, 0},         {"   ", 1, 0},
        {" 12", 1, 12},      {"12  ", 1, 12},   {"+7", 1, 7},       {"30001", 0, 0},
        {"-1", 0, 0},        {"1 2", 0, 0},     {"12a", 0, 0},      {"12\t", 0, 0},
        {" +", 0, 0},        {"99999999999999999999", 0, 0},
    };
    for (const Case &c : cases) {
        int32_t value = -5;
        EXPECT_EQ(GrenadeDelayParse(c.text, &value), c.valid) << '"' << c.text << '"';
        EXPECT_EQ(value, c.valid ? c.value : -5) << '"' << c.text << '"';
    }
}

}  // namespace
