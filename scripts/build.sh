#!/bin/sh
# Configures and builds everything into build/ (warnings are errors).
set -eu
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRTU_WERROR=ON "$@"
cmake --build build
