#!/usr/bin/env bash
# What the real program sends to the sound card, captured with SDL's "disk" driver: the program
# starts with its start-up sound, a shot fired into the field plays the laser, and the
# farewell its own sound; with "Play Sounds" off the same start, game and farewell are silent.
# And with its sound output open, the program still ends when the system asks it to.
#
#   run_sound_e2e.sh <path to gorbulax> <path to capture_check> <sound library>
set -euo pipefail
program=$1
check=$2
library=$3
Laser=5
RobotzW=8 # the start-up sound
Allfolk=11 # the farewell

source "$(dirname "$0")/session.sh"
export SDL_AUDIODRIVER=disk

# Starts the program and lets its start-up sound ring out; then starts a game, fires one shot
# into the field while the stars are being made (before any other sound event), lets the laser
# ring out, pauses and closes the program through its farewell.
play_one_shot() {
  export SDL_DISKAUDIOFILE=$1
  "$program" &
  game_pid=$!
  local window
  window=$(find_window Gorbulax) || fail "the main window did not appear"
  sleep 4
  eval "$(xdotool getwindowgeometry --shell "$window")"
  local field_x=$((X + 19 + 523 / 2)) field_y=$((Y + HEIGHT - 55 - 226 / 2))
  xdotool mousemove "$field_x" "$field_y" click 1
  sleep 0.5
  xdotool mousemove $((field_x + 100)) $((field_y - 50)) click 1
  sleep 1.5
  xdotool click 3
  sleep 1.5
  xdotool mousemove "$field_x" $((Y + HEIGHT - 34 + 4 + 12)) click 1
  leave_farewell
  [ -s "$1" ] || fail "nothing was captured in $1"
}

play_one_shot "$work/sounds-on.raw"
"$check" sound "$work/sounds-on.raw" "$library" $RobotzW $Laser $Allfolk ||
  fail "the start-up sound, the shot and the farewell were not heard"

mkdir -p "$GORBULAX_CONFIG_HOME"
cat >"$GORBULAX_CONFIG_HOME/user.reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Brakmoor\Gorbulax\Settings]
"SoundCheck"=dword:00000000
REG
play_one_shot "$work/sounds-off.raw"
"$check" silence "$work/sounds-off.raw" || fail "sounds played with \"Play Sounds\" off"
# SIGTERM ends the program, as it does any program that does not say otherwise.
"$program" &
game_pid=$!
find_window Gorbulax >/dev/null || fail "the main window did not appear"
kill -TERM $game_pid
for _ in $(seq 50); do kill -0 $game_pid 2>/dev/null || break; sleep 0.1; done
kill -0 $game_pid 2>/dev/null && fail "the program ignored SIGTERM"
game_pid=""
echo "e2e: the start-up sound and the laser are heard, nothing with sounds off, and SIGTERM" \
  "ends the program"
