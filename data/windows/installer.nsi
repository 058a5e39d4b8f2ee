; The Windows installer of Quimbra, in Italian. Built by the `installer`
; target of the Windows build:
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.0.0 -DPROGRAM=quimbra.exe -DICON=quimbra.ico
;            -DOUTFILE=Quimbra-1.0.0-win64.exe installer.nsi
; A school's technician installs silently with /S (and removes with the
; uninstaller's /S). Uninstalling never deletes the records.

Unicode true
; 64-bit stubs: Debian's 32-bit ones do not start under a 64-bit-only Wine,
; and the game itself is 64-bit.
Target amd64-unicode
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "x64.nsh"

!define PRODUCT "Quimbra"
!define TITLE "Quimbra — Gioca con le frazioni"
!define PUBLISHER "The Quimbra developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quimbra"
; Where every pupil's game keeps the shared record when the Windows directory
; is closed to them: %ProgramData%\Quimbra.
!define RECORDS_DIR "$APPDATA\Quimbra"

Name "${TITLE}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Quimbra"
RequestExecutionLevel admin
BrandingText "${TITLE} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1040 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1040 "FileDescription" "Installazione di ${TITLE}"
VIAddVersionKey /LANG=1040 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1040 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1040 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1040 "LegalCopyright" "${PUBLISHER}"

!ifdef ICON
    !define MUI_ICON "${ICON}"
    !define MUI_UNICON "${ICON}"
!endif
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\quimbra.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Gioca subito"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Italian"

Function .onInit
    ; For every user of the machine: Program Files, the common Start menu and
    ; desktop, and $APPDATA as %ProgramData%.
    SetShellVarContext all
    SetRegView 64
FunctionEnd

Function un.onInit
    SetShellVarContext all
    SetRegView 64
FunctionEnd

Section "Quimbra (necessario)" SecProgram
    SectionIn RO
    SetOutPath "$INSTDIR"
    File "/oname=quimbra.exe" "${PROGRAM}"
    WriteUninstaller "$INSTDIR\disinstalla.exe"

    CreateShortcut "$SMPROGRAMS\${TITLE}.lnk" "$INSTDIR\quimbra.exe" "" "$INSTDIR\quimbra.exe" 0

    ; The shared records folder, writable by every pupil (the Users group, by
    ; its language-independent SID); kept as it is when it already exists.
    CreateDirectory "${RECORDS_DIR}"
    nsExec::Exec '"$SYSDIR\icacls.exe" "${RECORDS_DIR}" /grant *S-1-5-32-545:(OI)(CI)M'
    Pop $0

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${TITLE}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quimbra.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\disinstalla.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\disinstalla.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Collegamento sul desktop" SecDesktop
    CreateShortcut "$DESKTOP\${TITLE}.lnk" "$INSTDIR\quimbra.exe" "" "$INSTDIR\quimbra.exe" 0
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "Il gioco e la sua voce nel menu Start."
    !insertmacro MUI_DESCRIPTION_TEXT ${SecDesktop} "Un collegamento al gioco sul desktop."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Section "Uninstall"
    Delete "$INSTDIR\quimbra.exe"
    Delete "$INSTDIR\disinstalla.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\${TITLE}.lnk"
    Delete "$DESKTOP\${TITLE}.lnk"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    ; The records folder stays: the best score belongs to the classroom.
SectionEnd
