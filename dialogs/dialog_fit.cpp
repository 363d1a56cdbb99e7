// Room for a dialog's texts in whatever font and scale the system gives it.
#include "dialogs/dialog_fit.h"

#include <string.h>

#include "dialogs/config_values.h"

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

// The control's rectangle in the dialog's client coordinates.
static RECT ControlArea(HWND dialog, HWND control)
{
    RECT area;
    GetWindowRect(control, &area);
    MapWindowPoints(NULL, dialog, (POINT *)&area, 2);
    return area;
}

// The template's narrowest margin between a control and the dialog's right edge.
static int RightMargin(HWND dialog, int clientRight)
{
    int margin = clientRight;
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        RECT area = ControlArea(dialog, control);
        if (clientRight - area.right < margin) margin = clientRight - area.right;
    }
    return margin > 0 ? margin : 0;
}

void DialogFitTexts(HWND dialog)
{
    HDC dc = GetDC(dialog);
    if (!dc) return;
    HGDIOBJ previousFont = SelectObject(dc, (HFONT)SendMessageA(dialog, WM_GETFONT, 0, 0));
    RECT client;
    GetClientRect(dialog, &client);
    int right = client.right, margin = RightMargin(dialog, client.right);
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        char text[TEXT_SIZE] = "";
        int indent = TextIndent(dialog, control);
        if (indent < 0 || !GetWindowTextA(control, text, sizeof text) || strchr(text, '\n')) continue;
        RECT area = ControlArea(dialog, control), needed = {0, 0, 0, 0};
        DrawTextA(dc, text, -1, &needed, DT_CALCRECT | DT_SINGLELINE);
        int width = TextFitWidth(area.left, area.right, indent + needed.right, margin, &right);
        if (width != area.right - area.left)
            SetWindowPos(control, NULL, 0, 0, width, area.bottom - area.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SelectObject(dc, previousFont);
    ReleaseDC(dialog, dc);
    if (right == client.right) return;
    RECT outer;
    GetWindowRect(dialog, &outer);
    SetWindowPos(dialog, NULL, 0, 0, outer.right - outer.left + right - client.right, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
