// Room for a dialog's texts on a scaled display.
#include "dialogs/dialog_fit.h"

#include <string.h>

#include "app/dpi.h"

enum { TEXT_SIZE = 256 };

// The pixels a control's box takes before its text: a check box's or radio button's box and the
// gap after it; 0 for a static; -1 for a control whose text is not one left-aligned line.
static int TextIndent(HWND dialog, HWND control)
{
    char className[16] = "";
    GetClassNameA(control, className, sizeof className);
    LONG style = GetWindowLongA(control, GWL_STYLE);
    if (_stricmp(className, "Static") == 0)
        return (style & SS_TYPEMASK) == SS_LEFT || (style & SS_TYPEMASK) == SS_LEFTNOWORDWRAP ? 0 : -1;
    LONG type = style & BS_TYPEMASK;
    if (_stricmp(className, "Button") != 0 || (type != BS_CHECKBOX && type != BS_AUTOCHECKBOX &&
                                               type != BS_RADIOBUTTON && type != BS_AUTORADIOBUTTON))
        return -1;
    RECT gap = {0, 0, 4, 0};  // a character's width in dialog units
    MapDialogRect(dialog, &gap);
    return GetSystemMetrics(SM_CXMENUCHECK) + gap.right;
}

void DialogFitTexts(HWND dialog)
{
    HDC dc = GetDC(dialog);
    if (!dc) return;
    int dpi = DpiOfWindow(dialog);
    if (dpi == 0) dpi = GetDeviceCaps(dc, LOGPIXELSY);
    HGDIOBJ previousFont = SelectObject(dc, (HFONT)SendMessageA(dialog, WM_GETFONT, 0, 0));
    RECT client;
    GetClientRect(dialog, &client);
    int right = client.right;
    for (HWND control = GetWindow(dialog, GW_CHILD); dpi != DPI_BASE && control;
         control = GetWindow(control, GW_HWNDNEXT)) {
        char text[TEXT_SIZE] = "";
        int indent = TextIndent(dialog, control);
        if (indent < 0 || !GetWindowTextA(control, text, sizeof text) || strchr(text, '\n')) continue;
        RECT area, needed = {0, 0, 0, 0};
        GetWindowRect(control, &area);
        MapWindowPoints(NULL, dialog, (POINT *)&area, 2);
        DrawTextA(dc, text, -1, &needed, DT_CALCRECT | DT_SINGLELINE);
        int width = indent + needed.right;
        if (width <= area.right - area.left) continue;
        SetWindowPos(control, NULL, 0, 0, width, area.bottom - area.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        // The template's own margin stays at the right edge.
        if (area.left + width + client.right - area.right > right) right = area.left + width + client.right - area.right;
    }
    SelectObject(dc, previousFont);
    ReleaseDC(dialog, dc);
    if (right == client.right) return;
    RECT outer;
    GetWindowRect(dialog, &outer);
    SetWindowPos(dialog, NULL, 0, 0, outer.right - outer.left + right - client.right, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
