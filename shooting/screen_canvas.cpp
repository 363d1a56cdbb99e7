// Where holes and craters go: straight onto the screen, or, on a composed desktop, into a copy
// of the screen that the shooting window shows. The one place that makes this choice.
#include "shooting/screen_canvas.h"

#include "app/app_state.h"

typedef HRESULT(WINAPI *DwmIsCompositionEnabledProc)(BOOL *enabled);

// On a composed desktop a window that never paints shows black, not what lies beneath it, and
// drawing on the screen's context is not reliably shown: there the window paints a copy.
static struct {
    HWND window;
    HDC screen;          // the whole screen, for this activation
    POINT origin;        // the screen position of 0,0 in what holes are drawn on: the screen or the copy
    HDC copyContext;
    HBITMAP copyBitmap;
    HGDIOBJ previousBitmap;
} canvas;

// DwmIsCompositionEnabled, with dwmapi.dll loaded at run time: a missing library or entry means
// not composed.
static bool DesktopIsComposed(void)
{
    HMODULE library = LoadLibraryA("dwmapi.dll");
    if (!library) return false;
    BOOL composed = FALSE;
    DwmIsCompositionEnabledProc isComposed = (DwmIsCompositionEnabledProc)(void (*)(void))
        GetProcAddress(library, "DwmIsCompositionEnabled");
    if (!isComposed || FAILED(isComposed(&composed))) composed = FALSE;
    FreeLibrary(library);
    return composed != FALSE;
}

// The screen position of 0,0 in the whole screen's context. Screen positions count from the
// primary monitor, so monitors left of or above it lie at negative positions. The context may count
// the same way or, as Wine's does, from the top left corner of all monitors: its clip box, the whole
// screen, says which.
static POINT ScreenOrigin(HDC screen)
{
    POINT origin = {0, 0};
    RECT box;
    if (GetClipBox(screen, &box) != ERROR && box.right - box.left == App.screenWidth &&
        box.bottom - box.top == App.screenHeight) {
        origin.x = App.screenLeft - box.left;
        origin.y = App.screenTop - box.top;
    }
    return origin;
}

static void CopyFree(void)
{
    if (canvas.copyContext && canvas.previousBitmap) SelectObject(canvas.copyContext, canvas.previousBitmap);
    if (canvas.copyBitmap) DeleteObject(canvas.copyBitmap);
    if (canvas.copyContext) DeleteDC(canvas.copyContext);
    canvas.copyContext = NULL;
    canvas.copyBitmap = NULL;
    canvas.previousBitmap = NULL;
}

bool CanvasOpen(HWND window, HDC screen)
{
    CanvasClose();
    canvas.window = window;
    canvas.screen = screen;
    canvas.origin = ScreenOrigin(screen);
    if (!DesktopIsComposed()) return false;
    int width = App.screenWidth, height = App.screenHeight;
    canvas.copyContext = CreateCompatibleDC(screen);
    canvas.copyBitmap = CreateCompatibleBitmap(screen, width, height);
    if (!canvas.copyContext || !canvas.copyBitmap) {
        // Without a copy the holes go straight onto the screen, which stays open.
        CopyFree();
        return false;
    }
    canvas.previousBitmap = SelectObject(canvas.copyContext, canvas.copyBitmap);
    BitBlt(canvas.copyContext, 0, 0, width, height, screen, App.screenLeft - canvas.origin.x,
           App.screenTop - canvas.origin.y, SRCCOPY);
    // The copy spans the whole screen from its top left corner.
    canvas.origin.x = App.screenLeft;
    canvas.origin.y = App.screenTop;
    return true;
}

// Shows the copy's rectangle at screen position (x, y) in the window at once.
static void ShowCopy(int x, int y, int width, int height)
{
    POINT origin = {0, 0};
    ClientToScreen(canvas.window, &origin);
    HDC windowContext = GetDC(canvas.window);
    BitBlt(windowContext, x - origin.x, y - origin.y, width, height, canvas.copyContext,
           x - canvas.origin.x, y - canvas.origin.y, SRCCOPY);
    ReleaseDC(canvas.window, windowContext);
}

HDC CanvasMemoryOpen(HDC screen, HBITMAP bitmap, HGDIOBJ *previous)
{
    HDC memory = CreateCompatibleDC(screen);
    *previous = SelectObject(memory, bitmap);
    SetMapMode(memory, GetMapMode(screen));
    return memory;
}

void CanvasMemoryClose(HDC memory, HGDIOBJ previous)
{
    SelectObject(memory, previous);
    DeleteDC(memory);
}

void CanvasAnd(HBITMAP bitmap, POINT size, POINT origin, int x, int y)
{
    HDC target = canvas.copyContext ? canvas.copyContext : canvas.screen;
    HGDIOBJ previous = NULL;
    HDC memory = CanvasMemoryOpen(canvas.screen, bitmap, &previous);
    DPtoLP(memory, &size, 1);
    BitBlt(target, x - canvas.origin.x, y - canvas.origin.y, size.x, size.y, memory, origin.x, origin.y,
           SRCAND);
    CanvasMemoryClose(memory, previous);
    if (canvas.copyContext) ShowCopy(x, y, size.x, size.y);
}

void CanvasPaint(HWND window)
{
    if (!canvas.copyContext || window != canvas.window) {
        ValidateRect(window, NULL);
        return;
    }
    PAINTSTRUCT paint;
    HDC windowContext = BeginPaint(window, &paint);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    const RECT &area = paint.rcPaint;
    BitBlt(windowContext, area.left, area.top, area.right - area.left, area.bottom - area.top,
           canvas.copyContext, area.left + origin.x - canvas.origin.x, area.top + origin.y - canvas.origin.y,
           SRCCOPY);
    EndPaint(window, &paint);
}

void CanvasClose(void)
{
    CopyFree();
    canvas.window = NULL;
    canvas.screen = NULL;
}
