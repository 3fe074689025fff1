#!/bin/sh
# make-sample.sh <program-folder> [build-dir]
# Fills <program-folder> with the sample dictionaries and, when it has been
# built, copies the lexifol executable next to them.
set -eu

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: $0 <program-folder> [build-dir]" >&2
    exit 2
fi
prog=$1
build=${2:-$(cd "$(dirname "$0")/.." && pwd)/build}

tool=$build/tools/lexifol_mksample
if [ ! -x "$tool" ]; then
    echo "$0: $tool not found; build the target lexifol_mksample first" >&2
    exit 1
fi
"$tool" "$prog"

exe=$build/app/lexifol
if [ -x "$exe" ]; then
    cp -f "$exe" "$prog/lexifol"
    echo "copied $exe"
else
    echo "no $exe yet: program folder made without the executable"
fi
