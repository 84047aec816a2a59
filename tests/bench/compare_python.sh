#!/usr/bin/env bash
# The same work as storage_bench, done by python3-dbfread (reading) and python3-dbf (writing), for
# comparison. Usage: compare_python.sh BUILD_DIR   (runs BUILD_DIR/tests/storage_bench first).
set -euo pipefail
build=${1:-build-release}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/tests/storage_bench"
/usr/bin/python3 - "$work" <<'PY'
import sys, time, dbf, dbfread
work = sys.argv[1]
n = 100000

start = time.perf_counter()
t = dbf.Table(f"{work}/walk.dbf", "CODIGO C(10); APENOM C(45); CODASIG C(8); HORA N(9,0); NHORAS N(19,4)",
              dbf_type="db3", codepage="cp1252")
t.open(dbf.READ_WRITE)
for i in range(n):
    t.append((f"A{i:06d}", f"APELLIDO APELLIDO, NOMBRE {i}", "1ESOMAT", i % 20, (i % 8) / 2.0))
t.close()
print(f"python3-dbf: append 100,000 records: {time.perf_counter() - start:.2f} s")

start = time.perf_counter()
chars = 0
for record in dbfread.DBF(f"{work}/walk.dbf", encoding="cp1252"):
    chars += len(record["CODIGO"]) + len(record["APENOM"]) + record["HORA"]
print(f"python3-dbfread: walk 100,000 records reading three fields: {time.perf_counter() - start:.2f} s")

t = dbf.Table(f"{work}/asigalum.dbf", "CODIGO C(10); APENOM C(45); CODASIG C(8); HORA N(9,0); NHORAS N(19,4)",
              dbf_type="db3", codepage="cp1252")
t.open(dbf.READ_WRITE)
for i in range(30000):
    t.append((f"A{i % 3000:06d}", f"APELLIDO APELLIDO, NOMBRE {i}", "1ESOMAT", i % 20, (i % 8) / 2.0))
t.close()
start = time.perf_counter()
for student in range(30):  # 30 of the 3,000 filtered openings
    code = f"A{student:06d}"
    rows = [r["CODASIG"] for r in dbfread.DBF(f"{work}/asigalum.dbf", encoding="cp1252") if r["CODIGO"] == code]
print(f"python3-dbfread: 3,000 filtered walks of 30,000 records (30 timed, times 100): {(time.perf_counter() - start) * 100:.1f} s")
PY
