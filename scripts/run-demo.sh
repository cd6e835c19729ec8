#!/usr/bin/env bash
# Prepares the demo setup in the program directory $1 and starts zv:
# the database (once), the indicator simulator on a pseudo-terminal and
# belvor.ini pointing at it. The simulator stops when zv ends.
set -euo pipefail
BIN="$1"
cd "$BIN"
if [ ! -f db/zv.db ]; then
  mkdir -p db
  ./zvtool db init db
  ./zvtool db demo db
fi
# The simulator makes a pseudo-terminal and prints its path on the first line.
# A lorry with three axles is driven on axle by axle, loaded and empty in turn.
# Each axle stands 8 s and the platform stays empty 20 s after a pass: time
# for a newcomer to press the button and to fill the fields of the next pass.
PTY_FILE=$(mktemp)
./zvtool indicator --pty --mode static --loop --hold 8 --tail 20 > "$PTY_FILE" 2>/dev/null &
SIM=$!
trap 'kill $SIM 2>/dev/null || true; rm -f "$PTY_FILE"' EXIT
for _ in $(seq 100); do [ -s "$PTY_FILE" ] && break; sleep 0.1; done
PTY=$(head -n1 "$PTY_FILE")
if [ -z "$PTY" ]; then
  echo "The indicator simulator did not start." >&2
  exit 1
fi
echo "Indicator simulator on $PTY"
./zvtool demo-ini belvor.ini "$PTY"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No graphical display (DISPLAY and WAYLAND_DISPLAY are unset): the workstation runs offscreen." >&2
  echo "Stop it with Ctrl+C." >&2
  export QT_QPA_PLATFORM=offscreen
fi
./zv
