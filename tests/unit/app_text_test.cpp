// Start-up text: the program folder taken from the module path, joined paths, the version line.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "app/app_text.h"

TEST(ProgramFolder, IsEverythingUpToTheLastSeparator)
{
    char folder[64];
    EXPECT_EQ(ProgramFolderFromPath("D:\\Vrok\\VROK.exe", folder, sizeof folder), 1);
    EXPECT_STREQ(folder, "D:\\Vrok\\");
    EXPECT_EQ(ProgramFolderFromPath("\\\\server\\share\\VROK.exe", folder, sizeof folder), 1);
    EXPECT_STREQ(folder, "\\\\server\\share\\");
    EXPECT_EQ(ProgramFolderFromPath("C:/games/vrok/VROK.exe", folder, sizeof folder), 1);
    EXPECT_STREQ(folder, "C:/games/vrok/");
    EXPECT_EQ(ProgramFolderFromPath("VROK.exe", folder, sizeof folder), 1);
    EXPECT_STREQ(folder, "");
}

TEST(ProgramFolder, ThatDoesNotFitIsRefusedNotCut)
{
    char folder[8];
    EXPECT_EQ(ProgramFolderFromPath("C:\\abcdef\\VROK.exe", folder, sizeof folder), 0);
    EXPECT_STREQ(folder, "");
    EXPECT_EQ(ProgramFolderFromPath("C:\\abc\\VROK.exe", folder, sizeof folder), 1);
    EXPECT_STREQ(folder, "C:\\abc\\");
}

TEST(PathJoin, RefusesWhatWouldNotFit)
{
    char path[17];
    EXPECT_EQ(PathJoin(path, sizeof path, "D:\\Vrok\\", "VROK.INI"), 1);
    EXPECT_STREQ(path, "D:\\Vrok\\VROK.INI");
    EXPECT_EQ(PathJoin(path, sizeof path, "D:\\Vrok2\\", "VROK.INI"), 0);
    EXPECT_STREQ(path, "");
}

TEST(DescriptionLine, ShowsTheVersionAndLeavesOtherLinesAlone)
{
    char line[DESCRIPTION_LINE_SIZE] = "Death to Glitchcorp Version %u.%u";
    DescriptionFormatVersion(line, sizeof line, 3, 49);
    EXPECT_STREQ(line, "Death to Glitchcorp Version 3.49");

    char plain[DESCRIPTION_LINE_SIZE] = "100% sure: %s %n";
    DescriptionFormatVersion(plain, sizeof plain, 3, 49);
    EXPECT_STREQ(plain, "100% sure: %s %n");

    // The largest version numbers still fit the line, cut if need be and always terminated.
    std::string longLine(90, 'x');
    longLine += "%u.%u";
    char cut[DESCRIPTION_LINE_SIZE];
    memcpy(cut, longLine.c_str(), longLine.size() + 1);
    DescriptionFormatVersion(cut, sizeof cut, 4294967295u, 4294967295u);
    EXPECT_EQ(strlen(cut), (size_t)DESCRIPTION_LINE_SIZE - 1);
    EXPECT_EQ(std::string(cut).substr(90), "429496729");
}

TEST(PathShortenFromLeft, KeepsShortPathsAndTheEndOfLongOnes)
{
    char out[16];
    PathShortenFromLeft("C:\\a\\gun.wav", out, sizeof out);
    EXPECT_STREQ(out, "C:\\a\\gun.wav");
    PathShortenFromLeft("C:\\a\\very\\deep\\folder\\gun.wav", out, sizeof out);
    EXPECT_STREQ(out, "...lder\\gun.wav");
    EXPECT_EQ(strlen(out), sizeof out - 1);

    std::string longest(10041, 'x');
    longest.replace(longest.size() - 8, 8, "\\end.wav");
    char message[400];
    PathShortenFromLeft(longest.c_str(), message, sizeof message);
    EXPECT_EQ(strlen(message), sizeof message - 1);
    EXPECT_EQ(std::string(message).substr(sizeof message - 9), "\\end.wav");
}

TEST(PathEnsureBackslash, AddsOneOnlyWhereMissing)
{
    char path[16] = "D:\\Vrok";
    PathEnsureBackslash(path, sizeof path);
    EXPECT_STREQ(path, "D:\\Vrok\\");
    PathEnsureBackslash(path, sizeof path);
    EXPECT_STREQ(path, "D:\\Vrok\\");
    char empty[4] = "";
    PathEnsureBackslash(empty, sizeof empty);
    EXPECT_STREQ(empty, "");
    char full[4] = "abc";
    PathEnsureBackslash(full, sizeof full);
    EXPECT_STREQ(full, "abc");
}

TEST(TrayTip, ReportsTheActivationAndLosesItsEndPast63Characters)
{
    char tip[TRAY_TIP_SIZE];
    TrayTipFormatActivation(tip, sizeof tip, 12, 3, 14, 5, 9);
    EXPECT_STREQ(tip, "VROK 95:Shots: 12/Grenades: 3/Last time activated: 14:05:09");
    // Five-digit shots and three-digit grenades: the last digit of the seconds falls off.
    TrayTipFormatActivation(tip, sizeof tip, 12345, 678, 23, 59, 58);
    EXPECT_STREQ(tip, "VROK 95:Shots: 12345/Grenades: 678/Last time activated: 23:59:5");
    EXPECT_EQ(strlen(tip), 63u);
    // Counts beyond 31 bits are shown as the unsigned numbers they are.
    TrayTipFormatActivation(tip, sizeof tip, 4294967295u, 0, 0, 0, 0);
    EXPECT_STREQ(tip, "VROK 95:Shots: 4294967295/Grenades: 0/Last time activated: 00:0");
}
