#!/bin/sh
# The installer under Wine, as a school's IT person uses it:
# - a silent install into a folder of its own choosing puts both programs and the manual there, with the
#   Start-menu shortcuts (program, manual, uninstaller) and the desktop shortcut in Spanish, and one entry in
#   the list of installed programs;
# - a silent install of the same installer over it, with Catalan recorded as the language of the installed
#   version, goes into the same folder and the same entry, overwrites the programs, and leaves the shortcuts in
#   Catalan only (so the installer carries both languages);
# - the installed command line runs;
# - a silent uninstall removes the programs, the manual, every shortcut and the entry, and leaves C:\ESCOLAN,
#   C:\HTEMP and a file of someone else's in the program's folder untouched.
# Usage: installer_test.sh WINE SETUP_EXE (in the Wine prefix of the tests).
set -eu
wine=$1
setup=$2
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\EscolanHorvane'
default_folder='C:\Program Files\ESCOLAN-Horvane'
programs='C:\Programas\EscolanHorvane'
menu='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\ESCOLAN - Horvane'
desktop='C:\users\Public\Desktop\ESCOLAN - Horvane.lnk'
# No menu entries of Wine's on the host for the shortcuts.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-};winemenubuilder.exe=d"
fail() { echo "FAIL: $*"; exit 1; }
unix() { winepath -u "$1" 2>/dev/null; }

folder=$(unix "$programs")
menu_folder=$(unix "$menu")
drive_c=$(unix 'C:\')
registry_value() {
  "$wine" reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$1 *REG_[A-Z_]* *//p"
}

# The uninstaller copies itself away and returns at once: wait until the entry is gone.
uninstall() {
  "$wine" "$1\\uninstall.exe" /S || fail "the uninstaller exited with $?"
  for _ in $(seq 1 200); do
    "$wine" reg query "$key" >/dev/null 2>&1 || break
    sleep 0.1
  done
  for _ in $(seq 1 50); do
    [ -e "$(unix "$1")/uninstall.exe" ] || break
    sleep 0.1
  done
}

# A former run's installation goes first.
if "$wine" reg query "$key" >/dev/null 2>&1; then
  uninstall "$(registry_value InstallLocation)"
fi

# The school's data, which no installation or removal may touch.
created=""
for data in ESCOLAN HTEMP; do
  [ -d "$drive_c/$data" ] || created="$created $data"
  mkdir -p "$drive_c/$data"
  echo "datos del centro" > "$drive_c/$data/prueba-instalador.txt"
done
cleanup() {
  rm -f "$drive_c/ESCOLAN/prueba-instalador.txt" "$drive_c/HTEMP/prueba-instalador.txt"
  for data in $created; do rmdir "$drive_c/$data" 2>/dev/null || true; done
  rm -f "$folder/notas.txt"
  rmdir "$folder" 2>/dev/null || true
}
trap cleanup EXIT

# ---- First install, into a folder of its own ----
"$wine" "$setup" /S "/D=$programs" || fail "the installer exited with $?"
for file in escolan-horvane.exe escolan-horvane-cli.exe uninstall.exe manual/index.html; do
  [ -f "$folder/$file" ] || fail "$programs\\$file is missing"
done
for shortcut in 'Exportar e importar datos' 'Manual de uso' 'Desinstalar'; do
  [ -f "$menu_folder/$shortcut.lnk" ] || fail "no Start-menu shortcut \"$shortcut\" in Spanish"
done
grep -aq 'manual.index\.html' "$menu_folder/Manual de uso.lnk" || fail "the manual's shortcut does not open the manual"
[ -f "$(unix "$desktop")" ] || fail "no desktop shortcut (a silent install makes one)"
[ "$(registry_value DisplayName)" = 'ESCOLAN - Horvane' ] || fail "no uninstall entry"
[ "$(registry_value InstallLocation)" = "$programs" ] || fail "the entry's folder is '$(registry_value InstallLocation)'"
[ "$(registry_value 'Installer Language')" = 1034 ] || fail "the installation's language is not Spanish"
echo "apuntes de otro" > "$folder/notas.txt"

# ---- Installed again over it, in Catalan: same folder, same entry, programs overwritten ----
"$wine" reg add "$key" /v 'Installer Language' /t REG_SZ /d 1027 /f >/dev/null
: > "$folder/escolan-horvane-cli.exe"
"$wine" "$setup" /S || fail "the installer over an installed version exited with $?"
[ -s "$folder/escolan-horvane-cli.exe" ] || fail "the installation over the installed version did not overwrite the programs"
[ ! -e "$(unix "$default_folder")" ] || fail "the installation over the installed version went to $default_folder"
entries=$("$wine" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s | tr -d '\r' \
          | grep -Ec '^ *DisplayName +REG_SZ +ESCOLAN - Horvane$' || true)
[ "$entries" -eq 1 ] || fail "$entries entries in the list of installed programs"
[ "$(registry_value InstallLocation)" = "$programs" ] || fail "the entry's folder is '$(registry_value InstallLocation)'"
for shortcut in 'Exportar i importar dades' "Manual d'ús" 'Desinstal·lar'; do
  [ -f "$menu_folder/$shortcut.lnk" ] || fail "no Start-menu shortcut \"$shortcut\" in Catalan"
done
for shortcut in 'Exportar e importar datos' 'Manual de uso' 'Desinstalar'; do
  [ ! -e "$menu_folder/$shortcut.lnk" ] || fail "the Spanish shortcut \"$shortcut\" stayed beside the Catalan ones"
done
[ -f "$folder/manual/index.html" ] && [ -f "$folder/notas.txt" ] || fail "the manual or another's file went missing"
"$wine" "$programs\\escolan-horvane-cli.exe" --version | grep -q 'V-2\.5' || fail "the installed command line does not run"

# ---- Uninstalled ----
uninstall "$programs"
for file in escolan-horvane.exe escolan-horvane-cli.exe uninstall.exe manual; do
  [ ! -e "$folder/$file" ] || fail "the uninstaller left $programs\\$file"
done
[ -f "$folder/notas.txt" ] || fail "the uninstaller removed a file it did not install"
[ ! -e "$menu_folder" ] || fail "the uninstaller left the Start-menu folder: $(ls "$menu_folder")"
[ ! -e "$(unix "$desktop")" ] || fail "the uninstaller left the desktop shortcut"
! "$wine" reg query "$key" >/dev/null 2>&1 || fail "the uninstaller left the uninstall entry"
for data in ESCOLAN HTEMP; do
  [ "$(cat "$drive_c/$data/prueba-instalador.txt" 2>/dev/null)" = "datos del centro" ] \
    || fail "the uninstaller touched C:\\$data"
done
echo "installed, installed again over itself in Catalan, ran, and uninstalled leaving the school's data"
