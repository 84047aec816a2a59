#!/usr/bin/env bash
# Takes the screenshots in docs/: the main window and the two review dialogs of an import, of the Linux (Qt)
# window and of the Windows (Win32) window under Wine, over the invented school, on one virtual display at
# 96 dpi; and the window menu's problems and backups dialogs of both windows (win32-problemas.png,
# win32-copias.png; qt-problemas.png, qt-copias.png, which the Qt real-input test saves on a display of its
# own). Needs both builds with their windows:
#   docs/capturas.sh LINUX_BUILD WINDOWS_BUILD
set -euo pipefail
cd "$(dirname "$0")/.."
linux=$(realpath "$1")
windows=$(realpath "$2")
work=$(mktemp -d)
source scripts/wine.sh
start_wine "$windows/wineprefix"
trap 'stop_wine; rm -rf "$work"' EXIT

/usr/bin/python3 tests/win32/programa_win32_test.py wine "$windows/app/escolan-horvane.exe" \
  "$windows/app/escolan-horvane-cli.exe" "$windows/tests/espia.exe" "$work/win32" --capturas docs
/usr/bin/python3 docs/capturas_qt.py "$linux" "$work/qt" docs
mkdir -p "$work/menu"
ESCOLAN_CAPTURAS="$PWD/docs" ESCOLAN_HORVANE_DRIVE_C="$work/menu" ESCOLAN_HORVANE_OPENER=/bin/true \
  "$linux/tests/gui_menu_entrada_real_tests" anExportStoppedByTheDataShowsTheProblemsAfterTheStop \
  aBackupRestoredFromTheContextMenu >/dev/null
# The user manual shows some of them: its copies follow.
for copia in docs/manual/imagenes/*.png; do cp "docs/$(basename "$copia")" "$copia"; done
ls -l docs/*.png
