#!/usr/bin/env bash
# Runs a test program on a real X server of its own with a window manager:
# focus, activation and the timing of both are those of a desktop.
#   bash with_x11.sh PROGRAM [ARGS...]
set -uo pipefail
for t in Xvfb openbox xdpyinfo; do
  command -v "$t" >/dev/null || { echo "SKIP: $t missing"; exit 77; }
done
for n in $(seq 141 190); do
  [ -e /tmp/.X$n-lock ] || { DISP=":$n"; break; }
done
Xvfb "$DISP" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
XPID=$!
export DISPLAY=$DISP QT_QPA_PLATFORM=xcb
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox --sm-disable >/dev/null 2>&1 &
WMPID=$!
sleep 0.5
"$@"
rc=$?
kill "$WMPID" "$XPID" 2>/dev/null
wait "$WMPID" "$XPID" 2>/dev/null
exit $rc
