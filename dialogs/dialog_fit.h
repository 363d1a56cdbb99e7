// Room for a dialog's texts in whatever font and scale the system gives it.
#pragma once

#include <windows.h>

// Where a font draws a text wider than the template allows (another font than the one it was
// laid out for, a scaled display whose text does not grow exactly as the dialog units do): widens
// each left-aligned single-line static, check box and radio button to its text, and the dialog
// with them. Where every text fits, nothing moves.
void DialogFitTexts(HWND dialog);
