// The two about dialogs, "MEGAABOUT" with the version line and "ABOUTABOUT".
#include "dialogs/about_dialog.h"

#include <stdio.h>

#include "app/app_state.h"
#include "resources/resource.h"

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: {
        char version[100];
        snprintf(version, sizeof version, "Version %u.%u for Windows 98 / NT", App.versionMajor,
                 App.versionMinor);
        // "ABOUTABOUT" has no version line; the call then changes nothing.
        SetDlgItemTextA(dialog, IDC_ABOUT_VERSION, version);
        return TRUE;
    }
    case WM_COMMAND:
        // Only the button closes it; Escape does not.
        if (wParam == IDC_DIALOG_OK) {
            EndDialog(dialog, 1);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}
