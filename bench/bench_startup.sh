#!/usr/bin/env bash
# Start-up as a user sees it: from the command to the window mapped on an
# X server with a window manager, against a bare Qt window, in one run:
# on the sample folder, and on ten dictionaries of a million entries.
#   bench/bench_startup.sh [BUILD_DIR] [RUNS] [OTHER_LEXIFOL]
# A third argument times an older lexifol beside the new one.
set -euo pipefail
BUILD=$(cd "${1:-build}" && pwd)
RUNS=${2:-11}
OLD=${3:-}
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

cat > "$work/run.sh" <<RUN
#!/usr/bin/env bash
median() { sort -n | awk '{a[NR]=\$1} END {print a[int((NR+1)/2)]}'; }
time_of() { "$BUILD/bench/bench_mapped" "$RUNS" "\$@" 2>/dev/null | tail -n +2 | median; }
bare=\$(time_of "$BUILD/bench/bench_bare_window")
printf '%-44s %7.1f ms\n' "bare Qt window mapped" "\$bare"
for bin in $OLD "$BUILD/app/lexifol"; do
    cp "\$bin" "$work/sample/lexifol"; cp "\$bin" "$work/ten/lexifol"
    s=\$(cd "$work/sample" && time_of ./lexifol)
    t=\$(cd "$work/ten" && time_of ./lexifol)
    echo "== \$bin"
    printf '%-44s %7.1f ms  %5.2fx bare (goal 1.5x)\n' "sample folder, window mapped" "\$s" "\$(echo "\$s / \$bare" | bc -l)"
    printf '%-44s %7.1f ms  (goal 130 ms)\n' "ten dictionaries of 1M entries" "\$t"
done
RUN
chmod +x "$work/run.sh"
bash "$here/../tests/e2e/with_x11.sh" "$work/run.sh"
