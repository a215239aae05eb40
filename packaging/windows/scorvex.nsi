; The Windows installer of Scorvex, made by scripts/windows/package with Debian's makensis:
;   makensis -DVERSION=4.4 -DSOURCE=<folder of the program> -DOUTFILE=<setup.exe> scorvex.nsi
; SOURCE holds the program and everything beside it, and files.nsh / unfiles.nsh listing them.
; Installs for all users into Program Files, with a Start-menu entry and an uninstaller that
; removes exactly what was installed (the user's settings, journals and files stay).
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

Name "Scorvex ${VERSION}"
Caption "Scorvex ${VERSION} installieren"
UninstallCaption "Scorvex ${VERSION} entfernen"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Scorvex"
InstallDirRegKey HKLM "Software\Merrowtide\Scorvex" "InstallDir"
Icon "${SOURCE}/scorvex.ico"
UninstallIcon "${SOURCE}/scorvex.ico"
LoadLanguageFile "${NSISDIR}\Contrib\Language files\German.nlf"
ShowInstDetails show

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Scorvex"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Scorvex"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  !include "${SOURCE}/files.nsh"
  ; The program treats a folder with its uninstaller as installed: it then keeps the running
  ; text and pictures in the user's %APPDATA%\Merrowtide\Scorvex.
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortCut "$SMPROGRAMS\Scorvex.lnk" "$INSTDIR\scorvex.exe" "" "$INSTDIR\scorvex.ico" 0
  WriteRegStr HKLM "Software\Merrowtide\Scorvex" "InstallDir" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Scorvex"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Merrowtide"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\scorvex.ico"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\Scorvex.lnk"
  !include "${SOURCE}/unfiles.nsh"
  Delete "$INSTDIR\uninstall.exe"
  ; Only empty folders go: anything the user put there stays.
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "Software\Merrowtide\Scorvex"
  DeleteRegKey /ifempty HKLM "Software\Merrowtide"
SectionEnd
