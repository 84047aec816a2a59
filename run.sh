#!/usr/bin/env bash
# Installs what is missing, builds the program in Release, and starts it.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
ensure_packages "${BUILD_PACKAGES[@]}"

cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DESCOLAN_BUILD_TESTS=OFF >/dev/null
cmake --build build-release

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build-release/app/escolan-horvane "$@"
fi
echo "No display: the window cannot open here; the headless front end answers instead."
exec build-release/app/escolan-horvane-cli "$@"
