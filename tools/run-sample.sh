#!/usr/bin/env bash
# Installs what is needed, builds Lexifol, makes the sample program folder once
# and starts the viewer in it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
BUILD=${BUILD_DIR:-build}
PROG=${LEXIFOL_HOME:-$HOME/Lexifol}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$BUILD" -j2 --target lexifol lexifol-index lexifol_mksample
if [ ! -f "$PROG/Data/Sample.list" ]; then
  "$BUILD/tools/lexifol_mksample" "$PROG"
fi
cp "$BUILD/app/lexifol" "$PROG/lexifol"
cp "$BUILD/cli/lexifol-index" "$PROG/lexifol-index"
cd "$PROG"
exec ./lexifol
