// VROK.INI and the program's paths on a real file system: saved whole or not at all, a damaged one
// reported, a missing one not, a held one kept; a folder named in another script used by its short name.
#include "harness.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "app/settings_file.h"

TEST_F(Win32Test, VrokIniIsReplacedWholeOrNotAtAll)
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

static std::string Read(const char *path) { std::ostringstream bytes; return bytes << std::ifstream(path, std::ios::binary).rdbuf(), bytes.str(); }

TEST_F(Win32Test, ASettingsFileHeldWhileVrokStartsIsLeftAsItIs)
{
    snprintf(App.settingsPath, sizeof App.settingsPath, "%sVROK.INI", folder.c_str());
    Settings.profiles[1].fireSpeed = 123;
    ASSERT_EQ(SettingsSave(), 1);
    const std::string saved = Read(App.settingsPath);
    auto hold = [](DWORD sharing) { return CreateFileA(App.settingsPath, GENERIC_READ, sharing, NULL, OPEN_EXISTING, 0, NULL); };
    // Held, sharing nothing, by another program: the defaults, no box, and the file not overwritten.
    HANDLE held = hold(0);
    EXPECT_EQ(SettingsLoad(), 0);
    CloseHandle(held);
    EXPECT_EQ(Settings.profiles[1].fireSpeed, 495);
    EXPECT_TRUE(BoxesSay({}));
    EXPECT_EQ(SettingsSave(), 0);
    EXPECT_EQ(Read(App.settingsPath), saved);
    // Held for a moment, or read by another reader at the same time: read as it is.
    std::thread release([held = hold(0)] { Sleep(300); CloseHandle(held); });
    EXPECT_EQ(SettingsLoad(), 1);
    release.join();
    held = hold(FILE_SHARE_READ);
    EXPECT_EQ(SettingsLoad(), 1);
    CloseHandle(held);
    EXPECT_EQ(Settings.profiles[1].fireSpeed, 123);
}

TEST_F(Win32Test, AFolderNamedInAnotherScriptIsReachedByItsShortName)
{
    std::wstring named = std::wstring(folder.begin(), folder.end()) + L"\u0422\u0435\u0441\u0442\u20ac\u0436";
    ASSERT_TRUE(CreateDirectoryW(named.c_str(), NULL));
    char ansi[PATH_BUFFER_SIZE];
    ASSERT_EQ(AppAnsiPath(named.c_str(), ansi, sizeof ansi), 1);
    EXPECT_TRUE(strchr(ansi, '?') == NULL && GetFileAttributesA(ansi) != INVALID_FILE_ATTRIBUTES) << ansi;
    // A name the code page spells stays as it is; one without a short name is not reached, not
    // even by a look-alike ("a" for "\u0105") that would name another file.
    ASSERT_EQ(AppAnsiPath(L"C:\\Caf\u00e9\\none.wav", ansi, sizeof ansi), 1);
    EXPECT_STREQ(ansi, "C:\\Caf\xe9\\none.wav");
    EXPECT_EQ(AppAnsiPath(L"C:\\\u0105.wav", ansi, sizeof ansi), 0) << ansi;
}
