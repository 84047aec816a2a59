#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer, runs every test.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
ensure_spanish_locale

cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DESCOLAN_SANITIZE=ON >/dev/null
cmake --build build-test

export QT_QPA_PLATFORM=offscreen
cd build-test
ctest --output-on-failure --timeout 600
