// The configuration dialog on the fake DirectSound: the chooser's preview, the test fire, OK.
#include "harness.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "dialogs/config_dialog.h"
#include "resources/resource.h"

static HWND dialog;
static int previewPlays;  // how often the chooser's Play is pressed before the answer
static std::wstring chooserName;
static WPARAM chooserAnswer;

static void CALLBACK AnswerChooser(HWND, UINT, UINT_PTR timer, DWORD)  // inside the chooser's modal loop
{
    HWND chooser = GetLastActivePopup(dialog);
    if (chooser == dialog || IsWindowEnabled(dialog)) return;
    KillTimer(NULL, timer);
    SetDlgItemTextW(chooser, GetDlgItem(chooser, 0x47c) ? 0x47c : 0x480, chooserName.c_str());  // Windows' or Wine's name box
    HWND preview = FindWindowExA(chooser, NULL, "#32770", NULL);  // the template with Play
    for (int i = 0; i < previewPlays; ++i) SendMessageA(preview, WM_COMMAND, IDC_CHOOSER_PLAY, 0);
    PostMessageA(chooser, WM_COMMAND, chooserAnswer, 0);
}

static void Click(int id) { SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0); }

// The gun's file button: the chooser opens in the folder of the gun's file, NAME is typed, Play
// pressed PLAYS times, then ANSWER.
static void Chooser(int plays, const std::wstring &name = L"sample.wav", WPARAM answer = IDCANCEL)
{
    previewPlays = plays, chooserName = name, chooserAnswer = answer;
    SetTimer(NULL, 0, 20, AnswerChooser);
    SetFocus(GetDlgItem(dialog, IDC_CONFIG_GUN_FILE));  // as a click leaves it: the chooser's owner
    SendMessageA(dialog, WM_COMMAND, IDC_CONFIG_GUN_FILE, 0);
}

class DialogTest : public Win32Test {
protected:
    void SetUp() override
    {
        Win32Test::SetUp();
        Settings.profiles[1].useDirectSound = 0;
        Write("sample.wav", WavePcm(300, 7));
        ShowWindow(dialog = CreateDialogParamA(App.instance, RES_DIALOG_CONFIG, NULL, ConfigDialogProc, 0), SW_SHOW);
        ASSERT_TRUE(soundStarted);
    }
    void TearDown() override { DestroyWindow(dialog); Win32Test::TearDown(); }
};

TEST_F(DialogTest, APreviewNeverOutlivesTheDirectSoundItWasMadeOn)
{
    const std::vector<std::string> &events = FakeDs.events;
    auto previewThen = [&](int plays, std::function<void()> ending) {
        size_t first = events.size();
        Chooser(plays);
        std::string preview = events.back().substr(0, events.back().find(' '));  // the last call: its Play
        ending();
        auto gone = std::find(events.begin() + first, events.end(), "ds Freed");
        EXPECT_NE(gone, events.end());
        EXPECT_LT(std::find(events.begin() + first, events.end(), preview + " Freed"), gone) << "the preview outlived it";
    };
    previewThen(2, [&] { Click(IDC_CONFIG_DIRECT_SOUND); Click(IDC_CONFIG_DIRECT_SOUND); });  // a restart
    previewThen(1, [&] { Click(IDC_CONFIG_PROFILE_USER_1); });                               // no sound there
    Click(IDC_CONFIG_PROFILE_CLASSIC);
    previewThen(1, [&] { ConfigDialogActivationStarts(); SoundShutdown(); });  // the shooting window's start
    ASSERT_EQ(SoundStart(dialog), 1);
    previewThen(1, [&] { DestroyWindow(dialog); });
}

TEST_F(DialogTest, TheTestFireFollowsTheSpeedAndStopsForTheChooserAndAnotherProfile)
{
    SendMessageA(dialog, WM_VSCROLL, SB_BOTTOM, (LPARAM)GetDlgItem(dialog, IDC_CONFIG_SOUND_SCROLL));  // every 500 ms
    Click(IDC_CONFIG_PLAY_GUN);
    SendMessageA(dialog, WM_VSCROLL, SB_TOP, (LPARAM)GetDlgItem(dialog, IDC_CONFIG_SOUND_SCROLL));  // restarted: every 1 ms
    EXPECT_TRUE(PumpUntil([] { return Plays(GUN) >= 30; }, 2000)) << Plays(GUN);
    Sleep(300);  // the dialog stalls: one tick waits for it, not one a period
    MSG tick;
    int waiting = 0;
    while (PeekMessageA(&tick, dialog, WM_TIMER, WM_TIMER, PM_REMOVE)) ++waiting;  // taken, never played
    EXPECT_EQ(waiting, 1);
    Chooser(0);
    EXPECT_FALSE(IsDlgButtonChecked(dialog, IDC_CONFIG_PLAY_GUN)) << "the chooser let it fire on";
    // Ticks still queued when another Profile takes the engine away are dropped, not played.
    Click(IDC_CONFIG_PLAY_GUN);
    for (DWORD start = GetTickCount(); GetTickCount() - start < 1000; Sleep(1))
        if (PeekMessageA(&tick, dialog, WM_TIMER, WM_TIMER, PM_NOREMOVE)) break;
    Click(IDC_CONFIG_PROFILE_USER_1);
    PumpUntil([] { return true; }, 0);
    EXPECT_TRUE(BoxesSay({}));
}

TEST_F(DialogTest, PlayOnTheNameOfNoFileIsSilentCancelKeepsTheFileAndOkTakesTheChosenProfilesSound)
{
    const std::string before = Settings.profiles[0].machineGunSound;
    Chooser(1, L"missing.wav");
    EXPECT_TRUE(BoxesSay({}));
    Click(IDC_CONFIG_PROFILE_USER_1);  // without sound
    Click(IDC_CONFIG_OK);
    EXPECT_EQ(std::make_pair(std::string(Settings.profiles[0].machineGunSound), soundEnabled), std::make_pair(before, 0));
}

TEST_F(DialogTest, AWaveInAFolderNamedInAnotherScriptIsHeardAndChosen)
{
    const std::wstring name = L"\u0422\u0435\u0441\u0442\u20ac\u0436";
    ASSERT_TRUE(std::filesystem::create_directory(std::filesystem::path(folder) / name));
    std::ofstream(std::filesystem::path(folder) / name / "sample.wav", std::ios::binary) << WavePcm(300, 7);
    Chooser(1, name + L"\\sample.wav", IDOK);  // beside the gun's file, where the chooser opens
    EXPECT_TRUE(BoxesSay({}));
    EXPECT_EQ(FakeDs.events.back().substr(FakeDs.events.back().find(' ') + 1), "Play") << "the preview was not heard";
    Click(IDC_CONFIG_OK);
    const std::string chosen = Settings.profiles[0].machineGunSound;
    EXPECT_EQ(chosen.find('?'), std::string::npos) << chosen;
    EXPECT_NE(GetFileAttributesA(chosen.c_str()), INVALID_FILE_ATTRIBUTES) << chosen;
}
