#!/bin/sh
# Installs what is missing, builds, and runs the desktop tool against the built-in
# simulated unit. Without a display (or with --cli) it reads the simulated unit with
# rtuctl and prints the profile instead.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh
if [ "${1:-}" != "--cli" ] && [ -x build/bin/rtuconfig ] && [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/bin/rtuconfig --demo
fi
pty_file=$(mktemp)
build/bin/rtusim >"$pty_file" &
sim=$!
trap 'kill $sim 2>/dev/null; rm -f "$pty_file"' EXIT INT TERM
while [ ! -s "$pty_file" ]; do sleep 0.1; done
build/bin/rtuctl --port "$(head -n 1 "$pty_file")" read
