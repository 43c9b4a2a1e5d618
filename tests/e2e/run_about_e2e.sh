#!/usr/bin/env bash
# The about box and the maker's links as a player meets them, in the real program under a
# virtual display, with a recording script registered as the web page handler and as the
# updater: About from the menu closes at once; the web site item offline says so and starts
# nothing, online it opens the site; the mailing-list item and the high score window's banner
# open their pages; Exit shows the farewell, whose Close is usable only about two seconds
# later and ends the program; a SIGTERM ends the farewell at once; and Check for upgrade with
# a stored updater starts it with the program's folder and ends the program without the
# farewell; and a copy without its score table says farewell too, and ends with an error.
# Whether the machine is online is set for the runs, so they hold on any machine.
#
#   run_about_e2e.sh <path to gorbulax> [folder for screenshots]
set -euo pipefail
program=$1
shots=${2:-$(mktemp -d)}
mkdir -p "$shots"

source "$(dirname "$0")/session.sh"

# A script that notes each start: its arguments, then its folder, then "--".
recorder() { # path, log
  mkdir -p "$(dirname "$1")"
  cat >"$1" <<SCRIPT
#!/bin/sh
{ for a in "\$@"; do printf '%s\n' "\$a"; done; pwd; echo --; } >>'$2'
SCRIPT
  chmod +x "$1"
}
browser_log=$work/browser.log
updater_log=$work/updater.log
recorder "$work/bin/browser" "$browser_log"
# The updater as the program stores it, in capitals; on the disk it is spelt otherwise.
updater="$work/Umbrel Tools/Patchwell.exe"
recorder "$updater" "$updater_log"
stored=$(printf '%s' "$updater" | tr a-z A-Z)

mkdir -p "$GORBULAX_CONFIG_HOME"
cat >"$GORBULAX_CONFIG_HOME/user.reg" <<REG
REGEDIT4

[HKEY_CLASSES_ROOT\\.htm]
@="recordedpage"

[HKEY_CLASSES_ROOT\\recordedpage\\shell\\open\\command]
@="$work/bin/browser \\"%1\\""

[HKEY_CURRENT_USER\\Software\\Brakmoor\\Patchwell\\Program Path]
"SaveEdit1"="$stored"
REG

home_page=https://www.brakmoor.example/

start_program() { # online: 1 or 0
  GORBULAX_ONLINE=$1 "$program" &
  game_pid=$!
  main=$(find_window Gorbulax) || fail "the main window did not appear"
  sleep 0.5
}
gorbulax_windows() { xdotool search --onlyvisible --name '^Gorbulax$' 2>/dev/null | wc -l; }
windows() { xdotool search --onlyvisible --name '.*' 2>/dev/null | wc -l; }
# Opens the menu that is $1 steps right of Options (-1 Game, 0 Options, 1 Help) and presses
# the item's accelerator $2. The open menu is one more window; a loaded machine may be slow to
# show it, so the menu bar is clicked until it does.
menu() {
  eval "$(xdotool getwindowgeometry --shell "$main")"
  local before shown=""
  before=$(windows)
  for _ in 1 2 3; do
    xdotool mousemove $((X + 70)) $((Y + 8)) click 1
    for _ in $(seq 20); do
      [ "$(windows)" -gt "$before" ] && { shown=1; break; }
      sleep 0.1
    done
    [ -n "$shown" ] && break
  done
  [ -n "$shown" ] || fail "the menu did not open"
  if [ "$1" = -1 ]; then xdotool key Left; fi
  if [ "$1" = 1 ]; then xdotool key Right; fi
  sleep 0.3
  xdotool key "$2"
}
running() { kill -0 "$game_pid" 2>/dev/null; }
opened() { # the addresses the browser was started with, one a line
  [ -f "$browser_log" ] && grep -v -e '^--$' -e '^/' "$browser_log" || true
}

# Offline.
start_program 0
menu 1 a
about=$(find_window About) || fail "About did not open the about box"
sleep 0.3
import -window "$about" "$shots/about.png"
press_about_close "$about"
sleep 0.5
xdotool search --onlyvisible --name '^About$' >/dev/null && fail "Close did not close the about box"
running || fail "closing the about box ended the program"

menu 1 u
for _ in $(seq 30); do [ "$(gorbulax_windows)" = 2 ] && break; sleep 0.1; done
[ "$(gorbulax_windows)" = 2 ] || fail "the web site item offline showed no message"
import -window root "$shots/about-offline.png"
xdotool key Return
sleep 0.5
[ -z "$(opened)" ] || fail "the browser was started offline: $(opened)"

menu 1 i
for _ in $(seq 50); do [ -n "$(opened)" ] && break; sleep 0.1; done
[ "$(opened)" = "${home_page}mailinglist.htm" ] || fail "the mailing list opened: $(opened)"
: >"$browser_log"

menu 0 v
board=$(find_window 'High Scores') || fail "the high score window did not appear"
eval "$(xdotool getwindowgeometry --shell "$board")"
xdotool mousemove $((X + 61 + 234)) $((Y + 5 + 30)) click 1
for _ in $(seq 50); do [ -n "$(opened)" ] && break; sleep 0.1; done
[ "$(opened)" = "$home_page" ] || fail "the high score window's banner opened: $(opened)"
xdotool key Escape
sleep 0.5
: >"$browser_log"

# Exit: the farewell, whose Close answers neither click nor key at first.
menu -1 x
about=$(find_window About) || fail "Exit showed no farewell"
# At once, well within its two seconds however loaded the machine; the picture after.
press_about_close "$about"
xdotool key Return Escape
import -window "$about" "$shots/farewell.png"
sleep 0.6
running || fail "the farewell could be left at once"
xdotool search --onlyvisible --name '^About$' >/dev/null || fail "the farewell went away"
sleep 1.4
# Waiting for the player costs nothing: clock ticks are 1/100 s; allow 5 of them in 3 s.
before=$(cpu_ticks "$game_pid"); sleep 3
after=$(cpu_ticks "$game_pid")
[ $((after - before)) -le 5 ] || fail "the farewell used $((after - before)) ticks in 3 s"
# Now usable, Close ends the program at once (await_end allows a loaded machine 5 s); the
# seconds since the farewell showed are mostly this script's own waits, and no measure of it.
press_about_close "$about"
await_end

# The farewell ends when the system asks the program to end.
start_program 0
menu -1 x
find_window About >/dev/null || fail "Exit showed no farewell"
kill -TERM "$game_pid"
for _ in $(seq 20); do running || break; sleep 0.1; done
running && fail "the farewell did not end on SIGTERM"
game_pid=""

# A copy of the program without its score table says so, and farewell, and ends with an
# error.
mkdir "$work/copy"
cp "$program" "$work/copy/gorbulax"
GORBULAX_DATA_HOME=$work/no-data "$work/copy/gorbulax" &
game_pid=$!
find_window Gorbulax >/dev/null || fail "no message for the missing score table"
xdotool key Return
about=$(find_window About) || fail "no farewell after the missing score table"
sleep 2.5
press_about_close "$about"
for _ in $(seq 50); do running || break; sleep 0.1; done
running && fail "the program did not end without its score table"
status=0
wait "$game_pid" || status=$?
game_pid=""
[ "$status" = 1 ] || fail "the program ended with status $status without its score table"

# Online: the detector watches while a game is paused.
start_program 1
eval "$(xdotool getwindowgeometry --shell "$main")"
field_x=$((X + 19 + 523 / 2)) field_y=$((Y + HEIGHT - 55 - 226 / 2))
xdotool mousemove "$field_x" "$field_y" click 1
sleep 1
xdotool click 3
sleep 2.5
menu 1 u
for _ in $(seq 50); do [ -n "$(opened)" ] && break; sleep 0.1; done
[ "$(opened)" = "$home_page" ] || fail "the web site item online opened: $(opened)"
[ "$(gorbulax_windows)" = 1 ] || fail "a message with the site opened"

menu 0 c
for _ in $(seq 50); do [ -s "$updater_log" ] && break; sleep 0.1; done
[ -s "$updater_log" ] || fail "the updater did not start"
program_dir=$(dirname "$(readlink -f "$program")")/
# The folder goes last and unquoted, so a folder with blanks comes in pieces.
got=$(head -n -2 "$updater_log" | tr '\n' ' ')
[ "$got" = "Gorbulax version.dll $program_dir " ] || fail "the updater got: $got"
# Without the farewell: the program ends at once.
await_end
echo "e2e: the about box, the farewell, the web site offline and online, the mailing list," \
  "the high score banner and the updater work as a player meets them"
