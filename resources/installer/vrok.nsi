; The per-user installer of VROK: no administrator rights, the program in the user's own programs
; folder (writable, so VROK.INI can live beside VROK.exe), a Start menu shortcut and an entry in
; "Apps & features". Built by the installer target of the CMake build:
;   makensis -DVERSION=3.49 -DARCH=win64|win32 -DSTAGE=<installed release folder> -DOUTFILE=<exe> vrok.nsi
Unicode true
!if "${ARCH}" == "win64"
    Target amd64-unicode
!else
    Target x86-unicode
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestSupportedOS all
ManifestDPIAware true

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\VROK"
; Created by VROK.exe at start and held while it runs.
!define VROK_MUTEX "VROK: Come Get Some!!"
!define SYNCHRONIZE 0x00100000
; Its main window, and the command of "Close" in its menu.
!define VROK_CLASS "VROK"
!define VROK_TITLE "Death to Glitchcorp"
!searchparse /file "${__FILEDIR__}/../resource.h" "#define CMD_CLOSE " CMD_CLOSE
; How long a VROK asked to end is given: enough to finish a farewell.
!define VROK_END_MS 5000

Name "VROK ${VERSION}"
BrandingText "VROK ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\VROK"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1033 ProductName "VROK"
VIAddVersionKey /LANG=1033 ProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 FileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 FileDescription "VROK ${VERSION} Setup"
VIAddVersionKey /LANG=1033 LegalCopyright "Free to copy and share"

!define MUI_ICON "${__FILEDIR__}/../megaicon.ico"
!define MUI_UNICON "${__FILEDIR__}/../megaicon.ico"
; Checked, so that an update that closed VROK starts it again.
!define MUI_FINISHPAGE_RUN "$INSTDIR\VROK.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start VROK"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE English

; The release's files, the same as in the ZIP; the uninstaller removes exactly these.
!macro ReleaseFiles Action
    !insertmacro ${Action} VROK.exe
    !insertmacro ${Action} VROK.CHM
    !insertmacro ${Action} VROK.HLP
    !insertmacro ${Action} VROK.cnt
    !insertmacro ${Action} README.txt
    !insertmacro ${Action} vrokgun.wav
    !insertmacro ${Action} vrokgren.wav
    !insertmacro ${Action} vrokhlvb.wav
    !insertmacro ${Action} vrokkuck.wav
    !insertmacro ${Action} teckuc1.wav
!macroend
!macro InstallFile Name
    File "${STAGE}/${Name}"
!macroend
!macro RemoveFile Name
    Delete "$INSTDIR\${Name}"
!macroend

; Files in use cannot be replaced, and VROK writes VROK.INI when it ends: it must not run now. A
; running VROK is asked to end as its "Close" does, saving its settings, and given a few seconds;
; only one that does not end brings the box, which asks until it is closed or the user cancels (a
; silent run cancels). Quit here ends the installer or uninstaller with exit code 2, "aborted by
; script".
!macro WaitUntilVrokEnds
    retry:
    System::Call 'kernel32::OpenMutex(i ${SYNCHRONIZE}, i 0, t "${VROK_MUTEX}") p .r0'
    ${If} $0 P<> 0
        System::Call 'kernel32::CloseHandle(p r0)'
        FindWindow $1 "${VROK_CLASS}" "${VROK_TITLE}"
        ${If} $1 <> 0
            System::Call 'user32::GetWindowThreadProcessId(p r1, *i .r2)'
            System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r2) p .r3'
            System::Call 'user32::PostMessage(p r1, i ${WM_COMMAND}, p ${CMD_CLOSE}, p 0)'
            ${If} $3 P<> 0
                System::Call 'kernel32::WaitForSingleObject(p r3, i ${VROK_END_MS}) i .r4'
                System::Call 'kernel32::CloseHandle(p r3)'
                ${If} $4 = 0  ; WAIT_OBJECT_0: it has ended
                    Goto retry
                ${EndIf}
            ${EndIf}
        ${EndIf}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "VROK is running. Close it first: right-click its \
            face in the notification area and choose $\"Close$\". Then press Retry." /SD IDCANCEL IDRETRY retry
        Quit
    ${EndIf}
!macroend

Function .onInit
    !insertmacro WaitUntilVrokEnds
FunctionEnd

Function un.onInit
    !insertmacro WaitUntilVrokEnds
FunctionEnd

Section
    SetOutPath "$INSTDIR"
    ; VROK.INI is not among these: installing over an older copy keeps the user's settings.
    !insertmacro ReleaseFiles InstallFile
    WriteUninstaller "$INSTDIR\Uninstall.exe"
    CreateShortcut "$SMPROGRAMS\VROK.lnk" "$INSTDIR\VROK.exe"

    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "VROK"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\VROK.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; VROK.INI stays: it is the user's, not ours, and a later install picks it up again. The folder
; goes with the last file; never recursively, as the user may have chosen a folder of their own.
Section Uninstall
    !insertmacro ReleaseFiles RemoveFile
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\VROK.lnk"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
