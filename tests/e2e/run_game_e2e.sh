#!/usr/bin/env bash
# A whole game as a player plays it, in the real program under a virtual display: start, shoot
# at what comes, let the rest through until the energy runs out, watch "Game Over!" and the
# results count up, enter a name in the table, see it marked, start another game, and find
# the name remembered by the next run. Each step waits for the state the program reports
# ("game over", "results shown", ...) or for a window or picture that stays, never for a
# passing frame, so a loaded machine only makes it slower. The program runs as a portable copy: its own folder,
# with a score table beside it whose lowest entry, 100, any game beats (a game that nobody
# aims in ends after 150 to 450 ticks of flight; the shipped table asks for 500).
#
#   run_game_e2e.sh <path to gorbulax, built or installed> [folder for screenshots]
set -euo pipefail
program=$1
shots=${2:-$(mktemp -d)}
mkdir -p "$shots"

source "$(dirname "$0")/session.sh"
export GORBULAX_DATA_HOME=$work/data
# The fades and count-ups only pass time here: a fifth of it will do.
export GORBULAX_PACE=0.2

# A built program runs as a portable copy with the table beside it; an installed one, with no
# table beside it, runs where it lies and keeps its table in the data folder.
if [ -f "$(dirname "$program")/gorbulax.dat" ]; then
  mkdir -p "$work/bin"
  cp "$program" "$work/bin/gorbulax"
  cp "$(dirname "$program")/gorbulax.dat" "$work/bin/gorbulax.dat"
  program=$work/bin/gorbulax
  table=$work/bin/gorbulax.dat
else
  mkdir -p "$GORBULAX_DATA_HOME"
  table=$GORBULAX_DATA_HOME/gorbulax.dat
fi
settings=$GORBULAX_CONFIG_HOME/user.reg
name="E2E Pilot"

# The bounding box ("WxH+X+Y") of the pixels of a picture close to a colour.
where_colour() {
  convert "$1" -fuzz "$3" -fill '#ff00ff' -opaque "$2" -fuzz 0 -fill black +opaque '#ff00ff' \
    -format '%@' info: 2>/dev/null
}

# Writes a score table of ten entries with the given scores, best first.
write_table() {
  local score
  for score in "$@"; do
    printf "\\$(printf %03o ${#score})%s" "$score"; head -c $((255 - ${#score})) /dev/zero
    printf '\005Pilot'; head -c 250 /dev/zero
    printf '\0071/15/26'; head -c 248 /dev/zero
  done >"$table"
}

# The colour of one pixel of the screen, as "r,g,b".
pixel() { convert "$1" -crop "1x1+$2+$3" -format '%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]' info:; }

start_program() {
  "$program" 2>>"$states" &
  game_pid=$!
  main=$(find_window Gorbulax) || fail "the main window did not appear"
  sleep 1
  eval "$(xdotool getwindowgeometry --shell "$main")"
  field_left=$((X + 19)); field_top=$((Y + HEIGHT - 55 - 226))
  centre_x=$((field_left + 523 / 2)); centre_y=$((field_top + 226 / 2))
}

# Plays game number $1 from the start button (or "Start another game?") until the program
# reports it over: the pointer rests at the middle of the field, where the enemies come from,
# and every enemy seen on the field is shot at. Prints nothing; fails after three minutes.
play_until_over() {
  local started=$SECONDS box
  xdotool mousemove "$centre_x" "$centre_y" click 1
  while [ "$(state_count 'game over')" -lt "$1" ]; do
    [ $((SECONDS - started)) -lt 180 ] || fail "the game did not end"
    import -window root -crop "523x226+$field_left+$field_top" +repage "$work/field.png"
    # Stars are white: what is neither white nor black is an enemy.
    box=$(convert "$work/field.png" -fuzz 12% -fill black -opaque white -fill white +opaque black \
      -format '%@' info: 2>/dev/null)
    if [[ $box =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] &&
      [ "${BASH_REMATCH[1]}" -ge 8 ] && [ "${BASH_REMATCH[1]}" -le 60 ] && [ "${BASH_REMATCH[2]}" -ge 8 ]; then
      xdotool mousemove $((field_left + BASH_REMATCH[3] + BASH_REMATCH[1] / 2)) \
        $((field_top + BASH_REMATCH[4] + BASH_REMATCH[2] / 2)) click 1
      xdotool mousemove "$centre_x" "$centre_y"
    fi
  done
}

# Stops a running game and closes the program with the Close button under the turret.
stop_program() {
  eval "$(xdotool getwindowgeometry --shell "$main")"
  xdotool mousemove "$centre_x" "$centre_y" click 3
  sleep 1
  xdotool mousemove "$centre_x" $((Y + HEIGHT - 34 + 4 + 12)) click 1
  leave_farewell
}

write_table 1000 900 800 700 600 500 400 300 200 100
[ "$(stat -c %s "$table")" = 7680 ] || fail "the test's table is $(stat -c %s "$table") bytes"
start_program
before=$(md5sum <"$table")
dialog=""
for game in 1 2 3; do
  play_until_over "$game"
  # "Game Over!" stands alone on the field for a beat before the results fade in.
  import -window root "$shots/game-over.png"
  # The box brightens and counts up, then stays until another game starts.
  await_state "results shown" 60 "$game" || fail "the results never finished"
  import -window root "$shots/results.png"
  import -window root -crop "523x226+$field_left+$field_top" +repage "$work/results.png"
  purple=$(convert "$work/results.png" -fuzz 10% -fill white -opaque 'rgb(128,0,128)' \
    -fill black +opaque white -format '%[fx:mean*w*h]' info:)
  awk -v p="$purple" 'BEGIN { exit !(p > 100) }' || fail "no final score in the results ($purple)"
  # 2.5 s after the count-up the name dialog, or the button for another game.
  await_state "name asked|ready for another game" 40 "$game" || fail "the results never finished"
  if [ "$(state_count "name asked")" -gt 0 ]; then
    dialog=$(find_window 'High Score!') || fail "the name dialog did not appear"
    break
  fi
  cmp -s <(echo "$before") <(md5sum <"$table") || fail "a game outside the table changed it"
  echo "e2e: game $game did not make the table, playing another"
  xdotool mousemove "$centre_x" $((centre_y + 71)) click 1 # Start another game?
done
[ -n "$dialog" ] || fail "three games without a score for the table"

# The name dialog: the name typed in its box, then Enter.
eval "$(xdotool getwindowgeometry --shell "$dialog")"
import -window root "$shots/name-dialog.png"
xdotool mousemove $((X + 90 + 100)) $((Y + 126 + 10)) click 1
xdotool key --clearmodifiers ctrl+a BackSpace
xdotool type --delay 30 "$name"
xdotool key Return
board=$(find_window 'High Scores') || fail "the high score window did not appear"

# The file: 7680 bytes holding the entry; its row in the window carries the red arrow.
[ "$(stat -c %s "$table")" = 7680 ] || fail "the table is $(stat -c %s "$table") bytes"
row=-1
for p in $(seq 0 9); do
  [ "$(dd if="$table" bs=1 skip=$((p * 768 + 257)) count=${#name} 2>/dev/null | tr -d '\0')" = "$name" ] &&
    row=$p
done
[ "$row" -ge 0 ] || fail "the entry is not in the file"
eval "$(xdotool getwindowgeometry --shell "$board")"
# The window stays until closed; a loaded machine may take a moment to paint it.
for _ in $(seq 20); do
  import -window root -crop "40x193+$((X + 37))+$((Y + 126))" +repage "$work/arrows.png"
  red=$(where_colour "$work/arrows.png" red 25%)
  cyan=$(where_colour "$work/arrows.png" cyan 25%)
  [[ $red =~ ^[0-9]+x && $cyan =~ ^[0-9]+x ]] && break
  sleep 0.5
done
import -window root "$shots/table.png"
[[ $red =~ ^[0-9]+x([0-9]+)\+[0-9]+\+([0-9]+)$ ]] || fail "no red arrow in the table"
red_top=${BASH_REMATCH[2]}
red_middle=$((red_top + BASH_REMATCH[1] / 2))
[[ $cyan =~ ^[0-9]+x[0-9]+\+[0-9]+\+([0-9]+)$ ]] || fail "no cyan arrow in the table"
first_top=$((BASH_REMATCH[1] < red_top ? BASH_REMATCH[1] : red_top))
# Rows are 17 pixels apart.
[ $(((red_middle - first_top) / 17)) = "$row" ] ||
  fail "the red arrow is on row $(((red_middle - first_top) / 17)), the entry on row $row"

# Closing the table: "Start another game?" starts the star field at once.
xdotool key Return
await_state "ready for another game" 20 "$game" || fail "closing the table left the game waiting"
xdotool mousemove "$centre_x" $((centre_y + 71)) click 1
# A star a tick: a loaded machine delivers fewer ticks, so look a few times.
for _ in $(seq 8); do
  sleep 1
  import -window root -crop "523x226+$field_left+$field_top" +repage "$work/again.png"
  stars=$(convert "$work/again.png" -fill black +opaque white -format '%[fx:mean*w*h]' info:)
  awk -v s="$stars" 'BEGIN { exit !(s > 20) }' && break
done
awk -v s="$stars" 'BEGIN { exit !(s > 20) }' || fail "no stars after Start another game? ($stars)"
[ "$(pixel "$work/again.png" 261 20)" = "0,0,0" ] || fail "the results box is still there"
stop_program
grep -qF "\"PlayerName\"=\"$name\"" "$settings" || fail "the name was not remembered"

# The next run: the name dialog opens with the name remembered.
write_table 1000 900 800 700 600 500 400 300 200 100
start_program
xdotool mousemove "$centre_x" "$centre_y" click 1
dialog=$(for _ in $(seq 6); do find_window 'High Score!' && break; done) ||
  fail "the second run's name dialog did not appear"
import -window root "$shots/name-remembered.png"
xdotool key Return
find_window 'High Scores' >/dev/null || fail "the high score window did not appear"
grep -qF "$name" "$table" || fail "the remembered name was not entered"
xdotool key Return
sleep 1
before=$(cpu_ticks "$game_pid"); sleep 3; after=$(cpu_ticks "$game_pid")
[ $((after - before)) -le 5 ] || fail "a finished game used $((after - before)) ticks in 3 s"
stop_program
echo "e2e: a whole game to the high score table, entered, marked, remembered and started again"
