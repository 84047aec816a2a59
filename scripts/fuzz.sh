#!/usr/bin/env bash
# Coverage-guided fuzzing of every reader of outside bytes (tests/fuzz): installs what is missing, builds the
# fuzz targets with clang and libFuzzer (AddressSanitizer and UndefinedBehaviorSanitizer) in build-fuzz, and
# runs each for SECONDS, one after another, on its corpus (build-fuzz/corpus/<target>, merged after each run),
# the seeds the program and other programs write (build-fuzz/semillas) and the checked-in seeds and
# regression inputs. Prints per target the executions, libFuzzer's coverage (cov: edges, ft: features) and the
# corpus size. Exits non-zero on any finding (crash, leak, timeout, out of memory, sanitizer report, broken
# promise), with the input saved in build-fuzz/hallazgos/<target>/: copy it into
# tests/fuzz/regresiones/<target>/ with the fix.
#
# Usage: scripts/fuzz.sh SECONDS [TARGET...]   (ESCOLAN_FUZZ_BUILD names another build folder)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
segundos=${1:?usage: scripts/fuzz.sh SECONDS [TARGET...]}
shift
source scripts/packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${FUZZ_PACKAGES[@]}"

build=${ESCOLAN_FUZZ_BUILD:-$root/build-fuzz}
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(tabla memo mdx filtro claves importacion horarios)

inicio=$SECONDS
cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DESCOLAN_FUZZ=ON >/dev/null
cmake --build "$build" -- -j2 $(printf 'fuzz_%s ' "${targets[@]}") fuzz_semillas
echo "== fuzz: built in $((SECONDS - inicio)) s =="

# Each run's drive C: in memory, removed at the end.
tmp=$(mktemp -d "$([ -d /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}")/escolan-fuzz.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
export TMPDIR=$tmp
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:symbolize=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# The seeds written by the program itself and by other programs, made once per build folder.
semillas=$build/semillas
if [ ! -f "$semillas/.hechas" ]; then
  rm -rf "$semillas"
  "$build/tests/fuzz/fuzz_semillas" "$semillas"
  /usr/bin/python3 scripts/fuzz_semillas_externas.py "$semillas"
  touch "$semillas/.hechas"
fi

fallos=()
resumen=()
for target in "${targets[@]}"; do
  programa=$build/tests/fuzz/fuzz_$target
  corpus=$build/corpus/$target
  hallazgos=$build/hallazgos/$target
  registro=$build/registros/$target.log
  mkdir -p "$corpus" "$hallazgos" "$(dirname "$registro")"
  fuentes=()
  for carpeta in "$semillas/$target" tests/fuzz/semillas/$target tests/fuzz/regresiones/$target; do
    [ -d "$carpeta" ] && fuentes+=("$carpeta")
  done
  # Inputs of at most 8 KB: a few records reach every path of a reader, and each run stays cheap.
  opciones=(-timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=2048 -max_len=8192 -print_final_stats=1
            -artifact_prefix="$hallazgos/")
  [ -f "tests/fuzz/diccionarios/$target.dict" ] && opciones+=(-dict="tests/fuzz/diccionarios/$target.dict")
  echo "== fuzz: $target, $segundos s =="
  estado=0
  "$programa" "${opciones[@]}" -max_total_time="$segundos" "$corpus" "${fuentes[@]}" >"$registro" 2>&1 || estado=$?
  ejecuciones=$(sed -n 's/^stat::number_of_executed_units: *//p' "$registro" | tail -1)
  cobertura=$(grep -Eo 'cov: [0-9]+ ft: [0-9]+' "$registro" | tail -1 || true)
  if [ "$estado" -ne 0 ]; then
    fallos+=("$target")
    grep -E 'ERROR|FUZZ:|runtime error|Test unit written|SUMMARY' "$registro" | head -20 || true
    echo "   (the whole log: $registro)"
  else
    # The corpus merged: only the inputs that add coverage are kept.
    nuevo=$build/corpus/$target.nuevo
    rm -rf "$nuevo" && mkdir -p "$nuevo"
    "$programa" -merge=1 -timeout=10 -rss_limit_mb=2048 "$nuevo" "$corpus" "${fuentes[@]}" >>"$registro" 2>&1 &&
      rm -rf "$corpus" && mv "$nuevo" "$corpus"
  fi
  tamano=$(find "$corpus" -type f | wc -l)
  resumen+=("$(printf '%-12s %10s execs  %-22s corpus %5s%s' "$target" "${ejecuciones:-?}" "${cobertura:-cov: ?}" \
              "$tamano" "$([ "$estado" -ne 0 ] && echo "  FINDING (exit $estado)")")")
done

echo "== fuzz: $((SECONDS - inicio)) s in all =="
printf '%s\n' "${resumen[@]}"
if [ ${#fallos[@]} -gt 0 ]; then
  echo "Findings in: ${fallos[*]} (inputs in $build/hallazgos/<target>/)" >&2
  exit 1
fi
