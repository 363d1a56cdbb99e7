// The process-wide application state that start-up fills and every window reads.
#pragma once

#include <windows.h>

#include "app/app_text.h"
#include "app/settings.h"

struct IDirectSound;
typedef HRESULT(WINAPI *DirectSoundCreateProc)(const GUID *device, IDirectSound **directSound,
                                               IUnknown *outer);
typedef int(WINAPI *MessageBoxProc)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

struct AppState {
    HINSTANCE instance;
    HWND mainWindow;
    HMENU popupMenu;
    short screenLeft;    // the virtual screen: every monitor, left and above the primary ones too
    short screenTop;
    short screenWidth;
    short screenHeight;
    unsigned versionMajor;
    unsigned versionMinor;
    char description[DESCRIPTION_LINE_COUNT][DESCRIPTION_LINE_SIZE];
    int lineHeight;
    int descriptionWidth;
    char programFolder[PATH_BUFFER_SIZE];
    char settingsPath[PATH_BUFFER_SIZE];
    DirectSoundCreateProc directSoundCreate;  // null without DSOUND.DLL
    HCURSOR shootingCursor;
    HBITMAP holeBitmap;
    HBITMAP craterBitmap;
    int messageBoxesOpen;  // boxes of ours on screen now; their modal loops go on dispatching
    int sessionEnding;     // Windows ends the logon: whatever waits stops waiting
};

extern AppState App;

// Every message box of the program goes through here. While one is open, the window that held
// the mouse has let it go (WM_CANCELMODE), so the box can be answered with the mouse and keys.
int AppMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
// 1 while a box of ours is on screen.
int AppMessageBoxOpen(void);
// The call that shows a box: MessageBoxA, or a stand-in that answers boxes by script.
extern MessageBoxProc AppMessageBoxPlatform;

// Looks up DirectSoundCreate in DSOUND.DLL (null when either is missing); the library stays loaded.
void AppFindDirectSound(void);

// The platform (VER_PLATFORM_WIN32_NT or not) and major version Windows reports; 0 when it says none.
int AppWindowsVersion(DWORD *platform, DWORD *major);

// Reads the screen the shooting window covers: the virtual screen, which on one monitor is the
// primary screen at 0,0, as on systems that know only one.
void AppScreenRead(void);
// 1 when the screen spans more than the primary monitor.
int AppScreenIsVirtual(void);

// The ANSI spelling of a wide path that opens the same file: the path itself where the ANSI code
// page spells it, else its short form. 0 when neither can be spelled (a volume without short names).
int AppAnsiPath(const wchar_t *path, char *out, size_t size);
// The running program's path as the ANSI calls open it (where Windows has no wide calls, the
// ANSI path as it comes). 0 when no ANSI spelling of it opens.
int AppModulePath(char *out, size_t size);

// Sets the application state to its values before start-up reads anything.
void AppStateReset(void);
