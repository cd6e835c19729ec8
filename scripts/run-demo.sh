#!/usr/bin/env bash
# Prepares the demo setup in the program directory $1 and starts zv.
set -euo pipefail
BIN="$1"
cd "$BIN"
if [ ! -f db/zv.db ]; then
  mkdir -p db
  ./zvtool db init db
  ./zvtool db demo db
fi
# The simulator makes a pseudo-terminal and prints its path on the first line.
PTY_FILE=$(mktemp)
./zvtool indicator --pty --mode vehicle --loop > "$PTY_FILE" 2>/dev/null &
SIM=$!
trap 'kill $SIM 2>/dev/null || true; rm -f "$PTY_FILE"' EXIT
for _ in $(seq 50); do [ -s "$PTY_FILE" ] && break; sleep 0.1; done
PTY=$(head -n1 "$PTY_FILE")
echo "Indicator simulator on $PTY"
./zvtool demo-ini belvor.ini "$PTY"
./zv
