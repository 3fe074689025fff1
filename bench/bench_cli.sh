#!/usr/bin/env bash
# lexifol-index against the standard tools on the same million lines, in one
# run: sort against GNU sort, check against sort -c, build-second alone.
# Seconds (wall and CPU) are the median of three runs; memory is the peak
# resident set.
#   bench/bench_cli.sh [BUILD_DIR] [LINES] [OTHER_LEXIFOL_INDEX]
# A third argument times an older lexifol-index beside the new one.
set -euo pipefail
BUILD=${1:-build}
LINES=${2:-1000000}
OLD=${3:-}
TOOL=$BUILD/cli/lexifol-index
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# GNU sort compares in the user's locale: en_US.UTF-8 when the system has it.
if locale -a 2>/dev/null | grep -qi '^en_US\.utf-\?8$'; then LOCALE=en_US.UTF-8; else LOCALE=C.UTF-8; fi
export LC_ALL=$LOCALE

# Lines as a dictionary's index has them: the headwords of Webster 1913
# (dict-gcide) with their derived forms and phrases, shuffled; random words
# when the package is missing.
python3 - "$work" "$LINES" <<'PY'
import gzip, os, random, sys
work, n = sys.argv[1], int(sys.argv[2])
rng = random.Random(2024)
heads = []
if os.path.exists("/usr/share/dictd/gcide.index"):
    for line in open("/usr/share/dictd/gcide.index", encoding="utf-8", errors="replace"):
        w = line.split("\t", 1)[0]
        if w and w[0].isalpha() and not w.startswith("00"):
            heads.append(w)
if not heads:
    plain = "abcdefghijklmnopqrstuvwxyzéèêàçüöäñß"
    heads = ["".join(rng.choice(plain) for _ in range(rng.randint(5, 15))) for _ in range(50000)]
forms = ["", "s", "es", "ed", "ing", "er", "ly", "ness", "'s"]
words = set(heads)
while len(words) < n:
    h = rng.choice(heads)
    r = rng.randrange(10)
    words.add(h + rng.choice(forms[1:]) if r < 6 else h + " " + rng.choice(heads).lower() if r < 9
              else h.capitalize() + "-" + rng.choice(heads).lower())
lines = ["%s\t%d" % (w, rng.randint(1, 2400)) for w in list(words)[:n]]
rng.shuffle(lines)
with open(work + "/in.list", "w", encoding="utf-8", newline="\r\n") as f:
    f.write("\n".join(lines) + "\n")
with open(work + "/rules.txt", "w", encoding="utf-8") as f:
    f.write("é=e\nè=e\nê=e\nà=a\nç=c\nü=u\nö=o\nä=a\nñ=n\nß=ss\n-=\n")
PY

# median wall seconds, median CPU seconds (user + system) and peak KiB of
# three runs of a command
measure() {
    local secs=() cpus=() peak=0 out
    for _ in 1 2 3; do
        /usr/bin/time -o "$work/time" -f '%e %U %S %M' "$@" >/dev/null 2>&1 || true
        read -r e u s m <<<"$(tail -1 "$work/time")"
        secs+=("$e"); cpus+=("$(echo "$u + $s" | bc -l)")
        (( m > peak )) && peak=$m
    done
    printf '%s %s %s\n' "$(printf '%s\n' "${secs[@]}" | sort -n | sed -n 2p)" \
        "$(printf '%s\n' "${cpus[@]}" | sort -n | sed -n 2p)" "$peak"
}
row() {  # what, measured line, reference line
    local t c m rt rc rm
    read -r t c m <<<"$2"; read -r rt rc rm <<<"$3"
    printf '%-22s %6.2f s %6.2f cpu %5d MiB  against %6.2f s %6.2f cpu %5d MiB  %5.2fx wall %5.2fx cpu\n' \
        "$1" "$t" "$c" $((m / 1024)) "$rt" "$rc" $((rm / 1024)) "$(echo "$t / $rt" | bc -l)" \
        "$(echo "$c / ($rc + 0.0001)" | bc -l)"
}

TAB=$(printf '\t')
gnu_sort=$(measure sort -s -f -t "$TAB" -k1,1 "$work/in.list" -o "$work/gnu.sorted")
"$TOOL" sort "$work/in.list" -o "$work/sorted.list" --encoding utf8 --locale en 2>/dev/null || true
sort -s -f -t "$TAB" -k1,1 "$work/in.list" -o "$work/check.in"
gnu_check=$(measure sort -c -s -f -t "$TAB" -k1,1 "$work/check.in")
mkdir -p "$work/Data/Big.files"
cp "$work/sorted.list" "$work/Data/Big.list"

for t in ${OLD:+"$OLD"} "$TOOL"; do
    echo "== $t"
    row "sort ($LINES lines)" "$(measure "$t" sort "$work/in.list" -o "$work/out.list" --locale en)" "$gnu_sort"
    row "check (sorted)" "$(measure "$t" check "$work/sorted.list" --locale en)" "$gnu_check"
    row "build-second" "$(measure "$t" build-second "$work/Data" Big --rules "$work/rules.txt")" "0.25 0.25 0"
done
echo "against: GNU sort -s -f, sort -c -s -f ($LOCALE); build-second against its goal of 0.25 s"
echo "goal: check <= 1.0x sort -c in CPU time"
