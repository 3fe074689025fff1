#!/usr/bin/env bash
# lexifol-index ocr beside the tesseract command on the same pages, in one
# run: the command reads the pages drawn by ddjvu at 300 dpi, one process
# per core (OMP_THREAD_LIMIT=1, as lexifol-index runs its engines); then
# lexifol-index ocr reads the document itself with as many engines. Prints
# pages per minute, peak memory and how far the two readings differ
# (character error rate of ours against the command's, blanks ignored).
# usage: bench/bench_ocr.sh SCAN.djvu [LANG] [PAGES]
set -euo pipefail
doc=$1; lang=${2:-eng}
bin=${LEXIFOL_INDEX:-$(dirname "$0")/../build/cli/lexifol-index}
jobs=$(nproc)
pages=${3:-$(djvused "$doc" -e n)}
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
for p in $(seq 1 "$pages"); do
  ddjvu -format=pgm -page="$p" -scale=300 "$doc" "$work/p$(printf %05d "$p").pgm"
done
t0=$(date +%s.%N)
ls "$work"/p*.pgm | OMP_THREAD_LIMIT=1 /usr/bin/time -f '%M' -o "$work/cmd.mem" \
  xargs -P "$jobs" -I{} sh -c 'tesseract "$1" "${1%.pgm}" -l "$2" --dpi 300 quiet' _ {} "$lang"
t1=$(date +%s.%N)
/usr/bin/time -f '%M' -o "$work/lex.mem" "$bin" ocr "$doc" -o "$work/out.djvu" --force --lang "$lang" \
  --jobs "$jobs" --pages "1-$pages" >/dev/null 2>&1
t2=$(date +%s.%N)
cat "$work"/p*.txt > "$work/cmd.txt"
: > "$work/lex.txt"
for p in $(seq 1 "$pages"); do djvutxt --page="$p" "$work/out.djvu" >> "$work/lex.txt"; done
python3 - "$work/cmd.txt" "$work/lex.txt" "$pages" "$t0" "$t1" "$t2" "$work/cmd.mem" "$work/lex.mem" <<'PY'
import sys, difflib
cmd, lex = (''.join(open(f, encoding='utf-8').read().split()) for f in sys.argv[1:3])
pages, t0, t1, t2 = int(sys.argv[3]), *map(float, sys.argv[4:7])
# The command's memory is that of xargs' largest child: time reports the peak of the tree's biggest process.
mem = [int(open(f).read().split()[-1]) // 1024 for f in sys.argv[7:9]]
m = difflib.SequenceMatcher(None, cmd, lex, autojunk=False)
edits = sum(max(i2 - i1, j2 - j1) for op, i1, i2, j1, j2 in m.get_opcodes() if op != 'equal')
cmd_rate, lex_rate = pages * 60 / (t1 - t0), pages * 60 / (t2 - t1)
print(f"{'':14}{'pages/min':>10}{'peak MiB':>10}")
print(f"{'tesseract':14}{cmd_rate:10.1f}{mem[0]:10}")
print(f"{'lexifol-index':14}{lex_rate:10.1f}{mem[1]:10}")
print(f"speed {lex_rate / cmd_rate:.2f}x the command (goal >= 0.9x); "
      f"characters differing from the command's reading: {100 * edits / max(1, len(cmd)):.2f} % (goal <= 0.5 %)")
PY
