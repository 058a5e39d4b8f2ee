; The Windows installer of Quimbra, in Italian. Built by the `installer`
; target of the Windows build:
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.0.0 -DPROGRAM=quimbra.exe -DICON=quimbra.ico
;            -DLICENSE=COPYING.txt -DOUTFILE=Quimbra-1.0.0-win64.exe installer.nsi
; LICENSE is the GNU GPL's text with CR LF line ends: shown on a page of its
; own and installed beside the program.
; Signed when built with -DSIGNER=scripts/sign-windows -DSIGN_PFX=... and
; -DSIGN_TIMESTAMP=... (empty for none): the installer and its uninstaller.
;
; What a school's technician may give it (the README lists them too):
;   /S                        silent, with the uninstaller's /S to remove it;
;   /NODESKTOP                no shortcut on the desktop;
;   /RECORDSFOLDER=\\server\quimbra
;                             the records folder of every game on the
;                             computer, as the policy value
;                             HKLM\SOFTWARE\Policies\Quimbra RecordsFolder;
;   /NOCLASSSHEET             no class sheet: the games add no row to
;                             registro.csv, as the policy value ClassSheet = 0
;                             (a DWORD) beside RecordsFolder;
;   /VOCE                     the game reads its questions aloud for every
;                             user, as the policy value ReadAloud = 1 (a
;                             DWORD) beside RecordsFolder;
;   /D=C:\Giochi\Quimbra      the program's folder: last, unquoted, even
;                             with blanks; a reinstall finds it by itself.
; Uninstalling never deletes the records.

Unicode true
; 64-bit stubs: Debian's 32-bit ones do not start under a 64-bit-only Wine,
; and the game itself is 64-bit.
Target amd64-unicode
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "x64.nsh"
!include "WinVer.nsh"
!include "FileFunc.nsh"
!include "Sections.nsh"

!define PRODUCT "Quimbra"
!define TITLE "Quimbra — Gioca con le frazioni"
!define WHITEBOARD_TITLE "Quimbra alla lavagna"
!define VOICE_TITLE "Quimbra con la voce"
!define PUBLISHER "The Quimbra developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quimbra"
!define POLICY_KEY "Software\Policies\Quimbra"
!define HOME_PAGE "https://quimbra.example/"
; Where every game of the computer keeps the shared record, unless a
; records folder is set: %ProgramData%\Quimbra.
!define RECORDS_DIR "$APPDATA\Quimbra"

Name "${TITLE}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Quimbra"
; A reinstall goes where the last one went (/D= still wins). The installer
; is a 64-bit program, so it reads the registry's 64-bit view.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
BrandingText "${TITLE} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1040 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1040 "FileDescription" "Installazione di ${TITLE}"
VIAddVersionKey /LANG=1040 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1040 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1040 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1040 "LegalCopyright" "© 2026 ${PUBLISHER}, GNU GPL 3 o successiva"

!ifdef ICON
    !define MUI_ICON "${ICON}"
    !define MUI_UNICON "${ICON}"
!endif
!ifdef SIGNER
    !finalize '"${SIGNER}" "${SIGN_PFX}" "${SIGN_TIMESTAMP}" "%1"' = 0
    !uninstfinalize '"${SIGNER}" "${SIGN_PFX}" "${SIGN_TIMESTAMP}" "%1"' = 0
!endif

!define MUI_ABORTWARNING
; No "Gioca subito": this installer runs as an administrator, and a game
; started from it would play as that account (and so possibly against a
; record of its own), not as whoever is logged in. Debian's NSIS has no
; plug-in that starts a program as the logged-in user.
!define MUI_FINISHPAGE_TEXT "Quimbra è installato.$\r$\n$\r$\nPer giocare, apri il menu Start e scegli «${TITLE}»."

!insertmacro MUI_PAGE_WELCOME
; The GPL asks nothing of whoever only plays: the page tells what it allows,
; and its button goes on rather than "accepting".
!define MUI_PAGE_HEADER_TEXT "Licenza"
!define MUI_PAGE_HEADER_SUBTEXT "GNU General Public License, versione 3 o successiva"
!define MUI_LICENSEPAGE_TEXT_TOP "Quimbra è software libero, distribuito con questa licenza."
!define MUI_LICENSEPAGE_TEXT_BOTTOM "Per usare il gioco non serve accettare nulla: la licenza ti permette di copiarlo, modificarlo e distribuirlo alle sue condizioni. Il testo resta accanto al gioco, in COPYING.txt."
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Italian"

Function un.onInit
    SetShellVarContext all
    SetRegView 64
FunctionEnd

Section "Quimbra (necessario)" SecProgram
    SectionIn RO
    SetOutPath "$INSTDIR"
    File "/oname=quimbra.exe" "${PROGRAM}"
    File "/oname=COPYING.txt" "${LICENSE}"
    WriteUninstaller "$INSTDIR\disinstalla.exe"

    CreateShortcut "$SMPROGRAMS\${TITLE}.lnk" "$INSTDIR\quimbra.exe" "" "$INSTDIR\quimbra.exe" 0
    ; The game filling the screen, for a classroom whiteboard.
    CreateShortcut "$SMPROGRAMS\${WHITEBOARD_TITLE}.lnk" "$INSTDIR\quimbra.exe" "--lavagna" "$INSTDIR\quimbra.exe" 0
    ; The game read aloud, for a pupil who reads with difficulty.
    CreateShortcut "$SMPROGRAMS\${VOICE_TITLE}.lnk" "$INSTDIR\quimbra.exe" "--voce" "$INSTDIR\quimbra.exe" 0
    ; The teacher's class sheet: the same program, opened on it.
    CreateShortcut "$SMPROGRAMS\Registro di Quimbra.lnk" "$INSTDIR\quimbra.exe" "--registro" "$INSTDIR\quimbra.exe" 0

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
    WriteRegStr HKLM "${UNINSTALL_KEY}" "HelpLink" "${HOME_PAGE}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "${HOME_PAGE}"
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    IntFmt $0 "0x%08X" $0
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0

    ; The records folder the technician chose, kept also in the uninstall
    ; entry so that the uninstaller removes only a value it wrote.
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/RECORDSFOLDER=" $1
    ${IfNot} ${Errors}
    ${AndIf} $1 != ""
        WriteRegStr HKLM "${POLICY_KEY}" "RecordsFolder" $1
        WriteRegStr HKLM "${UNINSTALL_KEY}" "RecordsFolder" $1
    ${EndIf}
    ; The class sheet turned off, noted likewise for the uninstaller.
    ClearErrors
    ${GetOptions} $0 "/NOCLASSSHEET" $1
    ${IfNot} ${Errors}
        WriteRegDWORD HKLM "${POLICY_KEY}" "ClassSheet" 0
        WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoClassSheet" 1
    ${EndIf}
    ; Reading aloud for every user of the computer, noted likewise.
    ClearErrors
    ${GetOptions} $0 "/VOCE" $1
    ${IfNot} ${Errors}
        WriteRegDWORD HKLM "${POLICY_KEY}" "ReadAloud" 1
        WriteRegDWORD HKLM "${UNINSTALL_KEY}" "ReadAloud" 1
    ${EndIf}
SectionEnd

Section "Collegamento sul desktop" SecDesktop
    CreateShortcut "$DESKTOP\${TITLE}.lnk" "$INSTDIR\quimbra.exe" "" "$INSTDIR\quimbra.exe" 0
SectionEnd

; Off unless ticked: on a pupil's computer of its own, the teacher's choice.
Section /o "Collegamento «${VOICE_TITLE}» sul desktop" SecVoiceDesktop
    CreateShortcut "$DESKTOP\${VOICE_TITLE}.lnk" "$INSTDIR\quimbra.exe" "--voce" "$INSTDIR\quimbra.exe" 0
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "Il gioco e le sue voci nel menu Start."
    !insertmacro MUI_DESCRIPTION_TEXT ${SecDesktop} "Un collegamento al gioco sul desktop."
    !insertmacro MUI_DESCRIPTION_TEXT ${SecVoiceDesktop} "Un collegamento sul desktop al gioco che legge ad alta voce le domande, per chi legge con fatica."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
    ; For every user of the machine: Program Files, the common Start menu and
    ; desktop, and $APPDATA as %ProgramData%.
    SetShellVarContext all
    SetRegView 64

    ; The game needs functions that only Windows 10 and later have: on an
    ; older Windows it would not even start, so it is not installed there.
    ${IfNot} ${AtLeastWin10}
    ${OrIfNot} ${RunningX64}
        MessageBox MB_OK|MB_ICONSTOP "Quimbra funziona solo su Windows 10 o Windows 11 a 64 bit.$\r$\n$\r$\nSu questo computer c'è una versione di Windows più vecchia (o a 32 bit), sulla quale il gioco non può partire: l'installazione non viene eseguita." /SD IDOK
        Abort
    ${EndIf}

    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/NODESKTOP" $1
    ${IfNot} ${Errors}
        !insertmacro UnselectSection ${SecDesktop}
    ${EndIf}
FunctionEnd

Section "Uninstall"
    Delete "$INSTDIR\quimbra.exe"
    Delete "$INSTDIR\COPYING.txt"
    Delete "$INSTDIR\disinstalla.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\${TITLE}.lnk"
    Delete "$SMPROGRAMS\${WHITEBOARD_TITLE}.lnk"
    Delete "$SMPROGRAMS\Registro di Quimbra.lnk"
    Delete "$SMPROGRAMS\${VOICE_TITLE}.lnk"
    Delete "$DESKTOP\${TITLE}.lnk"
    Delete "$DESKTOP\${VOICE_TITLE}.lnk"
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "RecordsFolder"
    ReadRegStr $1 HKLM "${POLICY_KEY}" "RecordsFolder"
    ${If} $0 != ""
    ${AndIf} $0 == $1
        DeleteRegValue HKLM "${POLICY_KEY}" "RecordsFolder"
        DeleteRegKey /ifempty HKLM "${POLICY_KEY}"
    ${EndIf}
    ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "NoClassSheet"
    ${If} $0 == 1
        DeleteRegValue HKLM "${POLICY_KEY}" "ClassSheet"
        DeleteRegKey /ifempty HKLM "${POLICY_KEY}"
    ${EndIf}
    ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "ReadAloud"
    ${If} $0 == 1
        DeleteRegValue HKLM "${POLICY_KEY}" "ReadAloud"
        DeleteRegKey /ifempty HKLM "${POLICY_KEY}"
    ${EndIf}
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
    ; The records folder stays: the best score belongs to the classroom.
SectionEnd
