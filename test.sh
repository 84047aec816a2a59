#!/usr/bin/env bash
# Installs what is missing, then runs every test: first the Linux build (with AddressSanitizer and
# UndefinedBehaviorSanitizer), then a short fuzzing of every reader of outside bytes (clang and libFuzzer, in a
# build of its own), then the Windows build, cross-built with mingw-w64 and run under Wine.
set -euo pipefail
cd "$(dirname "$0")"
root=$PWD
source scripts/packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${FUZZ_PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}" \
                "${DEB_PACKAGES[@]}"
ensure_spanish_locale

echo "== Linux =="
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DESCOLAN_SANITIZE=ON >/dev/null
cmake --build build-test
(cd build-test && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600)
echo "== Linux: ${SECONDS} s =="

echo "== Fuzzing =="
# About 20 s a target: a finding stops the job, its input kept in build-fuzz/hallazgos.
fuzz_start=$SECONDS
scripts/fuzz.sh 20
echo "== Fuzzing: $((SECONDS - fuzz_start)) s =="

echo "== Windows (under Wine) =="
# One Wine prefix of the build's own and one wineserver kept up for the whole job: test discovery at build
# time and every test then start a Windows process in a fraction of a second. Wine gets a virtual display of
# its own (Xvfb) for the window tests.
source scripts/wine.sh
cmake -S . -B build-windows-test -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
      -DESCOLAN_LINUX_CLI="$root/build-test/app/escolan-horvane-cli" >/dev/null
start_wine "$root/build-windows-test/wineprefix"
trap stop_wine EXIT
windows_start=$SECONDS
cmake --build build-windows-test
windows_built=$SECONDS
(cd build-windows-test && ctest --output-on-failure --timeout 600 -j2)
echo "== Windows: built in $((windows_built - windows_start)) s, tested in $((SECONDS - windows_built)) s =="
