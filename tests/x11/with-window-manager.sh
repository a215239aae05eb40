#!/bin/sh
# Runs a test program on a virtual X screen of 3840x1080 with the Openbox window manager, for
# the tests of what only a real window manager does (frames drawn after a window is shown).
# The X server picks a free display itself (-displayfd), so that runs at the same time on one
# machine never share one.
# Usage: with-window-manager.sh PROGRAM [ARGUMENTS...]
set -eu
work=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 3840x1080x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
server=$!
wm=
trap 'kill $wm $server 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(cat "$work/display")" SCORVEX_ON_X=1
openbox --sm-disable --startup "touch $work/wm-ready" >/dev/null 2>&1 &
wm=$!
for _ in $(seq 200); do [ -e "$work/wm-ready" ] && break; sleep 0.05; done
[ -e "$work/wm-ready" ] || { echo "openbox did not start" >&2; exit 1; }
QT_QPA_PLATFORM=xcb "$@"
