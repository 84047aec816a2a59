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
keep=${KEEP_PAGE:-}
export ESCOLAN_HORVANE_DRIVE_C="$work/drive_c"
mkdir -p "$ESCOLAN_HORVANE_DRIVE_C"

"$cli" make-sample 'C:\ESCOLAN' >/dev/null
"$cli" export --source 'C:\ESCOLAN' >/dev/null
# The generator's stand-in, and a lesson more: the first lesson's teacher at the same hour with another
# group's subject (both subjects the export knows). Prints a --dni answer for each teacher the sample leaves
# without an identity number.
answers=$(PYTHONPATH=tests/support /usr/bin/python3 - "$ESCOLAN_HORVANE_DRIVE_C/HTEMP" <<'PYTHON'
import os, sys
import dbf, dbfread
import solucion_de_prueba
htemp = sys.argv[1]
solucion_de_prueba.escribir_solucion(htemp, 12)
soluc = dbf.Table(os.path.join(htemp, "SOLUC.DBF"))
soluc.open(dbf.READ_WRITE)
# A room of the export's for each group (the stand-in gives none).
rooms = [r["ABREV"] for r in dbfread.DBF(os.path.join(htemp, "AULAT.DBF"))]
groups = sorted({(r.nivel, r.curso, r.grupo) for r in soluc})
for record in soluc:
    with record:
        record.aula = rooms[groups.index((record.nivel, record.curso, record.grupo)) % len(rooms)]
subjects = {(s["NIVEL"], s["CURSO"], s["COD"]) for s in dbfread.DBF(os.path.join(htemp, "ASIGVALT.DBF"))}
known = [r for r in soluc if (r.nivel.strip(), r.curso.strip(), r.asig.strip()) in subjects]
first = known[0]
other = next(r for r in known if r.asig != first.asig and r.grupo != first.grupo)
soluc.append((first.dia, first.hora, other.aula, first.prof, other.nivel, other.curso, other.asig, other.grupo))
soluc.close()
numbers = iter(range(70000001, 70001000))
print(" ".join(f"--dni {t['ABREV']}={next(numbers)}" for t in dbfread.DBF(os.path.join(htemp, "PROFT.DBF")) if not t["DNI"]))
PYTHON
)
# shellcheck disable=SC2086  # one word per answer
"$cli" import --source 'C:\ESCOLAN' $answers >/dev/null
"$cli" horarios --source 'C:\ESCOLAN' --out "$work/horarios.html"
# The grid of the first group with a clash, alone with the page's head (a headless window shows the top of a
# page; it does not always scroll to a link's target before it takes its picture).
/usr/bin/python3 - "$work/horarios.html" "$work/rejilla.html" <<'PYTHON'
import re, sys
page = open(sys.argv[1], encoding="utf-8").read()
head = page[: page.index("<body>") + len("<body>")]
for section in re.findall(r'<section class="hoja horario" id="[^"]+">.*?</section>', page, re.S):
    if 'class="clase choque"' in section:
        open(sys.argv[2], "w", encoding="utf-8").write(head + section + "</body></html>")
        break
PYTHON
chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --window-size=1400,1000 \
  --screenshot="$PWD/docs/horarios.png" "file://$work/rejilla.html" 2>/dev/null
[ -n "$keep" ] && cp "$work/horarios.html" "$keep"
cp docs/horarios.png docs/manual/imagenes/horarios.png  # the user manual's copy
ls -l docs/horarios.png
