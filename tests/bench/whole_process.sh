#!/usr/bin/env bash
# The command line's runs timed as whole processes, each next to `cp` of the same bytes in the same run:
#   - the export of the large sample school (`make-sample --size large`), staging included;
#   - the export of ten such schools in one folder (bench_tables.py multiply, as runs_bench builds them);
#   - the import of a 10,000-lesson solution against the large school, staging and copy back included;
#   - the timetables' page (`horarios`) of the school that import left.
# Each figure is the median of RUNS runs (11 unless given), the run and its copy taken in turn so that a
# change in the machine's load falls on both; the ratio is the median of the pairs' ratios. "cp" copies, in
# one process, every file the run reads from the school and the interchange folder and every file it writes.
# Peak memory is the largest resident size of one more run (/usr/bin/time).
# Usage: whole_process.sh BUILD_DIR [RUNS]
set -euo pipefail
build=$(cd "${1:?usage: whole_process.sh BUILD_DIR [RUNS]}" && pwd)
runs=${2:-11}
here=$(cd "$(dirname "$0")" && pwd)
cli="$build/app/escolan-horvane-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Milliseconds of one run of the command, its output thrown away.
milliseconds() {
  local start=$EPOCHREALTIME
  "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
  local end=$EPOCHREALTIME
  awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f\n", (e - s) * 1000 }'
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# A folder of links, one per file to copy, each under a name of its own ("in-alumnos.dbf"), so that one cp
# copies them all into one folder.
link_files() {
  local links=$1 tag=$2
  shift 2
  mkdir -p "$links"
  for file in "$@"; do ln -sf "$file" "$links/$tag-$(basename "$file")"; done
}

# Times `cli ARGS...` against `cp` of the files linked in LINKS, RUNS times each, and prints the figures.
compare() {
  local label=$1 links=$2
  shift 2
  local copies="$work/copies" times="$work/times"
  mkdir -p "$copies"
  : >"$times"
  "$cli" "$@" >/dev/null 2>&1 || { echo "$label: the run failed" >&2; exit 1; }  # warm-up
  cp -f "$links"/* "$copies"/
  for ((i = 0; i < runs; i++)); do
    local run copy
    run=$(milliseconds "$cli" "$@")
    copy=$(milliseconds cp -f "$links"/* "$copies"/)
    echo "$run $copy" >>"$times"
  done
  local run_ms copy_ms ratio peak bytes
  run_ms=$(awk '{ print $1 }' "$times" | median)
  copy_ms=$(awk '{ print $2 }' "$times" | median)
  ratio=$(awk '{ print $1 / $2 }' "$times" | median)
  /usr/bin/time -o "$work/peak" -f '%M' "$cli" "$@" >/dev/null 2>&1
  peak=$(tail -1 "$work/peak")
  bytes=$(du -L -c -b "$links"/* | tail -1 | cut -f1)
  printf '%-30s run %8.2f ms   cp %7.2f ms (%5.1f MB)   run/cp %5.2f   peak %6.1f MB   (medians of %d)\n' \
    "$label" "$run_ms" "$copy_ms" "$(awk -v b="$bytes" 'BEGIN { print b / 1e6 }')" "$ratio" \
    "$(awk -v k="$peak" 'BEGIN { print k / 1024 }')" "$runs"
}

# The files an export reads from the school's folder (horprof is the import's) and those it writes.
export_links() {
  local school=$1 links=$2
  link_files "$links" in $(ls "$school"/* | grep -vi '/horprof.dbf$')
  link_files "$links" out "$drive"/HTEMP/*.DBF "$drive"/HTEMP/*.MDX
}

drive="$work/drive_c"
mkdir -p "$drive"
export ESCOLAN_HORVANE_DRIVE_C="$drive"

"$cli" make-sample 'C:\ESCOLAN' --size large >/dev/null
"$cli" export --source 'C:\ESCOLAN' >/dev/null
export_links "$drive/ESCOLAN" "$work/links-one"
compare "export, large school" "$work/links-one" export --source 'C:\ESCOLAN'

"$cli" make-sample 'C:\DIEZ' --size large >/dev/null
/usr/bin/python3 "$here/bench_tables.py" multiply "$drive/DIEZ" 10
"$cli" export --source 'C:\DIEZ' >/dev/null
export_links "$drive/DIEZ" "$work/links-ten"
compare "export, ten large schools" "$work/links-ten" export --source 'C:\DIEZ'

# The import reads the school's eleven files, the solution and the two interchange tables it looks up, and
# leaves the template, the two new timetables (staged and in the school's folder) and their backups.
"$cli" export --source 'C:\ESCOLAN' >/dev/null
/usr/bin/python3 "$here/bench_tables.py" solution "$drive/HTEMP" 10000 >/dev/null
"$cli" import --source 'C:\ESCOLAN' >/dev/null
backup=$(ls -d "$drive"/HTEMP/COPIAS/*/ | head -1)
link_files "$work/links-import" in "$drive"/ESCOLAN/* "$drive"/HTEMP/SOLUC.DBF "$drive"/HTEMP/PROFT.DBF \
  "$drive"/HTEMP/ASIGVALT.DBF
link_files "$work/links-import" out "$drive"/HTEMP/VALENCIA/PLANTILLA.* "$drive"/HTEMP/VALENCIA/horgrup.dbf \
  "$drive"/HTEMP/VALENCIA/horprof.dbf
link_files "$work/links-import" backup "$backup"horgrup.dbf "$backup"horprof.dbf
compare "import, 10,000 lessons" "$work/links-import" import --source 'C:\ESCOLAN'

# The page reads the school's tables (and the template) and writes one HTML file.
"$cli" horarios --source 'C:\ESCOLAN' --out "$work/horarios.html" >/dev/null
link_files "$work/links-page" in "$drive"/HTEMP/VALENCIA/PLANTILLA.DBF \
  $(for table in horgrup horprof asignat profesor aulas grupos centro lhortipo; do echo "$drive/ESCOLAN/$table.dbf"; done)
link_files "$work/links-page" out "$work/horarios.html"
compare "timetables' page, 10,000 lessons" "$work/links-page" horarios --source 'C:\ESCOLAN' --out "$work/horarios.html"
