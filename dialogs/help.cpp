// Opening VROK.HLP beside the program, or saying where it was looked for.
#include "dialogs/help.h"

#include <stdio.h>
#include <string.h>

#include "app/app_state.h"

static const char HELP_FILE[] = "VROK.HLP";

int HelpOpen(HWND owner, UINT command, ULONG_PTR data)
{
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
