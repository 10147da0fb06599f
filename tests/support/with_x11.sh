#!/usr/bin/env bash
# Runs a command in a private X server (Xvfb, 1280x800, 24-bit) with the
# openbox window manager (--wm) or none, with Qt on the xcb platform:
#   with_x11.sh [--wm] COMMAND [ARGS...]
# Every process it starts is ended by its PID when the command ends; the
# command's exit status is the script's.
set -u
wm=0
[ "${1:-}" = "--wm" ] && { wm=1; shift; }
n=$(( 100 + RANDOM % 400 ))
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$(( 100 + RANDOM % 400 )); done
export DISPLAY=:$n QT_QPA_PLATFORM=xcb
pids=()
Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 & pids+=($!)
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.05; done
if [ "$wm" = 1 ]; then
    openbox --sm-disable >/dev/null 2>&1 & pids+=($!)
    for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break; sleep 0.05; done
fi
"$@"
rc=$?
for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
wait 2>/dev/null
exit $rc
