#!/usr/bin/env bash
# The dictionary's keyboard layout under Wayland: the program on Qt's
# wayland platform in a Weston session (its X11 backend, in an X server of
# its own that has only "us"), physical keys typed into a dictionary whose
# layout is ru. Wayland lets no program switch the layout: the keys are
# mapped by Lexifol, and Enter shows the page of the Russian word.
set -uo pipefail
BIN=$1
MKSAMPLE=$2
for t in Xvfb openbox xdotool weston setxkbmap; do
  command -v "$t" >/dev/null || { echo "SKIP: $t missing"; exit 77; }
done
ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so >/dev/null 2>&1 || { echo "SKIP: Qt's wayland platform missing"; exit 77; }

. "$(dirname "$0")/common.sh"
PROG=$WORK/prog
fail() { echo "FAIL: $*"; tail -n 5 "$WORK"/*.log; exit 1; }

QT_QPA_PLATFORM=offscreen "$MKSAMPLE" "$PROG" >/dev/null || fail "sample folder not made"
cp "$BIN" "$PROG/lexifol"
# A Russian dictionary on the pages of a sample document, opened first.
mkdir -p "$PROG/Data/Russian.files"
printf '\xef\xbb\xbf%s\t1\r\n%s\t2\r\n%s\t3\r\n%s\t4\r\n' "абак" "бег" "вода" "город" > "$PROG/Data/Russian.list"
printf '[main]\r\nname=Russian\r\nwhole_file=yes\r\nkeyboard_layout=ru\r\n' > "$PROG/Data/Russian.files/Russian.ini"
cp "$PROG/Data/Sample.files/Sample.djvu" "$PROG/Data/Russian.files/Russian.djvu"
printf 'Russian\t1\r\nSample\t1\r\n' > "$PROG/diclist.dat"

start_display 191 240
setxkbmap us

export XDG_RUNTIME_DIR=$WORK/run
mkdir -m 700 "$XDG_RUNTIME_DIR"
printf '[core]\nidle-time=0\n[input-method]\npath=/bin/true\n' > "$WORK/weston.ini"
weston --config="$WORK/weston.ini" --backend=x11-backend.so --socket=lexifol-test --width=1000 --height=700 \
  >"$WORK/weston.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/lexifol-test" ] && break; sleep 0.1; done
[ -S "$XDG_RUNTIME_DIR/lexifol-test" ] || fail "weston did not start"

(cd "$PROG" && WAYLAND_DISPLAY=lexifol-test QT_QPA_PLATFORM=wayland exec ./lexifol >"$WORK/lexifol.log" 2>&1) &
pids+=($!)
sleep 4 # the program's window mapped inside the session
# Weston's window names itself in a way xdotool cannot search: the window
# manager has made it the active one.
WIN=$(xdotool getactivewindow 2>/dev/null)
[ -n "$WIN" ] || fail "no weston window"

# d j l f: "вода" on a Russian keyboard.
xdotool type --delay 100 djlf
xdotool key Return
for _ in $(seq 100); do grep -q " Page=3>" "$PROG/temp.htm" 2>/dev/null && break; sleep 0.1; done
grep -q "Russian.files/Russian.djvu\"" "$PROG/temp.htm" 2>/dev/null || fail "no page of the Russian dictionary shown"
grep -q " Page=3>" "$PROG/temp.htm" || fail "the keys did not give вода: $(cat "$PROG/temp.htm")"
echo "PASS: physical keys mapped through ru under Wayland"
