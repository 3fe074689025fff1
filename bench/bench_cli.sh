#!/usr/bin/env bash
# lexifol-index against the standard tools on the same million lines, in one
# run: sort against GNU sort, check against sort -c, build-second alone.
# Seconds are the median of three runs; memory is the peak resident set.
#   bench/bench_cli.sh [BUILD_DIR] [LINES] [OTHER_LEXIFOL_INDEX]
# A third argument times an older lexifol-index beside the new one.
set -euo pipefail
BUILD=${1:-build}
LINES=${2:-1000000}
OLD=${3:-}
TOOL=$BUILD/cli/lexifol-index
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8

python3 - "$work" "$LINES" <<'PY'
import random, sys
work, n = sys.argv[1], int(sys.argv[2])
rng = random.Random(2024)
plain = "abcdefghijklmnopqrstuvwxyz"
accented = "éèêàçüöäñß"
def word():
    w = []
    for i in range(rng.randint(5, 25)):
        r = rng.randrange(40)
        w.append(accented[rng.randrange(len(accented))] if r == 0 else
                 "-" if (i > 2 and r == 1) else plain[rng.randrange(26)])
    if rng.randrange(10) == 0:
        w[0] = w[0].upper()
    return "".join(w)
lines = ["%s\t%d" % (word(), rng.randint(1, 2400)) for _ in range(n)]
with open(work + "/in.list", "w", encoding="utf-8", newline="\r\n") as f:
    f.write("\n".join(lines) + "\n")
with open(work + "/rules.txt", "w", encoding="utf-8") as f:
    f.write("é=e\nè=e\nê=e\nà=a\nç=c\nü=u\nö=o\nä=a\nñ=n\nß=ss\n-=\n")
PY

# median seconds and peak KiB of three runs of a command
measure() {
    local secs=() peak=0 out
    for _ in 1 2 3; do
        /usr/bin/time -o "$work/time" -f '%e %M' "$@" >/dev/null 2>&1 || true
        out=$(tail -1 "$work/time")
        secs+=("${out% *}")
        (( ${out#* } > peak )) && peak=${out#* }
    done
    printf '%s %s\n' "$(printf '%s\n' "${secs[@]}" | sort -n | sed -n 2p)" "$peak"
}
row() {  # what, measured line, reference line
    local t m rt rm
    read -r t m <<<"$2"; read -r rt rm <<<"$3"
    printf '%-34s %7.2f s %6d MiB   against %7.2f s %6d MiB   %5.2fx\n' "$1" "$t" $((m / 1024)) "$rt" $((rm / 1024)) \
        "$(echo "$t / $rt" | bc -l)"
}

TAB=$(printf '\t')
gnu_sort=$(measure sort -s -f -t "$TAB" -k1,1 "$work/in.list" -o "$work/gnu.sorted")
"$TOOL" sort "$work/in.list" -o "$work/sorted.list" --encoding utf8 2>/dev/null || true
LC_ALL=C.UTF-8 sort -s -f -t "$TAB" -k1,1 "$work/in.list" -o "$work/check.in"
gnu_check=$(measure sort -c -s -f -t "$TAB" -k1,1 "$work/check.in")
mkdir -p "$work/Data/Big.files"
cp "$work/sorted.list" "$work/Data/Big.list"

for t in ${OLD:+"$OLD"} "$TOOL"; do
    echo "== $t"
    row "sort ($LINES lines)" "$(measure "$t" sort "$work/in.list" -o "$work/out.list")" "$gnu_sort"
    row "check (sorted)" "$(measure "$t" check "$work/sorted.list")" "$gnu_check"
    row "build-second" "$(measure "$t" build-second "$work/Data" Big --rules "$work/rules.txt")" "0.25 0"
done
echo "against: GNU sort -s -f, sort -c -s -f (C.UTF-8); build-second against its goal of 0.25 s"
