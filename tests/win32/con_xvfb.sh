#!/bin/sh
# Runs a command with DISPLAY set to a virtual display of its own, 1280x1024 at 96 dpi, and stops the display
# afterwards; the command's exit status is the script's. Exits 77 (skipped) when Xvfb is not installed.
#   con_xvfb.sh COMMAND [ARGUMENT...]
command -v Xvfb >/dev/null 2>&1 || { echo "Xvfb is not installed"; exit 77; }

# Xvfb picks a free display number itself and writes it to the file.
numero=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp 3>"$numero" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -f "$numero"' EXIT
trap 'exit 1' INT TERM
for _ in $(seq 100); do
  [ -s "$numero" ] && break
  sleep 0.1
done
[ -s "$numero" ] || { echo "Xvfb did not start"; exit 1; }
DISPLAY=":$(cat "$numero")" "$@"
