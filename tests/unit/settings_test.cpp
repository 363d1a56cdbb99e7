// Unit tests of the settings text: line reading, numbers, parse, compose, defaults, clamping.
#include "app/settings.h"

#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

namespace {

// All far too large for the stack.
SettingsText Text;
SettingsRecord Record, Other;

const std::string PATHS =
    "D:\\Vrok\\vrokgun.wav\r\nD:\\Vrok\\vrokgren.wav\r\nD:\\Vrok\\vrokhlvb.wav\r\nD:\\Vrok\\";
const std::string NUMBERS = ".wav\r\n495\r\n490\r\n1500\r\n1\r\n1\r\n";
const std::string DEFAULT_FILE = "VROK32\r\n3.47\r\n0\r\n1\r\n" + PATHS + "vrokkuck" + NUMBERS + PATHS +
                                 "teckuc1" + NUMBERS + PATHS + "teckuc1" + NUMBERS;

// Parses bytes (NULs included) into Other as the loader hands them over.
int Parse(const std::string &bytes)
{
    memcpy(Text.text, bytes.data(), bytes.size());
    Text.text[bytes.size()] = '\0';
    Text.cursor = 0;
    return SettingsParse(&Text, &Other);
}

std::string ReplaceAll(std::string s, const std::string &from, const std::string &to)
{
    for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
        s.replace(at, from.size(), to);
    return s;
}

// Every field in file order, to compare two records.
std::string Fields(const SettingsRecord &s)
{
    std::string f = std::to_string(s.activeProfile) + " " + std::to_string(s.descriptionVisible);
    for (const Profile &p : s.profiles) {
        f = f + "|" + p.machineGunSound + "|" + p.grenadeSound + "|" + p.finalSound + "|" + p.cuckooSound;
        for (int32_t n : {p.fireSpeed, p.soundSpeed, p.grenadeDelay, p.withCuckoo, p.useDirectSound})
            f += " " + std::to_string(n);
    }
    return f;
}

TEST(SettingsParseNumber, WholeDecimalLinesSaturatingAtTheInt32Limits)
{
    const std::string nines(5000, '9');
    struct Case { std::string line; int32_t value; int valid; };
    const Case cases[] = {
        {"12", 12, 1}, {" \t\n\v\f\r12", 12, 1}, {"+7", 7, 1}, {"-3", -3, 1}, {"", 0, 1},
        {"2147483647", INT32_MAX, 1}, {"-2147483648", INT32_MIN, 1},
        {"-" + std::string(100, '0') + "42", -42, 1},
        {"12 ", 12, 0}, {"1.5", 1, 0}, {"abc", 0, 0}, {"   ", 0, 0}, {"-", 0, 0}, {"+-5", 0, 0},
        {"2147483648", INT32_MAX, 1}, {"-2147483649", INT32_MIN, 1},
        {"-99999999999999999999", INT32_MIN, 1}, {nines, INT32_MAX, 1}, {nines + "!", INT32_MAX, 0}};
    for (const Case &c : cases) {
        int32_t value = 12345;
        EXPECT_EQ(SettingsParseNumber(c.line.c_str(), &value), c.valid) << c.line.substr(0, 30);
        EXPECT_EQ(value, c.value) << c.line.substr(0, 30);
    }
}

TEST(SettingsLines, ReadEndsAtCrSkippingOneLfAndWriteAppendsOnlyWhatFits)
{
    char line[32] = "previous";
    int error = 0;
    strcpy(Text.text, "a\rb\r\nc\n\r\n\nd\rcut after three\r\n");
    Text.cursor = 0;
    for (const char *expected : {"a", "b", "c\n", "\nd"}) {
        SettingsReadLine(&Text, &error, line, sizeof line);
        EXPECT_STREQ(line, expected);
    }
    SettingsReadLine(&Text, &error, line, 4);   // a cut line is still consumed whole
    EXPECT_STREQ(line, "cut");
    EXPECT_EQ(error, 0);
    SettingsReadLine(&Text, &error, line, sizeof line);   // used up: flagged, line left alone
    EXPECT_EQ(error, 1);
    EXPECT_STREQ(line, "cut");

    Text.cursor = SETTINGS_TEXT_SIZE - 4;
    EXPECT_EQ(SettingsWriteLine(&Text, "abc"), 0);
    EXPECT_EQ(SettingsWriteLine(&Text, "ab"), 1);
    EXPECT_STREQ(Text.text + SETTINGS_TEXT_SIZE - 4, "ab\r\n");
    EXPECT_EQ(SettingsWriteLine(&Text, ""), 0);
}

TEST(SettingsFile, DefaultTextIsExactAndOnlyWellFormedVariantsReadBack)
{
    Record.activeProfile = 2;
    Record.descriptionVisible = 1;
    SettingsApplyDefaults(&Record, "D:\\Vrok\\", 1);
    ASSERT_EQ(SettingsCompose(&Text, &Record), 1);
    EXPECT_EQ(std::string(Text.text, Text.cursor), DEFAULT_FILE);
    EXPECT_EQ(Text.text[Text.cursor], '\0');

    auto with = [](const char *from, const std::string &to) { return ReplaceAll(DEFAULT_FILE, from, to); };
    const std::pair<std::string, int> cases[] = {
        {DEFAULT_FILE, 0}, {with("\r\n", "\r"), 0}, {with("0\r\n", "0\r"), 0},
        {DEFAULT_FILE + "extra\r\nlines\r\nignored", 0}, {"", 1}, {with("\r\n", "\n"), 1},
        {DEFAULT_FILE.substr(0, DEFAULT_FILE.size() - 2), 1}, {with("gun", std::string("g\0n", 3)), 1},
        {with("VROK32", "vrok32"), 1}, {with("VROK32", "VROK32 "), 1}, {with("VROK32", "VROK3"), 1},
        {with("VROK32", ""), 1}, {with("3.47", "3.470"), 1}, {with("3.47", "3.4 "), 1},
        {with("3.47", "3.47\n"), 1}};
    for (const auto &c : cases) {
        memset(&Other, 0, sizeof Other);
        EXPECT_EQ(Parse(c.first), c.second) << testing::PrintToString(c.first.substr(0, 40));
        if (c.second == 0) { EXPECT_EQ(Fields(Other), Fields(Record)); }
    }
}

TEST(SettingsFile, VersionDecidesTheLinesAndCorruptFilesStillStoreWhatTheyRead)
{
    // 3.4 has no descriptionVisible line: 30 lines, the flag stays as it was.
    Other.descriptionVisible = 77;
    EXPECT_EQ(Parse(ReplaceAll(DEFAULT_FILE, "3.47\r\n0\r\n1\r\n", "3.4\r\n2\r\n")), 0);
    EXPECT_EQ(std::make_pair(Other.activeProfile, Other.descriptionVisible), std::make_pair(2, 77));
    // An unknown version has no such line either: line 4 is the first path.
    EXPECT_EQ(Parse(ReplaceAll(DEFAULT_FILE, "3.47", "3.5")), 1);
    EXPECT_EQ(Other.descriptionVisible, 77);
    EXPECT_STREQ(Other.profiles[0].machineGunSound, "1");
    // A bad tag does not stop the reading: descriptionVisible still comes from line 4.
    EXPECT_EQ(Parse(ReplaceAll(DEFAULT_FILE, "VROK32\r\n3.47\r\n0\r\n1", "VROK31\r\n3.47\r\n1\r\n0")), 1);
    EXPECT_EQ(std::make_pair(Other.activeProfile, Other.descriptionVisible), std::make_pair(1, 0));
    // Missing lines repeat the last line read; with no line at all nothing is left over.
    EXPECT_EQ(Parse("VROK32\r\n3.47\r\n2\r\n"), 1);
    EXPECT_EQ(Fields(Other), "2 2|2|2|2|2 2 2 2 2 2|2|2|2|2 2 2 2 2 2|2|2|2|2 2 2 2 2 2");
    EXPECT_EQ(Parse("VROK32"), 1);
    EXPECT_EQ(Fields(Other), "0 2|||| 0 0 0 0 0|||| 0 0 0 0 0|||| 0 0 0 0 0");   // no version: 2 stays

    EXPECT_EQ(Parse(ReplaceAll(DEFAULT_FILE, "1500", "15x")), 1);
    EXPECT_EQ(Other.profiles[0].grenadeDelay, 15);   // the leading digits are kept
    EXPECT_EQ(Parse(ReplaceAll(DEFAULT_FILE, "D:\\Vrok\\vrokhlvb.wav", std::string(12000, 'p'))), 0);
    EXPECT_EQ(Other.profiles[1].finalSound, std::string(PATH_BUFFER_SIZE - 1, 'p'));
    EXPECT_EQ(Other.profiles[1].fireSpeed, 495);
}

TEST(SettingsFile, LongestRecordFillsTheTextExactlyAndEveryFieldReadsBack)
{
    // Distinct 10041-character paths and 11-character numbers in every field.
    char fill = 'a';
    int32_t number = INT32_MIN;
    Record.activeProfile = number++;
    Record.descriptionVisible = number++;
    for (Profile &p : Record.profiles) {
        for (char *path : {p.machineGunSound, p.grenadeSound, p.finalSound, p.cuckooSound})
            strcpy(path, std::string(PATH_BUFFER_SIZE - 1, fill++).c_str());
        for (int32_t *n : {&p.fireSpeed, &p.soundSpeed, &p.grenadeDelay, &p.withCuckoo, &p.useDirectSound})
            *n = number++;
    }
    ASSERT_EQ(SettingsCompose(&Text, &Record), 1);
    EXPECT_EQ(Text.cursor, (size_t)SETTINGS_TEXT_SIZE);
    Text.cursor = 0;
    EXPECT_EQ(SettingsParse(&Text, &Other), 0);
    EXPECT_EQ(Fields(Other), Fields(Record));
}

TEST(SettingsDefaults, DependOnPlatformAndPathsThatDoNotFitStayEmpty)
{
    Record.activeProfile = 2;
    Record.descriptionVisible = 9;
    SettingsApplyDefaults(&Record, "E:\\", 0);   // 9x; NT shows in the default text
    EXPECT_EQ(std::make_pair(Record.activeProfile, Record.descriptionVisible), std::make_pair(0, 9));
    for (const Profile &p : Record.profiles) EXPECT_EQ(p.soundSpeed, 450);
    std::string folder(PATH_BUFFER_SIZE - 1 - 11, 'f');   // "vrokgun.wav" just fits, "vrokgren.wav" not
    SettingsApplyDefaults(&Record, folder.c_str(), 1);
    EXPECT_EQ(Record.profiles[0].machineGunSound, folder + "vrokgun.wav");
    EXPECT_STREQ(Record.profiles[0].grenadeSound, "");
    EXPECT_EQ(Record.profiles[1].cuckooSound, folder + "teckuc1.wav");
}

TEST(SettingsClampRanges, BringsValuesIntoRangeAndLeavesFlags)
{
    const int32_t cases[][4] = {{INT32_MIN, 0, 1, 0}, {-1, 0, 1, 0}, {0, 0, 1, 0}, {2, 2, 2, 2},
                                {3, 0, 3, 3}, {500, 0, 500, 500}, {501, 0, 500, 501},
                                {30001, 0, 500, 30000}, {INT32_MAX, 0, 500, 30000}};
    typedef std::vector<int32_t> Numbers;
    for (const auto &c : cases) {   // in, active, speed, delay
        SCOPED_TRACE(c[0]);
        Record.activeProfile = c[0];
        for (Profile &p : Record.profiles)
            p.fireSpeed = p.soundSpeed = p.grenadeDelay = p.withCuckoo = p.useDirectSound = c[0];
        SettingsClampRanges(&Record);
        EXPECT_EQ(Record.activeProfile, c[1]);
        for (const Profile &p : Record.profiles)
            EXPECT_EQ(Numbers({p.fireSpeed, p.soundSpeed, p.grenadeDelay, p.withCuckoo, p.useDirectSound}),
                      Numbers({c[2], c[2], c[3], c[0], c[0]}));
    }
    // Every clamped speed gives a timer period the multimedia timer accepts: 500 ms down to 1 ms.
    EXPECT_EQ(SpeedPeriodMs(SPEED_MIN), 500);
    EXPECT_EQ(SpeedPeriodMs(SPEED_MAX), 1);
    EXPECT_EQ(SpeedPeriodMs(DEFAULT_FIRE_SPEED), 6);
}

}  // namespace
