// Start-up, the message loop and shutdown of VROK.
#include <windows.h>

#include <stdlib.h>
#include <string.h>

#include "app/app_state.h"
#include "app/main_window.h"
#include "app/settings_file.h"
#include "resources/resource.h"
#include "shooting/statistics.h"
#include "sound/sound_engine.h"
#include "shooting/shooting_window.h"

enum { EXIT_ALREADY_RUNNING = 42 };

static const char MUTEX_NAME[] = "VROK: Come Get Some!!";

static const char FOLDER_TEXT[] =
    "VROK cannot run from this folder: its name has characters that VROK cannot use on this Windows, "
    "and the drive keeps no short name for it.\n\nMove the VROK folder to one whose name has only "
    "English letters and digits, for example C:\\VROK, and start VROK from there.";

// Returns 0 when the program has no version record (or no memory for it): it must not run then.
static int ReadProgramVersion(const char *path)
{
    if (!path[0]) return 1;
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &handle);
    if (size == 0) return 0;
    void *record = malloc(size);
    if (!record) return 0;
    if (GetFileVersionInfoA(path, 0, size, record)) {
        VS_FIXEDFILEINFO *fixed = NULL;
        UINT fixedLength = 0;
        if (VerQueryValueA(record, "\\", (void **)&fixed, &fixedLength) &&
            fixedLength == sizeof(VS_FIXEDFILEINFO)) {
            App.versionMajor = HIWORD(fixed->dwFileVersionMS);
            App.versionMinor = LOWORD(fixed->dwFileVersionMS);
        }
    }
    free(record);
    return 1;
}

static void FindProgramPaths(const char *modulePath)
{
    ProgramFolderFromPath(modulePath, App.programFolder, sizeof App.programFolder);
    PathJoin(App.settingsPath, sizeof App.settingsPath, App.programFolder, "VROK.INI");
}

static void AddSystemMenuEntries(HWND window)
{
    HMENU menu = GetSystemMenu(window, FALSE);
    AppendMenuA(menu, MF_SEPARATOR, 0, NULL);
    AppendMenuA(menu, MF_STRING, CMD_CONFIGURATION, "C&onfiguration");
    AppendMenuA(menu, MF_STRING, CMD_STATISTICS, "S&tatistics");
    AppendMenuA(menu, MF_SEPARATOR, 0, NULL);
    AppendMenuA(menu, MF_STRING, CMD_HELP, "&HELP!");
    AppendMenuA(menu, MF_STRING, CMD_ABOUT, "&About Vrok...");
    AppendMenuA(menu, MF_STRING, CMD_ABOUT_ABOUT, "A&bout About...");
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR, int)
{
    AppStateReset();
    // Its version record, settings, sounds and help lie beside it: every path starts here.
    static char modulePath[PATH_BUFFER_SIZE];
    if (!AppModulePath(modulePath, sizeof modulePath)) {
        AppMessageBox(NULL, FOLDER_TEXT, "VROK", MB_ICONERROR);
        return 0;
    }
    if (!ReadProgramVersion(modulePath)) return 0;

    // Owned until the process ends; never released, so a second copy always sees it.
    CreateMutexA(NULL, TRUE, MUTEX_NAME);
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        MainWindowTellRunningCopy();
        return EXIT_ALREADY_RUNNING;
    }

    AppFindDirectSound();
    AppScreenRead();
    App.instance = instance;
    SoundSetEnabled(1);
    Settings.descriptionVisible = 1;

    if (!previousInstance && (!MainWindowRegister(instance) || !ShootingWindowRegister(instance))) return 0;
    if (!DescriptionMeasure()) return 0;
    FindProgramPaths(modulePath);
    SettingsLoad();
    StatisticsReset();
    SoundSetEnabled(Settings.profiles[Settings.activeProfile].useDirectSound);

    // WM_CREATE may refuse the window; WM_QUIT is then already posted and the loop ends at once.
    App.mainWindow = MainWindowCreate(instance);
    AddSystemMenuEntries(App.mainWindow);
    HMENU menu = LoadMenuA(instance, RES_MENU_TRAY);
    App.popupMenu = menu ? GetSubMenu(menu, 0) : NULL;
    ShowWindow(App.mainWindow, SW_HIDE);
    UpdateWindow(App.mainWindow);
    App.shootingCursor = LoadCursorA(instance, RES_CURSOR_SHOOTING);
    App.holeBitmap = LoadBitmapA(instance, RES_BITMAP_HOLE);
    App.craterBitmap = LoadBitmapA(instance, RES_BITMAP_CRATER);
    // Without its menu or bitmaps the program could neither be used nor shoot.
    if (!App.popupMenu || !App.holeBitmap || !App.craterBitmap) {
        DestroyWindow(App.mainWindow);
        return 0;
    }

    MSG message = {};
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    // Saved already when Windows ended the logon.
    if (!App.sessionEnding) SettingsSaveTelling(NULL);
    return (int)message.wParam;
}
