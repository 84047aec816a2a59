#!/bin/sh
# The installer under Wine: a silent install puts both programs under Program Files with a Start-menu
# shortcut and an uninstall entry, the installed command line runs, and a silent uninstall takes them away
# again. Usage: installer_test.sh WINE SETUP_EXE (in the Wine prefix of the tests).
set -eu
wine=$1
setup=$2
programs='C:\Program Files\ESCOLAN-Horvane'
menu='C:\ProgramData\Microsoft\Windows\Start Menu\Programs\ESCOLAN - Horvane'
fail() { echo "FAIL: $*"; exit 1; }

"$wine" "$setup" /S || fail "the installer exited with $?"
folder=$(winepath -u "$programs")
for file in escolan-horvane.exe escolan-horvane-cli.exe uninstall.exe; do
  [ -f "$folder/$file" ] || fail "$programs\\$file is missing"
done
[ -f "$(winepath -u "$menu")/Exportar e importar datos.lnk" ] || fail "no Start-menu shortcut"
"$wine" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\EscolanHorvane' /v DisplayName \
  | grep -q 'ESCOLAN - Horvane' || fail "no uninstall entry"
"$wine" "$programs\\escolan-horvane-cli.exe" --version | grep -q 'V-2\.5' || fail "the installed command line does not run"

# The uninstaller copies itself away and returns at once: wait for it to finish.
"$wine" "$programs\\uninstall.exe" /S
for _ in $(seq 1 100); do
  [ -e "$folder/escolan-horvane.exe" ] || [ -e "$folder/uninstall.exe" ] || break
  sleep 0.1
done
[ ! -e "$folder/escolan-horvane.exe" ] && [ ! -e "$folder/escolan-horvane-cli.exe" ] || fail "the uninstaller left the programs"
[ ! -e "$(winepath -u "$menu")" ] || fail "the uninstaller left the Start-menu folder"
echo "installed, ran and uninstalled"
