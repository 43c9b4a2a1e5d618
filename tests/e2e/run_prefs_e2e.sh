#!/usr/bin/env bash
# The preferences as a player meets them, in the real program under a virtual display: a star
# count that is no number is refused, 50 is stored in the user's settings file, and the next
# start finds the window where and as large as it was left.
#
#   run_prefs_e2e.sh <path to gorbulax> [folder for screenshots]
set -euo pipefail
program=$1
shots=${2:-$(mktemp -d)}
mkdir -p "$shots"

source "$(dirname "$0")/session.sh"
export GORBULAX_PACE=0.2
settings=$GORBULAX_CONFIG_HOME/user.reg

start_game() {
  "$program" &
  game_pid=$!
  main=$(find_window Gorbulax) || fail "the main window did not appear"
  sleep 0.5
}
type_stars() { # text → typed into the star count box, then Enter
  eval "$(xdotool getwindowgeometry --shell "$dialog")"
  xdotool mousemove $((X + 132 + 23)) $((Y + 96 + 10)) click --repeat 3 1
  xdotool key --clearmodifiers ctrl+a BackSpace
  xdotool type --delay 50 "$1"
  xdotool key Return
  sleep 0.5
}

start_game
eval "$(xdotool getwindowgeometry --shell "$main")"
# Options, then Preferences: the second item of the menu. A loaded machine may be slow to
# open the menu, so try again before giving up.
dialog=""
for _ in 1 2 3; do
  xdotool mousemove $((X + 70)) $((Y + 8)) click 1
  sleep 1
  xdotool key Down Down Return 2>/dev/null || true
  dialog=$(find_window Preferences) && break
  xdotool key Escape Escape 2>/dev/null || true
done
[ -n "$dialog" ] || fail "the preferences dialog did not open"
xdotool windowfocus --sync "$dialog" 2>/dev/null || true

type_stars 12a
xdotool search --onlyvisible --name '^Preferences$' >/dev/null || fail "12a closed the dialog"
import -window root "$shots/prefs-refused.png"
grep -q StarEdit "$settings" 2>/dev/null && fail "12a was stored"

type_stars 50
await_no_window Preferences 20 || fail "50 did not close the dialog"
grep -qF '"StarEdit"="50"' "$settings" || fail "50 was not stored: $(cat "$settings")"
grep -qF '"SoundCheck"=dword:00000001' "$settings" || fail "the sound switch was not stored"
grep -qF '[HKEY_CURRENT_USER\Software\Brakmoor\Gorbulax\Settings]' "$settings" ||
  fail "the settings key is not where it belongs"

# Leave the window somewhere else, larger.
leave_window_elsewhere
stop_game
grep -qF '"State"=dword:00000001' "$settings" || fail "the window's state was not stored"

start_game
import -window root "$shots/prefs-restarted.png"
expect_window_back "a restart"
stop_game
echo "e2e: preferences refused, stored and found again; the window came back as it was left"
