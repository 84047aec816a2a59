#!/usr/bin/env bash
# Runs a test program under Wine: wine_retry.sh WINE PROGRAM [ARGUMENTS...]
#
# The program writes its outputs into files of this script, copied as they grow to where they were going,
# and the script returns as soon as the program ends. Otherwise whoever reads the outputs would wait far
# longer: the desktop process that Wine starts for a program's first window inherits them and outlives the
# program by some twenty seconds.
#
# Now and then a run ends in a few hundredths of a second, failing, without a single byte on either output:
# Wine gave up before the program's first line ran (a test program always prints before it can fail). Such a
# run is made once more, and the log says so with Wine's status. A run that printed anything keeps its
# status, so a test that fails is never run again.
wine=$1
shift
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
exec 3<&0  # the program's input, which a program started in the background would not get

# The program's status, once it has ended and everything it wrote has been copied.
run() {
  : >"$out"
  : >"$err"
  "$wine" "$@" <&3 >"$out" 2>"$err" &
  local program=$!
  tail -q -c +1 -s 0.05 --pid="$program" -f "$out" &
  local copyOut=$!
  tail -q -c +1 -s 0.05 --pid="$program" -f "$err" >&2 &
  local copyErr=$!
  wait "$program"
  local status=$?
  wait "$copyOut" "$copyErr"
  return "$status"
}

run "$@"
status=$?
if [ "$status" -ne 0 ] && [ ! -s "$out" ] && [ ! -s "$err" ]; then
  echo "Wine ended $(basename "$1") with status $status before it printed anything; running it again" >&2
  run "$@"
  status=$?
fi
exit "$status"
