// The display's scale in dots per inch, per monitor where Windows has it. The calls that tell it
// are looked up at run time, so that VROK still starts on the Windows that lack them.
#include "app/dpi.h"

#include "app/app_state.h"

typedef HRESULT(WINAPI *GetDpiForMonitorProc)(HMONITOR monitor, int type, UINT *dpiX, UINT *dpiY);
typedef UINT(WINAPI *GetDpiForWindowProc)(HWND window);
typedef BOOL(WINAPI *EnumDisplayMonitorsProc)(HDC dc, LPCRECT clip, MONITORENUMPROC callback, LPARAM data);

enum { MDT_EFFECTIVE_DPI_TYPE = 0, WINDOWS_VISTA_MAJOR = 6 };

// The calls found: Windows 8.1's GetDpiForMonitor, 10's GetDpiForWindow, 98's EnumDisplayMonitors.
static struct {
    bool lookedUp;
    GetDpiForMonitorProc forMonitor;
    GetDpiForWindowProc forWindow;
    EnumDisplayMonitorsProc enumMonitors;
} dpiCalls;

static void DpiLookUp(void)
{
    if (dpiCalls.lookedUp) return;
    dpiCalls.lookedUp = true;
    HMODULE user = GetModuleHandleA("user32.dll");
    dpiCalls.forWindow = (GetDpiForWindowProc)(void (*)(void))GetProcAddress(user, "GetDpiForWindow");
    dpiCalls.enumMonitors = (EnumDisplayMonitorsProc)(void (*)(void))GetProcAddress(user, "EnumDisplayMonitors");
    // Stays loaded: its entry is called at every activation.
    HMODULE shcore = LoadLibraryA("shcore.dll");
    if (shcore) dpiCalls.forMonitor = (GetDpiForMonitorProc)(void (*)(void))GetProcAddress(shcore, "GetDpiForMonitor");
}

// One DPI for every monitor: the screen's from Vista on, where a program can say it draws for it;
// before, LOGPIXELSX only sized the fonts ("Large Fonts") and nothing else grew, so 96.
static int DpiOfScreen(void)
{
    DWORD platform = 0, major = 0;
    if (!AppWindowsVersion(&platform, &major) || major < WINDOWS_VISTA_MAJOR) return DPI_BASE;
    HDC screen = GetDC(NULL);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen) ReleaseDC(NULL, screen);
    return dpi > 0 ? dpi : DPI_BASE;
}

struct MonitorList {
    RECT *areas;
    int *dpis;
    int count, found, screenDpi;
};

static BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT area, LPARAM data)
{
    MonitorList *list = (MonitorList *)data;
    UINT dpiX = 0, dpiY = 0;
    if (!dpiCalls.forMonitor || FAILED(dpiCalls.forMonitor(monitor, MDT_EFFECTIVE_DPI_TYPE, &dpiX, &dpiY)) || !dpiX)
        dpiX = (UINT)list->screenDpi;
    list->areas[list->found] = *area;
    list->dpis[list->found] = (int)dpiX;
    return ++list->found < list->count;
}

int DpiMonitorsRead(RECT *areas, int *dpis, int count)
{
    DpiLookUp();
    MonitorList list = {areas, dpis, count, 0, DpiOfScreen()};
    if (count > 0 && dpiCalls.enumMonitors) dpiCalls.enumMonitors(NULL, NULL, AddMonitor, (LPARAM)&list);
    if (list.found == 0 && count > 0) {
        // Windows 95 and NT 4 know no monitors: the screen is one.
        SetRect(&areas[0], App.screenLeft, App.screenTop, App.screenLeft + App.screenWidth, App.screenTop + App.screenHeight);
        dpis[0] = list.screenDpi;
        list.found = 1;
    }
    return list.found;
}

int DpiOfWindow(HWND window)
{
    DpiLookUp();
    return dpiCalls.forWindow ? (int)dpiCalls.forWindow(window) : 0;
}
