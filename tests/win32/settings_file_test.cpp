// VROK.INI on a real file system: what loading reports, and that saving never loses the file.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <fstream>
#include <iterator>
#include <string>

#include "app/app_state.h"
#include "app/settings_file.h"
#include "fake_dsound.h"
#include "fake_message_box.h"

namespace {

std::string ReadWhole(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    return file ? std::string(std::istreambuf_iterator<char>(file), {}) : "<missing>";
}

void WriteWhole(const std::string &path, const std::string &bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// On the shared fixture for its folder, App, Settings and message box reset.
class SettingsFileTest : public FakeDirectSoundTest {
protected:
    std::string ini;

    void SetUp() override
    {
        FakeDirectSoundTest::SetUp();
        ini = folder + "VROK.INI";
        snprintf(App.settingsPath, sizeof App.settingsPath, "%s", ini.c_str());
        RemoveFiles();  // a crashed run may have left them
    }

    void TearDown() override
    {
        RemoveFiles();
        FakeDirectSoundTest::TearDown();
    }

    void RemoveFiles()
    {
        DeleteFileA(ini.c_str());
        DeleteFileA((ini + ".new").c_str());
        RemoveDirectoryA((ini + ".new").c_str());
    }

    std::string DefaultText()
    {
        std::string text = "VROK32\r\n3.47\r\n0\r\n" + std::to_string(Settings.descriptionVisible) + "\r\n";
        for (int i = 0; i < 3; ++i) {
            text += folder + "vrokgun.wav\r\n" + folder + "vrokgren.wav\r\n" + folder + "vrokhlvb.wav\r\n";
            text += folder + (i == 0 ? "vrokkuck.wav\r\n" : "teckuc1.wav\r\n");
            text += "495\r\n490\r\n1500\r\n1\r\n1\r\n";  // Wine is an NT platform
        }
        return text;
    }
};

TEST_F(SettingsFileTest, AMissingFileGivesDefaultsSilentlyAndEverySaveReplacesTheWholeFile)
{
    Settings.profiles[2].fireSpeed = 7;
    EXPECT_EQ(SettingsLoad(), 0);
    EXPECT_TRUE(FakeMessageBoxCalls().empty());
    EXPECT_EQ(Settings.profiles[2].fireSpeed, 495);
    EXPECT_EQ(SettingsSave(), 1);
    EXPECT_EQ(ReadWhole(ini), DefaultText());
    WriteWhole(ini, std::string(5000, 'x'));
    EXPECT_EQ(SettingsSave(), 1);
    EXPECT_EQ(ReadWhole(ini), DefaultText());
    EXPECT_EQ(ReadWhole(ini + ".new"), "<missing>");
}

TEST_F(SettingsFileTest, ACorruptOrEmptyFileIsReportedThenDefaultsLeavingOnlyLineFour)
{
    const struct {
        const char *bytes;
        int descriptionVisible;
    } cases[] = {{"", 1}, {"VROK32\r\n3.47\r\n0\r\n0\r\nshort\r\n", 0}, {"VROK32\n3.47\n0\n1\n", 1}};
    for (const auto &each : cases) {
        SCOPED_TRACE(each.bytes);
        WriteWhole(ini, each.bytes);
        FakeMessageBoxInstall();
        Settings.descriptionVisible = 1;
        Settings.activeProfile = 2;
        Settings.profiles[1].grenadeDelay = 7;
        EXPECT_EQ(SettingsLoad(), 0);
        EXPECT_EQ(FakeMessageBoxShown(), std::vector<std::string>{"Error: Corrupt VROK.INI file! (0x10)"});
        EXPECT_EQ(Settings.activeProfile, 0);
        EXPECT_EQ(Settings.profiles[1].grenadeDelay, 1500);
        EXPECT_EQ(Settings.descriptionVisible, each.descriptionVisible);
    }
}

TEST_F(SettingsFileTest, AFailedSaveKeepsTheOldFileAndSaysNothing)
{
    WriteWhole(ini, "the old file");
    // Something in the way of the new file, then a folder that does not exist.
    ASSERT_TRUE(CreateDirectoryA((ini + ".new").c_str(), NULL));
    EXPECT_EQ(SettingsSave(), 0);
    EXPECT_EQ(ReadWhole(ini), "the old file");
    snprintf(App.settingsPath, sizeof App.settingsPath, "%snot-there\\VROK.INI", folder.c_str());
    EXPECT_EQ(SettingsSave(), 0);
    EXPECT_EQ(GetFileAttributesA((folder + "not-there").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(FakeMessageBoxCalls().empty());
}

TEST_F(SettingsFileTest, LongestPathsSurviveSaveAndLoadAndValuesOutsideTheirRangesComeBackInThem)
{
    for (int i = 0; i < PROFILE_COUNT; ++i)
        for (int slot = 1; slot <= 4; ++slot) {
            memset(ProfileSoundPath(i, slot), 'a' + i * 4 + slot - 1, PATH_BUFFER_SIZE - 1);
            ProfileSoundPath(i, slot)[PATH_BUFFER_SIZE - 1] = '\0';
        }
    Settings.activeProfile = 2;
    Settings.profiles[0].fireSpeed = 0;
    Settings.profiles[1].soundSpeed = 9999;
    Settings.profiles[1].grenadeDelay = 29999;
    Settings.profiles[2].grenadeDelay = -5;
    Settings.profiles[2].fireSpeed = 250;
    ASSERT_EQ(SettingsSave(), 1);
    SettingsDefaults();
    EXPECT_EQ(SettingsLoad(), 1);
    EXPECT_TRUE(FakeMessageBoxCalls().empty());
    EXPECT_EQ(strlen(Settings.profiles[2].cuckooSound), (size_t)PATH_BUFFER_SIZE - 1);
    EXPECT_EQ(Settings.profiles[2].cuckooSound[0], 'a' + 11);
    EXPECT_EQ(Settings.profiles[0].machineGunSound[PATH_BUFFER_SIZE - 2], 'a');
    EXPECT_EQ(Settings.activeProfile, 2);
    EXPECT_EQ(Settings.profiles[0].fireSpeed, 1);
    EXPECT_EQ(Settings.profiles[1].soundSpeed, 500);
    EXPECT_EQ(Settings.profiles[1].grenadeDelay, 29999);
    EXPECT_EQ(Settings.profiles[2].grenadeDelay, 0);
    EXPECT_EQ(Settings.profiles[2].fireSpeed, 250);
}

}  // namespace
