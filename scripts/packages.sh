# Sourced by run.sh and test.sh: installs the Debian packages that are missing, and nothing else.

# Packages the program needs to build and run; librsvg2-bin's rsvg-convert draws the icon's PNG sizes from its
# SVG.
BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev libcli11-dev nlohmann-json3-dev
                libgtest-dev libgmock-dev libbenchmark-dev fonts-liberation librsvg2-bin)
# Packages only the tests need: independent dBase readers and writers, a virtual display and xprop to read
# its window titles, xdotool to click and type on it, a Spanish locale.
TEST_PACKAGES=(python3 python3-dbfread python3-dbf libdbd-xbase-perl gdal-bin xvfb xauth x11-utils xdotool locales)

# Packages the Windows programs need: the mingw-w64 cross compiler (posix threads), GoogleTest's sources to
# build for Windows, Wine to run them, NSIS for the installer, the fonts the window names, rsvg-convert and
# icoutils (icotool, wrestool) for the icon: its PNG sizes gathered into one .ico, and read back from the .exe.
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix mingw-w64-tools googletest libcli11-dev nlohmann-json3-dev
                  wine wine64 nsis fonts-liberation fonts-wine librsvg2-bin icoutils)

# Packages the Debian package needs (scripts/build-deb.sh and its tests): dpkg-shlibdeps and dpkg-deb,
# fakeroot for files owned by root, desktop-file-validate, lintian.
DEB_PACKAGES=(dpkg-dev fakeroot desktop-file-utils lintian)

# Packages only scripts/fuzz.sh needs: clang with libFuzzer and the sanitizers' runtimes, and shapelib's tools
# for seed tables written by another program (python3-dbf and GDAL come with the tests' packages).
FUZZ_PACKAGES=(clang libclang-rt-14-dev shapelib)

# Packages only docs/horarios.sh needs, to take the picture of the timetables' page: installed by that script
# when it runs, never by the builds or the tests.
DOCS_PACKAGES=(chromium)

ensure_packages() {
  local missing=()
  local package
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$package")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# The decimal-separator tests want a locale whose separator is a comma.
ensure_spanish_locale() {
  locale -a 2>/dev/null | grep -qi '^es_ES\.utf-\?8$' && return 0
  [ "$(id -u)" -eq 0 ] || return 0
  sed -i 's/^# *\(es_ES\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^es_ES.UTF-8 UTF-8' /etc/locale.gen || echo 'es_ES.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
}
