// Unit tests of the settings text: line reading, numbers, parse, compose, defaults, clamping.
#include "app/settings.h"

#include <gtest/gtest.h>

#include <string.h>

#include <string>

namespace {

// Both are far too large for the stack.
SettingsText Text;
SettingsRecord Record;
SettingsRecord Other;

const char DEFAULT_FILE[] =
    "VROK32\r\n3.47\r\n0\r\n1\r\n"
    "D:\\Vrok\\vrokgun.wav\r\nD:\\Vrok\\vrokgren.wav\r\nD:\\Vrok\\vrokhlvb.wav\r\n"
    "D:\\Vrok\\vrokkuck.wav\r\n495\r\n490\r\n1500\r\n1\r\n1\r\n"
    "D:\\Vrok\\vrokgun.wav\r\nD:\\Vrok\\vrokgren.wav\r\nD:\\Vrok\\vrokhlvb.wav\r\n"
    "D:\\Vrok\\teckuc1.wav\r\n495\r\n490\r\n1500\r\n1\r\n1\r\n"
    "D:\\Vrok\\vrokgun.wav\r\nD:\\Vrok\\vrokgren.wav\r\nD:\\Vrok\\vrokhlvb.wav\r\n"
    "D:\\Vrok\\teckuc1.wav\r\n495\r\n490\r\n1500\r\n1\r\n1\r\n";

// Loads bytes (NULs included) as the loader does and resets the cursor.
void Load(const std::string &bytes)
{
    ASSERT_LE(bytes.size(), (size_t)SETTINGS_TEXT_SIZE);
    memcpy(Text.text, bytes.data(), bytes.size());
    Text.text[bytes.size()] = '\0';
    Text.cursor = 0;
}

int Parse(const std::string &bytes, SettingsRecord *settings)
{
    Load(bytes);
    return SettingsParse(&Text, settings);
}

std::string ReplaceAll(std::string s, const std::string &from, const std::string &to)
{
    for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
        s.replace(at, from.size(), to);
    return s;
}

void ExpectSameSettings(const SettingsRecord &a, const SettingsRecord &b)
{
    EXPECT_EQ(a.activeProfile, b.activeProfile);
    EXPECT_EQ(a.descriptionVisible, b.descriptionVisible);
    for (int i = 0; i < PROFILE_COUNT; ++i) {
        const Profile &p = a.profiles[i], &q = b.profiles[i];
        EXPECT_STREQ(p.machineGunSound, q.machineGunSound) << "profile " << i;
        EXPECT_STREQ(p.grenadeSound, q.grenadeSound) << "profile " << i;
        EXPECT_STREQ(p.finalSound, q.finalSound) << "profile " << i;
        EXPECT_STREQ(p.cuckooSound, q.cuckooSound) << "profile " << i;
        EXPECT_EQ(p.fireSpeed, q.fireSpeed) << "profile " << i;
        EXPECT_EQ(p.soundSpeed, q.soundSpeed) << "profile " << i;
        EXPECT_EQ(p.grenadeDelay, q.grenadeDelay) << "profile " << i;
        EXPECT_EQ(p.withCuckoo, q.withCuckoo) << "profile " << i;
        EXPECT_EQ(p.useDirectSound, q.useDirectSound) << "profile " << i;
    }
}

void ExpectNumber(const char *line, int32_t expected, int expectedValid)
{
    int32_t value = 12345;
    EXPECT_EQ(SettingsParseNumber(line, &value), expectedValid) << '"' << line << '"';
    EXPECT_EQ(value, expected) << '"' << line << '"';
}

TEST(SettingsParseNumber, AcceptsWholeDecimalLines)
{
    ExpectNumber("12", 12, 1);
    ExpectNumber(" \t\n\v\f\r12", 12, 1);
    ExpectNumber("+7", 7, 1);
    ExpectNumber("-3", -3, 1);
    ExpectNumber("-0", 0, 1);
    ExpectNumber("", 0, 1);
    ExpectNumber("2147483647", INT32_MAX, 1);
    ExpectNumber("-2147483648", INT32_MIN, 1);
    ExpectNumber(("-" + std::string(100, '0') + "42").c_str(), -42, 1);
}

TEST(SettingsParseNumber, RejectsLeftoversButKeepsWhatWasParsed)
{
    ExpectNumber("12 ", 12, 0);
    ExpectNumber("1.5", 1, 0);
    ExpectNumber("-8x", -8, 0);
    ExpectNumber("abc", 0, 0);
    ExpectNumber("   ", 0, 0);
    ExpectNumber("+", 0, 0);
    ExpectNumber("-", 0, 0);
    ExpectNumber("- 5", 0, 0);
    ExpectNumber("+-5", 0, 0);
}

TEST(SettingsParseNumber, SaturatesAtTheInt32Limits)
{
    ExpectNumber("2147483648", INT32_MAX, 1);
    ExpectNumber("-2147483649", INT32_MIN, 1);
    ExpectNumber("99999999999999999999", INT32_MAX, 1);
    ExpectNumber("-99999999999999999999", INT32_MIN, 1);
    ExpectNumber(std::string(5000, '9').c_str(), INT32_MAX, 1);
    ExpectNumber((std::string(5000, '9') + "!").c_str(), INT32_MAX, 0);
}

TEST(SettingsReadLine, EndsLinesAtCrAndSkipsOneLfAfterIt)
{
    char line[32] = "previous";
    int error = 0;
    Load("a\rb\r\nc\n\r\n\nd\rcut after three\r\n");
    const char *expected[] = {"a", "b", "c\n", "\nd"};
    for (const char *e : expected) {
        SettingsReadLine(&Text, &error, line, sizeof line);
        EXPECT_STREQ(line, e);
    }
    SettingsReadLine(&Text, &error, line, 4);   // a cut line is still consumed whole
    EXPECT_STREQ(line, "cut");
    EXPECT_EQ(error, 0);
    SettingsReadLine(&Text, &error, line, sizeof line);   // text used up
    EXPECT_EQ(error, 1);
    EXPECT_STREQ(line, "cut");
}

TEST(SettingsReadLine, FailsWithoutCrAndLeavesLineAlone)
{
    const std::string cases[] = {"", "a\nb\n", "no end", std::string("a\0b\r", 4)};
    for (const std::string &bytes : cases) {
        char line[32] = "previous";
        int error = 0;
        Load(bytes);
        SettingsReadLine(&Text, &error, line, sizeof line);
        EXPECT_EQ(error, 1) << bytes;
        EXPECT_STREQ(line, "previous") << bytes;
        EXPECT_EQ(Text.cursor, 0u) << bytes;
    }
}

TEST(SettingsWriteLine, AppendsOnlyWhatFits)
{
    Text.cursor = SETTINGS_TEXT_SIZE - 4;
    Text.text[Text.cursor] = '\0';
    EXPECT_EQ(SettingsWriteLine(&Text, "abc"), 0);
    EXPECT_EQ(Text.cursor, (size_t)SETTINGS_TEXT_SIZE - 4);
    EXPECT_EQ(Text.text[Text.cursor], '\0');
    EXPECT_EQ(SettingsWriteLine(&Text, "ab"), 1);
    EXPECT_EQ(Text.cursor, (size_t)SETTINGS_TEXT_SIZE);
    EXPECT_STREQ(Text.text + SETTINGS_TEXT_SIZE - 4, "ab\r\n");
    EXPECT_EQ(SettingsWriteLine(&Text, ""), 0);
}

TEST(SettingsFile, DefaultFileIsExactAndReadsBack)
{
    Record.descriptionVisible = 1;
    SettingsApplyDefaults(&Record, "D:\\Vrok\\", 1);
    ASSERT_EQ(SettingsCompose(&Text, &Record), 1);
    EXPECT_EQ(std::string(Text.text, Text.cursor), DEFAULT_FILE);
    EXPECT_EQ(Text.text[Text.cursor], '\0');

    // Any mix of CR and CR LF line ends reads the same.
    const std::string variants[] = {DEFAULT_FILE, ReplaceAll(DEFAULT_FILE, "\r\n", "\r"),
                                    ReplaceAll(DEFAULT_FILE, "0\r\n", "0\r"),
                                    std::string(DEFAULT_FILE) + "extra\r\nlines\r\nignored"};
    for (const std::string &bytes : variants) {
        memset(&Other, 0, sizeof Other);
        EXPECT_EQ(Parse(bytes, &Other), 0);
        ExpectSameSettings(Other, Record);
    }
}

TEST(SettingsFile, BrokenLineStructureIsCorrupt)
{
    std::string withNul = DEFAULT_FILE;
    withNul[40] = '\0';
    const std::string cases[] = {
        "", ReplaceAll(DEFAULT_FILE, "\r\n", "\n"),
        std::string(DEFAULT_FILE, sizeof DEFAULT_FILE - 3),   // last line without CR
        withNul};
    for (const std::string &bytes : cases) EXPECT_EQ(Parse(bytes, &Other), 1);
    // Without any line nothing is left over from an earlier parse either.
    EXPECT_EQ(Parse(DEFAULT_FILE, &Other), 0);
    EXPECT_EQ(Parse("VROK32", &Other), 1);
    EXPECT_STREQ(Other.profiles[2].cuckooSound, "");
    EXPECT_EQ(Other.profiles[2].useDirectSound, 0);
}

TEST(SettingsFile, TagAndVersionMustMatchExactly)
{
    const char *badTags[] = {"vrok32", "VROK32 ", "VROK3", ""};
    for (const char *tag : badTags)
        EXPECT_EQ(Parse(ReplaceAll(DEFAULT_FILE, "VROK32", tag), &Other), 1) << tag;
    const char *badVersions[] = {"3.5", "3.470", "3.4 ", "3.47\n"};
    for (const char *version : badVersions)
        EXPECT_EQ(Parse(ReplaceAll(DEFAULT_FILE, "3.47", version), &Other), 1) << version;
    // An unknown version has no descriptionVisible line either: line 4 is the first path.
    Other.descriptionVisible = 77;
    EXPECT_EQ(Parse(ReplaceAll(DEFAULT_FILE, "3.47", "3.5"), &Other), 1);
    EXPECT_EQ(Other.descriptionVisible, 77);
    EXPECT_STREQ(Other.profiles[0].machineGunSound, "1");

    // Version 3.4 has no descriptionVisible line: 30 lines, the flag stays as it was.
    Other.descriptionVisible = 77;
    EXPECT_EQ(Parse(ReplaceAll(DEFAULT_FILE, "3.47\r\n0\r\n1\r\n", "3.4\r\n2\r\n"), &Other), 0);
    EXPECT_EQ(Other.descriptionVisible, 77);
    EXPECT_EQ(Other.activeProfile, 2);
    EXPECT_STREQ(Other.profiles[0].machineGunSound, "D:\\Vrok\\vrokgun.wav");
    EXPECT_EQ(Other.profiles[2].useDirectSound, 1);
}

TEST(SettingsFile, CorruptFilesStillStoreWhatTheyRead)
{
    // A bad tag does not stop the reading, and defaults leave descriptionVisible as read.
    const std::string badTag = ReplaceAll(DEFAULT_FILE, "VROK32", "VROK31");
    Other.descriptionVisible = 1;
    EXPECT_EQ(Parse(ReplaceAll(badTag, "3.47\r\n0\r\n1\r\n", "3.47\r\n1\r\n0\r\n"), &Other), 1);
    EXPECT_EQ(Other.activeProfile, 1);
    SettingsApplyDefaults(&Other, "C:\\", 1);
    EXPECT_EQ(Other.activeProfile, 0);
    EXPECT_EQ(Other.descriptionVisible, 0);
    EXPECT_STREQ(Other.profiles[1].cuckooSound, "C:\\teckuc1.wav");

    // Missing lines repeat the last line read into every later field.
    EXPECT_EQ(Parse("VROK32\r\n3.47\r\n2\r\n", &Other), 1);
    EXPECT_EQ(Other.activeProfile, 2);
    EXPECT_EQ(Other.descriptionVisible, 2);
    EXPECT_STREQ(Other.profiles[2].cuckooSound, "2");
    EXPECT_EQ(Other.profiles[2].useDirectSound, 2);
    SettingsApplyDefaults(&Other, "C:\\", 1);
    EXPECT_EQ(Other.descriptionVisible, 2);
    EXPECT_EQ(Other.activeProfile, 0);

    // A malformed number flags the file but keeps its leading digits.
    EXPECT_EQ(Parse(ReplaceAll(DEFAULT_FILE, "1500", "15x"), &Other), 1);
    EXPECT_EQ(Other.profiles[0].grenadeDelay, 15);
}

TEST(SettingsFile, OverlongPathLinesAreCut)
{
    std::string file = ReplaceAll(DEFAULT_FILE, "D:\\Vrok\\vrokhlvb.wav", std::string(12000, 'p'));
    EXPECT_EQ(Parse(file, &Other), 0);
    EXPECT_EQ(std::string(Other.profiles[1].finalSound), std::string(PATH_BUFFER_SIZE - 1, 'p'));
    EXPECT_EQ(Other.profiles[1].fireSpeed, 495);
}

TEST(SettingsFile, EveryFieldSurvivesComposeAndParse)
{
    memset(&Record, 0, sizeof Record);
    Record.activeProfile = 2;
    Record.descriptionVisible = -5;
    for (int i = 0; i < PROFILE_COUNT; ++i) {
        Profile &p = Record.profiles[i];
        char *paths[] = {p.machineGunSound, p.grenadeSound, p.finalSound, p.cuckooSound};
        for (int k = 0; k < 4; ++k) {
            memset(paths[k], 'a' + i * 4 + k, PATH_BUFFER_SIZE - 1);
            paths[k][PATH_BUFFER_SIZE - 1] = '\0';
        }
        p.fireSpeed = INT32_MIN + i;
        p.soundSpeed = INT32_MAX - i;
        p.grenadeDelay = 30000 + i;
        p.withCuckoo = 10 + i;
        p.useDirectSound = -20 - i;
    }
    ASSERT_EQ(SettingsCompose(&Text, &Record), 1);
    memset(&Other, 0, sizeof Other);
    Text.cursor = 0;
    EXPECT_EQ(SettingsParse(&Text, &Other), 0);
    ExpectSameSettings(Other, Record);
}

TEST(SettingsFile, LongestPossibleSettingsFillTheTextExactly)
{
    Record.activeProfile = INT32_MIN;
    Record.descriptionVisible = INT32_MIN;
    for (Profile &p : Record.profiles) {
        for (char *path : {p.machineGunSound, p.grenadeSound, p.finalSound, p.cuckooSound}) {
            memset(path, 'x', PATH_BUFFER_SIZE - 1);
            path[PATH_BUFFER_SIZE - 1] = '\0';
        }
        p.fireSpeed = p.soundSpeed = p.grenadeDelay = p.withCuckoo = p.useDirectSound = INT32_MIN;
    }
    ASSERT_EQ(SettingsCompose(&Text, &Record), 1);
    EXPECT_EQ(Text.cursor, (size_t)SETTINGS_TEXT_SIZE);
    Text.cursor = 0;
    EXPECT_EQ(SettingsParse(&Text, &Other), 0);
    ExpectSameSettings(Other, Record);
}

TEST(SettingsDefaults, DependOnPlatformAndProfile)
{
    for (int nt = 0; nt <= 1; ++nt) {
        Record.activeProfile = 2;
        Record.descriptionVisible = 9;
        SettingsApplyDefaults(&Record, "E:\\", nt);
        EXPECT_EQ(Record.activeProfile, 0);
        EXPECT_EQ(Record.descriptionVisible, 9);
        for (const Profile &p : Record.profiles) {
            EXPECT_EQ(p.soundSpeed, nt ? 490 : 450);
            EXPECT_EQ(p.fireSpeed, 495);
            EXPECT_EQ(p.grenadeDelay, 1500);
        }
    }
    EXPECT_STREQ(Record.profiles[0].cuckooSound, "E:\\vrokkuck.wav");
    EXPECT_STREQ(Record.profiles[2].cuckooSound, "E:\\teckuc1.wav");
}

TEST(SettingsDefaults, PathsThatDoNotFitStayEmpty)
{
    // "vrokgun.wav" just fits behind this folder, "vrokgren.wav" is one character too long.
    std::string folder(PATH_BUFFER_SIZE - 1 - 11, 'f');
    SettingsApplyDefaults(&Record, folder.c_str(), 1);
    EXPECT_EQ(std::string(Record.profiles[0].machineGunSound), folder + "vrokgun.wav");
    EXPECT_STREQ(Record.profiles[0].grenadeSound, "");
    EXPECT_STREQ(Record.profiles[0].cuckooSound, "");
    EXPECT_EQ(std::string(Record.profiles[1].cuckooSound), folder + "teckuc1.wav");
}

TEST(SettingsClampRanges, BringsValuesIntoRangeAndLeavesFlags)
{
    struct Case { int32_t in, active, speed, delay; };
    const Case cases[] = {{INT32_MIN, 0, 1, 0}, {-1, 0, 1, 0},     {0, 0, 1, 0},
                          {2, 2, 2, 2},         {3, 0, 3, 3},      {500, 0, 500, 500},
                          {501, 0, 500, 501},   {30001, 0, 500, 30000}, {INT32_MAX, 0, 500, 30000}};
    for (const Case &c : cases) {
        Record.activeProfile = c.in;
        for (Profile &p : Record.profiles) {
            p.fireSpeed = p.soundSpeed = p.grenadeDelay = c.in;
            p.withCuckoo = p.useDirectSound = c.in;
        }
        SettingsClampRanges(&Record);
        EXPECT_EQ(Record.activeProfile, c.active) << c.in;
        for (const Profile &p : Record.profiles) {
            EXPECT_EQ(p.fireSpeed, c.speed) << c.in;
            EXPECT_EQ(p.soundSpeed, c.speed) << c.in;
            EXPECT_EQ(p.grenadeDelay, c.delay) << c.in;
            EXPECT_EQ(p.withCuckoo, c.in);
            EXPECT_EQ(p.useDirectSound, c.in);
        }
    }
}

}  // namespace
