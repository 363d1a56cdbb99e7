// Opening the help beside the program: VROK.CHM through HTML Help where WinHelp is gone, else
// VROK.HLP through WinHelp, or saying where it was looked for.
#include "dialogs/help.h"

#include <stdio.h>
#include <string.h>

#include "app/app_state.h"
#include "resources/resource.h"

static const char HELP_FILE[] = "VROK.HLP";
static const char HTML_HELP_FILE[] = "VROK.CHM";
static const UINT HH_DISPLAY_TOPIC_COMMAND = 0x0000;
static const UINT HH_DISPLAY_TOC_COMMAND = 0x0001;

typedef HWND(WINAPI *HtmlHelpProc)(HWND, LPCSTR, UINT, DWORD_PTR);

// WinHelp left Windows with Vista: there WINHLP32 only says it is no longer supported.
static int WinHelpIsGone(void)
{
    DWORD platform, major;
    return AppWindowsVersion(&platform, &major) && platform == VER_PLATFORM_WIN32_NT && major >= 6;
}

// Loaded at run time, as DirectSound is: no import library, and a system without it still runs.
static HtmlHelpProc FindHtmlHelp(void)
{
    HMODULE library = LoadLibraryA("hhctrl.ocx");
    return library ? (HtmlHelpProc)(void (*)(void))GetProcAddress(library, "HtmlHelpA") : NULL;
}

// Returns 1 when VROK.CHM lies beside the program and HTML Help was asked to show it; the page
// answering a WinHelp context, or the contents for anything else. The window belongs to the main
// window, not to a dialog asking: it stays open when the dialog closes, as WinHelp's does (and
// Wine's HTML Help would not open again once a window's owner was gone).
static int HtmlHelpOpen(UINT command, ULONG_PTR data)
{
    HWND owner = App.mainWindow;
    char path[PATH_BUFFER_SIZE + sizeof HTML_HELP_FILE + 1];
    PathJoin(path, sizeof path, App.programFolder, HTML_HELP_FILE);
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) return 0;
    HtmlHelpProc htmlHelp = FindHtmlHelp();
    if (!htmlHelp) return 0;
    if (command == HELP_CONTEXT && data == HELP_CONTEXT_CONFIGURATION) {
        char topic[sizeof path + sizeof HELP_PAGE_CONFIGURATION + 4];
        snprintf(topic, sizeof topic, "%s::/%s", path, HELP_PAGE_CONFIGURATION);
        htmlHelp(owner, topic, HH_DISPLAY_TOPIC_COMMAND, 0);
    } else {
        htmlHelp(owner, path, HH_DISPLAY_TOC_COMMAND, 0);
    }
    return 1;
}

int HelpOpen(HWND owner, UINT command, ULONG_PTR data)
{
    if (WinHelpIsGone() && HtmlHelpOpen(command, data)) return 1;

    // Sized for the longest program folder, so neither the path nor the message is ever cut.
    char path[PATH_BUFFER_SIZE + sizeof HELP_FILE + 1];
    snprintf(path, sizeof path, "%s", App.programFolder);
    PathEnsureBackslash(path, sizeof path);
    strncat(path, HELP_FILE, sizeof path - strlen(path) - 1);

    FILE *file = fopen(path, "r");
    if (!file) {
        char text[sizeof path + 100];
        snprintf(text, sizeof text,
                 "Can\xB4t locate the help file %s. Copy the help file VROK.HLP to that location.", path);
        AppMessageBox(NULL, text, "Help Error", MB_SYSTEMMODAL | MB_ICONINFORMATION);
        return 0;
    }
    fclose(file);
    WinHelpA(owner, path, command, data);
    return 1;
}
