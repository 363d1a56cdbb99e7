// Test driver: finds VROK's windows, reads and answers message boxes, sends commands.
// Every command prints what it found and exits 0 on success, 1 on failure or time-out.
#include <windows.h>
#include <shellapi.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static const DWORD POLL_MS = 20;

static const char *ClassArg(const char *arg) { return strcmp(arg, "-") == 0 ? NULL : arg; }

static HWND WaitWindow(const char *className, const char *title, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        HWND window = FindWindowA(className, title);
        if (window) return window;
        if (GetTickCount() - start >= timeoutMs) return NULL;
        Sleep(POLL_MS);
    }
}

struct ListContext {
    const char *className;
    int count;
};

static BOOL CALLBACK ListOne(HWND window, LPARAM param)
{
    ListContext *context = (ListContext *)param;
    char className[256] = "", title[512] = "";
    GetClassNameA(window, className, sizeof className);
    if (context->className && strcmp(className, context->className) != 0) return TRUE;
    GetWindowTextA(window, title, sizeof title);
    RECT rect = {};
    GetWindowRect(window, &rect);
    printf("%s\t%s\t%d\t%ld,%ld,%ld,%ld\t%d\n", className, title, IsWindowVisible(window) ? 1 : 0,
           rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, IsWindowEnabled(window) ? 1 : 0);
    context->count++;
    return TRUE;
}

struct ControlSearch {
    int id;
    HWND found;
};

static BOOL CALLBACK MatchControl(HWND control, LPARAM param)
{
    ControlSearch *search = (ControlSearch *)param;
    if (GetDlgCtrlID(control) != search->id) return TRUE;
    search->found = control;
    return FALSE;
}

// A control of the window or of a child dialog inside it, as the file chooser's Play button is.
static HWND FindControl(HWND window, int id)
{
    ControlSearch search = {id, GetDlgItem(window, id)};
    if (!search.found) EnumChildWindows(window, MatchControl, (LPARAM)&search);
    return search.found;
}

// WM_GETTEXT, not GetWindowText: that one leaves another process's edit fields empty.
static const char *ControlText(HWND control)
{
    static char text[65536];
    text[0] = '\0';
    SendMessageA(control, WM_GETTEXT, sizeof text, (LPARAM)text);
    return text;
}

// A notification-area balloon on screen, as Wine's task bar shows one: a visible balloon tooltip.
static BOOL CALLBACK MatchBalloon(HWND window, LPARAM param)
{
    char className[32] = "";
    GetClassNameA(window, className, sizeof className);
    if (strcmp(className, TOOLTIPS_CLASSA) != 0 || !IsWindowVisible(window) ||
        !(GetWindowLongA(window, GWL_STYLE) & TTS_BALLOON))
        return TRUE;
    *(HWND *)param = window;
    return FALSE;
}

static int Usage(void)
{
    fputs("usage: vrokdrv wait CLASS|- TITLE|- TIMEOUT_MS\n"
          "       vrokdrv gone CLASS|- TITLE|- TIMEOUT_MS\n"
          "       vrokdrv list [CLASS]               (class, title, visible, rectangle, enabled)\n"
          "       vrokdrv close CLASS|- TITLE|-\n"
          "       vrokdrv command CLASS|- TITLE|- ID\n"
          "       vrokdrv box CAPTION TIMEOUT_MS      (prints the message box text)\n"
          "       vrokdrv press CAPTION BUTTON_ID     (also a button of a child dialog)\n"
          "       vrokdrv priority CLASS|- TITLE|-    (priority class of the window's process, hex)\n"
          "       vrokdrv scroll CAPTION ID CODE      (a scroll bar notification to the dialog)\n"
          "       vrokdrv type CAPTION ID TEXT        (replaces a control's text, as typing it would)\n"
          "       vrokdrv text CLASS|- TITLE|- ID...  (child controls' texts, joined by |)\n"
          "       vrokdrv checked CLASS|- TITLE|- ID... (check boxes' states, joined by |)\n"
          "       vrokdrv kill EXE                    (ends this Wine prefix's processes of that name)\n"
          "       vrokdrv shown CLASS|- TITLE|- TIMEOUT_MS          (waits until visible)\n"
          "       vrokdrv says CLASS|- TITLE|- ID PREFIX TIMEOUT_MS (waits until a control's text begins so)\n"
          "       vrokdrv responsive CLASS|- TITLE|- TIMEOUT_MS     (until the window goes: never hung?)\n"
          "       vrokdrv untray CLASS|- TITLE|- ID   (the shell forgets that window's tray icon)\n"
          "       vrokdrv broadcast NAME              (posts the registered message NAME to every window)\n"
          "       vrokdrv balloon TIMEOUT_MS [keep]   (prints a shown balloon's text and hides it, as read)\n",
          stderr);
    return 2;
}

int main(int argc, char **argv)
{
    if (argc < 2) return Usage();
    // Plain newlines: the scripts reading the output need no carriage returns stripped.
    _setmode(_fileno(stdout), _O_BINARY);
    const char *verb = argv[1];

    if (strcmp(verb, "wait") == 0 && argc == 5) {
        HWND window = WaitWindow(ClassArg(argv[2]), ClassArg(argv[3]), (DWORD)atol(argv[4]));
        if (!window) return 1;
        printf("%p\n", (void *)window);
        return 0;
    }
    if (strcmp(verb, "gone") == 0 && argc == 5) {
        DWORD start = GetTickCount(), timeoutMs = (DWORD)atol(argv[4]);
        while (FindWindowA(ClassArg(argv[2]), ClassArg(argv[3]))) {
            if (GetTickCount() - start >= timeoutMs) return 1;
            Sleep(POLL_MS);
        }
        return 0;
    }
    if (strcmp(verb, "list") == 0 && (argc == 2 || argc == 3)) {
        ListContext context = {argc == 3 ? argv[2] : NULL, 0};
        EnumWindows(ListOne, (LPARAM)&context);
        return context.count > 0 ? 0 : 1;
    }
    if (strcmp(verb, "close") == 0 && argc == 4) {
        HWND window = FindWindowA(ClassArg(argv[2]), ClassArg(argv[3]));
        return window && PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (strcmp(verb, "command") == 0 && argc == 5) {
        HWND window = FindWindowA(ClassArg(argv[2]), ClassArg(argv[3]));
        return window && PostMessageA(window, WM_COMMAND, (WPARAM)atol(argv[4]), 0) ? 0 : 1;
    }
    if (strcmp(verb, "box") == 0 && argc == 4) {
        HWND box = WaitWindow("#32770", argv[2], (DWORD)atol(argv[3]));
        if (!box) return 1;
        char text[4096] = "";
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        printf("%s\n", text);
        return 0;
    }
    if (strcmp(verb, "scroll") == 0 && argc == 5) {
        HWND dialog = FindWindowA("#32770", argv[2]);
        HWND bar = dialog ? GetDlgItem(dialog, atoi(argv[3])) : NULL;
        if (!bar) return 1;
        SendMessageA(dialog, WM_VSCROLL, MAKEWPARAM(atoi(argv[4]), 0), (LPARAM)bar);
        return 0;
    }
    if (strcmp(verb, "type") == 0 && argc == 5) {
        HWND dialog = FindWindowA("#32770", argv[2]);
        HWND control = dialog ? GetDlgItem(dialog, atoi(argv[3])) : NULL;
        DWORD_PTR result = 0;
        // An edit field tells its dialog of the change (EN_CHANGE), as when the user types.
        return control && SendMessageTimeoutA(control, WM_SETTEXT, 0, (LPARAM)argv[4], SMTO_NORMAL, 5000, &result) ? 0 : 1;
    }
    if ((strcmp(verb, "text") == 0 || strcmp(verb, "checked") == 0) && argc >= 5) {
        HWND window = FindWindowA(ClassArg(argv[2]), ClassArg(argv[3]));
        if (!window) return 1;
        for (int i = 4; i < argc; ++i) {
            HWND control = FindControl(window, atoi(argv[i]));
            if (!control) return 1;
            if (verb[0] == 'c') printf("%s%d", i > 4 ? "|" : "", (int)SendMessageA(control, BM_GETCHECK, 0, 0));
            else printf("%s%s", i > 4 ? "|" : "", ControlText(control));
        }
        printf("\n");
        return 0;
    }
    if (strcmp(verb, "kill") == 0 && argc == 3) {
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32 entry = {};
        entry.dwSize = sizeof entry;
        int killed = 0;
        for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
            if (_stricmp(entry.szExeFile, argv[2]) != 0) continue;
            HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID);
            if (!process) continue;
            // Gone before the next copy starts, or that copy would find the first still running.
            if (TerminateProcess(process, 1) && WaitForSingleObject(process, 5000) == WAIT_OBJECT_0) killed++;
            CloseHandle(process);
        }
        CloseHandle(snapshot);
        return killed ? 0 : 1;
    }
    if (strcmp(verb, "shown") == 0 && argc == 5) {
        DWORD start = GetTickCount(), timeoutMs = (DWORD)atol(argv[4]);
        for (;;) {
            HWND window = FindWindowA(ClassArg(argv[2]), ClassArg(argv[3]));
            if (window && IsWindowVisible(window)) return 0;
            if (GetTickCount() - start >= timeoutMs) return 1;
            Sleep(POLL_MS);
        }
    }
    if (strcmp(verb, "says") == 0 && argc == 7) {
        DWORD start = GetTickCount(), timeoutMs = (DWORD)atol(argv[6]);
        const char *text = "";
        for (;;) {
            HWND window = FindWindowA(ClassArg(argv[2]), ClassArg(argv[3]));
            HWND control = window ? GetDlgItem(window, atoi(argv[4])) : NULL;
            if (control) text = ControlText(control);
            if (strncmp(text, argv[5], strlen(argv[5])) == 0) return 0;
            if (GetTickCount() - start >= timeoutMs) {
                printf("%s\n", text);
                return 1;
            }
            Sleep(POLL_MS);
        }
    }
    if (strcmp(verb, "responsive") == 0 && argc == 5) {
        // Windows' own test, which turns a window into a "Not Responding" ghost after 5 s.
        HWND window = FindWindowA(ClassArg(argv[2]), ClassArg(argv[3]));
        DWORD start = GetTickCount(), timeoutMs = (DWORD)atol(argv[4]);
        if (!window) return 1;
        while (IsWindow(window)) {
            if (IsHungAppWindow(window)) {
                printf("hung after %lu ms\n", (unsigned long)(GetTickCount() - start));
                return 1;
            }
            if (GetTickCount() - start >= timeoutMs) {
                printf("still there after %lu ms\n", (unsigned long)timeoutMs);
                return 1;
            }
            Sleep(POLL_MS);
        }
        printf("gone after %lu ms\n", (unsigned long)(GetTickCount() - start));
        return 0;
    }
    if (strcmp(verb, "untray") == 0 && argc == 5) {
        NOTIFYICONDATAA icon = {};
        icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
        icon.hWnd = FindWindowA(ClassArg(argv[2]), ClassArg(argv[3]));
        icon.uID = (UINT)atoi(argv[4]);
        return icon.hWnd && Shell_NotifyIconA(NIM_DELETE, &icon) ? 0 : 1;
    }
    if (strcmp(verb, "broadcast") == 0 && argc == 3) {
        // As a shell that starts anew says "TaskbarCreated" to every top-level window.
        return PostMessageA(HWND_BROADCAST, RegisterWindowMessageA(argv[2]), 0, 0) ? 0 : 1;
    }
    if (strcmp(verb, "balloon") == 0 && (argc == 3 || (argc == 4 && strcmp(argv[3], "keep") == 0))) {
        DWORD start = GetTickCount(), timeoutMs = (DWORD)atol(argv[2]);
        HWND balloon = NULL;
        while (EnumWindows(MatchBalloon, (LPARAM)&balloon), !balloon) {
            if (GetTickCount() - start >= timeoutMs) return 1;
            Sleep(POLL_MS);
        }
        printf("%s\n", ControlText(balloon));
        if (argc == 3) ShowWindow(balloon, SW_HIDE);
        return 0;
    }
    if (strcmp(verb, "press") == 0 && argc == 4) {
        HWND box = FindWindowA("#32770", argv[2]);
        HWND button = box ? FindControl(box, atoi(argv[3])) : NULL;
        if (!button) return 1;
        // A click that opens something modal (a box the test did not expect) fails, not hangs.
        DWORD_PTR result = 0;
        return SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, 5000, &result) ? 0 : 1;
    }
    if (strcmp(verb, "priority") == 0 && argc == 4) {
        HWND window = FindWindowA(ClassArg(argv[2]), ClassArg(argv[3]));
        DWORD processId = 0;
        HANDLE process = window && GetWindowThreadProcessId(window, &processId)
                             ? OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId) : NULL;
        DWORD priority = process ? GetPriorityClass(process) : 0;
        if (process) CloseHandle(process);
        // The test says what it got: which step failed, and why.
        if (!priority) printf("none: window %p, process %lu, error %lu\n", (void *)window, processId, GetLastError());
        else printf("0x%lx\n", (unsigned long)priority);
        return priority ? 0 : 1;
    }
    return Usage();
}
