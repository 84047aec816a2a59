#!/bin/sh
# The Debian package installed by apt-get and removed again, as a school's IT person would: the programs run
# from /usr/bin, the package owns only its own files, and its removal takes them all and leaves the school's
# data alone. It changes the machine, so it runs only as root, with apt-get, when the package is not installed
# and apt-get would install nothing but it (every library it needs already there); otherwise it is skipped
# (exit 77). Whatever happens, the package is gone at the end.
# Usage: deb_apt_test.sh DEB
set -eu
deb=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
skip() { echo "skipped: $*"; exit 77; }
fail() { echo "FAIL: $*"; exit 1; }

[ "$(id -u)" -eq 0 ] || skip "not root"
command -v apt-get >/dev/null 2>&1 || skip "no apt-get"
[ -f "$deb" ] || fail "no package $deb"
if dpkg-query -W -f='${Status}' escolan-horvane 2>/dev/null | grep -q 'installed'; then
  skip "escolan-horvane is installed on this machine already"
fi
apt_get() { DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300 -y -q "$@"; }
others=$(apt_get --simulate install "$deb" | sed -n 's/^Inst \([^ ]*\).*/\1/p' | grep -vx escolan-horvane || true)
[ -z "$others" ] || skip "apt-get would also install: $(echo $others)"

work=$(mktemp -d)
cleanup() {
  if dpkg-query -W -f='${Status}' escolan-horvane 2>/dev/null | grep -q 'installed\|config-files'; then
    dpkg --purge escolan-horvane >/dev/null 2>&1 || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

apt_get install "$deb" > "$work/install.log" 2>&1 || { cat "$work/install.log"; fail "apt-get install failed"; }
[ "$(dpkg-query -W -f='${Status}' escolan-horvane)" = "install ok installed" ] || fail "the package is not installed"

# Every file and folder the package owns is its own: Debian's shared folders, or a place named for the program.
dpkg -L escolan-horvane | grep -Ev '^(/\.|/usr|/usr/bin|/usr/share|/usr/share/(applications|icons|icons/hicolor|icons/hicolor/[^/]+|icons/hicolor/[^/]+/apps|man|man/man1|doc|lintian|lintian/overrides))$' \
  | grep -v 'escolan-horvane' | sed 's/^/FAIL: the package owns /' | grep . && exit 1

# The installed programs: the command line writes a school's data on a drive C: of this test.
drive_c=$work/drive_c
mkdir -p "$drive_c"
escolan-horvane-cli --version | grep -q 'V-2\.5' || fail "the installed command line does not run from the PATH"
ESCOLAN_HORVANE_DRIVE_C=$drive_c /usr/bin/escolan-horvane-cli make-sample 'C:\ESCOLAN' >/dev/null \
  || fail "the installed command line cannot write a school's folder"
ESCOLAN_HORVANE_DRIVE_C=$drive_c /usr/bin/escolan-horvane-cli export --source 'C:\ESCOLAN' >/dev/null \
  || fail "the installed command line cannot export"
(cd "$drive_c" && find . -type f -exec md5sum {} + | sort) > "$work/data.before"
[ -s "$work/data.before" ] || fail "the export left no file"
[ -x /usr/bin/escolan-horvane ] && [ -f /usr/share/escolan-horvane/manual/index.html ] \
  && [ -f /usr/share/applications/escolan-horvane.desktop ] || fail "the window, the manual or the menu entry is missing"

dpkg -L escolan-horvane | while read -r path; do [ -d "$path" ] || echo "$path"; done > "$work/files"
apt_get remove escolan-horvane > "$work/remove.log" 2>&1 || { cat "$work/remove.log"; fail "apt-get remove failed"; }
while read -r path; do
  [ ! -e "$path" ] || fail "apt-get remove left $path"
done < "$work/files"
[ ! -e /usr/share/escolan-horvane ] || fail "apt-get remove left /usr/share/escolan-horvane"
(cd "$drive_c" && find . -type f -exec md5sum {} + | sort) > "$work/data.after"
cmp -s "$work/data.before" "$work/data.after" || fail "the removal changed the school's data"
echo "installed by apt-get, ran, and removed with the school's data left alone"
