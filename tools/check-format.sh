#!/bin/sh
# Every C++ file follows .clang-format; the files that do not are named.
cd "$(dirname "$0")/.." || exit 2
command -v clang-format >/dev/null || { echo "clang-format is not installed"; exit 2; }
files=$(git ls-files '*.cpp' '*.h' 2>/dev/null) || files=$(find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
# shellcheck disable=SC2086
bad=$(clang-format --style=file --dry-run $files 2>&1 | sed -n 's|^\([^:]*\):[0-9]*:[0-9]*: warning:.*|\1|p' | sort -u)
[ -z "$bad" ] && exit 0
for f in $bad; do echo "$f: not as .clang-format lays it out (clang-format -i $f)"; done
exit 1
