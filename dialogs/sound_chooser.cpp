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

int ChooseSoundFile(HWND, const char *title, char *path, size_t pathSize, SoundObject **preview)
{
    char file[CHOOSER_BUFFER_SIZE];
    char folder[CHOOSER_BUFFER_SIZE];
    ChooserStartingPoint(path, file, folder);

    memset(&chooserRecord, 0, sizeof chooserRecord);
    // The record without its three trailing fields, the same size on every Windows since 95.
    chooserRecord.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    chooserRecord.hwndOwner = GetFocus();
    chooserRecord.hInstance = App.instance;
    chooserRecord.lpstrFilter = WAVE_FILTER;
    chooserRecord.lpstrFile = file;
    chooserRecord.nMaxFile = CHOOSER_MAX_FILE;
    chooserRecord.lpstrFileTitle = folder;
    chooserRecord.nMaxFileTitle = CHOOSER_MAX_FILE;
    chooserRecord.lpstrInitialDir = folder[0] ? folder : NULL;
    chooserRecord.lpstrTitle = title;
    chooserRecord.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ENABLETEMPLATE |
                          OFN_ENABLEHOOK | OFN_HIDEREADONLY;
    chooserRecord.lpstrDefExt = "WAV";
    chooserRecord.lCustData = (LPARAM)preview;
    chooserRecord.lpfnHook = SoundChooserHookProc;
    chooserRecord.lpTemplateName = RES_DIALOG_FILE_PREVIEW;
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

static void PreviewPlay(HWND hook)
{
    HWND chooser = GetParent(hook);
    char path[CHOOSER_BUFFER_SIZE] = "";
    LRESULT length = SendMessageA(chooser, CDM_GETFILEPATH, sizeof path, (LPARAM)path);
    // Nothing named, or a name too long for the buffer: nothing to hear.
    if (length <= 0 || length > (LRESULT)sizeof path || !chooserPreview) return;

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
