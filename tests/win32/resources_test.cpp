// The built VROK.exe carries its version record, menu, icons, cursors and bitmaps.
#include <windows.h>

#include <gtest/gtest.h>

#include <string.h>

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
    static void SetUpTestSuite()
    {
        program = LoadLibraryExA(ProgramPath().c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    }
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

std::string VersionString(const std::vector<char> &record, const char *name)
{
    char *value = NULL;
    UINT length = 0;
    std::string key = std::string("\\StringFileInfo\\040904E4\\") + name;
    if (!VerQueryValueA(record.data(), key.c_str(), (void **)&value, &length)) return "<missing>";
    return std::string(value);
}

TEST_F(ResourcesTest, VersionRecordIs349)
{
    std::string path = ProgramPath();
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> record(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, record.data()));
    VS_FIXEDFILEINFO *fixed = NULL;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(record.data(), "\\", (void **)&fixed, &length));
    EXPECT_EQ(length, 52u);
    EXPECT_EQ(fixed->dwFileVersionMS, (DWORD)MAKELONG(49, 3));
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, (DWORD)MAKELONG(49, 3));
    EXPECT_EQ(VersionString(record, "Comments"), "Let off steam! Shoot your desktop!");
    EXPECT_EQ(VersionString(record, "FileDescription"), "VROK");
    EXPECT_EQ(VersionString(record, "InternalName"), "VROK");
    EXPECT_EQ(VersionString(record, "ProductName"), "VROK");
    EXPECT_EQ(VersionString(record, "OriginalFilename"), "VROK.exe");
    EXPECT_EQ(VersionString(record, "FileVersion"), "3, 49, 0, 0");
    EXPECT_EQ(VersionString(record, "ProductVersion"), "3, 49, 0, 0");
}

TEST_F(ResourcesTest, TrayMenuHasTheCommandsInOrder)
{
    ASSERT_NE(program, (HMODULE)NULL);
    HMENU menu = LoadMenuA(program, RES_MENU_TRAY);
    ASSERT_NE(menu, (HMENU)NULL);
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_NE(popup, (HMENU)NULL);
    struct Item {
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
        UINT state = GetMenuState(popup, i, MF_BYPOSITION);
        if (expected[i].id == 0) {
            EXPECT_TRUE(state & MF_SEPARATOR) << "item " << i;
        } else {
            EXPECT_EQ(GetMenuItemID(popup, i), expected[i].id);
            EXPECT_STREQ(text, expected[i].text);
        }
    }
    DestroyMenu(menu);
}

TEST_F(ResourcesTest, IconsHaveTrayAndClassSizes)
{
    for (const char *name : {RES_ICON_MAIN, RES_ICON_WINK_HALF, RES_ICON_WINK_SHUT}) {
        SCOPED_TRACE(name);
        std::vector<unsigned char> group = Bytes(name, RT_GROUP_ICON);
        ASSERT_GE(group.size(), 6u);
        int count = group[4] | group[5] << 8;
        bool has16 = false, has32 = false;
        for (int i = 0; i < count && 6 + 14 * (i + 1) <= (int)group.size(); ++i) {
            has16 |= group[6 + 14 * i] == 16;
            has32 |= group[6 + 14 * i] == 32;
        }
        EXPECT_TRUE(has16);
        EXPECT_TRUE(has32);
    }
}

TEST_F(ResourcesTest, CursorsAreMonochrome32WithTheCrosshairHotSpotAtItsCentre)
{
    for (const char *name : {RES_CURSOR_SHOOTING, RES_CURSOR_MAIN}) {
        SCOPED_TRACE(name);
        std::vector<unsigned char> group = Bytes(name, RT_GROUP_CURSOR);
        ASSERT_GE(group.size(), 6u + 14u);
        int id = group[6 + 12] | group[6 + 13] << 8;
        std::vector<unsigned char> cursor = Bytes(MAKEINTRESOURCEA(id), RT_CURSOR);
        ASSERT_GE(cursor.size(), 4u + sizeof(BITMAPINFOHEADER));
        BITMAPINFOHEADER header;
        memcpy(&header, cursor.data() + 4, sizeof header);
        EXPECT_EQ(header.biWidth, 32);
        EXPECT_EQ(header.biHeight, 64);  // colour and mask
        EXPECT_EQ(header.biBitCount, 1);
        if (strcmp(name, RES_CURSOR_SHOOTING) == 0) {
            EXPECT_EQ(cursor[0] | cursor[1] << 8, 15);
            EXPECT_EQ(cursor[2] | cursor[3] << 8, 15);
        }
    }
}

TEST_F(ResourcesTest, HoleAndCraterUseOnlyWhiteBlackAndDarkGrey)
{
    struct {
        const char *name;
        int size;
    } bitmaps[] = {{RES_BITMAP_HOLE, 15}, {RES_BITMAP_CRATER, 128}};
    for (const auto &bitmap : bitmaps) {
        SCOPED_TRACE(bitmap.name);
        std::vector<unsigned char> bytes = Bytes(bitmap.name, RT_BITMAP);
        ASSERT_GE(bytes.size(), sizeof(BITMAPINFOHEADER) + 16 * 4);
        BITMAPINFOHEADER header;
        memcpy(&header, bytes.data(), sizeof header);
        EXPECT_EQ(header.biWidth, bitmap.size);
        EXPECT_EQ(header.biHeight, bitmap.size);
        ASSERT_EQ(header.biBitCount, 4);
        const RGBQUAD *palette = (const RGBQUAD *)(bytes.data() + header.biSize);
        const unsigned char *pixels = bytes.data() + header.biSize + 16 * sizeof(RGBQUAD);
        int stride = ((bitmap.size * 4 + 31) / 32) * 4;
        ASSERT_GE(bytes.size(), (size_t)(pixels - bytes.data()) + (size_t)stride * bitmap.size);
        int black = 0, white = 0;
        for (int y = 0; y < bitmap.size; ++y)
            for (int x = 0; x < bitmap.size; ++x) {
                unsigned char pair = pixels[y * stride + x / 2];
                RGBQUAD colour = palette[x % 2 ? pair & 15 : pair >> 4];
                int grey = colour.rgbRed;
                bool allowed = colour.rgbRed == colour.rgbGreen && colour.rgbGreen == colour.rgbBlue &&
                               (grey == 0 || grey == 128 || grey == 255);
                ASSERT_TRUE(allowed) << "pixel " << x << "," << y;
                black += grey == 0;
                white += grey == 255;
            }
        // A hole must blacken something and leave its surroundings alone.
        EXPECT_GT(black, 0);
        EXPECT_GT(white, 0);
    }
}

}  // namespace
