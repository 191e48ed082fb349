; The installer of the Windows program, built by scripts/package-windows with
; Debian's makensis. Defines passed in: VERSION, PROGRAM (the .exe), README,
; EXAMPLE (the example address book), ICON and OUTFILE.
;
; Installs for the current user by default (no administrator rights needed);
; an administrator may choose all users on the first page, or with /AllUsers
; on the command line. /S installs and uninstalls silently. Neither changes
; anything while the program runs; a silent run then ends with exit code 2.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!define PRODUCT "Morvi-Telefonbuch"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
; The uninstaller finds the mode of the installation by the key it wrote.
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallMode"
!include MultiUser.nsh
!include MUI2.nsh
!include FileFunc.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "German"
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

; Removes the program file before anything else is written or removed:
; Windows keeps the file of a running program, and a running program must
; neither lose its entries nor find its folder half replaced. While it runs
; the user is asked to close it; Cancel (and a silent run) ends without a
; change, with an error.
!macro PROGRAM_FILE_REMOVAL UN
Function ${UN}RemoveProgramFile
  retry:
    ClearErrors
    Delete "$INSTDIR\morvi-telefonbuch.exe"
    ${IfNot} ${Errors}
      Return
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "${PRODUCT} läuft noch.$\r$\nBitte schließen Sie das Programm und wählen Sie dann Wiederholen." \
      /SD IDCANCEL IDRETRY retry
    Abort
FunctionEnd
!macroend
!insertmacro PROGRAM_FILE_REMOVAL ""
!insertmacro PROGRAM_FILE_REMOVAL "un."

; Sets $0 to 1 while the example address book in the program folder is the
; one installed there, 0 otherwise: its time is the one recorded when it was
; written, and the program saves by replacing the file, which changes it.
!macro EXAMPLE_CHECK UN
Function ${UN}ExampleAsInstalled
  ReadRegStr $1 SHCTX "${UNINSTALL_KEY}" "ExampleTime"
  GetFileTime "$INSTDIR\beispiel.vcf" $2 $3
  ${If} ${FileExists} "$INSTDIR\beispiel.vcf"
  ${AndIf} $1 == "$2 $3"
    StrCpy $0 1
  ${Else}
    StrCpy $0 0
  ${EndIf}
FunctionEnd
!macroend
!insertmacro EXAMPLE_CHECK ""
!insertmacro EXAMPLE_CHECK "un."

Section "Install"
  SetOutPath "$INSTDIR"
  Call RemoveProgramFile
  File "/oname=morvi-telefonbuch.exe" "${PROGRAM}"
  File "/oname=README.txt" "${README}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The example goes in only where the user cannot have saved contacts into
  ; it: where there is none, or where it is still the one installed before.
  ; Its time is recorded only when it is written, so that the uninstaller
  ; too removes it only while it is unchanged.
  Call ExampleAsInstalled
  ${If} $0 == 1
  ${OrIfNot} ${FileExists} "$INSTDIR\beispiel.vcf"
    File "/oname=beispiel.vcf" "${EXAMPLE}"
    GetFileTime "$INSTDIR\beispiel.vcf" $0 $1
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "ExampleTime" "$0 $1"
  ${EndIf}

  ; The program creates its first address book, myadr.vcf, in the folder it
  ; is started in: the user's documents, or the public documents of an
  ; installation for all users, never the program folder.
  SetOutPath "$DOCUMENTS"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\morvi-telefonbuch.exe" "" \
    "$INSTDIR\morvi-telefonbuch.exe" 0

  ; Apps & Features
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\morvi-telefonbuch.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallMode" "$MultiUser.InstallMode"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" \
    '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" \
    '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Removes what the installer put there and nothing else: the address books,
; the configuration (in the temporary folder, or morvi-telefonbuch.cfg beside
; the program) and prot.txt are the user's and stay, and with them the
; program folder when any of them is in it.
Section "Uninstall"
  Call un.RemoveProgramFile
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$INSTDIR\README.txt"
  Call un.ExampleAsInstalled
  ${If} $0 == 1
    Delete "$INSTDIR\beispiel.vcf"
  ${EndIf}
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
