#!/usr/bin/env bash
# The real program under a virtual display, as a player meets it: it starts and shows its
# window, "Click to Start!" starts a flight that draws stars, the right button pauses,
# an idle window costs no processor time, and closing the window ends the program after its
# farewell.
#
#   run_e2e.sh <path to gorbulax> [folder for screenshots]
set -euo pipefail
program=$1
shots=${2:-$(mktemp -d)}
mkdir -p "$shots"

source "$(dirname "$0")/session.sh"

"$program" 2>>"$states" &
game_pid=$!
window=$(find_window Gorbulax) || fail "the main window did not appear"
sleep 1
import -window root "$shots/idle.png"

# Idle: no spinning. Clock ticks are 1/100 s; allow 5 of them in 3 seconds.
before=$(cpu_ticks $game_pid); sleep 3; after=$(cpu_ticks $game_pid)
[ $((after - before)) -le 5 ] || fail "idle window used $((after - before)) ticks in 3 s"

eval "$(xdotool getwindowgeometry --shell "$window")"
# The start button sits at the centre of the play field.
field_x=$((X + 19 + 523 / 2)); field_y=$((Y + HEIGHT - 55 - 226 / 2))
xdotool mousemove "$field_x" "$field_y" click 1
sleep 1
xdotool mousemove $((field_x + 120)) $((field_y - 60))
# A star a tick: a loaded machine delivers fewer ticks, so look until the field has filled.
for _ in $(seq 30); do
  sleep 1
  import -window root "$shots/flight.png"
  stars=$(convert "$shots/flight.png" -crop 523x226+$((X + 19))+$((Y + HEIGHT - 55 - 226)) \
    -fill black +opaque white -format '%[fx:mean*w*h]' info:)
  awk -v s="$stars" 'BEGIN { exit !(s > 20) }' && break
done
awk -v s="$stars" 'BEGIN { exit !(s > 20) }' || fail "no stars on the field ($stars white pixels)"

xdotool mousemove "$field_x" "$field_y" click 3
await_state paused 20 || fail "the game did not pause"
import -window root "$shots/paused.png"
before=$(cpu_ticks $game_pid); sleep 3; after=$(cpu_ticks $game_pid)
[ $((after - before)) -le 5 ] || fail "paused window used $((after - before)) ticks in 3 s"

# Paused, the Close button under the turret is enabled.
xdotool mousemove "$field_x" $((Y + HEIGHT - 34 + 4 + 12)) click 1
leave_farewell
echo "e2e: start, flight, pause and close work"
