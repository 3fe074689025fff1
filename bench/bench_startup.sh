#!/usr/bin/env bash
# Start-up as a user sees it: from the command to the window mapped on an
# X server with a window manager, against a bare Qt window, in one run:
# with nothing installed (the window itself), on the sample folder, and on
# ten dictionaries of a million entries.
#   bench/bench_startup.sh [BUILD_DIR] [RUNS] [OTHER_LEXIFOL] [LANG]
# A third argument times an older lexifol beside the new one ("" for none);
# a fourth times each again under that LANG (ru_RU.UTF-8: with its
# translation loaded), beside LANG=C.UTF-8.
set -euo pipefail
BUILD=$(cd "${1:-build}" && pwd)
RUNS=${2:-11}
OLD=${3:-}
LANG2=${4:-}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
[ -x "$BUILD/bench/bench_mapped" ] || { echo "bench_mapped was not built (libxcb1-dev)"; exit 1; }

QT_QPA_PLATFORM=offscreen "$BUILD/tools/lexifol_mksample" "$work/sample" >/dev/null
mkdir -p "$work/ten/Data"
python3 - "$work/ten/Data" <<'PY'
import random, sys
rng = random.Random(42)
words = sorted({"".join(rng.choice("abcdefghijklmnopqrstuvwxyz") for _ in range(rng.randint(5, 20)))
                for _ in range(1000000)})
text = "".join("%s\t%d\r\n" % (w, 1 + i // 40) for i, w in enumerate(words))
data = b"\xff\xfe" + text.encode("utf-16-le")
for n in range(10):
    open("%s/Big%d.list" % (sys.argv[1], n), "wb").write(data)
PY
printf 'Big0\t1\r\n' > "$work/ten/diclist.dat"
# Without its page view file the ten would time the "Can not open" box.
cp "$work/sample/Plugin.dat" "$work/ten/"
# The same window with nothing installed: what building it costs by itself.
mkdir -p "$work/empty/Data"

# Rounds: each round times every case once, in turn, so that the load of a
# shared machine, which drifts over seconds, falls on all of them alike.
cat > "$work/run.sh" <<'RUN'
#!/usr/bin/env bash
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
once() { "$BUILD/bench/bench_mapped" 1 "$@" 2>/dev/null | tail -n 1; }
bins=($OLD "$BUILD/app/lexifol")
langs=(C.UTF-8 $LANG2)
# A folder of each case for each program; the big indexes are shared.
for i in "${!bins[@]}"; do
    mkdir -p "$work/$i/ten"
    cp -r "$work/empty" "$work/sample" "$work/$i/"
    cp "$work/ten/diclist.dat" "$work/ten/Plugin.dat" "$work/$i/ten/"; ln -s "$work/ten/Data" "$work/$i/ten/Data"
    for f in empty sample ten; do cp "${bins[$i]}" "$work/$i/$f/lexifol"; done
done
for _ in $(seq "$RUNS"); do
    once "$BUILD/bench/bench_bare_window" >> "$work/bare.ms"
    for i in "${!bins[@]}"; do
        for l in "${!langs[@]}"; do
            for f in empty sample ten; do
                (cd "$work/$i/$f" && LANG=${langs[$l]} LANGUAGE= LC_ALL= LC_MESSAGES= once ./lexifol) >> "$work/$i.$l.$f.ms"
            done
        done
    done
done
bare=$(median < "$work/bare.ms")
printf '%-44s %7.1f ms\n' "bare Qt window mapped" "$bare"
for i in "${!bins[@]}"; do
  for l in "${!langs[@]}"; do
    e=$(median < "$work/$i.$l.empty.ms"); s=$(median < "$work/$i.$l.sample.ms"); t=$(median < "$work/$i.$l.ten.ms")
    echo "== ${bins[$i]}, LANG=${langs[$l]}"
    printf '%-44s %7.1f ms  %5.2fx bare\n' "nothing installed, window mapped" "$e" "$(echo "$e / $bare" | bc -l)"
    printf '%-44s %7.1f ms  %5.2fx bare (goal 1.5x)\n' "sample folder, window mapped" "$s" "$(echo "$s / $bare" | bc -l)"
    printf '%-44s %7.1f ms  (goal 130 ms)\n' "ten dictionaries of 1M entries" "$t"
  done
done
RUN
chmod +x "$work/run.sh"
BUILD=$BUILD RUNS=$RUNS OLD=$OLD LANG2=$LANG2 work=$work bash "$here/../tests/e2e/with_x11.sh" "$work/run.sh"
