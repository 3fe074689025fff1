#!/usr/bin/env bash
# Key press to index row drawn, in one run: in memory (offscreen) and on a
# real X server with a window manager, where "drawn" includes the flush to
# the server, and timed from outside against a plain Qt list. The goals
# hold from outside, as a ratio to that floor.
#   bench/bench_keys.sh [BUILD_DIR] [ENTRIES] [SAMPLES]
set -euo pipefail
BUILD=$(cd "${1:-build}" && pwd)
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

# From outside: a key sent to the X server, to the next drawing the server
# reports on the window, for Lexifol and for a plain Qt list of the same
# words (the floor), in alternating rounds. Goal: ≤ 1.0x the floor.
[ -x "$BUILD/bench/bench_keys_outside" ] || { echo "bench_keys_outside was not built (libxcb-xtest0-dev, libxcb-damage0-dev)"; exit 0; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
QT_QPA_PLATFORM=offscreen "$BUILD/tools/lexifol_mksample" "$work/sample" >/dev/null
mkdir -p "$work/big/Data"
python3 - "$work" "$ENTRIES" <<'PY'
import random, sys
rng = random.Random(42)
words = sorted({"".join(rng.choice("abcdefghijklmnopqrstuvwxyz") for _ in range(rng.randint(5, 20)))
                for _ in range(int(sys.argv[2]))})
open(sys.argv[1] + "/words.txt", "w").write("\n".join(words) + "\n")
text = "".join("%s\t%d\r\n" % (w, 1 + i // 40) for i, w in enumerate(words))
open(sys.argv[1] + "/big/Data/Big.list", "wb").write(b"\xff\xfe" + text.encode("utf-16-le"))
PY
printf 'Big\t1\r\n' > "$work/big/diclist.dat"
cp "$work/sample/Plugin.dat" "$work/big/"
cp "$BUILD/app/lexifol" "$work/big/"
cat > "$work/run.sh" <<'RUN'
#!/usr/bin/env bash
for _ in 1 2 3 4; do
    "$BUILD/bench/bench_keys_outside" "$PER" "$BUILD/bench/bench_plain_list" "$work/words.txt" >> "$work/floor.ms"
    (cd "$work/big" && "$BUILD/bench/bench_keys_outside" "$PER" ./lexifol) >> "$work/lexifol.ms"
done
RUN
echo "== from outside (key to the X server to the window drawn), Xvfb with openbox"
BUILD=$BUILD PER=$(( (SAMPLES + 3) / 4 )) work=$work bash "$here/../tests/e2e/with_x11.sh" bash "$work/run.sh"
python3 - "$work" <<'PY'
import sys
def stats(name):
    v = sorted(float(x) for x in open(sys.argv[1] + "/" + name + ".ms") if float(x) >= 0)
    return v[len(v) // 2], v[min(len(v) - 1, int(len(v) * 0.99))], len(v)
f, l = stats("floor"), stats("lexifol")
print("plain Qt list (floor)  median %6.2f ms  p99 %6.2f ms  (%d keys)" % f)
print("lexifol                median %6.2f ms  p99 %6.2f ms  (%d keys)" % l)
print("lexifol / floor        median %5.2fx    p99 %5.2fx    (goal <= 1.0x)" % (l[0] / f[0], l[1] / f[1]))
PY
