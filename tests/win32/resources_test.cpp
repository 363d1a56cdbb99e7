// The built VROK.exe carries its version record, menu, icons, cursors and bitmaps.
#include <windows.h>

#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "resources/resource.h"

namespace {

std::string ProgramPath()
{
    char path[MAX_PATH];
    GetModuleFileNameA(NULL, path, sizeof path);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of("\\/") + 1) + "VROK.exe";
}

class ResourcesTest : public ::testing::Test {
protected:
    static HMODULE program;
    static void SetUpTestSuite() { program = LoadLibraryExA(ProgramPath().c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE); }
    static void TearDownTestSuite() { FreeLibrary(program); }

    // The bytes of a resource, empty when it is missing.
    static std::vector<unsigned char> Bytes(const char *name, LPCSTR type)
    {
        HRSRC found = FindResourceA(program, name, type);
        if (!found) return {};
        const unsigned char *data = (const unsigned char *)LockResource(LoadResource(program, found));
        return std::vector<unsigned char>(data, data + SizeofResource(program, found));
    }
};
HMODULE ResourcesTest::program;

TEST_F(ResourcesTest, VersionRecordIs349)
{
    std::string path = ProgramPath();
    DWORD handle = 0, size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> record(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, record.data()));
    VS_FIXEDFILEINFO *fixed = NULL;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(record.data(), "\\", (void **)&fixed, &length));
    EXPECT_EQ(fixed->dwFileVersionMS, (DWORD)MAKELONG(49, 3));
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, (DWORD)MAKELONG(49, 3));
    const char *strings[][2] = {{"Comments", "Let off steam! Shoot your desktop!"}, {"FileDescription", "VROK"},
                                {"InternalName", "VROK"}, {"ProductName", "VROK"},
                                {"OriginalFilename", "VROK.exe"}, {"FileVersion", "3, 49, 0, 0"},
                                {"ProductVersion", "3, 49, 0, 0"}};
    for (const auto &each : strings) {
        char *value = NULL;
        std::string key = std::string("\\StringFileInfo\\040904E4\\") + each[0];
        ASSERT_TRUE(VerQueryValueA(record.data(), key.c_str(), (void **)&value, &length)) << key;
        EXPECT_STREQ(value, each[1]);
    }
}

TEST_F(ResourcesTest, TrayMenuHasTheCommandsInOrder)
{
    HMENU menu = LoadMenuA(program, RES_MENU_TRAY);
    ASSERT_NE(menu, (HMENU)NULL);
    HMENU popup = GetSubMenu(menu, 0);
    const struct {
        UINT id;
        const char *text;
    } expected[] = {{CMD_ACTIVATE, "Ac&tivate!"}, {CMD_CLOSE, "&Close"}, {0, ""},
                    {CMD_CONFIGURATION, "C&onfiguration"}, {CMD_STATISTICS, "S&tatistics"},
                    {0, ""}, {CMD_HELP, "&Help"}, {CMD_ABOUT, "&About Vrok..."},
                    {CMD_ABOUT_ABOUT, "A&bout About..."}};
    ASSERT_EQ(GetMenuItemCount(popup), 9);
    for (int i = 0; i < 9; ++i) {
        char text[64] = "";
        GetMenuStringA(popup, i, text, sizeof text, MF_BYPOSITION);
        EXPECT_EQ((GetMenuState(popup, i, MF_BYPOSITION) & MF_SEPARATOR) != 0, expected[i].id == 0) << i;
        EXPECT_EQ(GetMenuItemID(popup, i), expected[i].id) << i;
        EXPECT_STREQ(text, expected[i].text);
    }
    DestroyMenu(menu);
}

TEST_F(ResourcesTest, IconsHaveTrayAndClassSizesAndCursorsAreMonochrome32)
{
    for (const char *name : {RES_ICON_MAIN, RES_ICON_WINK_HALF, RES_ICON_WINK_SHUT}) {
        std::vector<unsigned char> group = Bytes(name, RT_GROUP_ICON);
        std::vector<int> sizes;
        for (size_t at = 6; at + 14 <= group.size(); at += 14) sizes.push_back(group[at]);
        EXPECT_NE(std::find(sizes.begin(), sizes.end(), 16), sizes.end()) << name;
        EXPECT_NE(std::find(sizes.begin(), sizes.end(), 32), sizes.end()) << name;
    }
    for (const char *name : {RES_CURSOR_SHOOTING, RES_CURSOR_MAIN}) {
        SCOPED_TRACE(name);
        std::vector<unsigned char> group = Bytes(name, RT_GROUP_CURSOR);
        ASSERT_GE(group.size(), 6u + 14u);
        std::vector<unsigned char> cursor = Bytes(MAKEINTRESOURCEA(group[6 + 12] | group[6 + 13] << 8), RT_CURSOR);
        ASSERT_GE(cursor.size(), 4u + sizeof(BITMAPINFOHEADER));
        BITMAPINFOHEADER header;
        memcpy(&header, cursor.data() + 4, sizeof header);
        EXPECT_EQ(header.biWidth, 32);
        EXPECT_EQ(header.biHeight, 64);  // colour and mask
        EXPECT_EQ(header.biBitCount, 1);
        if (strcmp(name, RES_CURSOR_SHOOTING) == 0) {
            EXPECT_EQ(cursor[0] | cursor[1] << 8, 15) << "hot spot x";
            EXPECT_EQ(cursor[2] | cursor[3] << 8, 15) << "hot spot y";
        }
    }
}

TEST_F(ResourcesTest, HoleAndCraterUseOnlyWhiteBlackAndDarkGreyAndBothBlackAndWhite)
{
    for (const auto &[name, side] : {std::pair<const char *, int>{RES_BITMAP_HOLE, 15}, {RES_BITMAP_CRATER, 128}}) {
        HBITMAP bitmap = LoadBitmapA(program, name);
        BITMAP size = {};
        ASSERT_TRUE(GetObjectA(bitmap, sizeof size, &size)) << name;
        EXPECT_EQ(size.bmWidth, side) << name;
        EXPECT_EQ(size.bmHeight, size.bmWidth) << name;
        HDC memory = CreateCompatibleDC(NULL);
        HGDIOBJ previous = SelectObject(memory, bitmap);
        std::map<COLORREF, int> count;
        for (int y = 0; y < size.bmHeight; ++y)
            for (int x = 0; x < size.bmWidth; ++x) ++count[GetPixel(memory, x, y)];
        SelectObject(memory, previous);
        DeleteDC(memory);
        DeleteObject(bitmap);
        // A hole must blacken something and leave its surroundings alone.
        EXPECT_GT(count[RGB(0, 0, 0)], 0) << name;
        EXPECT_GT(count[RGB(255, 255, 255)], 0) << name;
        EXPECT_EQ(count.size(), count.count(RGB(128, 128, 128)) + 2u) << name;
    }
}

}  // namespace

namespace {

TEST_F(ResourcesTest, ManifestDeclaresPerMonitorDpiAwarenessAndWindows10)
{
    std::vector<unsigned char> bytes = Bytes(MAKEINTRESOURCEA(VROK_MANIFEST_ID), RT_MANIFEST);
    std::string manifest(bytes.begin(), bytes.end());
    EXPECT_NE(manifest.find("PerMonitorV2, PerMonitor, System"), std::string::npos);
    EXPECT_NE(manifest.find("true/pm"), std::string::npos);
    EXPECT_NE(manifest.find("{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"), std::string::npos);
}

}  // namespace
