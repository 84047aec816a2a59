; The Windows installer, in Spanish or Catalan (chosen at start): both programs and the manual under Program
; Files, Start-menu shortcuts to the window, the manual and the uninstaller, a desktop shortcut if wanted, and
; an uninstaller registered with Windows. Run again, it installs over the installed version in its own folder
; and under the same entry of the installed programs. `escolan-horvane-setup.exe /S` installs without asking,
; with the desktop shortcut, in the language of the installed version, else in Catalan when Windows speaks
; it, else in Spanish.
; makensis is given: /DVERSION=x.y.z /DWINDOW_EXE=... /DCLI_EXE=... /DICON=...ico /DMANUAL_NSH=... /DOUTFILE=...
; (MANUAL_NSH: the manual's files, as the macros InstalarManual and QuitarManual).
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "x64.nsh"
!include "${MANUAL_NSH}"

!define PRODUCT "ESCOLAN - Horvane"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\EscolanHorvane"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\ESCOLAN-Horvane"
; An installed version's folder, where a new one goes (the 64-bit installer reads the 64-bit registry).
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
BrandingText "${PRODUCT} ${VERSION}"

; ---- Pages ----
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TITLE_3LINES
!define MUI_FINISHPAGE_TITLE_3LINES
!define MUI_COMPONENTSPAGE_NODESC
; The language chosen is remembered for the uninstaller and for the next installation.
!define MUI_LANGDLL_REGISTRY_ROOT HKLM
!define MUI_LANGDLL_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MUI_LANGDLL_REGISTRY_VALUENAME "Installer Language"
!define MUI_LANGDLL_WINDOWTITLE "Idioma del instalador"
!define MUI_LANGDLL_INFO "Elija el idioma de la instalación.$\r$\nTrieu l'idioma de la instal·lació."

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\escolan-horvane.exe"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\manual\index.html"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "$(TEXTO_VER_MANUAL)"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; Spanish first: the language of an installation that asks nothing, unless Windows speaks Catalan.
!insertmacro MUI_LANGUAGE "Spanish"
!insertmacro MUI_LANGUAGE "Catalan"
!insertmacro MUI_RESERVEFILE_LANGDLL

; ---- What the installer itself says, in each language ----
; The shortcuts' names in both languages, for the uninstaller to remove whichever an installation made.
!define ES_ACCESO_PROGRAMA "Exportar e importar datos"
!define CA_ACCESO_PROGRAMA "Exportar i importar dades"
!define ES_ACCESO_MANUAL "Manual de uso"
!define CA_ACCESO_MANUAL "Manual d'ús"
!define ES_ACCESO_DESINSTALAR "Desinstalar"
!define CA_ACCESO_DESINSTALAR "Desinstal·lar"

LangString ACCESO_PROGRAMA ${LANG_SPANISH} "${ES_ACCESO_PROGRAMA}"
LangString ACCESO_PROGRAMA ${LANG_CATALAN} "${CA_ACCESO_PROGRAMA}"
LangString ACCESO_MANUAL ${LANG_SPANISH} "${ES_ACCESO_MANUAL}"
LangString ACCESO_MANUAL ${LANG_CATALAN} "${CA_ACCESO_MANUAL}"
LangString ACCESO_DESINSTALAR ${LANG_SPANISH} "${ES_ACCESO_DESINSTALAR}"
LangString ACCESO_DESINSTALAR ${LANG_CATALAN} "${CA_ACCESO_DESINSTALAR}"
LangString SECCION_PROGRAMA ${LANG_SPANISH} "El programa y su manual"
LangString SECCION_PROGRAMA ${LANG_CATALAN} "El programa i el seu manual"
LangString SECCION_ESCRITORIO ${LANG_SPANISH} "Acceso directo en el escritorio"
LangString SECCION_ESCRITORIO ${LANG_CATALAN} "Accés directe a l'escriptori"
LangString TEXTO_VER_MANUAL ${LANG_SPANISH} "Ver el manual de uso"
LangString TEXTO_VER_MANUAL ${LANG_CATALAN} "Veure el manual d'ús"
LangString COMENTARIO_PROGRAMA ${LANG_SPANISH} "Exporta los datos de ESCOLAN a Horvane e importa sus horarios"
LangString COMENTARIO_PROGRAMA ${LANG_CATALAN} "Exporta les dades d'ESCOLAN a Horvane i n'importa els horaris"

!define ACCESOS "$SMPROGRAMS\${PRODUCT}"
!define ACCESO_ESCRITORIO "$DESKTOP\${PRODUCT}.lnk"

; Every shortcut an installation in either language may have made, so that one in the other language leaves
; none behind.
!macro QuitarAccesos
  SetShellVarContext all
  Delete "${ACCESOS}\${ES_ACCESO_PROGRAMA}.lnk"
  Delete "${ACCESOS}\${CA_ACCESO_PROGRAMA}.lnk"
  Delete "${ACCESOS}\${ES_ACCESO_MANUAL}.lnk"
  Delete "${ACCESOS}\${CA_ACCESO_MANUAL}.lnk"
  Delete "${ACCESOS}\${ES_ACCESO_DESINSTALAR}.lnk"
  Delete "${ACCESOS}\${CA_ACCESO_DESINSTALAR}.lnk"
  Delete "${ACCESO_ESCRITORIO}"
!macroend

Function .onInit
  SetRegView 64
  !insertmacro MUI_LANGDLL_DISPLAY
FunctionEnd

Function un.onInit
  SetRegView 64
  !insertmacro MUI_UNGETLANGUAGE
FunctionEnd

; ---- Installation ----
Section "$(SECCION_PROGRAMA)" SeccionPrograma
  SectionIn RO
  SetRegView 64
  ; An installed version's shortcuts go first: this installation may speak the other language.
  !insertmacro QuitarAccesos

  SetOutPath "$INSTDIR"
  File "/oname=escolan-horvane.exe" "${WINDOW_EXE}"
  File "/oname=escolan-horvane-cli.exe" "${CLI_EXE}"
  !insertmacro InstalarManual
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "${ACCESOS}"
  CreateShortcut "${ACCESOS}\$(ACCESO_PROGRAMA).lnk" "$INSTDIR\escolan-horvane.exe" "" \
                 "$INSTDIR\escolan-horvane.exe" 0 SW_SHOWNORMAL "" "$(COMENTARIO_PROGRAMA)"
  CreateShortcut "${ACCESOS}\$(ACCESO_MANUAL).lnk" "$INSTDIR\manual\index.html"
  CreateShortcut "${ACCESOS}\$(ACCESO_DESINSTALAR).lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\escolan-horvane.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Installer Language" "$LANGUAGE"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "$(SECCION_ESCRITORIO)" SeccionEscritorio
  SetShellVarContext all
  CreateShortcut "${ACCESO_ESCRITORIO}" "$INSTDIR\escolan-horvane.exe" "" "$INSTDIR\escolan-horvane.exe" 0 \
                 SW_SHOWNORMAL "" "$(COMENTARIO_PROGRAMA)"
SectionEnd

; ---- Uninstallation ----
; Removes the programs, the manual and the shortcuts only: the school's data in C:\ESCOLAN and C:\HTEMP stay,
; and so does anything else someone put in the program's folder.
Section "Uninstall"
  SetRegView 64
  Delete "$INSTDIR\escolan-horvane.exe"
  Delete "$INSTDIR\escolan-horvane-cli.exe"
  !insertmacro QuitarManual
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  !insertmacro QuitarAccesos
  RMDir "${ACCESOS}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
