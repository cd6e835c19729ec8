#!/usr/bin/env bash
# First README command: install what is missing, build, prepare a demo setup
# beside the program (database, belvor.ini, indicator simulator on a
# pseudo-terminal) and start the workstation.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
BIN="$(pwd)/${BUILD_DIR:-build}/bin"
exec bash scripts/run-demo.sh "$BIN"
