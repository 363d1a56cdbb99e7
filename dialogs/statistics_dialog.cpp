// The statistics dialog "STATISTIK": holes and grenades of this run, and Reset.
#include "dialogs/statistics_dialog.h"

#include "app/tray_icon.h"
#include "resources/resource.h"
#include "shooting/statistics.h"

// The open dialog, or NULL.
static HWND statisticsDialog;

static void ShowCounts(HWND dialog)
{
    SetDlgItemInt(dialog, IDC_STATISTICS_SHOTS, Statistics.shots, FALSE);
    SetDlgItemInt(dialog, IDC_STATISTICS_GRENADES, Statistics.grenades, FALSE);
}

static INT_PTR OnCommand(HWND dialog, WPARAM command)
{
    switch (command) {
    case IDC_DIALOG_OK:
        EndDialog(dialog, 1);
        return TRUE;
    case IDC_STATISTICS_RESET:
        StatisticsReset();
        ShowCounts(dialog);
        TrayTipSet(TRAY_TIP_START);
        return FALSE;
    }
    // Escape (IDCANCEL) included: only the button closes this dialog.
    return FALSE;
}

INT_PTR CALLBACK StatisticsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        statisticsDialog = dialog;
        ShowCounts(dialog);
        return TRUE;
    case WM_COMMAND: return OnCommand(dialog, wParam);
    case WM_DESTROY: statisticsDialog = NULL; return FALSE;
    }
    return FALSE;
}

void StatisticsDialogActivationEnded(void)
{
    if (statisticsDialog) ShowCounts(statisticsDialog);
}
