#!/usr/bin/env bash
# A player's evening with the real program, under a virtual display of 1280 × 1024 with a window
# manager (openbox, started here: focus, minimising and full screen are its business):
#  - a box at start-up (an unreadable stored value) and a logout meanwhile: status 0;
#  - Start, and away to another program within a second, while the star field still builds
#    up; back after the game would have been lost: paused with the designed panel, not over;
#  - F11: the window fills the screen, laid out as maximised; F11 again: back where it was;
#  - a game lost, and Ctrl+Q while its results count up: the score is in the table, under the
#    name the dialog would have offered, when the program starts again.
# Each step waits for a state the program reports or a window that stays.
#
#   run_evening_e2e.sh <path to gorbulax> [folder for screenshots]
set -euo pipefail
program=$1
shots=${2:-$(mktemp -d)}
mkdir -p "$shots"

source "$(dirname "$0")/session.sh"
wm_pid="" other_pid="" small_xvfb_pid=$xvfb_pid
trap 'kill $game_pid $other_pid $wm_pid $xvfb_pid $small_xvfb_pid 2>/dev/null || true; rm -rf "$work"' EXIT
command -v openbox >/dev/null || fail "openbox is not installed (scripts/setup test)"
# Waits only pass time at this pace; the fades and the count-up keep their length in time.
pace=${GORBULAX_PACE:-1}
export GORBULAX_PACE=$pace
nap() { sleep "$(awk -v s="$1" -v p="$pace" 'BEGIN { print s * (p < 1 ? 1 : p) }')"; }

start_display 1280x1024x24 big
xvfb_pid=$started_display_pid
export DISPLAY=$started_display
openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm_pid=$!
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' || fail "openbox did not start"

# A portable copy with a table whose lowest entry, 100, any flight of a few seconds beats.
export GORBULAX_DATA_HOME=$work/data
mkdir -p "$work/bin"
cp "$program" "$work/bin/gorbulax"
program=$work/bin/gorbulax
table=$work/bin/gorbulax.dat
for score in 1000 900 800 700 600 500 400 300 200 100; do
  printf "\\$(printf %03o ${#score})%s" "$score"; head -c $((255 - ${#score})) /dev/zero
  printf '\005Pilot'; head -c 250 /dev/zero
  printf '\0071/15/26'; head -c 248 /dev/zero
done >"$table"
settings=$GORBULAX_CONFIG_HOME/user.reg
mkdir -p "$GORBULAX_CONFIG_HOME"
name="Evening Pilot"
write_settings() { # $1: the star count; $2: the placement's values
  cat >"$settings" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Brakmoor\\Gorbulax\\Settings]
"StarEdit"="$1"
$2

[HKEY_CURRENT_USER\\VazorazudGorbulax\\Settings]
"PlayerName"="$name"
REG
}

start_program() {
  "$program" 2>>"$states" &
  game_pid=$!
  await_state "main window shown" 30 "$1" || fail "the main window did not show ($1)"
  main=$(find_window Gorbulax) || fail "the main window did not appear"
  xdotool windowactivate --sync "$main"
  eval "$(xdotool getwindowgeometry --shell "$main")"
  field_x=$((X + 19)) field_y=$((Y + HEIGHT - 55 - 226))
}
await_end_with_0() {
  local status=0
  for _ in $(seq 100); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
  wait "$game_pid" || status=$?
  game_pid=""
  [ "$status" = 0 ] || fail "$1 ended the program with status $status"
}

# 1. An unreadable stored width shows its designed box before the main window; a logout then
# ends the program with status 0, not by the signal.
write_settings 100 '"State"=dword:00000001
"Width"="wide"'
"$program" 2>>"$states" &
game_pid=$!
box=$(find_window Gorbulax) || fail "no box for the unreadable width"
[ "$(state_count 'main window shown')" = 0 ] || fail "the main window came before the box"
kill -TERM "$game_pid"
await_end_with_0 "SIGTERM during the start-up box"

# 2. Start, and at once away to another program while the star field builds up (3000 stars:
# seconds of build-up); back long after the game would have been lost.
write_settings 3000 ""
xmessage -geometry +0+0 "another program" &
other_pid=$!
other=$(find_window xmessage) || fail "the other window did not appear"
start_program 1
xdotool mousemove $((field_x + 523 / 2)) $((field_y + 226 / 2)) click 1
xdotool windowactivate --sync "$other"
await_state paused 10 || fail "leaving during the build-up did not pause"
nap 12
xdotool windowactivate --sync "$main"
nap 1
import -window root "$shots/evening-paused-in-build-up.png"
[ "$(state_count 'game over')" = 0 ] || fail "the game was lost while the player was away"
[ "$(state_count paused)" = 1 ] || fail "paused $(state_count paused) times"
# Minimised the same: P resumes, the window is minimised, and the game pauses again.
xdotool key p
nap 0.5
xdotool windowminimize --sync "$main"
await_state paused 10 2 || fail "minimising during the build-up did not pause"
xdotool windowactivate --sync "$main"
nap 1
[ "$(state_count 'game over')" = 0 ] || fail "the game was lost while minimised"

# 3. F11: full screen, laid out as maximised, then back where the window was.
xdotool windowmove --sync "$main" 60 40
nap 0.5
eval "$(xdotool getwindowgeometry --shell "$main")"
before="${WIDTH}x$HEIGHT+$X+$Y"
xdotool key F11
for _ in $(seq 50); do
  xprop -id "$main" _NET_WM_STATE | grep -q _NET_WM_STATE_FULLSCREEN && break
  sleep 0.1
done
xprop -id "$main" _NET_WM_STATE | grep -q _NET_WM_STATE_FULLSCREEN || fail "F11 did not fill the screen"
nap 1
eval "$(xdotool getwindowgeometry --shell "$main")"
[ "${WIDTH}x$HEIGHT+$X+$Y" = "1280x1024+0+0" ] || fail "full screen is ${WIDTH}x$HEIGHT+$X+$Y"
import -window root "$shots/evening-full-screen.png"
xdotool key F11
for _ in $(seq 50); do
  xprop -id "$main" _NET_WM_STATE | grep -q _NET_WM_STATE_FULLSCREEN || break
  sleep 0.1
done
nap 1
eval "$(xdotool getwindowgeometry --shell "$main")"
[ "${WIDTH}x$HEIGHT+$X+$Y" = "$before" ] || fail "back from full screen at ${WIDTH}x$HEIGHT+$X+$Y, not $before"
kill -TERM "$game_pid"
await_end_with_0 "SIGTERM in a paused game"

# 4. A game lost (nobody aims: it ends after a few hundred ticks of flight), Ctrl+Q while the
# results count up; the entry is in the table at the next start, the remembered name as it was.
write_settings 0 ""
start_program 2
xdotool mousemove $((field_x + 523 / 2)) $((field_y + 226 / 2)) click 1
await_state "game over" 120 || fail "the game was not lost"
# "Game Over!" alone for a beat, the results fading in, then four count-ups of 0.6 s each.
nap 1.8
import -window root "$shots/evening-counting-up.png"
xdotool key ctrl+q
await_state "score kept" 10 || fail "closing during the count-up kept no score"
# The farewell's Close, its default button, works after two seconds.
about=$(find_window About) || fail "Ctrl+Q showed no farewell"
nap 2.5
xdotool windowactivate --sync "$about" key Return
await_end
[ "$(state_count 'name asked')" = 0 ] || fail "the name dialog was asked before the close"
grep -qF "\"PlayerName\"=\"$name\"" "$settings" || fail "the remembered name changed"
start_program 3
found=""
for p in $(seq 0 9); do
  [ "$(dd if="$table" bs=1 skip=$((p * 768 + 257)) count=${#name} 2>/dev/null | tr -d '\0')" = "$name" ] &&
    found=$p
done
[ -n "$found" ] || fail "the score was not in the table at the next start"
kill -TERM "$game_pid"
await_end_with_0 "SIGTERM after the restart"
echo "e2e: a start-up box and a logout end with 0; leaving during the build-up pauses and" \
  "stays paused; F11 fills the screen and comes back; a close during the count-up keeps the" \
  "score at position $((found + 1))"
