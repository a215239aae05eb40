#!/bin/sh
# Runs a test program on a virtual X screen of 3840x1080 with the Openbox window manager, for
# the tests of what only a real window manager does (frames drawn after a window is shown).
# Usage: with-window-manager.sh PROGRAM [ARGUMENTS...]
set -eu
if [ -z "${SCORVEX_ON_X:-}" ]; then
  exec env SCORVEX_ON_X=1 xvfb-run -a -s "-screen 0 3840x1080x24" "$0" "$@"
fi
ready=$(mktemp -u)
openbox --sm-disable --startup "touch $ready" >/dev/null 2>&1 &
wm=$!
trap 'kill $wm 2>/dev/null; rm -f "$ready"' EXIT
for _ in $(seq 100); do [ -e "$ready" ] && break; sleep 0.1; done
[ -e "$ready" ] || { echo "openbox did not start" >&2; exit 1; }
QT_QPA_PLATFORM=xcb "$@"
