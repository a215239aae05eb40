; The Windows installer of Scorvex, made by scripts/windows/package with Debian's makensis:
;   makensis -DVERSION=4.4 -DVERSION4=4.4.0.0 -DHELPLINK=<url> -DSOURCE=<folder of the program>
;            -DOUTFILE=<setup.exe> scorvex.nsi
; SOURCE holds the program and everything beside it, and files.nsh / unfiles.nsh listing them.
; Installs for all users into Program Files, or for the current user alone into the user's
; programs folder without administrator rights (chosen on a page, or /AllUsers, /CurrentUser);
; the uninstaller removes exactly what was installed, and the user's settings, journals and
; files only when asked to.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Scorvex"
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "Scorvex"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
!include MultiUser.nsh
!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

Name "Scorvex ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "Scorvex ${VERSION}"
ShowInstDetails show

VIProductVersion "${VERSION4}"
VIFileVersion "${VERSION4}"
VIAddVersionKey /LANG=0 "ProductName" "Scorvex"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION4}"
VIAddVersionKey /LANG=0 "FileDescription" "Scorvex ${VERSION} Setup"
VIAddVersionKey /LANG=0 "CompanyName" "Merrowtide"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright (C) Merrowtide"

!define MUI_ICON "${SOURCE}\scorvex.ico"
!define MUI_UNICON "${SOURCE}\scorvex.ico"
!define MUI_ABORTWARNING

; The components of others and their licences: to read, not to accept.
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!define MUI_LICENSEPAGE_TEXT_BOTTOM "$(ThirdPartyBottom)"
!insertmacro MUI_PAGE_LICENSE "${SOURCE}\licences\THIRD-PARTY.txt"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\scorvex.exe"
!define MUI_FINISHPAGE_RUN_TEXT "$(RunScorvex)"
!define MUI_FINISHPAGE_RUN_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

; A German Windows gets the German installer, an English one the English installer; any other
; language the German, the program's own.
!insertmacro MUI_LANGUAGE "German"
!insertmacro MUI_LANGUAGE "English"

LangString ThirdPartyBottom ${LANG_GERMAN} "Weiter mit $(^NextBtn)."
LangString ThirdPartyBottom ${LANG_ENGLISH} "Go on with $(^NextBtn)."
LangString RunScorvex ${LANG_GERMAN} "Scorvex starten"
LangString RunScorvex ${LANG_ENGLISH} "Start Scorvex"
LangString Running ${LANG_GERMAN} "Scorvex läuft noch.$\r$\n$\r$\nOK beendet es (das laufende Spiel ist gesichert und wird beim nächsten Start angeboten), Abbrechen bricht ab."
LangString Running ${LANG_ENGLISH} "Scorvex is still running.$\r$\n$\r$\nOK ends it (the match in progress is saved and offered at the next start), Cancel stops here."
LangString StillRunning ${LANG_GERMAN} "Scorvex ließ sich nicht beenden. Bitte Scorvex schließen und noch einmal versuchen."
LangString StillRunning ${LANG_ENGLISH} "Scorvex could not be ended. Please close Scorvex and try again."
LangString SecProgram ${LANG_GERMAN} "Scorvex"
LangString SecProgram ${LANG_ENGLISH} "Scorvex"
LangString SecDesktop ${LANG_GERMAN} "Verknüpfung auf dem Desktop"
LangString SecDesktop ${LANG_ENGLISH} "Desktop shortcut"
LangString SecFirewall ${LANG_GERMAN} "Firewall: Fernbedienung im privaten Netz erlauben (nur für alle Benutzer)"
LangString SecFirewall ${LANG_ENGLISH} "Firewall: allow the remote control on private networks (all users only)"
LangString SecUserData ${LANG_GERMAN} "Auch Einstellungen, gespeicherte Spiele und Listen entfernen"
LangString SecUserData ${LANG_ENGLISH} "Also remove settings, saved matches and lists"

; Scorvex running from the installation folder keeps its files from being replaced or removed:
; it is ended after asking (its match is in the journal, so nothing is lost), or the
; installation stops. A silent run ends it without asking.
!macro EndRunningScorvex PREFIX
Function ${PREFIX}EndRunningScorvex
  StrCpy $R1 0
  ${Do}
    ${IfNot} ${FileExists} "$INSTDIR\scorvex.exe"
      Return
    ${EndIf}
    ClearErrors
    FileOpen $R0 "$INSTDIR\scorvex.exe" a
    ${IfNot} ${Errors}
      FileClose $R0
      Return
    ${EndIf}
    ${If} $R1 == 0
      MessageBox MB_OKCANCEL|MB_ICONEXCLAMATION "$(Running)" /SD IDOK IDOK +2
      Abort
      nsExec::Exec 'taskkill /F /IM scorvex.exe'
      Pop $R0
    ${ElseIf} $R1 > 20
      MessageBox MB_OK|MB_ICONSTOP "$(StillRunning)" /SD IDOK
      Abort
    ${EndIf}
    IntOp $R1 $R1 + 1
    Sleep 250
  ${Loop}
FunctionEnd
!macroend
!insertmacro EndRunningScorvex ""
!insertmacro EndRunningScorvex "un."

Function .onInit
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "$(SecProgram)" SecProgram
  SectionIn RO
  Call EndRunningScorvex
  SetOutPath "$INSTDIR"
  !include "${SOURCE}\files.nsh"
  ; The program treats a folder with its uninstaller as installed: it then keeps the running
  ; text and pictures in the user's %APPDATA%\Merrowtide\Scorvex.
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\Scorvex.lnk" "$INSTDIR\scorvex.exe" "" "$INSTDIR\scorvex.exe" 0
  ; "Apps & Features": SHCTX is HKLM for all users, HKCU for the current user alone.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Scorvex"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Merrowtide"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\scorvex.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "HelpLink" "${HELPLINK}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "URLInfoAbout" "${HELPLINK}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" "$0"
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "$(SecDesktop)" SecDesktop
  CreateShortCut "$DESKTOP\Scorvex.lnk" "$INSTDIR\scorvex.exe" "" "$INSTDIR\scorvex.exe" 0
SectionEnd

Section "$(SecFirewall)" SecFirewall
  ${If} $MultiUser.InstallMode == "AllUsers"
    nsExec::Exec 'netsh advfirewall firewall add rule name="Scorvex" dir=in action=allow program="$INSTDIR\scorvex.exe" profile=private enable=yes'
    Pop $0
  ${EndIf}
SectionEnd

Section "un.$(SecProgram)" UnSecProgram
  SectionIn RO
  Call un.EndRunningScorvex
  Delete "$SMPROGRAMS\Scorvex.lnk"
  Delete "$DESKTOP\Scorvex.lnk"
  ${If} $MultiUser.InstallMode == "AllUsers"
    nsExec::Exec 'netsh advfirewall firewall delete rule name="Scorvex" program="$INSTDIR\scorvex.exe"'
    Pop $0
  ${EndIf}
  !include "${SOURCE}\unfiles.nsh"
  Delete "$INSTDIR\uninstall.exe"
  ; Only empty folders go: anything the user put there stays.
  RMDir "$INSTDIR"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  ; Where versions before 4.4 noted the folder.
  ${If} $MultiUser.InstallMode == "AllUsers"
    DeleteRegKey HKLM "Software\Merrowtide\Scorvex"
    DeleteRegKey /ifempty HKLM "Software\Merrowtide"
  ${EndIf}
SectionEnd

; Off unless chosen: the settings in the registry, the journals in %LOCALAPPDATA% and the lists
; and pictures in %APPDATA%, which are this user's whichever way the program was installed.
Section /o "un.$(SecUserData)" UnSecUserData
  SetShellVarContext current
  DeleteRegKey HKCU "Software\Merrowtide\Scorvex"
  DeleteRegKey /ifempty HKCU "Software\Merrowtide"
  RMDir /r "$LOCALAPPDATA\Merrowtide\Scorvex"
  RMDir "$LOCALAPPDATA\Merrowtide"
  RMDir /r "$APPDATA\Merrowtide\Scorvex"
  RMDir "$APPDATA\Merrowtide"
SectionEnd
