#!/usr/bin/env bash
# Builds the Debian package on Debian or Ubuntu: installs what is missing, builds both programs in Release in a
# build folder of its own, installs them into a staging root (cmake --install: the layout is packaging/'s), works
# out their dependencies with dpkg-shlibdeps, and leaves escolan-horvane_VERSION_amd64.deb in OUTDIR.
# Usage: scripts/build-deb.sh OUTDIR [BUILDDIR]   (BUILDDIR: build-deb at the top of the source tree)
set -euo pipefail
if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "Usage: $0 OUTDIR [BUILDDIR]" >&2
  exit 2
fi
mkdir -p "$1"
outdir=$(cd "$1" && pwd)
cd "$(dirname "$0")/.."
build=${2:-build-deb}
source scripts/packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${DEB_PACKAGES[@]}"

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DESCOLAN_SANITIZE=OFF -DESCOLAN_BUILD_TESTS=OFF \
      -DESCOLAN_BUILD_GUI=ON -DCMAKE_INSTALL_PREFIX=/usr "-DCMAKE_EXE_LINKER_FLAGS=-Wl,-z,relro -Wl,-z,now" >/dev/null
cmake --build "$build" -j 2

umask 022
staging=$(mktemp -d)
trap 'rm -rf "$staging"' EXIT
root=$staging/root
DESTDIR=$root cmake --install "$build" --strip >/dev/null
# Owned by root, as dpkg-deb --root-owner-group records them: plain files readable by all, programs runnable.
find "$root" -type d -exec chmod 0755 {} +
find "$root" -type f -exec chmod 0644 {} +
chmod 0755 "$root"/usr/bin/*

# The libraries the programs load, as package names and versions; dpkg-shlibdeps reads a debian/control.
mkdir -p "$staging/debian"
printf 'Source: escolan-horvane\n\nPackage: escolan-horvane\nArchitecture: amd64\n' > "$staging/debian/control"
depends=$(cd "$staging" && dpkg-shlibdeps -O root/usr/bin/* 2>/dev/null | sed -n 's/^shlibs:Depends=//p')
[ -n "$depends" ] || { echo "dpkg-shlibdeps found no dependency" >&2; exit 1; }
installed_size=$(du -s --apparent-size --block-size=1024 "$root/usr" | cut -f1)

mkdir -p "$root/DEBIAN"
sed -e "s/\${shlibs:Depends}/$depends/" -e "s/\${Installed-Size}/$installed_size/" \
    "$build/packaging/debian/control" > "$root/DEBIAN/control"
(cd "$root" && find usr -type f -print0 | LC_ALL=C sort -z | xargs -0 md5sum) > "$root/DEBIAN/md5sums"
chmod 0644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"

version=$(sed -n 's/^Version: //p' "$root/DEBIAN/control")
deb=$outdir/escolan-horvane_${version}_amd64.deb
dpkg-deb --root-owner-group -Zxz --build "$root" "$deb" >/dev/null
echo "$deb"
