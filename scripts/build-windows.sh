#!/usr/bin/env bash
# Builds the Windows programs on Debian: installs what is missing, cross-builds in Release with mingw-w64,
# and leaves in OUTDIR escolan-horvane.exe (the window), escolan-horvane-cli.exe (the command line) and
# escolan-horvane-setup.exe (the installer). Both programs are static: nothing to ship beside them.
# Usage: scripts/build-windows.sh OUTDIR
set -euo pipefail
if [ $# -ne 1 ]; then
  echo "Usage: $0 OUTDIR" >&2
  exit 2
fi
mkdir -p "$1"
outdir=$(cd "$1" && pwd)
cd "$(dirname "$0")/.."
source scripts/packages.sh
ensure_packages cmake ninja-build "${WINDOWS_PACKAGES[@]}"

build=build-windows
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
      -DESCOLAN_BUILD_TESTS=OFF >/dev/null
cmake --build "$build"
cp "$build/app/escolan-horvane.exe" "$build/app/escolan-horvane-cli.exe" \
   "$build/packaging/escolan-horvane-setup.exe" "$outdir/"
ls -l "$outdir"/escolan-horvane*.exe
