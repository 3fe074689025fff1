# What the end-to-end scripts share, sourced: a work folder that goes with
# every process started (add their pids to `pids`), and a display of their
# own with a window manager.
WORK=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT

# start_display FIRST LAST: Xvfb on the first free display number of the
# range, openbox on it; DISPLAY set.
start_display() {
  for n in $(seq "$1" "$2"); do
    [ -e /tmp/.X$n-lock ] || { DISP=":$n"; break; }
  done
  Xvfb "$DISP" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
  XPID=$!
  pids+=($XPID)
  export DISPLAY=$DISP
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  openbox --sm-disable >/dev/null 2>&1 &
  WMPID=$!
  pids+=($WMPID)
  sleep 0.5
}
stop_display() {
  kill "$WMPID" "$XPID" 2>/dev/null
  wait "$WMPID" "$XPID" 2>/dev/null
}
