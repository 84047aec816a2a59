#!/bin/sh
# The program's icon where Windows looks for it: the window program's first icon group, and the installer's
# (and so its uninstaller's) icon, each the built escolan-horvane.ico with every size from 16 to 256 px,
# extracted with icoutils' wrestool and listed with icotool.
# Usage: icono_exe_test.sh WINDOW_EXE SETUP_EXE ICO
set -eu
exe=$1
setup=$2
ico=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# The pictures of an icon file, one line each (size and colour depth), in order of size.
pictures() { icotool --list "$1" | sed 's/--index=[0-9]* //' | sort -t= -k3 -n; }
pictures "$ico" > "$work/expected"
for size in 16 24 32 48 64 128 256; do
  grep -q -- "--width=$size --height=$size --bit-depth=32" "$work/expected" || fail "the built icon has no ${size}x${size}"
done

# Windows shows a program's first icon group (type 14); its pictures are the icon's.
wrestool --list --type=14 "$exe" > "$work/groups"
[ "$(wc -l < "$work/groups")" -eq 1 ] || fail "the window program has not one icon group: $(cat "$work/groups")"
wrestool --extract --type=14 "$exe" > "$work/program.ico"
pictures "$work/program.ico" > "$work/program"
diff "$work/expected" "$work/program" || fail "the window program's icon is not the program's"

# NSIS keeps the installer's icon as its one icon group: the same pictures.
wrestool --extract --type=14 "$setup" > "$work/setup.ico"
pictures "$work/setup.ico" > "$work/setup"
diff "$work/expected" "$work/setup" || fail "the installer's icon is not the program's"
echo "the window program and the installer carry the program's icon in every size"
