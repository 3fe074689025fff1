#!/usr/bin/env bash
# Builds everything with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer, runs the unit tests once more that way, then
# each fuzz target for SECONDS seconds (default 60) from its seed corpus.
#   bash tools/run-fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
SECONDS_EACH=${1:-60}
shift || true
BUILD=${FUZZ_BUILD_DIR:-build-fuzz}
CC=clang CXX=clang++ cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DLEXIFOL_SANITIZE=ON -DLEXIFOL_FUZZ=ON >/dev/null
cmake --build "$BUILD" -j2
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
if [ -z "${SKIP_SANITIZED_TESTS:-}" ]; then
  ctest --test-dir "$BUILD" --output-on-failure -j2
fi
TARGETS=("$@")
[ ${#TARGETS[@]} -gt 0 ] || TARGETS=(index_decode split_value normalise profile embed bookmarks sort text_reply)
for t in "${TARGETS[@]}"; do
  corpus=$(mktemp -d)
  cp tests/fuzz/corpus/$t/* "$corpus"/
  echo "fuzz_$t: ${SECONDS_EACH} s"
  # The target's own status: a crash fails the run, whatever the filter.
  status=0
  "$BUILD/tests/fuzz/fuzz_$t" -max_total_time="$SECONDS_EACH" -max_len=4096 -print_final_stats=1 \
    "$corpus" > "$corpus.log" 2>&1 || status=$?
  grep -E "^(stat::number_of_executed_units|Done|==|SUMMARY|check failed)|ERROR" "$corpus.log" || true
  rm -f "$corpus.log"
  test "$status" -eq 0
  rm -rf "$corpus"
done
