; The Windows installer: Ambrelay and ambrelay-cli, the help page beside
; them, a Start-menu shortcut and an entry in the installed programs with its
; uninstaller. For everyone (under Program Files, the entry in the machine's
; registry) or for the current user alone (under the user's own programs
; folder, the entry in the user's registry), which needs no administrator:
; without an administrator's rights it installs for the user, with them it
; asks. Silent with /S; /AllUsers or /CurrentUser choose without asking.
; makensis -DVERSION=1.00 -DSTAGE=<staged files> -DPICTURES=<its bitmaps>
;          -DSITE=<the web site's host> -DOUTFILE=<setup.exe> installer.nsi

; A 64-bit installer: it runs where the programs run.
Target amd64-unicode
SetCompressor /SOLID lzma

!define PRODUCT "Ambrelay"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Ambrelay"
; A user's own copy beside one for everyone takes this name in the Start
; menu and the installed programs, so the two are never one name twice.
!define OWN_COPY "Ambrelay (just for me)"
; What the installer says of such another installation ($0 its folder, $1
; its version), one line each: a continued line would carry its indent.
!define FOR_EVERYONE_THERE "${PRODUCT} $1 is already installed for everyone on this computer, in $0.$\r$\n$\r$\nInstalled for you alone as well, your own copy is named $\"${OWN_COPY}$\" in the Start menu and the installed programs, beside the one for everyone."
!define OWN_COPY_THERE "${PRODUCT} $1 is installed for you alone, in $0.$\r$\n$\r$\nInstalled for everyone, ${PRODUCT} replaces that copy, so the Start menu holds one ${PRODUCT}."

; Administrators are asked for their rights and offered both; anyone else
; installs for themselves. A previous installation's choice is the default,
; and its folder is kept, so a newer version replaces it in place.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
!include "MultiUser.nsh"
!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "x64.nsh"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
; The footer names the program, not the tool that built its installer.
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey /LANG=1033 "CompanyName" "The Ambrelay developers"
VIAddVersionKey /LANG=1033 "LegalCopyright" "(c) 2026 the Ambrelay developers"

; Pictures made at build time from the program's icon and colours.
!define MUI_ICON "${STAGE}\ambrelay.ico"
!define MUI_UNICON "${STAGE}\ambrelay.ico"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${PICTURES}\wizard.bmp"
!define MUI_HEADERIMAGE
!define MUI_HEADERIMAGE_RIGHT
!define MUI_HEADERIMAGE_BITMAP "${PICTURES}\header.bmp"
!define MUI_HEADERIMAGE_UNBITMAP "${PICTURES}\header.bmp"
!define MUI_ABORTWARNING

Var ShownName     ; the name in the Start menu and the installed programs
Var ReplacedCopy  ; the user's own copy that an installation for everyone replaces

!insertmacro MUI_PAGE_WELCOME
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!define MUI_PAGE_CUSTOMFUNCTION_PRE OtherInstallation
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\ambrelay.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT}"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "Ambrelay needs 64-bit Windows."
    Abort
  ${EndIf}
  SetRegView 64
  !insertmacro MULTIUSER_INIT
  ; A silent installation shows no pages, so it settles here what the
  ; directory page settles otherwise.
  ${If} ${Silent}
    Call OtherInstallation
  ${EndIf}
FunctionEnd

; Another installation in the other place: one for everyone when installing
; for the user alone, or the user's own when installing for everyone. Says
; so, and names the user's copy apart, or replaces it.
Function OtherInstallation
  StrCpy $ShownName "${PRODUCT}"
  StrCpy $ReplacedCopy ""
  ${If} $MultiUser.InstallMode == "CurrentUser"
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "DisplayVersion"
    ${If} $0 != ""
      MessageBox MB_OKCANCEL|MB_ICONINFORMATION "${FOR_EVERYONE_THERE}" /SD IDOK IDOK named
      Quit
      named:
      StrCpy $ShownName "${OWN_COPY}"
    ${EndIf}
  ${Else}
    ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "DisplayVersion"
    ${If} $0 != ""
    ${AndIf} $0 != $INSTDIR
      MessageBox MB_OKCANCEL|MB_ICONINFORMATION "${OWN_COPY_THERE}" /SD IDOK IDOK replaced
      Quit
      replaced:
      StrCpy $ReplacedCopy $0
    ${EndIf}
  ${EndIf}
FunctionEnd

Section "Ambrelay"
  ${If} $ReplacedCopy != ""
    ; Its own uninstaller, kept in place (_?=) so this waits for it.
    ExecWait '"$ReplacedCopy\uninstall.exe" /S _?=$ReplacedCopy'
    Delete "$ReplacedCopy\uninstall.exe"
    RMDir "$ReplacedCopy"
  ${EndIf}
  SetOutPath "$INSTDIR"
  File "${STAGE}\ambrelay.exe"
  File "${STAGE}\ambrelay-cli.exe"
  SetOutPath "$INSTDIR\help"
  File "${STAGE}\help\*.*"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ; An earlier installation may have used the other name.
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\${OWN_COPY}.lnk"
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\$ShownName.lnk" "$INSTDIR\ambrelay.exe" "" "$INSTDIR\ambrelay.exe" 0
  ; SHCTX: the machine's registry for everyone, the user's for the user.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "$ShownName"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "The Ambrelay developers"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\ambrelay.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "URLInfoAbout" "http://${SITE}/about.html"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "HelpLink" "http://${SITE}/kelvoryhelp.html?ambrelayhelp"
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ; In KiB, of the files as installed, the uninstaller among them.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  SetRegView 64
  ; The uninstaller removes the copy it lies in: the user's own when the
  ; user's entry names its folder, otherwise the one for everyone. Choosing
  ; a mode reads that mode's folder into $INSTDIR, which must stay this one.
  StrCpy $R0 $INSTDIR
  !insertmacro MULTIUSER_UNINIT
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $R0
    Call un.MultiUser.InstallMode.CurrentUser
  ${ElseIf} $MultiUser.Privileges != "Admin"
  ${AndIf} $MultiUser.Privileges != "Power"
    MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} is installed for everyone on this computer: removing it needs an administrator's rights." /SD IDOK
    Quit
  ${Else}
    Call un.MultiUser.InstallMode.AllUsers
  ${EndIf}
  StrCpy $INSTDIR $R0
FunctionEnd

Section "Uninstall"
  Delete "$INSTDIR\ambrelay.exe"
  Delete "$INSTDIR\ambrelay-cli.exe"
  RMDir /r "$INSTDIR\help"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\${OWN_COPY}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
