#!/bin/sh
# The Debian package as built by scripts/build-deb.sh: its metadata (dependencies worked out from the programs),
# its files and their owners, the menu entry checked by desktop-file-validate, lintian without errors, and the
# package unpacked with dpkg -x into a folder of its own: programs that load and run, the menu entry's program
# and icon, each icon picture at its size, the manual where the programs look for it, the documents.
# Usage: deb_test.sh DEB VERSION   (VERSION: the package's, as dpkg prints it)
set -eu
deb=$1
version=$2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

[ -f "$deb" ] || { echo "FAIL: no package $deb"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# ---- Metadata ----
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = escolan-horvane ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
[ "$(field Architecture)" = amd64 ] || fail "Architecture is '$(field Architecture)'"
depends=$(field Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
  case ", $depends" in *", $library (>= "*) ;; *) fail "Depends has no versioned $library: $depends";; esac
done
# The command line links the C++ runtime in: only the window needs Qt, and the package needs nothing else.
echo "$depends" | tr ',' '\n' | sed 's/^ *//; s/ .*//' | grep -Ev '^(libc6|libgcc-s1|libstdc\+\+6|libqt6(core|gui|widgets)6)$' \
  | while read -r other; do echo "FAIL: unexpected dependency $other"; done | grep . && failures=$((failures + 1))
[ -n "$(field Installed-Size)" ] || fail "no Installed-Size"
field Description | head -1 | grep -q . || fail "no Description"

# ---- Contents: everything owned by root, nothing outside the program's own places ----
dpkg-deb -c "$deb" > "$work/contents"
awk '$2 != "root/root" { print "FAIL: owned by " $2 ": " $6; bad = 1 } END { exit bad }' "$work/contents" \
  || failures=$((failures + 1))
awk '{ print $6 }' "$work/contents" | sed 's|^\./||; s|/$||' | grep . > "$work/paths"
allowed='^(usr|usr/bin|usr/share|usr/share/(applications|icons|icons/hicolor|icons/hicolor/[^/]+|icons/hicolor/[^/]+/apps|man|man/man1|doc|lintian|lintian/overrides))$'
allowed="$allowed"'|^usr/bin/escolan-horvane(-cli)?$|^usr/share/applications/escolan-horvane\.desktop$'
allowed="$allowed"'|^usr/share/icons/hicolor/[^/]+/apps/escolan-horvane\.(png|svg)$|^usr/share/man/man1/escolan-horvane(-cli)?\.1\.gz$'
allowed="$allowed"'|^usr/share/(doc|escolan-horvane)(/.*)?$|^usr/share/lintian/overrides/escolan-horvane$'
grep -Ev "$allowed" "$work/paths" | sed 's/^/FAIL: a file outside the package'"'"'s places: /' | grep . && failures=$((failures + 1))
grep -E '^usr/share/doc/' "$work/paths" | grep -Ev '^usr/share/doc(/escolan-horvane(/(copyright|changelog\.Debian\.gz))?)?$' \
  | sed 's/^/FAIL: unexpected document: /' | grep . && failures=$((failures + 1))
for path in usr/bin/escolan-horvane usr/bin/escolan-horvane-cli usr/share/applications/escolan-horvane.desktop \
            usr/share/icons/hicolor/scalable/apps/escolan-horvane.svg usr/share/escolan-horvane/manual/index.html \
            usr/share/doc/escolan-horvane/copyright usr/share/doc/escolan-horvane/changelog.Debian.gz \
            usr/share/man/man1/escolan-horvane.1.gz usr/share/man/man1/escolan-horvane-cli.1.gz; do
  grep -qx "$path" "$work/paths" || fail "the package has no $path"
done
grep -E '^-' "$work/contents" | awk '$6 ~ /^\.\/usr\/bin\// && $1 != "-rwxr-xr-x" { print "FAIL: " $6 " is " $1; bad = 1 }
                                    $6 !~ /^\.\/usr\/bin\// && $1 != "-rw-r--r--" { print "FAIL: " $6 " is " $1; bad = 1 }
                                    END { exit bad }' || failures=$((failures + 1))

# ---- lintian: no error (its warnings and notes are printed) ----
if command -v lintian >/dev/null 2>&1; then
  lintian --pedantic -I "$deb" > "$work/lintian" 2>&1 || true
  cat "$work/lintian"
  grep -E '^E: ' "$work/lintian" >/dev/null && fail "lintian reports errors"
  grep -Eq '^(E|W): .*(not a Debian package|cannot|failed)' "$work/lintian" && fail "lintian did not check the package"
else
  fail "lintian is not installed (scripts/packages.sh DEB_PACKAGES)"
fi

# ---- Unpacked ----
root=$work/root
dpkg -x "$deb" "$root"

desktop=$root/usr/share/applications/escolan-horvane.desktop
desktop-file-validate "$desktop" > "$work/validate" 2>&1 || fail "desktop-file-validate refuses the menu entry"
grep -E ': (error|warning):' "$work/validate" && fail "desktop-file-validate: $(cat "$work/validate")"
entry() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(entry Type)" = Application ] || fail "Type is '$(entry Type)'"
[ "$(entry Exec | cut -d' ' -f1)" = escolan-horvane ] && [ -x "$root/usr/bin/$(entry Exec | cut -d' ' -f1)" ] \
  || fail "Exec '$(entry Exec)' is not the window program in /usr/bin"
[ "$(entry Icon)" = escolan-horvane ] || fail "Icon is '$(entry Icon)'"
case ";$(entry Categories)" in *";Education;"*) ;; *) fail "Categories '$(entry Categories)' lack Education";; esac
case ";$(entry Categories)" in *";Office;"*) ;; *) fail "Categories '$(entry Categories)' lack Office";; esac
entry Name | grep -q 'ESCOLAN' || fail "Name is '$(entry Name)'"
entry Comment | grep -Eq '(datos|horarios)' || fail "the Comment '$(entry Comment)' is not in Spanish"

# Each PNG at the size its folder names (the width and height words of its IHDR chunk), and the SVG as drawn.
for size in 16 24 32 48 64 128 256; do
  png=$root/usr/share/icons/hicolor/${size}x${size}/apps/escolan-horvane.png
  if [ ! -f "$png" ]; then fail "no ${size}x${size} icon"; continue; fi
  dimensions=$(od -An -tu1 -j16 -N8 "$png" | awk '{ print $1*16777216 + $2*65536 + $3*256 + $4 "x" $5*16777216 + $6*65536 + $7*256 + $8 }')
  [ "$dimensions" = "${size}x${size}" ] || fail "the ${size}x${size} icon is $dimensions"
done
grep -q '<svg' "$root/usr/share/icons/hicolor/scalable/apps/escolan-horvane.svg" || fail "the scalable icon is no SVG"

# The programs: every library they load is there, and the command line runs.
for program in escolan-horvane escolan-horvane-cli; do
  ldd "$root/usr/bin/$program" > "$work/ldd" 2>&1 || fail "ldd $program: $(cat "$work/ldd")"
  grep 'not found' "$work/ldd" && fail "$program needs a library that is missing"
  file_type=$(od -An -c -N4 "$root/usr/bin/$program" | tr -d ' ')
  [ "$file_type" = '177ELF' ] || fail "$program is no ELF program"
done
"$root/usr/bin/escolan-horvane-cli" --version | grep -q 'V-2\.5' || fail "the packaged command line does not run"

# The manual where the programs look for it: <program folder>/../share/escolan-horvane/manual/index.html.
[ -f "$root/usr/bin/../share/escolan-horvane/manual/index.html" ] || fail "no manual beside the programs"

head -1 "$root/usr/share/doc/escolan-horvane/copyright" \
  | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
  || fail "the copyright file is not in the machine-readable format"
zcat "$root/usr/share/doc/escolan-horvane/changelog.Debian.gz" > "$work/changelog"
[ "$(dpkg-parsechangelog -l "$work/changelog" -S Version)" = "$version" ] \
  || fail "the changelog's version is not the package's"
for page in escolan-horvane escolan-horvane-cli; do
  zcat "$root/usr/share/man/man1/$page.1.gz" | grep -q "^\.TH $(echo "$page" | tr a-z A-Z) 1" \
    || fail "the manual page $page.1 has no title"
done

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "the package's metadata, contents, menu entry, icons, programs, manual and documents are as they should"
