#!/usr/bin/env bash
# Takes docs/ventana-principal-win32-144dpi.png: the Windows window under Wine with the display scaled to 150 %
# (LogPixels 144, as a school laptop's default), over the invented school, in a Wine prefix of its own.
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
mkdir -p "$work/c"
export ESCOLAN_HORVANE_DRIVE_C="Z:${work//\//\\}\\c"
wine "$windows/app/escolan-horvane-cli.exe" make-sample 'C:\ESCOLAN' >/dev/null 2>&1
wine "$windows/app/escolan-horvane.exe" >/dev/null 2>&1 &
for _ in $(seq 60); do
  geometry=$(xwininfo -root -tree 2>/dev/null | grep '"Exportar e importar datos "' | head -1 |
             grep -o '[0-9]*x[0-9]*+[0-9]*+[0-9]*' | head -1 || true)
  [ -n "$geometry" ] && break
  sleep 0.5
done
sleep 3  # painted
read -r w h x y <<<"$(echo "$geometry" | tr 'x+' '  ')"
python3 -c "import sys; sys.path.insert(0, 'tests/support'); import xwd_crop
xwd_crop.crop('$WINE_SCREEN', 'docs/ventana-principal-win32-${dpi}dpi.png', $x, $y, $w, $h)"
ls -l "docs/ventana-principal-win32-${dpi}dpi.png"
