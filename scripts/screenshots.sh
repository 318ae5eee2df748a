#!/bin/sh
# Photographs every page and row editor of the desktop tool on a virtual X server, at
# 1366x768 (scale 1) and at 1600x1000 (scale 1.5), with ImageMagick's `import`:
#   scripts/screenshots.sh [OUTDIR]     (default: build/screenshots)
# Needs xvfb-run and import (packages xvfb, xauth, imagemagick) and a built tree.
set -eu
cd "$(dirname "$0")/.."
out=${1:-build/screenshots}
test=build/bin/test_shell_layout
[ -x "$test" ] || cmake --build build --target test_shell_layout
mkdir -p "$out"
for run in "1366x768 1" "1600x1000 1.5"; do
  set -- $run
  QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$2 RTU_LAYOUT_SCREEN=$1 RTU_SHOT_DIR="$out" \
    xvfb-run -a -s "-screen 0 ${1}x24" "$test" walkChild >"$out/walk-$1.log" 2>&1 || true
  tail -n 3 "$out/walk-$1.log"
done
echo "screenshots in $out"
