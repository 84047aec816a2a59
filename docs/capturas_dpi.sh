#!/usr/bin/env bash
# Takes the Windows window's pictures with the display scaled (144 dpi: 150 %, a school laptop's default):
# docs/ventana-principal-win32-144dpi.png, control-profesores-win32-144dpi.png, control-plantilla-win32-144dpi.png
# (and the window menu's two dialogs), under Wine in a prefix of its own whose LogPixels is set, through the same
# real-input run as the 96-dpi pictures.
#   docs/capturas_dpi.sh WINDOWS_BUILD [DPI]
set -euo pipefail
cd "$(dirname "$0")/.."
windows=$(realpath "$1")
dpi=${2:-144}
work=$(mktemp -d)
source scripts/wine.sh
start_wine "$work/prefix"
trap 'stop_wine; rm -rf "$work"' EXIT
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' /v LogPixels /t REG_DWORD \
  /d "$dpi" /f >/dev/null 2>&1
# The setting is read as Wine starts.
wineserver -k; sleep 1
wineserver -p >/dev/null 2>&1 </dev/null
wineboot >/dev/null 2>&1 </dev/null
/usr/bin/python3 tests/win32/programa_win32_test.py wine "$windows/app/escolan-horvane.exe" \
  "$windows/app/escolan-horvane-cli.exe" "$windows/tests/espia.exe" "$work/win32" --capturas docs --dpi "$dpi"
ls -l docs/*-"${dpi}"dpi.png
