#!/usr/bin/env bash
# The game among the desktop's other windows, in the real program under a virtual display: the
# window tells the window manager it may not be smaller than designed; a flight pauses with its
# designed panel when another program's window takes the focus, and stays paused until the
# player comes back and resumes it (here with P); SIGTERM, as at a logout, ends the program at
# once with status 0 and keeps the window's placement for the next start; and a display that
# goes away ends it with the status of a lost display.
#
#   run_desktop_e2e.sh <path to gorbulax> [folder for screenshots]
set -euo pipefail
program=$1
shots=${2:-$(mktemp -d)}
mkdir -p "$shots"

source "$(dirname "$0")/session.sh"
other_pid="" lost_xvfb_pid=""
trap 'kill $game_pid $other_pid $lost_xvfb_pid $xvfb_pid 2>/dev/null || true; rm -rf "$work"' EXIT
export GORBULAX_PACE=0.2
settings=$GORBULAX_CONFIG_HOME/user.reg

# No stars to build: the flight begins on the tick after the start.
mkdir -p "$GORBULAX_CONFIG_HOME"
cat >"$settings" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Brakmoor\Gorbulax\Settings]
"StarEdit"="0"
REG

start_program() {
  "$program" &
  game_pid=$!
  main=$(find_window Gorbulax) || fail "the main window did not appear"
  sleep 0.5
}
# The brightness (0 to 1) of the pixel at $1,$2 of the screen.
brightness() {
  import -window root -crop "1x1+$1+$2" "$work/pixel.png"
  convert "$work/pixel.png" -format '%[fx:intensity]' info:
}
# Waits up to 10 s for the pixel at $1,$2 to be lit ($3 = 1) or black ($3 = 0).
await_pixel() {
  for _ in $(seq 50); do
    awk -v b="$(brightness "$1" "$2")" -v lit="$3" 'BEGIN { exit !((b > 0.5) == lit) }' &&
      return 0
    sleep 0.2
  done
  return 1
}

start_program
xdotool windowfocus --sync "$main"
eval "$(xdotool getwindowgeometry --shell "$main")"
# The window manager is told that the window may not be smaller than designed.
xprop -id "$main" WM_NORMAL_HINTS | grep -q "minimum size: $WIDTH by $HEIGHT" ||
  fail "the window's minimum size is not its designed ${WIDTH}x$HEIGHT: $(xprop -id "$main" WM_NORMAL_HINTS)"
field_x=$((X + 19)) field_y=$((Y + HEIGHT - 55 - 226))
# A corner of the field that the start button, the turret and the other window leave free.
probe_x=$((field_x + 8)) probe_y=$((field_y + 8))
xdotool mousemove $((field_x + 523 / 2)) $((field_y + 226 / 2)) click 1
sleep 1
await_pixel "$probe_x" "$probe_y" 0 || fail "the field is not black in flight"

# Another program's window takes the focus.
xmessage -geometry +0+0 "another program" &
other_pid=$!
other=$(find_window xmessage) || fail "the other window did not appear"
xdotool windowfocus --sync "$other"
await_pixel "$probe_x" "$probe_y" 1 || fail "the flight did not pause when the focus left"
sleep 2
import -window root "$shots/focus-paused.png"
[ "$(awk -v b="$(brightness "$probe_x" "$probe_y")" 'BEGIN { print (b > 0.5) }')" = 1 ] ||
  fail "the pause did not stay"
kill "$other_pid"
other_pid=""

# Back in the game, P resumes as a click on the panel does.
xdotool windowfocus --sync "$main"
sleep 0.5
xdotool key p
await_pixel "$probe_x" "$probe_y" 0 || fail "P did not resume the flight"

# A logout: placement changed, SIGTERM, no farewell, status 0, the placement back.
leave_window_elsewhere
kill -TERM "$game_pid"
await_end
grep -qF '"State"=dword:00000001' "$settings" || fail "the window's state was not stored"

start_program
expect_window_back SIGTERM
kill -HUP "$game_pid"
await_end

# A display of its own, which goes away under the running program.
start_display 800x600x24 lost-display
lost_xvfb_pid=$started_display_pid
lost=$started_display
DISPLAY=$lost "$program" 2>"$work/lost.err" &
game_pid=$!
for _ in $(seq 100); do
  DISPLAY=$lost xdotool search --onlyvisible --name '^Gorbulax$' >/dev/null 2>&1 && break
  sleep 0.1
done
kill "$lost_xvfb_pid"
lost_xvfb_pid=""
for _ in $(seq 100); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
status=0
wait "$game_pid" || status=$?
game_pid=""
[ "$status" = 4 ] || fail "the lost display ended the program with $status: $(cat "$work/lost.err")"
echo "e2e: focus lost pauses and stays paused, P resumes; SIGTERM keeps the placement;" \
  "a lost display gives status 4"
