#!/usr/bin/env bash
# Runs a test program under Wine: wine_retry.sh WINE PROGRAM [ARGUMENTS...]
#
# Now and then a run ends in a few hundredths of a second, failing, without a single byte on either output:
# Wine gave up before the program's first line ran (a test program always prints before it can fail). Such a
# run is made once more, and the log says so with Wine's status. A run that printed anything keeps its
# status, so a test that fails is never run again. Both outputs still reach the caller as they are written.
wine=$1
shift
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT

# Wine's status; each output is copied to its file and to where it was going.
run() {
  (
    "$wine" "$@" 2>&1 1>&3 3>&- | tee "$err" >&2
    exit "${PIPESTATUS[0]}"
  ) 3>&1 | tee "$out"
  return "${PIPESTATUS[0]}"
}

run "$@"
status=$?
if [ "$status" -ne 0 ] && [ ! -s "$out" ] && [ ! -s "$err" ]; then
  echo "Wine ended $(basename "$1") with status $status before it printed anything; running it again" >&2
  run "$@"
  status=$?
fi
exit "$status"
