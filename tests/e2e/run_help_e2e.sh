#!/usr/bin/env bash
# The help window as a player meets it, in the real program under a virtual display: "Help"
# from the menu opens it at its designed size on "Program Info" with that text's scroll bar;
# each topic chosen by mouse or arrow key shows its own text, "Disclaimer" and "Legalities" the
# same one; a larger window keeps the topic list as it was; and reopened, the window shows the
# topic it was closed on.
#
#   run_help_e2e.sh <path to gorbulax> [folder for screenshots]
set -euo pipefail
program=$1
shots=${2:-$(mktemp -d)}
mkdir -p "$shots"

source "$(dirname "$0")/session.sh"

# Inside the window: the title strip ends at 52, the topic list is 91 wide from 1, the buttons'
# strip is 41 high at the bottom, and the text takes the rest.
title=52 list=91 buttons=41

open_help() {
  eval "$(xdotool getwindowgeometry --shell "$main")"
  help=""
  # Options, then one menu to the right: "&Help", whose first item opens the window. A loaded
  # machine may be slow to open the menu, so try again before giving up.
  for _ in 1 2 3; do
    xdotool mousemove $((X + 70)) $((Y + 8)) click 1
    sleep 1
    xdotool key Right Return 2>/dev/null || true
    help=$(find_window HelpForm) && break
    xdotool key Escape Escape 2>/dev/null || true
  done
  [ -n "$help" ] || fail "the help window did not open"
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$help")"
  hx=$X hy=$Y hw=$WIDTH hh=$HEIGHT
}

# The text area as shown now: $1.png in the run's folder, and the whole window in the shots.
text_shot() {
  sleep 0.4
  import -window "$help" "$shots/help-$1.png"
  convert "$shots/help-$1.png" -crop $((hw - 1 - list - 1))x$((hh - title - buttons - 1))+$((1 + list))+$title \
    +repage "$work/$1.png"
}
pixels() { convert "$work/$1.png" rgb:- | md5sum; }
same() { [ "$(pixels "$1")" = "$(pixels "$2")" ]; }
# Whether the strip of $2 pixels at the right edge of shot $1, inside its frame, is all one
# colour: the text never reaches it, a scroll bar fills it.
plain_right_edge() {
  local w
  w=$(identify -format %w "$work/$1.png")
  [ "$(convert "$work/$1.png" -crop 4x100+$((w - 2 - 4))+2 +repage -format %k info:)" = 1 ]
}
choose_line() { # line of the topic list → clicked with the mouse
  xdotool mousemove $((hx + 1 + 30)) $((hy + title + 2 + 13 * $1 + 6)) click 1
}

"$program" &
game_pid=$!
main=$(find_window Gorbulax) || fail "the main window did not appear"
sleep 0.5

open_help
# 600 x 400 outside with the classic frame the window was designed in; without a window
# manager here, the window is its inside.
[ "$hw" = 592 ] && [ "$hh" = 373 ] || fail "the help window is ${hw}x$hh inside, not 592x373"
text_shot program-info
plain_right_edge program-info && fail "\"Program Info\" shows no scroll bar"

choose_line 4
text_shot story
plain_right_edge story || fail "\"Story\" shows a scroll bar"
shown=(program-info story)
for topic in gameplay options disclaimer legalities; do
  xdotool key Down
  text_shot $topic
  for other in "${shown[@]}"; do
    if same $topic "$other"; then
      [ "$topic/$other" = legalities/disclaimer ] && continue
      fail "\"$topic\" shows the same as \"$other\""
    fi
  done
  shown+=($topic)
done
same legalities disclaimer || fail "\"Disclaimer\" and \"Legalities\" show different texts"

# Larger: the topic list keeps its place and width, the text area grows.
list_shot() { # name → the topic list and the text area's left frame, $1.png in the run's folder
  import -window "$help" png:- | convert - -crop $((1 + list + 2))x150+0+$title +repage "$work/$1.png"
}
list_shot list-before
xdotool windowsize "$help" 800 500
sleep 0.8
eval "$(xdotool getwindowgeometry --shell "$help")"
hx=$X hy=$Y hw=$WIDTH hh=$HEIGHT
[ "$hw" = 800 ] && [ "$hh" = 500 ] || fail "the help window did not take 800x500: ${hw}x$hh"
list_shot list-after
same list-before list-after || fail "the topic list changed with the window's size"
text_shot legalities-wide
[ "$(identify -format %w "$work/legalities-wide.png")" = $((800 - list - 2)) ] ||
  fail "the text area did not take the new width"

# Esc closes; opened again, the window shows the topic it was left on.
xdotool key Escape
sleep 0.5
xdotool search --onlyvisible --name '^HelpForm$' >/dev/null && fail "Esc did not close help"
open_help
text_shot reopened
same reopened legalities-wide || fail "reopened, help does not show the topic it was left on"
xdotool key Return
sleep 0.5
xdotool search --onlyvisible --name '^HelpForm$' >/dev/null && fail "Enter did not close help"

stop_game
echo "e2e: help opened on Program Info, showed every topic, kept its list and its topic"
