#!/usr/bin/env bash
# Runs the real program under Xvfb on the sample program folder, from another
# current directory: types a word, presses Enter, checks the page view file,
# closes the window and checks what was written where.
set -uo pipefail
# The real program on a real X server, whatever platform the caller chose.
export QT_QPA_PLATFORM=xcb
BIN=$1
MKSAMPLE=$2
for t in Xvfb openbox xdotool iconv; do
  command -v "$t" >/dev/null || { echo "SKIP: $t missing"; exit 77; }
done

. "$(dirname "$0")/common.sh"
PROG=$WORK/prog
CWD=$WORK/cwd
mkdir -p "$CWD"
fail() { echo "FAIL: $*"; [ -n "${SHOT:-}" ] && import -window root "$SHOT" 2>/dev/null; exit 1; }

QT_QPA_PLATFORM=offscreen "$MKSAMPLE" "$PROG" >/dev/null || fail "sample folder not made"
cp "$BIN" "$PROG/lexifol"

# A display of its own for each run of the program.
start_display 91 140

# Sample first, so that it is the one opened; Pages checked too, so that
# Ctrl+Down reaches it.
printf 'Sample\t1\r\nPages\t1\r\n' > "$CWD/diclist.dat"
before=$(cd "$PROG" && ls -la --time-style=+%s.%N diclist.dat Bookmarks.dat 2>/dev/null | md5sum)

cd "$CWD"
"$PROG/lexifol" >"$WORK/out.log" 2>&1 &
APP=$!
pids+=($APP)

WIN=$(timeout 20 xdotool search --sync --onlyvisible --name '^Lexifol$' | head -1)
[ -n "$WIN" ] || fail "main window did not appear"
xdotool windowactivate --sync "$WIN" >/dev/null 2>&1
sleep 1

# The word and its page, from the sample's own index.
WORD=apple
PAGE=$(iconv -f UTF-16 -t UTF-8 "$PROG/Data/Sample.list" | tr -d '\r' | awk -F'\t' -v w="$WORD" '$1==w {print $2; exit}')
PAGE=${PAGE%%>*}
[ -n "$PAGE" ] || fail "no page for $WORD in the sample index"

# Waits up to 10 s for the colour R,G,B on the screen; screenshot in $2.
on_screen() {
  for _ in $(seq 20); do
    sleep 0.5
    import -window root "$2" 2>/dev/null
    # Not grep -q: under pipefail the convert it cuts short would fail the test.
    convert "$2" -format %c histogram:info:- 2>/dev/null | grep "($1)" >/dev/null && return 0
  done
  return 1
}

# The headword is found on its page: "river" on page 22, marked in view.
xdotool type --delay 60 river
xdotool key Return
on_screen 190,225,255 "$WORK/river.png" || { SHOT=${SHOT:-$WORK/river.png}; fail "no headword mark in view after river"; }
grep -q " Page=22>" "$PROG/temp.htm" || fail "river did not show page 22: $(cat "$PROG/temp.htm")"
xdotool key ctrl+a

xdotool type --delay 60 "$WORD"
xdotool key Return
for _ in $(seq 150); do grep -q " Page=$PAGE>" "$PROG/temp.htm" 2>/dev/null && break; sleep 0.1; done
[ -f "$PROG/temp.htm" ] || fail "no page view file after Enter"
grep -q "Data/Sample.files/Sample.djvu\"" "$PROG/temp.htm" || fail "page view file names another document: $(cat "$PROG/temp.htm")"
grep -q " Page=$PAGE>" "$PROG/temp.htm" || fail "page view file does not show page $PAGE: $(cat "$PROG/temp.htm")"

# A word printed on the page, double-clicked, is looked up. Where it lies on
# the screen follows from the text layer and the blue mark of the headword
# looked up: the mark is that word's box, 4 pixels wider and 2 higher a side.
command -v djvused >/dev/null || fail "djvused missing"
djvused -e "select $PAGE; print-txt" "$PROG/Data/Sample.files/Sample.djvu" \
  | sed -n 's/.*(word \([0-9]*\) \([0-9]*\) \([0-9]*\) \([0-9]*\) "\([a-z]*\)[,.;]*")*$/\5 \1 \2 \3 \4/p' > "$WORK/words"
iconv -f UTF-16 -t UTF-8 "$PROG/Data/Sample.list" | tr -d '\r' | awk -F'\t' '$2 ~ /^[0-9]+$/ {print $1 "\t" $2}' > "$WORK/heads"
MARK=""
for _ in $(seq 20); do
  import -window root "$WORK/apple.png" 2>/dev/null
  MARK=$(convert "$WORK/apple.png" -alpha off -fill white +opaque "rgb(190,225,255)" -trim -format "%w %h %X %Y" info: 2>/dev/null)
  set -- $MARK
  [ "${1:-0}" -gt 8 ] && [ "${1:-0}" -lt 600 ] && break
  MARK=""; sleep 0.5
done
[ -n "$MARK" ] || { SHOT=${SHOT:-$WORK/apple.png}; fail "no mark on $WORD"; }
read -r _ AX0 AY0 AX1 AY1 < <(grep -m1 "^$WORD " "$WORK/words")
set -- $MARK
# Screen points of the words printed once on the page, those in view only.
awk -v mw="$1" -v mx="$3" -v my="$4" -v ax0="$AX0" -v ax1="$AX1" -v ay1="$AY1" '
  { n[$1]++; x[$1] = $2; y[$1] = $3; X[$1] = $4; Y[$1] = $5 }
  END { s = (mw - 8) / (ax1 - ax0)
        for (w in n) if (n[w] == 1 && length(w) >= 5) {
          cx = mx + 4 + ((x[w] + X[w]) / 2 - ax0) * s; cy = my + 2 + (ay1 - (y[w] + Y[w]) / 2) * s
          if (cx > 220 && cx < 1260 && cy > 140 && cy < 860) printf "%s %d %d\n", w, cx, cy } }' "$WORK/words" | sort > "$WORK/inview"
PRINTED=""
while read -r w cx cy; do
  p=$(awk -F'\t' -v w="$w" '$1==w {print $2; exit}' "$WORK/heads")
  [ -n "$p" ] && [ "$p" != "$PAGE" ] && { PRINTED=$w; PRINTED_PAGE=$p; CLICK="$cx $cy"; break; }
done < "$WORK/inview"
[ -n "$PRINTED" ] || fail "no headword of another page printed once in view on page $PAGE"
xdotool mousemove --sync $CLICK click --repeat 2 --delay 80 1
for _ in $(seq 150); do grep -q " Page=$PRINTED_PAGE>" "$PROG/temp.htm" && break; sleep 0.1; done
grep -q " Page=$PRINTED_PAGE>" "$PROG/temp.htm" || { import -window root "$WORK/dbl.png"; SHOT=${SHOT:-$WORK/dbl.png}; fail "double-click on $PRINTED at $CLICK did not show page $PRINTED_PAGE: $(cat "$PROG/temp.htm")"; }
# F2 finds the search box's word on the page and marks it in yellow.
xdotool key F2
on_screen 255,225,0 "$WORK/find.png" || { SHOT=${SHOT:-$WORK/find.png}; fail "F2 did not mark $PRINTED on page $PRINTED_PAGE"; }
xdotool key Insert ctrl+a
xdotool type --delay 60 "$WORD"

# Ctrl+Down opens the next checked dictionary and shows the word's page there.
PAGE2=$(tr -d '\r' < "$PROG/Data/Pages.list" | awk -F'\t' -v w="$WORD" '$1==w {print $2; exit}')
PAGE2=${PAGE2%%>*}
[ -n "$PAGE2" ] || fail "no page for $WORD in the Pages index"
xdotool key ctrl+Down
for _ in $(seq 150); do grep -q "Data/Pages.files/$PAGE2.djvu" "$PROG/temp.htm" && break; sleep 0.1; done
grep -q "Data/Pages.files/$PAGE2.djvu\"" "$PROG/temp.htm" || fail "Ctrl+Down did not show $WORD in Pages: $(cat "$PROG/temp.htm")"

# "First words" has one index line per page: a word printed in the middle of
# a page shows that page, not the next one.
MID=$(iconv -f UTF-16 -t UTF-8 "$PROG/Data/Sample.list" | tr -d '\r' | awk -F'\t' '$2 ~ /^[0-9]+$/ && $2 == 12 {w[n++]=$1} END {print w[int(n/2)]}')
FIRSTS=$(iconv -f UTF-16 -t UTF-8 "$PROG/Data/First words.list" | tr -d '\r')
[ -n "$MID" ] || fail "no headword on page 12 of the sample"
echo "$FIRSTS" | cut -f1 | grep -qx "$MID" && fail "$MID begins its page"
xdotool key ctrl+3
sleep 1
xdotool key ctrl+a
xdotool type --delay 60 "$MID"
xdotool key Return
fw() { grep -q "Data/First words.files/First words.djvu\"" "$PROG/temp.htm" && grep -q " Page=12>" "$PROG/temp.htm"; }
for _ in $(seq 150); do fw && break; sleep 0.1; done
fw || fail "$MID in First words did not show page 12: $(cat "$PROG/temp.htm")"

xdotool key --window "$WIN" alt+F4
for _ in $(seq 100); do kill -0 "$APP" 2>/dev/null || break; sleep 0.1; done
kill -0 "$APP" 2>/dev/null && fail "program did not end after closing its window"

[ "$(head -2 "$CWD/diclist.dat")" = "$(printf 'Sample\t1\r\nPages\t1\r')" ] || fail "diclist.dat not rewritten in the current directory: $(od -c "$CWD/diclist.dat")"
[ -e "$CWD/Bookmarks.dat" ] && fail "Bookmarks.dat written at exit though no bookmark changed"
after=$(cd "$PROG" && ls -la --time-style=+%s.%N diclist.dat Bookmarks.dat 2>/dev/null | md5sum)
[ "$before" = "$after" ] || fail "the program folder's catalogue or bookmarks were touched"
[ -e "$PROG/Bookmarks.dat" ] && fail "Bookmarks.dat written in the program folder"

# The program started again on a display of its own, its window active;
# its output in $1.
restart() {
  stop_display
  start_display 91 140
  "$PROG/lexifol" >"$1" 2>&1 &
  APP=$!
  pids+=($APP)
  WIN=$(timeout 20 xdotool search --sync --onlyvisible --pid "$APP" --name '^Lexifol$' | head -1)
  [ -n "$WIN" ] || fail "main window did not appear again: $(cat "$1")"
  xdotool windowactivate --sync "$WIN" >/dev/null 2>&1
  sleep 1
}

# A bookmark survives the process being killed right after it was added.
restart "$WORK/out2.log"
xdotool type --delay 60 "$WORD"
# Add bookmark lies in the top panel, below the menu bar.
eval "$(xdotool getwindowgeometry --shell "$WIN")"
xdotool mousemove --sync $((X + 589)) $((Y + 63)) click 1
marked() { iconv -f UTF-16 -t UTF-8 "$CWD/Bookmarks.dat" 2>/dev/null | tr -d '\r' | grep -qx "$WORD	Sample"; }
for _ in $(seq 150); do marked && break; sleep 0.1; done
kill -9 "$APP"
wait "$APP" 2>/dev/null
marked || fail "the bookmark added before the kill is not in Bookmarks.dat: $(od -c "$CWD/Bookmarks.dat" | head)"
[ "$(head -c2 "$CWD/Bookmarks.dat" | od -An -tx1 | tr -d ' ')" = "fffe" ] || fail "Bookmarks.dat has no FF FE mark"

# A Russian dictionary on a desktop whose only layout is English: the keys
# typed into the search box are mapped through its layout (q w e ... give
# й ц у ...), and the word is found.
RU=$PROG/Data/Ru.files
mkdir -p "$RU"
cp "$PROG/Data/Sample.files/Sample.djvu" "$RU/Ru.djvu"
cp "$PROG/Data/Sample.files/Plugin.dat" "$RU/" 2>/dev/null
printf '[main]\r\nname=Russian words\r\nkeyboard_layout=00000419\r\n' > "$RU/Ru.ini"
printf '\xff\xfe' > "$PROG/Data/Ru.list"
printf 'йогурт\t3\r\nящик\t5\r\n' | iconv -f UTF-8 -t UTF-16LE >> "$PROG/Data/Ru.list"
printf 'Ru\t1\r\nSample\t1\r\n' > "$CWD/diclist.dat"
rm -f "$PROG/temp.htm"
restart "$WORK/out3.log"   # Xvfb's only layout is us
xdotool type --delay 60 zobr   # ящик; unmapped, it would land on the first word
xdotool key Return
for _ in $(seq 150); do grep -q "Data/Ru.files/Ru.djvu\"" "$PROG/temp.htm" 2>/dev/null && break; sleep 0.1; done
grep -q " Page=5>" "$PROG/temp.htm" 2>/dev/null || { import -window root "$WORK/ru.png"; SHOT=${SHOT:-$WORK/ru.png}; fail "zobr typed for the Russian dictionary did not show the page of ящик: $(cat "$PROG/temp.htm" 2>/dev/null)"; }
kill "$APP"
echo "e2e: looked up $WORD on page $PAGE, $PRINTED printed there on page $PRINTED_PAGE, $MID in First words on page 12; files written in the current directory; bookmark kept after SIGKILL; keys mapped through a Russian dictionary's layout"
