#!/usr/bin/env bash
# The display library's demonstration as a developer meets it: it starts in a window, flips,
# explodes where it is clicked, goes full screen with F11 over the whole screen and back, and
# ends with Esc; what it traces reaches the trace viewer.
#
#   run_gkdemo_e2e.sh <path to gkdemo> <path to gktrace> <folder for screenshots>
set -euo pipefail
demo=$1
viewer=$2
shots=$3

game_pid=""
viewer_pid=""
source "$(dirname "$0")/session.sh"
trap 'kill $game_pid $viewer_pid $xvfb_pid 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$shots"
# The viewer's socket lives here, for this run alone.
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

"$viewer" --no-window >"$work/trace" 2>&1 &
viewer_pid=$!
for _ in $(seq 50); do grep -q "listening" "$work/trace" && break; sleep 0.1; done
grep -q "listening" "$work/trace" || fail "the trace viewer did not start: $(cat "$work/trace")"

# Waits up to 10 s for the $2th trace line (the first by default) matching $1.
wait_trace() {
  for _ in $(seq 100); do
    [ "$(grep -c -- "$1" "$work/trace")" -ge "${2:-1}" ] && return 0
    sleep 0.1
  done
  fail "no trace \"$1\"; the viewer got:
$(cat "$work/trace")"
}

"$demo" --window &
game_pid=$!
demo_window=$(find_window "GK Demo") || fail "the demonstration's window did not appear"
wait_trace "display set up, 640 x 480, in a window"
eval "$(xdotool getwindowgeometry --shell "$demo_window")"
[ "$WIDTH" = 640 ] && [ "$HEIGHT" = 480 ] || fail "the window is ${WIDTH}x$HEIGHT, not 640x480"
wait_trace "flips a second"

xdotool mousemove --window "$demo_window" 320 200 click 1
wait_trace "explosion at (320, 200)"
import -window root "$shots/gkdemo-window.png"

# F11 held for a second and a half switches once: the key's repeats are not presses.
xdotool windowfocus --sync "$demo_window" keydown F11
sleep 1.5
xdotool keyup F11
wait_trace "640 x 480, full screen"
sleep 0.5
[ "$(grep -c "display set up" "$work/trace")" = 2 ] ||
  fail "a held F11 switched more than once: $(grep "display set up" "$work/trace")"
# A frameless window is a new one to the X server.
demo_window=$(find_window "GK Demo") || fail "the full-screen window did not appear"
eval "$(xdotool getwindowgeometry --shell "$demo_window")"
[ "$WIDTH" = 1024 ] && [ "$HEIGHT" = 768 ] || fail "full screen is ${WIDTH}x$HEIGHT, not the screen"
# Scaled to fit: the picture is 1024 x 768 on this screen, so a click at the screen's centre
# is the buffer's centre.
xdotool mousemove 512 384 click 1
wait_trace "explosion at (320, 240)"
import -window root "$shots/gkdemo-fullscreen.png"

xdotool key F11
wait_trace "in a window" 2
# Back in a window, it has the keyboard and flips on without a click.
demo_window=$(find_window "GK Demo") || fail "the window did not come back"
for _ in $(seq 50); do [ "$(xdotool getwindowfocus)" = "$demo_window" ] && break; sleep 0.1; done
[ "$(xdotool getwindowfocus)" = "$demo_window" ] || fail "the window has no keyboard focus"
flips=$(grep -c "flips a second" "$work/trace")
wait_trace "flips a second" $((flips + 1))
xdotool key Escape
for _ in $(seq 50); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$game_pid" 2>/dev/null && fail "the demonstration did not end"
wait "$game_pid" || fail "the demonstration ended with an error"
game_pid=""
echo "e2e: the demonstration flips in a window and full screen, explodes where clicked, traces"
