#!/usr/bin/env bash
# Takes docs/ventana-principal.png: the window as it opens on a virtual display, over a small invented
# ESCOLAN folder (a centro table with two centre codes and two subfolders), on a drive C: of its own.
# Needs xvfb-run and python3; the program must be built first:  docs/captura_ventana.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
program=$build/app/escolan-horvane
[ -x "$program" ] || { echo "Build the program first: $program is missing" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
drive_c=$work/drive_c
mkdir -p "$drive_c/ESCOLAN/COPIAS" "$drive_c/ESCOLAN/INFORMES" "$work/fb"

# centro.dbf: dBase III, CODCEN N(8,0) and LITCEN C(45), two records.
python3 - "$drive_c/ESCOLAN/centro.dbf" <<'PY'
import struct, sys
fields = [(b"CODCEN", b"N", 8, 0), (b"LITCEN", b"C", 45, 0)]
records = [(46010301, "IES JOAN FUSTER"), (46019999, "CEIP LLUIS VIVES")]
record_size = 1 + sum(f[2] for f in fields)
header_size = 32 + 32 * len(fields) + 1
out = bytearray(struct.pack("<B3BIHH20x", 0x03, 124, 12, 10, len(records), header_size, record_size))
for name, kind, size, decimals in fields:
    out += struct.pack("<11sc4xBB14x", name, kind, size, decimals)
out += b"\r"
for code, name in records:
    out += b" " + str(code).rjust(8).encode("ascii") + name.ljust(45).encode("cp850")
out += b"\x1a"
open(sys.argv[1], "wb").write(out)
PY

# The program starts in C:\ and moves to C:\ESCOLAN itself; Xvfb keeps its screen in an XWD file.
(cd "$drive_c" && ESCOLAN_HORVANE_DRIVE_C=$drive_c QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 800x560x24 -dpi 96 -nocursor -fbdir $work/fb" \
  sh -c "\"$OLDPWD/$program\" & pid=\$!; sleep 4; cp $work/fb/Xvfb_screen0 $work/screen.xwd; kill \$pid")

# The window's area of the screen (it opens at 110,57 and there is no window manager to frame it) as PNG.
python3 - "$work/screen.xwd" docs/ventana-principal.png 110 57 587 431 <<'PY'
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
h = struct.unpack(">25I", data[:100])
header_size, width, height, byte_order, bpp, bytes_per_line, ncolors = h[0], h[4], h[5], h[7], h[11], h[12], h[19]
assert bpp == 32, "expected a 32-bit screen"
pixels = data[header_size + 12 * ncolors:]
left, top, w, hgt = (int(v) for v in sys.argv[3:7])
rows = bytearray()
for y in range(top, top + hgt):
    line = pixels[y * bytes_per_line + left * 4:y * bytes_per_line + (left + w) * 4]
    rows.append(0)
    for x in range(0, len(line), 4):
        b, g, r = (line[x], line[x + 1], line[x + 2]) if byte_order == 0 else (line[x + 3], line[x + 2], line[x + 1])
        rows += bytes((r, g, b))
def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)
png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, hgt, 8, 2, 0, 0, 0))
png += chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b"")
open(sys.argv[2], "wb").write(png)
PY
echo "docs/ventana-principal.png written"
