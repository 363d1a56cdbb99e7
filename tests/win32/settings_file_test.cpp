// VROK.INI on a real file system: saved whole or not at all; a damaged one reported, a missing one not.
#include "harness.h"

#include <filesystem>

#include "app/settings_file.h"

TEST_F(Win32Test, SettingsFile)
{
    std::string ini = folder + "VROK.INI";
    snprintf(App.settingsPath, sizeof App.settingsPath, "%s", ini.c_str());
    EXPECT_EQ(SettingsLoad(), 0);
    ASSERT_EQ(SettingsSave(), 1);
    auto saved = std::filesystem::file_size(ini);
    Write("VROK.INI", std::string(5000, 'x'));
    EXPECT_EQ(SettingsSave(), 1);
    EXPECT_EQ(std::filesystem::file_size(ini), saved);
    EXPECT_FALSE(std::filesystem::exists(ini + ".new"));
    // Something in the way of the new file: the old one stays.
    ASSERT_TRUE(std::filesystem::create_directory(ini + ".new"));
    Write("VROK.INI", "VROK32\n");
    EXPECT_EQ(SettingsSave(), 0);
    EXPECT_EQ(std::filesystem::file_size(ini), 7u);
    EXPECT_EQ(SettingsLoad(), 0);
    EXPECT_TRUE(BoxesSay({"Corrupt VROK.INI"}));
}
