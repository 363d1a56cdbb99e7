// VROK.INI on a real file system: what loading reports, and that saving never loses the file.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <string>

#include "app/app_state.h"
#include "app/settings_file.h"
#include "fake_message_box.h"

namespace {

std::string ReadWhole(const std::string &path)
{
    std::string bytes;
    FILE *file = fopen(path.c_str(), "rb");
    if (!file) return "<missing>";
    char chunk[4096];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
    fclose(file);
    return bytes;
}

void WriteWhole(const std::string &path, const std::string &bytes)
{
    FILE *file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

bool Exists(const std::string &path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class SettingsFileTest : public ::testing::Test {
protected:
    std::string folder;
    std::string ini;

    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        const ::testing::TestInfo *info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = std::string(temp) + "vrok-settings-" + info->name() + "\\";
        RemoveAll();
        CreateDirectoryA(folder.c_str(), NULL);
        ini = folder + "VROK.INI";
        AppStateReset();
        snprintf(App.programFolder, sizeof App.programFolder, "%s", folder.c_str());
        snprintf(App.settingsPath, sizeof App.settingsPath, "%s", ini.c_str());
        FakeMessageBoxInstall();
    }

    void TearDown() override
    {
        FakeMessageBoxRemove();
        RemoveAll();
    }

    void RemoveAll()
    {
        DeleteFileA((folder + "VROK.INI").c_str());
        DeleteFileA((folder + "VROK.INI.new").c_str());
        RemoveDirectoryA((folder + "VROK.INI.new").c_str());
        RemoveDirectoryA(folder.c_str());
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

TEST_F(SettingsFileTest, MissingFileGivesDefaultsSilentlyAndTheFirstSaveWritesThem)
{
    Settings.profiles[2].fireSpeed = 7;
    EXPECT_EQ(SettingsLoad(), 0);
    EXPECT_TRUE(FakeMessageBoxCalls().empty());
    EXPECT_EQ(Settings.profiles[2].fireSpeed, 495);
    EXPECT_EQ(Settings.profiles[0].soundSpeed, 490);

    EXPECT_EQ(SettingsSave(), 1);
    EXPECT_EQ(ReadWhole(ini), DefaultText());
    EXPECT_FALSE(Exists(folder + "VROK.INI.new"));
}

TEST_F(SettingsFileTest, CorruptOrEmptyFileIsReportedThenDefaults)
{
    const char *corrupt[] = {"", "VROK32\r\n3.47\r\n0\r\n0\r\nshort\r\n", "VROK32\n3.47\n0\n1\n"};
    for (const char *bytes : corrupt) {
        SCOPED_TRACE(bytes);
        WriteWhole(ini, bytes);
        FakeMessageBoxInstall();
        Settings.descriptionVisible = 1;
        Settings.activeProfile = 2;
        EXPECT_EQ(SettingsLoad(), 0);
        ASSERT_EQ(FakeMessageBoxCalls().size(), 1u);
        const MessageBoxCall &box = FakeMessageBoxCalls()[0];
        EXPECT_EQ(box.owner, (HWND)NULL);
        EXPECT_EQ(box.text, "Corrupt VROK.INI file!");
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.type, (UINT)MB_ICONERROR);
        EXPECT_EQ(Settings.activeProfile, 0);
        EXPECT_EQ(Settings.profiles[1].grenadeDelay, 1500);
    }
    // The one value a corrupt file leaves behind: line 4 of the second file.
    WriteWhole(ini, corrupt[1]);
    FakeMessageBoxInstall();
    SettingsLoad();
    EXPECT_EQ(Settings.descriptionVisible, 0);
}

TEST_F(SettingsFileTest, LoadedValuesOutsideTheirRangesAreBroughtBack)
{
    SettingsDefaults();
    Settings.activeProfile = 7;
    Settings.profiles[0].fireSpeed = 0;
    Settings.profiles[1].soundSpeed = 9999;
    Settings.profiles[2].grenadeDelay = -5;
    Settings.profiles[2].fireSpeed = 250;
    ASSERT_EQ(SettingsSave(), 1);
    AppStateReset();
    snprintf(App.programFolder, sizeof App.programFolder, "%s", folder.c_str());
    snprintf(App.settingsPath, sizeof App.settingsPath, "%s", ini.c_str());

    EXPECT_EQ(SettingsLoad(), 1);
    EXPECT_TRUE(FakeMessageBoxCalls().empty());
    EXPECT_EQ(Settings.activeProfile, 0);
    EXPECT_EQ(Settings.profiles[0].fireSpeed, 1);
    EXPECT_EQ(Settings.profiles[1].soundSpeed, 500);
    EXPECT_EQ(Settings.profiles[2].grenadeDelay, 0);
    EXPECT_EQ(Settings.profiles[2].fireSpeed, 250);
}

TEST_F(SettingsFileTest, SavingReplacesTheWholeFile)
{
    WriteWhole(ini, std::string(5000, 'x'));
    SettingsDefaults();
    ASSERT_EQ(SettingsSave(), 1);
    EXPECT_EQ(ReadWhole(ini), DefaultText());
    EXPECT_FALSE(Exists(folder + "VROK.INI.new"));
}

TEST_F(SettingsFileTest, AFailedSaveKeepsTheOldFileAndSaysNothing)
{
    WriteWhole(ini, "the old file");
    // Something in the way of the new file: it cannot be created.
    ASSERT_TRUE(CreateDirectoryA((folder + "VROK.INI.new").c_str(), NULL));
    SettingsDefaults();
    EXPECT_EQ(SettingsSave(), 0);
    EXPECT_EQ(ReadWhole(ini), "the old file");
    EXPECT_TRUE(FakeMessageBoxCalls().empty());

    // A folder that does not exist: nothing written, nothing reported.
    snprintf(App.settingsPath, sizeof App.settingsPath, "%snot-there\\VROK.INI", folder.c_str());
    EXPECT_EQ(SettingsSave(), 0);
    EXPECT_FALSE(Exists(folder + "not-there"));
    EXPECT_TRUE(FakeMessageBoxCalls().empty());
}

TEST_F(SettingsFileTest, LongestPathsSurviveSaveAndLoad)
{
    SettingsDefaults();
    for (int i = 0; i < PROFILE_COUNT; ++i) {
        Profile &profile = Settings.profiles[i];
        char *paths[] = {profile.machineGunSound, profile.grenadeSound, profile.finalSound,
                         profile.cuckooSound};
        for (int j = 0; j < 4; ++j) {
            memset(paths[j], 'a' + i * 4 + j, PATH_BUFFER_SIZE - 1);
            paths[j][PATH_BUFFER_SIZE - 1] = '\0';
        }
    }
    Settings.profiles[1].grenadeDelay = 29999;
    Settings.activeProfile = 2;
    ASSERT_EQ(SettingsSave(), 1);
    EXPECT_GT(ReadWhole(ini).size(), (size_t)12 * 10041);

    SettingsDefaults();
    EXPECT_EQ(SettingsLoad(), 1);
    EXPECT_TRUE(FakeMessageBoxCalls().empty());
    EXPECT_EQ(Settings.activeProfile, 2);
    EXPECT_EQ(Settings.profiles[1].grenadeDelay, 29999);
    EXPECT_EQ(strlen(Settings.profiles[2].cuckooSound), (size_t)PATH_BUFFER_SIZE - 1);
    EXPECT_EQ(Settings.profiles[2].cuckooSound[0], 'a' + 11);
    EXPECT_EQ(Settings.profiles[0].machineGunSound[PATH_BUFFER_SIZE - 2], 'a');
}

}  // namespace
