#!/bin/sh
# Installs what is missing, builds everything with warnings as errors and runs every test:
# unit, end-to-end (rtuctl and the desktop tool against rtusim on ptys) and a short fuzz run.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j2
if [ -x scripts/fuzz.sh ]; then
  ./scripts/fuzz.sh
fi
