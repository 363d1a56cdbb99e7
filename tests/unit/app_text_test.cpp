// Start-up text: the program folder taken from the module path, joined paths, the version line.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "app/app_text.h"

TEST(ProgramFolder, IsEverythingUpToTheLastSeparatorOrRefusedWhenItDoesNotFit)
{
    struct Case { const char *path; size_t size; int result; const char *folder; };
    const Case cases[] = {{"D:\\Vrok\\VROK.exe", 64, 1, "D:\\Vrok\\"},
                          {"\\\\server\\share\\VROK.exe", 64, 1, "\\\\server\\share\\"},
                          {"C:/games/vrok/VROK.exe", 64, 1, "C:/games/vrok/"}, {"VROK.exe", 64, 1, ""},
                          {"C:\\abcd\\VROK.exe", 8, 0, ""}, {"C:\\abc\\VROK.exe", 8, 1, "C:\\abc\\"}};
    for (const Case &c : cases) {
        char folder[64] = "previous";
        EXPECT_EQ(ProgramFolderFromPath(c.path, folder, c.size), c.result) << c.path;
        EXPECT_STREQ(folder, c.folder) << c.path;
    }
}

TEST(PathHelpers, JoinRefusesShortenKeepsTheEndBackslashOnlyWhereMissing)
{
    char path[17];
    EXPECT_EQ(PathJoin(path, sizeof path, "D:\\Vrok\\", "VROK.INI"), 1);
    EXPECT_STREQ(path, "D:\\Vrok\\VROK.INI");
    EXPECT_EQ(PathJoin(path, sizeof path, "D:\\Vrok2\\", "VROK.INI"), 0);
    EXPECT_STREQ(path, "");

    char out[16];
    PathShortenFromLeft("C:\\a\\gun.wav", out, sizeof out);
    EXPECT_STREQ(out, "C:\\a\\gun.wav");
    PathShortenFromLeft("C:\\a\\very\\deep\\folder\\gun.wav", out, sizeof out);
    EXPECT_STREQ(out, "...lder\\gun.wav");
    const std::string longest = std::string(10033, 'x') + "\\end.wav";
    char message[400];
    PathShortenFromLeft(longest.c_str(), message, sizeof message);
    EXPECT_EQ(message, "..." + longest.substr(longest.size() - 396));

    char folder[9] = "D:\\Vrok", empty[4] = "", full[4] = "abc";
    PathEnsureBackslash(folder, sizeof folder);
    PathEnsureBackslash(folder, sizeof folder);
    PathEnsureBackslash(empty, sizeof empty);
    PathEnsureBackslash(full, sizeof full);
    EXPECT_STREQ(folder, "D:\\Vrok\\");
    EXPECT_STREQ(empty, "");
    EXPECT_STREQ(full, "abc");
}

TEST(DescriptionLine, ShowsTheVersionAndLeavesOtherLinesAlone)
{
    char line[DESCRIPTION_LINE_SIZE] = "Death to Glitchcorp Version %u.%u";
    DescriptionFormatVersion(line, sizeof line, 3, 49);
    EXPECT_STREQ(line, "Death to Glitchcorp Version 3.49");
    char plain[DESCRIPTION_LINE_SIZE] = "100% sure: %s %n";
    DescriptionFormatVersion(plain, sizeof plain, 3, 49);
    EXPECT_STREQ(plain, "100% sure: %s %n");
    // The largest version numbers are cut to fit the line, always terminated.
    char cut[DESCRIPTION_LINE_SIZE];
    strcpy(cut, (std::string(90, 'x') + "%u.%u").c_str());
    DescriptionFormatVersion(cut, sizeof cut, 4294967295u, 4294967295u);
    EXPECT_EQ(cut, std::string(90, 'x') + "429496729");
}

TEST(TrayTip, ReportsTheActivationAndLosesItsEndPast63Characters)
{
    struct Case { uint32_t shots, grenades; int h, m, s; const char *tip; };
    const Case cases[] = {
        {12, 3, 14, 5, 9, "VROK 95:Shots: 12/Grenades: 3/Last time activated: 14:05:09"},
        {12345, 678, 23, 59, 58, "VROK 95:Shots: 12345/Grenades: 678/Last time activated: 23:59:5"},
        {4294967295u, 0, 0, 0, 0, "VROK 95:Shots: 4294967295/Grenades: 0/Last time activated: 00:0"}};
    for (const Case &c : cases) {
        char tip[TRAY_TIP_SIZE];
        TrayTipFormatActivation(tip, sizeof tip, c.shots, c.grenades, c.h, c.m, c.s);
        EXPECT_STREQ(tip, c.tip);
    }
}
