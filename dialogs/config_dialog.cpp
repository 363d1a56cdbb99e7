// The configuration dialog "CONFIG": the three Profiles, the active one, sound and the test fire.
#include "dialogs/config_dialog.h"

#include <mmsystem.h>

#include "app/app_state.h"
#include "app/settings_file.h"
#include "app/timer_tick.h"
#include "dialogs/dialog_fit.h"
#include "dialogs/help.h"
#include "dialogs/config_values.h"
#include "dialogs/sound_chooser.h"
#include "resources/resource.h"
#include "sound/sound_engine.h"

enum { TEST_FIRE_TIMER = 42 };

struct ConfigDialogState {
    HWND window;             // the open dialog, or NULL
    SettingsRecord working;  // the Settings as edited; only OK copies it back
    int32_t firePosition;    // the scroll bars' positions, 1..500
    int32_t soundPosition;
    UINT testFireTimer;      // the running test fire's multimedia timer; 0: none
    volatile LONG testFireTick;  // its tick in the queue (TickPost): at most one
    SoundObject *preview;    // the chooser's last Play, made on the engine's DirectSound object
    int soundLent;           // the engine ran for the dialog when an activation took it over
};

// Three Profiles of some 40 KB each: static storage, not the stack. One dialog at a time.
static ConfigDialogState configDialog;

static Profile *ActiveProfile(void)
{
    return &configDialog.working.profiles[configDialog.working.activeProfile];
}

static int IsChecked(HWND dialog, int id)
{
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED ? 1 : 0;
}

static void Check(HWND dialog, int id, int checked)
{
    CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

static int IsLeadByte(unsigned char byte)
{
    return IsDBCSLeadByte(byte) ? 1 : 0;
}

static void ShowSoundName(HWND dialog, int id, const char *path)
{
    char name[SOUND_DISPLAY_NAME_SIZE];
    SetDlgItemTextA(dialog, id, SoundFileDisplayName(path, name, sizeof name, IsLeadByte));
}

static void ScrollBarShow(HWND dialog, int id, int32_t position)
{
    HWND bar = GetDlgItem(dialog, id);
    SetScrollRange(bar, SB_CTL, SPEED_MIN, SPEED_MAX, TRUE);
    SetScrollPos(bar, SB_CTL, position, TRUE);
}

void CALLBACK PreviewTimerProc(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR)
{
    // The timer's own thread: it only posts, and only once the last tick was played, so that a
    // dialog that falls behind still gets the click that stops it.
    TickPost(&configDialog.testFireTick, (HWND)user, TEST_FIRE_TIMER);
}

static void TestFireKill(void)
{
    // Forgotten once killed, so a later kill cannot hit a timer someone else got the id of.
    if (configDialog.testFireTimer) timeKillEvent(configDialog.testFireTimer);
    configDialog.testFireTimer = 0;
}

static void TestFireStop(HWND dialog)
{
    Check(dialog, IDC_CONFIG_PLAY_GUN, 0);
    TestFireKill();
}

static void TestFireStart(HWND dialog)
{
    TestFireKill();
    TickReset(&configDialog.testFireTick);
    configDialog.testFireTimer = timeSetEvent((UINT)SpeedPeriodMs(configDialog.soundPosition), 0,
                                              PreviewTimerProc, (DWORD_PTR)dialog, TIME_PERIODIC);
}

static void PreviewFree(void)
{
    SoundObjectFree(configDialog.preview);
    configDialog.preview = NULL;
}

// Starts the engine for the active working Profile; when it fails, DirectSound goes off for it.
static void EngineStart(HWND dialog)
{
    SoundSetEnabled(1);
    // The preview's buffers belong to the DirectSound object that SoundStart is about to
    // replace: freed first, they are never used or released after their object is gone.
    PreviewFree();
    if (SoundStart(dialog) == 1) return;
    AppMessageBox(dialog, "Cannot initalize DirectX", "Error", MB_ICONERROR);
    ActiveProfile()->useDirectSound = 0;
    Check(dialog, IDC_CONFIG_DIRECT_SOUND, 0);
    SoundSetEnabled(0);
}

static INT_PTR OnRefresh(HWND dialog)
{
    const Profile *profile = ActiveProfile();
    Check(dialog, IDC_CONFIG_INVISIBLE_DESCRIPTION, configDialog.working.descriptionVisible == 0);
    ShowSoundName(dialog, IDC_CONFIG_GUN_FILE, profile->machineGunSound);
    ShowSoundName(dialog, IDC_CONFIG_GRENADE_FILE, profile->grenadeSound);
    ShowSoundName(dialog, IDC_CONFIG_FINAL_FILE, profile->finalSound);
    ShowSoundName(dialog, IDC_CONFIG_CUCKOO_FILE, profile->cuckooSound);
    SetDlgItemInt(dialog, IDC_CONFIG_FIRE_NUMBER, (UINT)profile->fireSpeed, FALSE);
    SetDlgItemInt(dialog, IDC_CONFIG_SOUND_NUMBER, (UINT)profile->soundSpeed, FALSE);
    SetDlgItemInt(dialog, IDC_CONFIG_GRENADE_DELAY, (UINT)profile->grenadeDelay, FALSE);
    Check(dialog, IDC_CONFIG_WITH_CUCKOO, profile->withCuckoo != 0);
    Check(dialog, IDC_CONFIG_DIRECT_SOUND, profile->useDirectSound != 0);
    CheckRadioButton(dialog, IDC_CONFIG_PROFILE_CLASSIC, IDC_CONFIG_PROFILE_USER_2,
                     IDC_CONFIG_PROFILE_CLASSIC + configDialog.working.activeProfile);
    TestFireStop(dialog);
    configDialog.firePosition = profile->fireSpeed;
    ScrollBarShow(dialog, IDC_CONFIG_FIRE_SCROLL, configDialog.firePosition);
    configDialog.soundPosition = profile->soundSpeed;
    ScrollBarShow(dialog, IDC_CONFIG_SOUND_SCROLL, configDialog.soundPosition);
    if (profile->useDirectSound) EngineStart(dialog);
    return TRUE;
}

static INT_PTR OnInitDialog(HWND dialog)
{
    configDialog.window = dialog;
    DialogFitTexts(dialog);
    configDialog.testFireTimer = 0;
    configDialog.preview = NULL;
    configDialog.soundLent = 0;
    configDialog.working = Settings;
    SendMessageA(dialog, MSG_CONFIG_REFRESH, 0, 0);
    SetFocus(GetDlgItem(dialog, IDC_CONFIG_OK));
    return FALSE;
}

static INT_PTR OnVScroll(HWND dialog, WPARAM wParam, LPARAM lParam)
{
    HWND bar = (HWND)lParam;
    int id = GetDlgCtrlID(bar);
    if (id != IDC_CONFIG_FIRE_SCROLL && id != IDC_CONFIG_SOUND_SCROLL) return FALSE;
    int fire = id == IDC_CONFIG_FIRE_SCROLL;
    int32_t *position = fire ? &configDialog.firePosition : &configDialog.soundPosition;
    *position = ScrollPositionNext(LOWORD(wParam), *position, HIWORD(wParam));
    SetDlgItemInt(dialog, fire ? IDC_CONFIG_FIRE_NUMBER : IDC_CONFIG_SOUND_NUMBER, (UINT)*position, FALSE);
    SetScrollPos(bar, SB_CTL, *position, TRUE);
    if (fire) {
        ActiveProfile()->fireSpeed = *position;
        return FALSE;
    }
    if (IsChecked(dialog, IDC_CONFIG_DIRECT_SOUND) && IsChecked(dialog, IDC_CONFIG_PLAY_GUN))
        TestFireStart(dialog);
    ActiveProfile()->soundSpeed = *position;
    return FALSE;
}

static INT_PTR OnGrenadeDelay(HWND dialog)
{
    char text[GRENADE_DELAY_TEXT_SIZE];
    GetDlgItemTextA(dialog, IDC_CONFIG_GRENADE_DELAY, text, sizeof text);
    int32_t delay = 0;
    if (GrenadeDelayParse(text, &delay)) {
        ActiveProfile()->grenadeDelay = delay;
        return TRUE;
    }
    // The last valid delay stays; the field is selected for typing over.
    MessageBeep(0);
    SendDlgItemMessageA(dialog, IDC_CONFIG_GRENADE_DELAY, EM_SETSEL, 0, -1);
    return FALSE;
}

static INT_PTR OnProfile(HWND dialog, int32_t index)
{
    configDialog.working.activeProfile = index;
    TestFireStop(dialog);
    // Before the shutdown: a preview must not outlive the DirectSound object it was made on.
    PreviewFree();
    SoundShutdown();
    SendMessageA(dialog, MSG_CONFIG_REFRESH, 0, 0);
    return FALSE;
}

static INT_PTR OnDirectSound(HWND dialog)
{
    int on = IsChecked(dialog, IDC_CONFIG_DIRECT_SOUND);
    ActiveProfile()->useDirectSound = on;
    // Unchecking only silences; the engine stays up until a Profile change or the dialog's end.
    SoundSetEnabled(0);
    if (on) EngineStart(dialog);
    return FALSE;
}

static INT_PTR OnPlayGun(HWND dialog)
{
    if (!IsChecked(dialog, IDC_CONFIG_PLAY_GUN))
        TestFireKill();
    else if (IsChecked(dialog, IDC_CONFIG_DIRECT_SOUND))
        TestFireStart(dialog);
    return FALSE;
}

static INT_PTR OnSoundFile(HWND dialog, int id, const char *title, char *path)
{
    TestFireStop(dialog);
    if (ChooseSoundFile(dialog, title, path, PATH_BUFFER_SIZE, &configDialog.preview))
        ShowSoundName(dialog, id, path);
    return TRUE;
}

static INT_PTR OnOk(HWND dialog)
{
    Settings = configDialog.working;
    SoundSetEnabled(Settings.profiles[Settings.activeProfile].useDirectSound);
    // Kept at once: a VROK ended any other way than Close (killed, crashed) loses nothing.
    SettingsSaveTelling(dialog);
    EndDialog(dialog, 1);
    return TRUE;
}

static INT_PTR OnCommand(HWND dialog, int id)
{
    Profile *profile = ActiveProfile();
    switch (id) {
    case IDC_CONFIG_GRENADE_DELAY: return OnGrenadeDelay(dialog);
    case IDC_CONFIG_WITH_CUCKOO: profile->withCuckoo = IsChecked(dialog, id); return FALSE;
    case IDC_CONFIG_PROFILE_CLASSIC: return OnProfile(dialog, 0);
    case IDC_CONFIG_PROFILE_USER_1: return OnProfile(dialog, 1);
    case IDC_CONFIG_PROFILE_USER_2: return OnProfile(dialog, 2);
    case IDC_CONFIG_DIRECT_SOUND: return OnDirectSound(dialog);
    case IDC_CONFIG_PLAY_GUN: return OnPlayGun(dialog);
    case IDC_CONFIG_INVISIBLE_DESCRIPTION:
        configDialog.working.descriptionVisible = !IsChecked(dialog, id);
        return FALSE;
    case IDC_CONFIG_GUN_FILE:
        return OnSoundFile(dialog, id, "Select sound for machinegun", profile->machineGunSound);
    case IDC_CONFIG_GRENADE_FILE:
        return OnSoundFile(dialog, id, "Select sound for grenade thrower", profile->grenadeSound);
    case IDC_CONFIG_FINAL_FILE:
        return OnSoundFile(dialog, id, "Select final sound (\"Hasta la vista, baby !\")", profile->finalSound);
    case IDC_CONFIG_CUCKOO_FILE: return OnSoundFile(dialog, id, "Select cockoo sound", profile->cuckooSound);
    case IDC_CONFIG_HELP:
        // By context number rather than by the keyword "Configuration": Wine's winhlp32 ignores
        // HELP_KEY and shows nothing, while Windows' WinHelp and Wine's both open a mapped context.
        HelpOpen(dialog, HELP_CONTEXT, HELP_CONTEXT_CONFIGURATION);
        return TRUE;
    case IDC_CONFIG_OK: return OnOk(dialog);
    case IDC_CONFIG_CANCEL: EndDialog(dialog, 0); return FALSE;
    }
    // Escape (IDCANCEL) included: only OK and Cancel end the dialog.
    return FALSE;
}

static INT_PTR OnTimer(WPARAM id)
{
    if (id != TEST_FIRE_TIMER) return FALSE;
    // A tick posted before its timer was killed is dropped: the engine may be down by now.
    if (configDialog.testFireTimer)
        SoundPlay(SOUND_SLOT_MACHINE_GUN, SoundPanForX(App.screenWidth / 2, App.screenWidth), 0);
    // One kind alone, freed once played and a period owed dropped, leaves the clicks a gap.
    TickDone(&configDialog.testFireTick, NULL, 0);
    return FALSE;
}

static INT_PTR OnDestroy(void)
{
    TestFireKill();
    PreviewFree();
    SoundShutdown();
    configDialog.window = NULL;
    return TRUE;
}

void ConfigDialogActivationStarts(void)
{
    HWND dialog = configDialog.window;
    if (!dialog) return;
    // As a Profile change does: the test fire stops, the preview goes before its engine.
    TestFireStop(dialog);
    PreviewFree();
    configDialog.soundLent = soundEnabled && soundStarted;
}

void ConfigDialogActivationEnded(void)
{
    HWND dialog = configDialog.window;
    if (!dialog || !configDialog.soundLent) return;
    configDialog.soundLent = 0;
    // Not when the activation found sound unusable and switched it off: it said so already.
    if (soundEnabled && !soundStarted && IsChecked(dialog, IDC_CONFIG_DIRECT_SOUND)) EngineStart(dialog);
}

INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case MSG_CONFIG_REFRESH: return OnRefresh(dialog);
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam));
    case WM_VSCROLL: return OnVScroll(dialog, wParam, lParam);
    case WM_TIMER: return OnTimer(wParam);
    case WM_DESTROY: return OnDestroy();
    }
    return FALSE;
}
