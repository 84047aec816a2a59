#!/usr/bin/env bash
# Takes docs/horarios.png: the printable page of the timetables of the invented school, after an import of a
# stand-in solution with one clash added, rendered by headless Chromium (installed when missing) at the grid
# of the first group with a clash. Needs a Linux build:
#   docs/horarios.sh LINUX_BUILD
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
ensure_packages "${DOCS_PACKAGES[@]}"
cli=$(realpath "$1")/app/escolan-horvane-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ESCOLAN_HORVANE_DRIVE_C="$work/drive_c"
mkdir -p "$ESCOLAN_HORVANE_DRIVE_C"

"$cli" make-sample 'C:\ESCOLAN' >/dev/null
"$cli" export --source 'C:\ESCOLAN' >/dev/null
# The generator's stand-in, and a lesson more: the first lesson's teacher at the same hour with another
# group's subject. Prints a --dni answer for each teacher the sample leaves without an identity number.
answers=$(PYTHONPATH=tests/support /usr/bin/python3 - "$ESCOLAN_HORVANE_DRIVE_C/HTEMP" <<'PYTHON'
import os, sys
import dbf, dbfread
import solucion_de_prueba
htemp = sys.argv[1]
solucion_de_prueba.escribir_solucion(htemp, 40)
soluc = dbf.Table(os.path.join(htemp, "SOLUC.DBF"))
soluc.open(dbf.READ_WRITE)
first, other = soluc[0], soluc[len(soluc) - 1]
soluc.append((first.dia, first.hora, "", first.prof, other.nivel, other.curso, other.asig, other.grupo))
soluc.close()
numbers = iter(range(70000001, 70001000))
print(" ".join(f"--dni {t['ABREV']}={next(numbers)}" for t in dbfread.DBF(os.path.join(htemp, "PROFT.DBF")) if not t["DNI"]))
PYTHON
)
# shellcheck disable=SC2086  # one word per answer
"$cli" import --source 'C:\ESCOLAN' $answers >/dev/null
"$cli" horarios --source 'C:\ESCOLAN' --out "$work/horarios.html"
grid=$(/usr/bin/python3 - "$work/horarios.html" <<'PYTHON'
import re, sys
page = open(sys.argv[1], encoding="utf-8").read()
for section in re.findall(r'<section class="hoja horario" id="([^"]+)">(.*?)</section>', page, re.S):
    if 'class="clase choque"' in section[1]:
        print(section[0])
        break
PYTHON
)
chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --window-size=1400,860 \
  --screenshot="$PWD/docs/horarios.png" "file://$work/horarios.html#$grid" 2>/dev/null
ls -l docs/horarios.png
