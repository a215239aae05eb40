#!/usr/bin/env bash
# Kills the program (kill -9) in every state a match can be in and starts it again: after "Ja"
# and after "Nein" to the resume question the display must be mapped and lie on its monitor.
# Run on X with a window manager: tests/x11/with-window-manager.sh kill-every-state.sh PROGRAM
# (scripts/smoke does). Ice hockey, with 3 s periods and a 5 s break, so that the period's end,
# the break and its end come within seconds.
set -euo pipefail
program=$(realpath "$1")
xclose=$(realpath "$(dirname "$0")/../../scripts/xclose")
home=$(mktemp -d)
pid=
trap 'kill -9 $pid 2>/dev/null || true; rm -rf "$home"' EXIT
export HOME=$home XDG_CONFIG_HOME=$home/config XDG_STATE_HOME=$home/state XDG_DATA_HOME=$home/data
export XDG_RUNTIME_DIR=$home/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
cd "$home"

fail() { echo "kill-every-state: $*" >&2; exit 1; }
# A window that may come and go while the search runs (xdotool then fails): searched again.
window() {
  local id
  for _ in $(seq 80); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1) || true
    [ -n "$id" ] && echo "$id" && return 0
    sleep 0.25
  done
  return 1
}
press() {
  for key in "$@"; do
    xdotool windowfocus --sync "$console" key "$key"
    sleep 0.5
  done
}
start() {
  "$program" --sport=icehockey & pid=$!
  console=$(window '^Scorvex [0-9]') || fail "no console window"
}
stop() {
  kill -9 "$pid"
  wait "$pid" 2>/dev/null || true
}
# The display (its caption is its size) is mapped, and inside the screen.
displayMapped() {
  local id geometry screen
  for _ in $(seq 50); do
    id=$(xdotool search --onlyvisible --name '^[0-9]+x[0-9]+$' | head -1) && [ -n "$id" ] && break
    sleep 0.1
  done
  [ -n "$id" ] || fail "$1: the display is not mapped"
  geometry=$(xdotool getwindowgeometry --shell "$id")
  eval "$geometry"
  read -ra screen < <(xdotool getdisplaygeometry)
  ((X >= 0 && Y >= 0 && X + WIDTH <= screen[0] && Y + HEIGHT <= screen[1])) ||
    fail "$1: the display lies at ${WIDTH}x${HEIGHT}+$X+$Y, off its monitor"
}
answer() {
  start
  question=$(window '^Scorvex$') || fail "$2: no resume question"
  xdotool windowfocus --sync "$question" key "$1"
  sleep 1
  displayMapped "$2"
}

# The settings a first run writes, with the short period and break.
start
sleep 1
"$xclose" "$console"
xdotool windowfocus --sync "$(window '^Scorvex$')" key Return
wait "$pid"
settings=$XDG_CONFIG_HOME/Merrowtide/Scorvex.reg
sed -i 's/^"Time"=.*/"Time"=dword:00000003/; s/^"BreakTime"=.*/"BreakTime"=dword:00000005/' \
  "$settings"
grep -q '"Time"=dword:00000003' "$settings" || fail "no period length in $settings"

# state name, then the keys and the wait that lead to it (a goal first: a match has begun).
states=(
  "ready|F11|0"
  "running|F11 F5|1"
  "paused|F11 F5 F5|0"
  "time-out|F11 F5 ctrl+h|0"
  "break|F11 ctrl+p|1"
  "break ran out|F11 F5|14"
  "period ended|F11 alt+3 F5|10"
  "logo screen|F11 ctrl+l|0"
  "black screen|F11 ctrl+b|0"
)
for entry in "${states[@]}"; do
  IFS='|' read -r name keys wait <<<"$entry"
  rm -rf "$XDG_STATE_HOME"
  start
  # shellcheck disable=SC2086
  press $keys
  sleep "$wait"
  stop
  answer Return "$name, Ja"
  stop
  answer Escape "$name, Nein"
  stop
  echo "kill-every-state: $name: the display is mapped after Ja and after Nein"
done
