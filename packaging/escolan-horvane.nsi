; The Windows installer: both programs under Program Files, a Start-menu shortcut to the window, an
; uninstaller registered with Windows. `escolan-horvane-setup.exe /S` installs without asking.
; makensis is given: /DVERSION=x.y.z /DWINDOW_EXE=... /DCLI_EXE=... /DOUTFILE=...
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "LogicLib.nsh"
!include "x64.nsh"

!define PRODUCT "ESCOLAN - Horvane"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\EscolanHorvane"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\ESCOLAN-Horvane"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Install"
  SetRegView 64
  SetOutPath "$INSTDIR"
  File "/oname=escolan-horvane.exe" "${WINDOW_EXE}"
  File "/oname=escolan-horvane-cli.exe" "${CLI_EXE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  SetShellVarContext all
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Exportar e importar datos.lnk" "$INSTDIR\escolan-horvane.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Desinstalar.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\escolan-horvane.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes the programs and the shortcuts only: the school's data in C:\ESCOLAN and C:\HTEMP stay.
Section "Uninstall"
  SetRegView 64
  Delete "$INSTDIR\escolan-horvane.exe"
  Delete "$INSTDIR\escolan-horvane-cli.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  SetShellVarContext all
  Delete "$SMPROGRAMS\${PRODUCT}\Exportar e importar datos.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Desinstalar.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
