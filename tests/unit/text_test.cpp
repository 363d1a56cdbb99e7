// Text of the program; the fuzz target covers numbers, clamping, shortened paths and rereading.
#include <gtest/gtest.h>

#include "app/app_text.h"
#include "app/settings.h"
#include "dialogs/config_values.h"

SettingsText Text;   // these are far too large for the stack
SettingsRecord Record, Other;

const std::string PATHS = "D:\\Vrok\\vrokgun.wav\r\nD:\\Vrok\\vrokgren.wav\r\nD:\\Vrok\\vrokhlvb.wav\r\nD:\\Vrok\\";
const std::string NUMBERS = ".wav\r\n495\r\n490\r\n1500\r\n1\r\n1\r\n";
const std::string DEFAULT_FILE = "VROK32\r\n3.47\r\n0\r\n1\r\n" + PATHS + "vrokkuck" + NUMBERS + PATHS +
                                 "teckuc1" + NUMBERS + PATHS + "teckuc1" + NUMBERS;

// Parses bytes (NULs included, then the NUL the loader adds) into Other; the default file changed.
int Parse(const std::string &b) { return memcpy(Text.text, b.c_str(), b.size() + 1), Text.cursor = 0, SettingsParse(&Text, &Other); }
std::string With(const std::string &from, const std::string &to, std::string s = DEFAULT_FILE)
{
    for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size())) s.replace(at, from.size(), to);
    return s;
}

std::string Composed(const SettingsRecord &s) { return SettingsCompose(&Text, &s) ? std::string(Text.text, Text.cursor) : "too long"; }
std::string Times(const std::string &s, int n) { return n > 0 ? s + Times(s, n - 1) : ""; }

TEST(Settings, DefaultFileIsExactAndCorruptFilesStillStoreWhatTheyRead)
{
    Record.activeProfile = 2, Record.descriptionVisible = 1;   // the defaults reset the first, not the second
    SettingsApplyDefaults(&Record, "D:\\Vrok\\", 1);
    EXPECT_EQ(Composed(Record), DEFAULT_FILE);
    const std::pair<std::string, int> cases[] = {{DEFAULT_FILE, 0}, {With("\r\n", "\r"), 0},
        {DEFAULT_FILE + "extra\r\nignored", 0}, {"", 1}, {With("\r\n", "\n"), 1}, {DEFAULT_FILE.substr(0, DEFAULT_FILE.size() - 2), 1},
        {With("gun", std::string("g\0n", 3)), 1}, {With("VROK32", "vrok32"), 1}, {With("VROK32", "VROK32 "), 1},
        {With("3.47", "3.470"), 1}, {With("3.47", "3.4 "), 1}};
    for (const auto &c : cases) {
        EXPECT_EQ(Parse(c.first), c.second) << testing::PrintToString(c.first.substr(0, 40));
        if (c.second == 0) EXPECT_EQ(Composed(Other), DEFAULT_FILE);
    }
    // 3.4 has no descriptionVisible line, so the flag stays; an unknown version has none either.
    Other.descriptionVisible = 7;
    EXPECT_EQ(Parse(With("3.47\r\n0\r\n1\r\n", "3.4\r\n2\r\n")), 0);
    EXPECT_EQ(Composed(Other), With("3.47\r\n0\r\n1\r\n", "3.47\r\n2\r\n7\r\n"));
    EXPECT_EQ(Parse(With("3.47\r\n0\r\n1\r\nD:\\Vrok\\vrokgun.wav", "3.5\r\n0\r\n1")), 1);
    EXPECT_EQ(Composed(Other), With("3.47\r\n0\r\n1\r\nD:\\Vrok\\vrokgun.wav", "3.47\r\n0\r\n7\r\n1"));
    // A bad tag does not stop the reading; missing lines repeat the last line read.
    EXPECT_EQ(Parse("VROK31\r\n3.47\r\n2\r\n"), 1);
    EXPECT_EQ(Composed(Other), "VROK32\r\n3.47\r\n" + Times("2\r\n", 29));
}

TEST(Settings, LongestRecordFillsTheTextExactly)
{
    int32_t number = INT32_MIN;   // distinct 10041-character paths and 11-character numbers everywhere
    Record.activeProfile = number++, Record.descriptionVisible = number++;
    for (Profile &p : Record.profiles) {
        for (char *path : {p.machineGunSound, p.grenadeSound, p.finalSound, p.cuckooSound})
            memset(path, 'a' + number % 26, PATH_BUFFER_SIZE - 1), number++;
        for (int32_t *n : {&p.fireSpeed, &p.soundSpeed, &p.grenadeDelay, &p.withCuckoo, &p.useDirectSound}) *n = number++;
    }
    const std::string longest = Composed(Record);
    EXPECT_EQ(std::make_pair(longest.size(), Parse(longest)), std::make_pair((size_t)SETTINGS_TEXT_SIZE, 0));
    EXPECT_EQ(Composed(Other), longest);
    // Short of a line and its CR LF by one byte, nothing is written.
    Text.cursor = SETTINGS_TEXT_SIZE - 4;
    EXPECT_EQ(std::vector<int>({SettingsWriteLine(&Text, "abc"), SettingsWriteLine(&Text, "ab")}), std::vector<int>({0, 1}));
    // A longer path line is cut to the longest path and the next line is still read.
    EXPECT_EQ(Parse(With("D:\\Vrok\\vrokhlvb.wav", std::string(12000, 'p'))), 0);
    EXPECT_EQ(Composed(Other), With("D:\\Vrok\\vrokhlvb.wav", std::string(PATH_BUFFER_SIZE - 1, 'p')));
    SettingsApplyDefaults(&Record, "", 0);   // 9x; NT shows in the default file
    EXPECT_EQ(Record.profiles[2].soundSpeed, 450);
    EXPECT_EQ(std::vector<int>({SpeedPeriodMs(1), SpeedPeriodMs(500)}), std::vector<int>({500, 1}));   // timer period, ms
}

TEST(Text, PathsVersionLineAndTrayTipRefuseOrCutWhatDoesNotFit)
{
    const std::pair<const char *, const char *> folders[] = {{"C:\\abc\\VROK.exe", "1C:\\abc\\"}, {"C:\\abcd\\VROK.exe", "0"},
        {"C:/a/VROK.exe", "1C:/a/"}, {"VROK.exe", "1"}};   // result, then the folder
    for (const auto &c : folders) {
        char folder[8] = "x";   // exact, as every buffer here: ASan sees overruns
        EXPECT_EQ(std::to_string(ProgramFolderFromPath(c.first, folder, sizeof folder)) + folder, c.second);
    }
    char path[17], nine[9] = "D:\\Vrok", four[4] = "abc", five[5] = "ab\\";   // fits exactly, one short, has one
    EXPECT_EQ(PathJoin(path, sizeof path, "D:\\Vrok\\", "VROK.INI"), 1);
    EXPECT_EQ(PathJoin(path, sizeof path, "D:\\Vrok2\\", "VROK.INI") + strlen(path), 0u);
    PathEnsureBackslash(nine, sizeof nine), PathEnsureBackslash(four, sizeof four), PathEnsureBackslash(five, sizeof five);
    EXPECT_EQ(std::string(nine) + "|" + four + "|" + five, "D:\\Vrok\\|abc|ab\\");
    char line[DESCRIPTION_LINE_SIZE] = "Version %u.%u of 100%s", tip[TRAY_TIP_SIZE];
    DescriptionFormatVersion(line, sizeof line, 3, 49);
    EXPECT_STREQ(line, "Version 3.49 of 100%s");
    TrayTipFormatActivation(tip, sizeof tip, 12, 3, 4, 5, 9);
    EXPECT_STREQ(tip, "VROK 95:Shots: 12/Grenades: 3/Last time activated: 04:05:09");
    TrayTipFormatActivation(tip, sizeof tip, 12345, 678, 23, 59, 58);
    EXPECT_STREQ(tip, "VROK 95:Shots: 12345/Grenades: 678/Last time activated: 23:59:5");
}

TEST(Dialog, SoundNameScrollGrenadeDelayAndTextRoomStopAtTheirLimits)
{
    char out[SOUND_DISPLAY_NAME_SIZE], small[6];   // exact: ASan sees overruns
    const std::string path = "C:\\x." + std::string(300, 'n') + "." + std::string(300, 'e');   // the last dot counts
    EXPECT_EQ(SoundFileDisplayName(path.c_str(), out, sizeof out, NULL), "x." + std::string(253, 'n') + "." + std::string(254, 'e'));
    EXPECT_STREQ(SoundFileDisplayName("D:GUN.WAV", out, sizeof out, NULL), "GUN.WAV");
    // In Shift-JIS 0x95 0x5C is one character whose trail byte looks like a backslash.
    auto shiftJisLead = [](unsigned char byte) { return int(byte >= 0x81 && byte <= 0x9F); };
    EXPECT_STREQ(SoundFileDisplayName("C:\\\x95\\GUN.WAV", out, sizeof out, shiftJisLead), "\x95\\GUN.WAV");
    EXPECT_STREQ(SoundFileDisplayName("C:\\GUNSHO.WAV", small, 6, NULL), "GUNSH");
    // code, position, next at the ends and the page clamps; the thumb is at 77.
    const int32_t cases[][3] = {{SCROLL_LINE_UP, 1, 1}, {SCROLL_LINE_DOWN, 500, 500}, {SCROLL_PAGE_UP, 50, 1},
        {SCROLL_PAGE_DOWN, 451, 500}, {SCROLL_THUMB_TRACK, 5, 77}, {SCROLL_TOP, 5, 500}, {SCROLL_BOTTOM, 5, 1}};
    for (const auto &c : cases) EXPECT_EQ(ScrollPositionNext(c[0], c[1], 77), c[2]) << c[0] << " at " << c[1];
    // Delays up to 30000 with blanks after; -5 stands for refused.
    const std::pair<const char *, int32_t> delays[] = {{"30000", 30000}, {"", 0}, {" +7  ", 7}, {"30001", -5},
        {"-1", -5}, {"1 2", -5}, {"12\t", -5}, {"4294967296", -5}, {"99999999999999999999", -5}};
    for (const auto &c : delays) {
        int32_t value = -5, valid = GrenadeDelayParse(c.first, &value);
        EXPECT_EQ(std::make_pair(valid, value), std::make_pair(int32_t(c.second != -5), c.second)) << c.first;
    }
    // A label at 20..69 of a dialog reaching to 300 with margins of 2: its text needs, its width, the dialog's edge.
    const int fits[][3] = {{49, 49, 300}, {50, 50, 300}, {278, 278, 300}, {290, 290, 312}};
    for (const auto &c : fits) {
        int right = 300;
        EXPECT_EQ(std::make_pair(TextFitWidth(20, 69, c[0], 2, &right), right), std::make_pair(c[1], c[2])) << c[0];
    }
}

