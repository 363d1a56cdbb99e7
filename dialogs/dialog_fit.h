// Room for a dialog's texts on a scaled display.
#pragma once

#include <windows.h>

// On a display of another DPI than 96, where the dialog font's text does not grow exactly as its
// dialog units do: widens each left-aligned single-line static, check box and radio button to its
// text, and the dialog with them. At 96 dpi the template stays as it is.
void DialogFitTexts(HWND dialog);
