// The main window with a real tray icon: the wink, the dialog guard and the tip.
#include <windows.h>

#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/tray_icon.h"
#include "fake_message_box.h"
#include "resources/resource.h"
#include "sound/sound_engine.h"

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    HWND window = NULL;

    void SetUp() override
    {
        AppStateReset();
        App.instance = GetModuleHandleA(NULL);
        snprintf(App.programFolder, sizeof App.programFolder, "C:\\no-such-folder\\");
        SoundEngineReset();
        SoundSetEnabled(0);  // the sound probe has tests of its own
        FakeMessageBoxInstall();
        MainWindowRegister(App.instance);
        window = MainWindowCreate(App.instance);
        ASSERT_NE(window, (HWND)NULL);
    }

    void TearDown() override
    {
        DestroyWindow(window);
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {}  // the WM_QUIT of the destruction
        FakeMessageBoxRemove();
    }
};

// Pumps messages until the wink has ended, noting the tray icon after every step.
std::vector<HICON> WinkFrames(void)
{
    std::vector<HICON> frames;
    DWORD start = GetTickCount();
    HICON shown = TrayIcon.record.hIcon;
    while (TrayIcon.animationStep != 0 && GetTickCount() - start < 3000) {
        MSG message;
        if (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        if (TrayIcon.record.hIcon != shown) frames.push_back(shown = TrayIcon.record.hIcon);
        if (frames.size() == 1) SendMessageA(App.mainWindow, MSG_TRAY_NOTIFY, 0, WM_MOUSEMOVE);
        Sleep(1);
    }
    return frames;
}

TEST_F(MainWindowTest, AWinkShowsThreeFramesAndEndsOnTheFaceWithoutRestarting)
{
    const HICON *icons = TrayIcon.icons;
    ASSERT_NE(icons[TRAY_ICON_MAIN], (HICON)NULL);
    EXPECT_EQ(TrayIcon.record.hIcon, icons[TRAY_ICON_MAIN]);
    DWORD start = GetTickCount();
    SendMessageA(window, MSG_TRAY_NOTIFY, 0, WM_MOUSEMOVE);
    EXPECT_EQ(TrayIcon.animationStep, 1);
    // A move during the wink (sent after the first frame) neither restarts nor prolongs it.
    std::vector<HICON> frames = WinkFrames();
    DWORD took = GetTickCount() - start;
    std::vector<HICON> expected = {icons[TRAY_ICON_WINK_HALF], icons[TRAY_ICON_WINK_SHUT],
                                   icons[TRAY_ICON_WINK_HALF], icons[TRAY_ICON_MAIN]};
    EXPECT_EQ(frames, expected);
    EXPECT_GE(took, 350u);
    EXPECT_LT(took, 1500u);
    EXPECT_EQ(TrayIcon.animationStep, 0);
    EXPECT_FALSE(KillTimer(window, TIMER_TRAY_WINK)) << "the wink's timer outlived it";
}

TEST_F(MainWindowTest, TheTipKeepsItsFirst63Characters)
{
    EXPECT_STREQ(TrayIcon.record.szTip, "VROK 95: Let off steam!!!");
    std::string longTip(80, 'x');
    longTip.replace(60, 4, "ABCD");
    TrayTipSet(longTip.c_str());
    EXPECT_EQ(std::string(TrayIcon.record.szTip), longTip.substr(0, 63));
}

// Runs inside the modal statistics dialog: the guard holds back a second dialog, while help and
// activation still work; then the dialog is closed.
VOID CALLBACK WhileStatisticsOpen(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(NULL, timer);
    HWND statistics = FindWindowA("#32770", "STATISTICS");
    EXPECT_NE(statistics, (HWND)NULL);
    EXPECT_EQ(MainWindow.dialogGuard, 1);
    SendMessageA(App.mainWindow, WM_COMMAND, CMD_ABOUT, 0);  // would not return until closed
    EXPECT_EQ(FindWindowA("#32770", "About VROK..."), (HWND)NULL);
    SendMessageA(App.mainWindow, WM_SYSCOMMAND, CMD_HELP, 0);
    EXPECT_EQ(FakeMessageBoxCalls().size(), 1u);
    SendMessageA(App.mainWindow, WM_COMMAND, CMD_ACTIVATE, 0);
    MSG message;
    EXPECT_TRUE(PeekMessageA(&message, App.mainWindow, MSG_START_SHOOTING, MSG_START_SHOOTING, PM_REMOVE));
    if (statistics) SendMessageA(GetDlgItem(statistics, IDC_DIALOG_OK), BM_CLICK, 0, 0);
}

TEST_F(MainWindowTest, OneDialogAtATimeWhileHelpAndActivationStillWork)
{
    Settings.descriptionVisible = 0;
    SetTimer(NULL, 0, 200, WhileStatisticsOpen);
    SendMessageA(window, WM_COMMAND, CMD_STATISTICS, 0);
    EXPECT_EQ(MainWindow.dialogGuard, 0);
    ASSERT_EQ(FakeMessageBoxCalls().size(), 1u);
    EXPECT_EQ(FakeMessageBoxCalls()[0].caption, "Help Error");
    EXPECT_EQ(FakeMessageBoxCalls()[0].text,
              "Can\xB4t locate the help file C:\\no-such-folder\\VROK.HLP. Copy the help file VROK.HLP to that location.");
    EXPECT_EQ(FakeMessageBoxCalls()[0].type, (UINT)(MB_SYSTEMMODAL | MB_ICONINFORMATION));
}

}  // namespace
