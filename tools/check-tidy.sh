#!/usr/bin/env bash
# clang-tidy (the checks in .clang-tidy) on the C++ sources changed since a
# commit: the one named, else the one .ci/tidy-base holds (the last one that
# landed). Needs a build with compile_commands.json (BUILD_DIR, default build).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD_DIR:-build}
base=${1:-$(cat .ci/tidy-base 2>/dev/null || echo HEAD~1)}
command -v clang-tidy >/dev/null || { echo "clang-tidy is not installed"; exit 2; }
[ -f "$BUILD/compile_commands.json" ] || { echo "no $BUILD/compile_commands.json: build first"; exit 2; }
# The sources the build compiles; a changed header is checked through them.
# The program's sources; tests and benchmarks are held to the compiler's warnings.
mapfile -t changed < <(git diff --name-only --diff-filter=AM "$base" HEAD -- '*.cpp' '*.h' | grep -v '^tests/\|^bench/')
mapfile -t units < <(for f in "${changed[@]}"; do
    case $f in
        *.cpp) grep -q "\"file\": \"$PWD/$f\"" "$BUILD/compile_commands.json" && echo "$f" ;;
        *.h) c=${f%.h}.cpp; [ -f "$c" ] && grep -q "\"file\": \"$PWD/$c\"" "$BUILD/compile_commands.json" && echo "$c" ;;
    esac
done | sort -u)
echo "clang-tidy: ${#units[@]} files changed since $(git rev-parse --short "$base")"
((${#units[@]})) || exit 0
# GCC's own warning options are unknown to clang: not a finding.
printf '%s\n' "${units[@]}" | xargs -P2 -n1 clang-tidy -p "$BUILD" --quiet --extra-arg=-Wno-unknown-warning-option
