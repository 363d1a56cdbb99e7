// The configuration dialog "CONFIG".
#include "dialogs/config_dialog.h"

#include "resources/resource.h"

INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_CONFIG_OK: EndDialog(dialog, 1); return TRUE;
        case IDC_CONFIG_CANCEL: EndDialog(dialog, 0); return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}
