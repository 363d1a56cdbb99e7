// The open-file dialog for a wave file, extended with Play and Stop to hear it first.
#include "dialogs/sound_chooser.h"

#include <commdlg.h>
#include <stdio.h>
#include <string.h>

#include "app/app_state.h"
#include "resources/resource.h"
#include "sound/sound_engine.h"

enum { CHOOSER_BUFFER_SIZE = 1000, CHOOSER_MAX_FILE = 999 };

// One record of module lifetime, cleared on every call, so what is not set below stays zero.
static OPENFILENAMEA chooserRecord;
// The caller's preview holder, from the open chooser's WM_INITDIALOG until the next one's.
static SoundObject **chooserPreview;

// The literal's own NUL ends the filter list.
static const char WAVE_FILTER[] = "Wave File (*.WAV)\0*.WAV\0";

// Splits path into the folder the chooser opens in and the name it shows in its name box.
static void ChooserStartingPoint(const char *path, char *file, char *folder)
{
    file[0] = '\0';
    char *filePart = NULL;
    DWORD length = GetFullPathNameA(path, CHOOSER_BUFFER_SIZE, folder, &filePart);
    // An empty path, or one whose full form does not fit (Profile paths may be ten times
    // longer), starts with an empty name box in the program folder, beside the default sounds.
    // Left without a folder the system would pick one from its own history.
    if (length == 0 || length >= CHOOSER_BUFFER_SIZE) {
        if (strlen(App.programFolder) >= CHOOSER_BUFFER_SIZE) folder[0] = '\0';
        else snprintf(folder, CHOOSER_BUFFER_SIZE, "%s", App.programFolder);
        return;
    }
    // A path ending in a separator names only a folder: it opens there with an empty name box.
    if (!filePart) return;
    snprintf(file, CHOOSER_BUFFER_SIZE, "%s", filePart);
    *filePart = '\0';
}

typedef BOOL(WINAPI *OpenFileNameWideProc)(OPENFILENAMEW *record);

// The wide chooser where Windows has one (NT): it hands back any file's name, the ANSI one only
// names it spells, with '?' for the rest. Windows 95, 98 and ME have only the ANSI one.
static OpenFileNameWideProc FindWideChooser(void)
{
    DWORD platform, major;
    HMODULE library = GetModuleHandleA("comdlg32.dll");
    if (!library || !AppWindowsVersion(&platform, &major) || platform != VER_PLATFORM_WIN32_NT) return NULL;
    return (OpenFileNameWideProc)(void (*)(void))GetProcAddress(library, "GetOpenFileNameW");
}

static OPENFILENAMEW chooserRecordWide;
static int chooserIsWide;  // the open chooser is the wide one

static const char UNUSABLE_NAME_TEXT[] =
    "VROK cannot use this file: its name or its folder's has characters that VROK cannot use on "
    "this Windows, and the drive keeps no short name for it. Copy it to a file and folder whose names "
    "have only English letters and digits, and choose it there.";

// The chooser's full path in ANSI, as VROK opens files; 0 (and a box) for a name it cannot use.
static int ChosenPath(const wchar_t *chosen, char *path, size_t size, HWND owner)
{
    if (AppAnsiPath(chosen, path, size)) return 1;
    AppMessageBox(owner, UNUSABLE_NAME_TEXT, "Error", MB_ICONERROR);
    return 0;
}

// Fills an open-file record, the ANSI or the wide one, anew: what is not set stays zero.
template <typename Record, typename Char>
static void ChooserRecordFill(Record *record, DWORD size, Char *file, Char *folder, const Char *title,
                              const Char *filter, const Char *extension, const Char *templateName,
                              SoundObject **preview)
{
    memset(record, 0, sizeof *record);
    record->lStructSize = size;
    record->hwndOwner = GetFocus();
    record->hInstance = App.instance;
    record->lpstrFilter = filter;
    record->lpstrFile = file;
    record->nMaxFile = CHOOSER_MAX_FILE;
    record->lpstrFileTitle = folder;
    record->nMaxFileTitle = CHOOSER_MAX_FILE;
    record->lpstrInitialDir = folder[0] ? folder : NULL;
    record->lpstrTitle = title;
    record->Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ENABLETEMPLATE | OFN_ENABLEHOOK |
                    OFN_HIDEREADONLY;
    record->lpstrDefExt = extension;
    record->lCustData = (LPARAM)preview;
    record->lpfnHook = SoundChooserHookProc;
    record->lpTemplateName = templateName;
}

static int ChooseWide(OpenFileNameWideProc open, const char *title, const char *file, const char *folder,
                      char *path, size_t pathSize, SoundObject **preview)
{
    wchar_t wideFile[CHOOSER_BUFFER_SIZE], wideFolder[CHOOSER_BUFFER_SIZE], wideTitle[CHOOSER_BUFFER_SIZE];
    MultiByteToWideChar(CP_ACP, 0, file, -1, wideFile, CHOOSER_BUFFER_SIZE);
    MultiByteToWideChar(CP_ACP, 0, folder, -1, wideFolder, CHOOSER_BUFFER_SIZE);
    MultiByteToWideChar(CP_ACP, 0, title, -1, wideTitle, CHOOSER_BUFFER_SIZE);
    ChooserRecordFill(&chooserRecordWide, OPENFILENAME_SIZE_VERSION_400W, wideFile, wideFolder, wideTitle,
                      L"Wave File (*.WAV)\0*.WAV\0", L"WAV", L"" RES_DIALOG_FILE_PREVIEW, preview);
    chooserIsWide = 1;
    int chosen = open(&chooserRecordWide) && ChosenPath(wideFile, path, pathSize, GetFocus());
    chooserIsWide = 0;
    return chosen;
}

int ChooseSoundFile(HWND, const char *title, char *path, size_t pathSize, SoundObject **preview)
{
    char file[CHOOSER_BUFFER_SIZE];
    char folder[CHOOSER_BUFFER_SIZE];
    ChooserStartingPoint(path, file, folder);
    OpenFileNameWideProc wide = FindWideChooser();
    if (wide) return ChooseWide(wide, title, file, folder, path, pathSize, preview);

    // The record without its three trailing fields, the same size on every Windows since 95.
    ChooserRecordFill(&chooserRecord, OPENFILENAME_SIZE_VERSION_400A, file, folder, title, WAVE_FILTER, "WAV",
                      RES_DIALOG_FILE_PREVIEW, preview);
    if (!GetOpenFileNameA(&chooserRecord)) return 0;
    // At most 998 characters come back, far less than a Profile path holds.
    snprintf(path, pathSize, "%s", file);
    return 1;
}

// The system's own words for why the file would not open; a name of no file stays silent.
static void ReportOpenFailure(DWORD code)
{
    if (code == ERROR_FILE_NOT_FOUND) return;
    char *text = NULL;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, NULL, code,
                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), (LPSTR)&text, 0, NULL);
    AppMessageBox(NULL, text ? text : "", "Error", MB_ICONERROR);
    LocalFree(text);
}

// The file named in the chooser now, as VROK opens it; 0 when nothing usable is named.
static int NamedPath(HWND chooser, char *path, size_t size)
{
    LRESULT length;
    if (chooserIsWide) {
        wchar_t wide[CHOOSER_BUFFER_SIZE] = L"";
        length = SendMessageW(chooser, CDM_GETFILEPATH, CHOOSER_BUFFER_SIZE, (LPARAM)wide);
        // Nothing named, or a name too long for the buffer: nothing to hear.
        if (length <= 0 || length > CHOOSER_BUFFER_SIZE) return 0;
        return ChosenPath(wide, path, size, chooser);
    }
    length = SendMessageA(chooser, CDM_GETFILEPATH, (WPARAM)size, (LPARAM)path);
    return length > 0 && length <= (LRESULT)size;
}

static void PreviewPlay(HWND hook)
{
    HWND chooser = GetParent(hook);
    char path[CHOOSER_BUFFER_SIZE] = "";
    if (!chooserPreview || !NamedPath(chooser, path, sizeof path)) return;

    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        ReportOpenFailure(GetLastError());
        return;
    }
    CloseHandle(file);
    // The old preview falls silent as it goes, before the new one loads.
    SoundObjectFree(*chooserPreview);
    *chooserPreview = SoundObjectLoad(SoundDirectSound(), path, 1);
    if (!*chooserPreview) AppMessageBox(chooser, "Can\xB4t create sound", "Error", MB_OK);
    SoundObjectPlay(*chooserPreview, 0);
}

UINT_PTR CALLBACK SoundChooserHookProc(HWND hook, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        // lCustData lies at the same place in the ANSI and the wide record.
        chooserPreview = (SoundObject **)((const OPENFILENAMEA *)lParam)->lCustData;
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_CHOOSER_PLAY: PreviewPlay(hook); return TRUE;
        case IDC_CHOOSER_STOP: SoundObjectStop(chooserPreview ? *chooserPreview : NULL); return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}
