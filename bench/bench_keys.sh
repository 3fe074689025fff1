#!/usr/bin/env bash
# Key press to index row drawn, in one run: in memory (offscreen) and on a
# real X server with a window manager, where "drawn" includes the flush to
# the server. The goals hold on the X server.
#   bench/bench_keys.sh [BUILD_DIR] [ENTRIES] [SAMPLES]
set -euo pipefail
BUILD=${1:-build}
ENTRIES=${2:-1000000}
SAMPLES=${3:-2000}
here=$(cd "$(dirname "$0")" && pwd)
echo "== offscreen (drawn into memory)"
QT_QPA_PLATFORM=offscreen "$BUILD/bench/bench_lookup" "$ENTRIES" "$SAMPLES" 2>/dev/null | grep -E "index|key press"
echo "== X server (Xvfb, openbox): goals median 0.5 ms, p99 2 ms"
bash "$here/../tests/e2e/with_x11.sh" "$BUILD/bench/bench_lookup" "$ENTRIES" "$SAMPLES" 2>/dev/null | grep -E "index|key press"
echo "== X server, the pages of a dictionary made searchable meanwhile"
LEXIFOL_BENCH_TEXT_BUILD=1 bash "$here/../tests/e2e/with_x11.sh" "$BUILD/bench/bench_lookup" "$ENTRIES" "$SAMPLES" 2>/dev/null \
    | grep -E "index|key press"
