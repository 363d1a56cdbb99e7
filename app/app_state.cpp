// The process-wide application state; its one owner.
#include "app/app_state.h"

#include <limits.h>
#include <string.h>

AppState App;
MessageBoxProc AppMessageBoxPlatform = MessageBoxA;

static const char *const DESCRIPTION_TEXT[DESCRIPTION_LINE_COUNT] = {
    "Death to Glitchcorp Version %u.%u",
    "",
    "The program, everyone was waiting for",
    "",
    "Left mousebutton: Fire MG!",
    "Right mousebutton: Fire Grenade!",
    "Right doubleclick: Back to work.",
    "",
    "Made with care by the VROK developers",
};

void AppStateReset(void)
{
    memset(&App, 0, sizeof App);
    App.versionMajor = 3;
    App.versionMinor = 0;
    for (int i = 0; i < DESCRIPTION_LINE_COUNT; ++i)
        memcpy(App.description[i], DESCRIPTION_TEXT[i], strlen(DESCRIPTION_TEXT[i]) + 1);
}

int AppMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    // Counted first, so the window that holds the capture knows why it is asked to let go.
    App.messageBoxesOpen++;
    HWND captured = GetCapture();
    if (captured) SendMessageA(captured, WM_CANCELMODE, 0, 0);
    int answer = AppMessageBoxPlatform(owner, text, caption, type);
    App.messageBoxesOpen--;
    return answer;
}

int AppMessageBoxOpen(void) { return App.messageBoxesOpen > 0; }

void AppFindDirectSound(void)
{
    App.directSoundCreate = NULL;
    // A missing library is reported when sound first starts, not here.
    HMODULE library = LoadLibraryA("DSOUND.DLL");
    if (library)
        App.directSoundCreate =
            (DirectSoundCreateProc)(void (*)(void))GetProcAddress(library, "DirectSoundCreate");
}

int AppWindowsVersion(DWORD *platform, DWORD *major)
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)
#endif
    if (!GetVersionExA(&version)) return 0;
    *platform = version.dwPlatformId;
    *major = version.dwMajorVersion;
    return 1;
}

// A coordinate held as 16 bits: a desktop too large for it is cut rather than wrapped negative.
static short ScreenValue(int value)
{
    return (short)(value > SHRT_MAX ? SHRT_MAX : value < SHRT_MIN ? SHRT_MIN : value);
}

void AppScreenRead(void)
{
    int width = GetSystemMetrics(SM_CXVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    // Windows 95 and NT 4 answer 0 for the virtual screen: there the screen is the primary one.
    if (width <= 0 || height <= 0) {
        width = GetSystemMetrics(SM_CXSCREEN);
        height = GetSystemMetrics(SM_CYSCREEN);
        left = top = 0;
    }
    App.screenLeft = ScreenValue(left);
    App.screenTop = ScreenValue(top);
    App.screenWidth = ScreenValue(width);
    App.screenHeight = ScreenValue(height);
}

int AppScreenIsVirtual(void)
{
    return App.screenLeft != 0 || App.screenTop != 0 || App.screenWidth != GetSystemMetrics(SM_CXSCREEN) ||
           App.screenHeight != GetSystemMetrics(SM_CYSCREEN);
}

// Converts without best-fit letters: a "best fit" would name another file. 1 only when every
// character has its own spelling in the code page.
static int WideToAnsi(const wchar_t *path, char *out, size_t size)
{
    BOOL lossy = FALSE;
    // A UTF-8 code page spells every character, and takes neither flag nor default character.
    int utf8 = GetACP() == CP_UTF8;
    int length = WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, path, -1, out, (int)size, NULL,
                                     utf8 ? NULL : &lossy);
    return length > 0 && !lossy;
}

int AppAnsiPath(const wchar_t *path, char *out, size_t size)
{
    if (size == 0) return 0;
    if (WideToAnsi(path, out, size)) return 1;
    static wchar_t shortPath[PATH_BUFFER_SIZE];
    DWORD length = GetShortPathNameW(path, shortPath, PATH_BUFFER_SIZE);
    if (length > 0 && length < PATH_BUFFER_SIZE && WideToAnsi(shortPath, out, size)) return 1;
    out[0] = '\0';
    return 0;
}

int AppModulePath(char *out, size_t size)
{
    static wchar_t path[PATH_BUFFER_SIZE];
    DWORD length = GetModuleFileNameW(NULL, path, PATH_BUFFER_SIZE);
    if (length > 0 && length < PATH_BUFFER_SIZE) return AppAnsiPath(path, out, size);
    // Windows 95, 98 and ME have the wide call only as a stub that fails.
    length = GetModuleFileNameA(NULL, out, (DWORD)size);
    if (length == 0 || length >= size) out[0] = '\0';
    return 1;
}
