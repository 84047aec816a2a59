#!/usr/bin/env bash
# The command line's runs timed as whole processes, each next to `cp` of the same bytes in the same run:
#   - the export of the large sample school (`make-sample --size large`), staging included;
#   - the export of ten such schools in one folder (bench_tables.py multiply, as runs_bench builds them);
#   - the import of a 10,000-lesson solution against the large school, staging, copy back and the timetables'
#     page it writes beside its backup included;
#   - the timetables' page (`horarios`) of the school that import left.
# Each figure is the median of RUNS runs (11 unless given), the run and its copy taken in turn so that a
# change in the machine's load falls on both; the ratio is the median of the pairs' ratios. "cp" copies, in
# one process, every file the run reads from the school and the interchange folder and every file it writes.
# Peak memory is the largest resident size of the runs, as the system accounts it to finished processes.
# Usage: whole_process.sh BUILD_DIR [RUNS]
set -euo pipefail
build=$(cd "${1:?usage: whole_process.sh BUILD_DIR [RUNS]}" && pwd)
runs=${2:-11}
here=$(cd "$(dirname "$0")" && pwd)
cli="$build/app/escolan-horvane-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A folder of links, one per file to copy, each under a name of its own ("in-alumnos.dbf"), so that one cp
# copies them all into one folder.
link_files() {
  local links=$1 tag=$2
  shift 2
  mkdir -p "$links"
  for file in "$@"; do ln -sf "$file" "$links/$tag-$(basename "$file")"; done
}

# Times `cli ARGS...` against `cp` of the files linked in LINKS, RUNS times each, and prints the figures.
# Both are started the same lean way (Python's subprocess, which forks by vfork), so that what is timed is the
# process and not the cost of copying this shell to start it: a run of /bin/true costs about 1.8 ms so,
# against about 4 ms as a command substitution of bash.
compare() {
  local label=$1 links=$2
  shift 2
  mkdir -p "$work/copies"
  /usr/bin/python3 - "$label" "$runs" "$links" "$work/copies" "$cli" "$@" <<'PY'
import glob, os, resource, statistics, subprocess, sys, time

label, runs, links, copies, *run = sys.argv[1:]
runs = int(runs)
copy = ["cp", "-f", *sorted(glob.glob(os.path.join(links, "*"))), copies + "/"]

def milliseconds(command):
    start = time.perf_counter()
    done = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    elapsed = (time.perf_counter() - start) * 1000
    if done.returncode != 0:
        sys.exit(f"{label}: failed: {' '.join(command)}")
    return elapsed

milliseconds(run)  # warm-up, both
milliseconds(copy)
pairs = [(milliseconds(run), milliseconds(copy)) for _ in range(runs)]
run_ms = statistics.median(r for r, _ in pairs)
copy_ms = statistics.median(c for _, c in pairs)
ratio = statistics.median(r / c for r, c in pairs)
# The largest resident size of any process this one started: a run's (a copy's is far smaller).
peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss / 1024  # kilobytes -> MB
size = sum(os.path.getsize(path) for path in copy[2:-1]) / 1e6
print(f"{label:<32} run {run_ms:8.2f} ms   cp {copy_ms:7.2f} ms ({size:5.1f} MB)   run/cp {ratio:5.2f}   "
      f"peak {peak:6.1f} MB   (medians of {runs})")
PY
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
link_files "$work/links-import" backup "$backup"horgrup.dbf "$backup"horprof.dbf "$backup"horarios.html
compare "import, 10,000 lessons" "$work/links-import" import --source 'C:\ESCOLAN'

# The page reads the school's tables (and the template) and writes one HTML file.
"$cli" horarios --source 'C:\ESCOLAN' --out "$work/horarios.html" >/dev/null
link_files "$work/links-page" in "$drive"/HTEMP/VALENCIA/PLANTILLA.DBF \
  $(for table in horgrup horprof asignat profesor aulas grupos centro lhortipo; do echo "$drive/ESCOLAN/$table.dbf"; done)
link_files "$work/links-page" out "$work/horarios.html"
compare "timetables' page, 10,000 lessons" "$work/links-page" horarios --source 'C:\ESCOLAN' --out "$work/horarios.html"
