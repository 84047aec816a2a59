#!/usr/bin/env bash
# Installs what is missing, builds the program in Release, and starts it. On a machine without an ESCOLAN
# folder yet, it first writes an invented one into C:\ESCOLAN to try the program with.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
ensure_packages "${BUILD_PACKAGES[@]}"

cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DESCOLAN_BUILD_TESTS=OFF >/dev/null
cmake --build build-release
cli=build-release/app/escolan-horvane-cli

# Drive C: as the program maps it (see the README).
drive_c=${ESCOLAN_HORVANE_DRIVE_C:-${XDG_DATA_HOME:-$HOME/.local/share}/escolan-horvane/drive_c}
mkdir -p "$drive_c"
if ! find "$drive_c" -maxdepth 1 -iname escolan -type d | grep -q .; then
  "$cli" make-sample 'C:\ESCOLAN'
fi

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build-release/app/escolan-horvane "$@"
fi
echo "No display: the window cannot open here, so the command line exports C:\\ESCOLAN instead."
"$cli" export --source 'C:\ESCOLAN'
echo "The tables for the generator are in C:\\HTEMP, that is $drive_c/HTEMP:"
ls "$drive_c"/[hH][tT][eE][mM][pP]/ | grep -i '\.dbf$' || true
