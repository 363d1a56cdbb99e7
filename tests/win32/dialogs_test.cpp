// The real configuration, statistics and about dialogs driven with messages, on the fake DirectSound.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/tray_icon.h"
#include "dialogs/about_dialog.h"
#include "dialogs/config_dialog.h"
#include "dialogs/statistics_dialog.h"
#include "fake_dsound.h"
#include "fake_message_box.h"
#include "resources/resource.h"
#include "shooting/statistics.h"
#include "sound/sound_engine.h"

namespace {

typedef std::vector<std::string> Texts;

// What the open-file dialog is told, from inside its own modal loop, by a thread timer.
struct ChooserScript {
    std::string file;   // typed into its name box
    int plays;          // how often to press the template's Play first
    int choose;         // then OK (1) or Cancel (0)
    HWND seen;          // the chooser that was answered
    std::string shown;  // what its name box held when it came up
} script;
HWND dialogUnderTest;

BOOL CALLBACK FindChooser(HWND window, LPARAM found)
{
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (strcmp(name, "#32770") != 0 || window == dialogUnderTest || !IsWindowVisible(window)) return TRUE;
    // Its owner is disabled once it is made and its modal loop runs: a half-made one is left alone.
    if (IsWindowEnabled(dialogUnderTest)) return TRUE;
    *(HWND *)found = window;
    return FALSE;
}

void CALLBACK AnswerChooser(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND chooser = NULL;
    EnumThreadWindows(GetCurrentThreadId(), FindChooser, (LPARAM)&chooser);
    if (!chooser) return;
    KillTimer(NULL, timer);
    script.seen = chooser;
    HWND name = GetDlgItem(chooser, 0x47c);  // cmb13, the name box of the Explorer-style dialog
    if (!name) name = GetDlgItem(chooser, 0x480);  // edt1, where Wine keeps it
    char shown[1000] = "";
    GetWindowTextA(name, shown, sizeof shown);
    script.shown = shown;
    SetWindowTextA(name, script.file.c_str());
    HWND extension = FindWindowExA(chooser, NULL, "#32770", NULL);
    for (int i = 0; i < script.plays; ++i)
        SendMessageA(extension, WM_COMMAND, IDC_CHOOSER_PLAY, (LPARAM)GetDlgItem(extension, IDC_CHOOSER_PLAY));
    PostMessageA(chooser, WM_COMMAND, script.choose ? IDOK : IDCANCEL, 0);
}

const int FILE_BUTTONS[] = {IDC_CONFIG_GUN_FILE, IDC_CONFIG_GRENADE_FILE, IDC_CONFIG_FINAL_FILE,
                            IDC_CONFIG_CUCKOO_FILE};

std::string Box(size_t index)
{
    const std::vector<MessageBoxCall> &boxes = FakeMessageBoxCalls();
    return index < boxes.size() ? boxes[index].text + " / " + boxes[index].caption : "<none>";
}

class DialogTest : public FakeDirectSoundTest {
protected:
    HWND dialog = NULL;
    char workingFolder[MAX_PATH];

    void SetUp() override
    {
        FakeDirectSoundTest::SetUp();
        GetCurrentDirectoryA(sizeof workingFolder, workingFolder);
        App.instance = GetModuleHandleA(NULL);
        App.screenWidth = 800;
        snprintf(App.programFolder, sizeof App.programFolder, "%s", folder.c_str());
        for (int p = 0; p < PROFILE_COUNT; ++p) {
            WriteProfileSounds(p);
            Profile &profile = Settings.profiles[p];
            profile.fireSpeed = profile.soundSpeed = 300 + p;
            profile.grenadeDelay = 1500;
            profile.withCuckoo = profile.useDirectSound = 0;
        }
        Settings.activeProfile = 0;
        Settings.descriptionVisible = 1;
    }

    void TearDown() override
    {
        Close();
        SetCurrentDirectoryA(workingFolder);  // the chooser may have moved into the test folder
        FakeDirectSoundTest::TearDown();
    }

    void Open(const char *name, DLGPROC procedure)
    {
        dialog = dialogUnderTest = CreateDialogParamA(App.instance, name, NULL, procedure, 0);
        ASSERT_NE(dialog, (HWND)NULL) << name;
        ShowWindow(dialog, SW_SHOW);
    }
    void Close()
    {
        if (dialog) DestroyWindow(dialog);
        dialog = NULL;
    }

    void Click(int id) { SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0); }
    int Checked(int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
    void Scroll(int id, int code, int thumb = 0)
    {
        SendMessageA(dialog, WM_VSCROLL, MAKEWPARAM(code, thumb), (LPARAM)GetDlgItem(dialog, id));
    }
    std::string Text(int id)
    {
        char text[600] = "";
        GetDlgItemTextA(dialog, id, text, sizeof text);
        return text;
    }
    Texts ButtonTexts()
    {
        Texts texts;
        for (int id : FILE_BUTTONS) texts.push_back(Text(id));
        return texts;
    }

    void ChooseThrough(int button, std::string file, int plays, int choose)
    {
        script = {std::move(file), plays, choose, NULL, ""};
        SetTimer(NULL, 0, 50, AnswerChooser);
        SetFocus(GetDlgItem(dialog, button));  // as a click leaves it: the chooser's owner
        SendMessageA(dialog, WM_COMMAND, button, (LPARAM)GetDlgItem(dialog, button));
        ASSERT_NE(script.seen, (HWND)NULL) << "no chooser came up";
    }

    // Lets the dialog's messages run for ms and returns how often the machine gun was started.
    int GunPlaysDuring(DWORD ms)
    {
        SoundObject *gun = SoundSlotObject(SOUND_SLOT_MACHINE_GUN);
        auto plays = [gun] {
            int count = 0;
            for (int i = 0; gun && i < gun->bufferCount; ++i) count += FakeBufferOf(gun->buffers[i])->plays;
            return count;
        };
        int before = plays();
        for (DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(1)) {
            MSG message;
            while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        }
        return plays() - before;
    }
};

TEST_F(DialogTest, ConfigEditsOfTwoProfilesAreCommittedByOkOnly)
{
    static SettingsRecord before;
    before = Settings;
    for (int ok : {1, 0}) {
        Open("CONFIG", ConfigDialogProc);
        EXPECT_FALSE(Checked(IDC_CONFIG_INVISIBLE_DESCRIPTION));
        Click(IDC_CONFIG_INVISIBLE_DESCRIPTION);
        SetDlgItemTextA(dialog, IDC_CONFIG_GRENADE_DELAY, "250");
        SetDlgItemTextA(dialog, IDC_CONFIG_GRENADE_DELAY, "30001");  // refused and selected; 250 stays
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_CONFIG_GRENADE_DELAY, EM_GETSEL, 0, 0), MAKELONG(0, 5));
        Click(IDC_CONFIG_PROFILE_USER_1);
        EXPECT_EQ(Text(IDC_CONFIG_GRENADE_DELAY), "1500");
        Scroll(IDC_CONFIG_FIRE_SCROLL, SB_PAGEUP);
        EXPECT_EQ(Text(IDC_CONFIG_FIRE_NUMBER), "251");
        EXPECT_EQ(GetScrollPos(GetDlgItem(dialog, IDC_CONFIG_FIRE_SCROLL), SB_CTL), 251);
        Click(ok ? IDC_CONFIG_OK : IDC_CONFIG_CANCEL);
        EXPECT_FALSE(IsWindowVisible(dialog));
        Close();
        if (!ok) {
            EXPECT_EQ(memcmp(&Settings, &before, sizeof before), 0) << "Cancel changed the Settings";
            continue;
        }
        EXPECT_EQ(Settings.profiles[0].grenadeDelay, 250);
        EXPECT_EQ(Settings.profiles[1].fireSpeed, 251);
        EXPECT_EQ(Settings.activeProfile, 1);
        EXPECT_EQ(Settings.descriptionVisible, 0);
        Settings = before;
    }
}

TEST_F(DialogTest, FileButtonsChooseOnlyTheirOwnSound)
{
    std::string chosen = WriteFile("chosen.wav", WavePcm(WaveSamples(300, 9)));
    // A path too long for the chooser's buffers: it starts with an empty name box.
    std::string longName = std::string(PATH_BUFFER_SIZE - 1 - folder.size() - 4, 'x') + ".wav";
    snprintf(ProfileSoundPath(0, SOUND_SLOT_CUCKOO), PATH_BUFFER_SIZE, "%s%s", folder.c_str(), longName.c_str());
    struct Case {
        int slot;
        std::string text, shown;
    } cases[] = {{SOUND_SLOT_CUCKOO, std::string(255, 'x') + ".wav", ""}, {SOUND_SLOT_FINAL, "p0s3.wav", "p0s3.wav"}};
    for (const Case &c : cases) {
        Texts paths;
        for (int slot = 1; slot <= 4; ++slot) paths.push_back(ProfileSoundPath(0, slot));
        Open("CONFIG", ConfigDialogProc);
        Texts texts = ButtonTexts();
        EXPECT_EQ(texts[c.slot - 1], c.text);
        ChooseThrough(FILE_BUTTONS[c.slot - 1], chosen, 0, 0);
        EXPECT_EQ(script.shown, c.shown);
        EXPECT_EQ(ButtonTexts(), texts) << "changed by a cancelled chooser";
        ChooseThrough(FILE_BUTTONS[c.slot - 1], chosen, 0, 1);
        texts[c.slot - 1] = "chosen.wav";
        EXPECT_EQ(ButtonTexts(), texts);
        Click(IDC_CONFIG_OK);
        Close();
        paths[c.slot - 1] = chosen;
        for (int slot = 1; slot <= 4; ++slot) EXPECT_EQ(ProfileSoundPath(0, slot), paths[slot - 1]);
    }
}

TEST_F(DialogTest, PreviewGoesBeforeTheDirectSoundItWasMadeOn)
{
    Settings.profiles[0].useDirectSound = 1;
    WriteFile("sample.wav", WavePcm(WaveSamples(300, 7)));
    Open("CONFIG", ConfigDialogProc);
    auto previewThen = [this](int plays, std::function<void()> ending) {
        int first = FakeBufferCount(), preview = first + plays - 1;
        ChooseThrough(IDC_CONFIG_GUN_FILE, "sample.wav", plays, 0);  // found in the current file's folder
        ASSERT_EQ(FakeBufferCount(), preview + 1) << "each Play makes one preview";
        for (int id = first; id < preview; ++id) EXPECT_TRUE(FakeBuffer(id)->released) << "replaced, not freed";
        EXPECT_EQ(FakeBuffer(preview)->plays, 1);
        EXPECT_EQ(FakeBuffer(preview)->size, 300u) << "not the typed file";
        size_t from = FakeDirectSoundEvents().size();
        ending();
        const Texts &events = FakeDirectSoundEvents();
        auto freed = std::find(events.begin() + from, events.end(), "b" + std::to_string(preview) + " Freed");
        auto gone = std::find(events.begin() + from, events.end(), "ds Freed");
        EXPECT_NE(gone, events.end());
        EXPECT_LT(freed, gone) << "the preview outlived its DirectSound object";
    };
    previewThen(2, [this] { Click(IDC_CONFIG_DIRECT_SOUND), Click(IDC_CONFIG_DIRECT_SOUND); });  // a restart
    previewThen(1, [this] { Click(IDC_CONFIG_PROFILE_USER_2); });  // Profile 2 has no DirectSound

    // Without a DirectSound object there is nothing to make the preview on.
    ChooseThrough(IDC_CONFIG_GUN_FILE, "sample.wav", 1, 0);
    EXPECT_EQ(Box(0), "Can\xB4t create sound / Error");
    EXPECT_EQ(FakeMessageBoxCalls().size(), 1u);
    EXPECT_EQ(FakeMessageBoxCalls()[0].owner, script.seen);

    Click(IDC_CONFIG_PROFILE_CLASSIC);
    previewThen(1, [this] { Close(); });
}

TEST_F(DialogTest, MissingCommittedSoundsTurnDirectSoundOff)
{
    Settings.profiles[0].useDirectSound = 1;
    snprintf(Settings.profiles[0].finalSound, PATH_BUFFER_SIZE, "%sgone.wav", folder.c_str());
    Open("CONFIG", ConfigDialogProc);
    EXPECT_EQ(Box(0), "Can\xB4t locate the sound file " + folder + "gone.wav. Select Configuration. / Configuration Error");
    EXPECT_EQ(Box(1), "Cannot initalize DirectX / Error");
    EXPECT_EQ(FakeMessageBoxCalls().size(), 2u);
    EXPECT_EQ(FakeMessageBoxCalls().back().type, (UINT)MB_ICONERROR);
    EXPECT_EQ(FakeMessageBoxCalls().back().owner, dialog);
    EXPECT_FALSE(Checked(IDC_CONFIG_DIRECT_SOUND));
    EXPECT_EQ(soundEnabled, 0);
    Click(IDC_CONFIG_OK);
    EXPECT_EQ(Settings.profiles[0].useDirectSound, 0);
}

TEST_F(DialogTest, TestFireFollowsTheSoundSpeedUntilStopped)
{
    Open("CONFIG", ConfigDialogProc);
    Click(IDC_CONFIG_PLAY_GUN);  // DirectX off: nothing starts, the box stays checked
    EXPECT_TRUE(Checked(IDC_CONFIG_PLAY_GUN));
    EXPECT_EQ(GunPlaysDuring(150), 0);
    Click(IDC_CONFIG_DIRECT_SOUND);
    ASSERT_EQ(soundStarted, 1);

    Scroll(IDC_CONFIG_SOUND_SCROLL, SB_THUMBPOSITION, 401);
    Click(IDC_CONFIG_PLAY_GUN);
    Click(IDC_CONFIG_PLAY_GUN);  // off and on again: every 100 ms
    int slow = GunPlaysDuring(600);
    Scroll(IDC_CONFIG_SOUND_SCROLL, SB_THUMBPOSITION, 451);  // restarts it: every 50 ms
    EXPECT_EQ(Text(IDC_CONFIG_SOUND_NUMBER), "451");
    int fast = GunPlaysDuring(600);
    EXPECT_TRUE(slow >= 4 && slow <= 7) << slow;
    EXPECT_TRUE(fast >= 9 && fast <= 13) << fast;

    Click(IDC_CONFIG_PROFILE_CLASSIC);  // the same Profile again still stops it
    EXPECT_FALSE(Checked(IDC_CONFIG_PLAY_GUN));
    EXPECT_EQ(GunPlaysDuring(200), 0);
    Click(IDC_CONFIG_PLAY_GUN);
    EXPECT_GT(GunPlaysDuring(200), 0);
    ChooseThrough(IDC_CONFIG_GUN_FILE, "", 0, 0);
    EXPECT_FALSE(Checked(IDC_CONFIG_PLAY_GUN));
    EXPECT_EQ(GunPlaysDuring(200), 0);

    // Ticks still queued when another Profile takes the engine away are dropped, not played.
    Scroll(IDC_CONFIG_SOUND_SCROLL, SB_TOP);  // 500: every millisecond
    Click(IDC_CONFIG_PLAY_GUN);
    Sleep(30);
    Click(IDC_CONFIG_PROFILE_USER_1);
    GunPlaysDuring(50);
    EXPECT_EQ(Box(0), "<none>");
}

TEST_F(DialogTest, ConfigHelpSaysWhereItLooked)
{
    Open("CONFIG", ConfigDialogProc);
    Click(IDC_CONFIG_HELP);
    EXPECT_EQ(Box(0), "Can\xB4t locate the help file " + folder +
                          "VROK.HLP. Copy the help file VROK.HLP to that location. / Help Error");
    EXPECT_TRUE(IsWindowVisible(dialog));
}

TEST_F(DialogTest, InformationDialogsShowTheirNumbersAndEscapeClosesNoDialog)
{
    App.versionMajor = 3;
    Statistics = {12, 3};
    snprintf(TrayIcon.record.szTip, sizeof TrayIcon.record.szTip, "old tip");
    struct Case {
        const char *name;
        DLGPROC procedure;
        unsigned minor;
        int id;
        const char *text;
    } cases[] = {{"CONFIG", ConfigDialogProc, 0, IDC_CONFIG_GRENADE_DELAY, "1500"},
                 {"STATISTIK", StatisticsDialogProc, 0, IDC_STATISTICS_SHOTS, "12"},
                 {"MEGAABOUT", AboutDialogProc, 49, IDC_ABOUT_VERSION, "Version 3.49 for Windows 98 / NT"},
                 {"MEGAABOUT", AboutDialogProc, 5, IDC_ABOUT_VERSION, "Version 3.5 for Windows 98 / NT"},
                 {"ABOUTABOUT", AboutDialogProc, 0, IDC_DIALOG_OK, "I agree with your opinion about Crashdows"}};
    for (const Case &c : cases) {
        App.versionMinor = c.minor;
        Open(c.name, c.procedure);
        EXPECT_EQ(Text(c.id), c.text);
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(IsWindowVisible(dialog)) << c.name;
        Close();
    }
    Open("STATISTIK", StatisticsDialogProc);
    EXPECT_EQ(Text(IDC_STATISTICS_GRENADES), "3");
    Click(IDC_STATISTICS_RESET);
    EXPECT_EQ(Text(IDC_STATISTICS_SHOTS) + "/" + Text(IDC_STATISTICS_GRENADES), "0/0");
    EXPECT_EQ(Statistics.shots + Statistics.grenades, 0u);
    EXPECT_STREQ(TrayIcon.record.szTip, TRAY_TIP_START);
}

}  // namespace
