# Sourced by the end-to-end scripts: a virtual display and a settings folder of the run's own,
# silent audio, and the helpers the scripts share. Sets `work`, `xvfb_pid` and DISPLAY; on exit
# the program the script started (`game_pid`), the display and `work` go (a script's own trap
# takes over from this one).
#
# The end-to-end tests run beside one another and beside the unit tests (ctest -j), so a
# script keeps to what is its own:
# - displays: the one started here, or more through start_display (Xvfb picks a free number);
#   never a fixed number. A compositor or window manager runs on that display, or on a socket
#   named by its own XDG_RUNTIME_DIR in `work`;
# - files: settings, data, runtime and home folders in `work`; in the build tree only its
#   screenshots, under names no other script uses;
# - waits: for a state the program reports (await_state), a window (find_window) or a picture
#   that stays, with a limit that allows for a loaded machine; a fixed sleep only where time
#   itself is what is checked, and waits that only pass time shortened with GORBULAX_PACE.
# What two tests really cannot share (a real sound device, a prefix outside `work` such as an
# installed package, the source tree) is named in tests/CMakeLists.txt as a RESOURCE_LOCK, and
# a test that keeps more than one core busy says so with PROCESSORS; RUN_SERIAL is for neither.

work=$(mktemp -d)
game_pid=""
started_display_pid=""
trap 'kill $game_pid $xvfb_pid $started_display_pid 2>/dev/null || true; rm -rf "$work"' EXIT
export GORBULAX_CONFIG_HOME=$work/config
export SDL_AUDIODRIVER=dummy
unset QT_QPA_PLATFORM

fail() { echo "e2e: $*" >&2; exit 1; }

# The processor time process $1 has used so far, user and system, in clock ticks.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# A display of our own: Xvfb picks a free number and writes it once it accepts clients.
# Without -noreset the server resets whenever its last client leaves (the xdpyinfo below), and
# a program that connects during the reset is refused.
# start_display SIZE NAME starts one of size SIZE ("WxHxD") and sets `started_display` (":N")
# and `started_display_pid`; NAME names its files in `work`.
start_display() {
  local file=$work/$2
  exec {display_fd}>"$file"
  Xvfb -displayfd "$display_fd" -screen 0 "$1" -nolisten tcp -noreset >"$file.log" 2>&1 &
  started_display_pid=$!
  exec {display_fd}>&-
  for _ in $(seq 100); do [ -s "$file" ] && break; sleep 0.1; done
  [ -s "$file" ] || fail "Xvfb did not start: $(cat "$file.log")"
  started_display=:$(head -n 1 "$file")
}
start_display 1024x768x24 display
xvfb_pid=$started_display_pid
export DISPLAY=$started_display
xdpyinfo >/dev/null 2>&1 || fail "display $DISPLAY does not answer"

# The states the program reports on standard error (see toolkit/StateReport.h), for a script
# that starts it with 2>>"$states".
states=$work/states
export GORBULAX_REPORT_STATE=1
: >"$states"

# How often the program has reported a state matching the pattern $1 ("a|b" for either).
state_count() { grep -cxE "gorbulax state: ($1)" "$states" || true; }

# Waits up to $2 seconds until the program has reported a state matching $1 at least $3 times
# (once by default); fails otherwise.
await_state() {
  local started=$SECONDS
  while [ "$(state_count "$1")" -lt "${3:-1}" ]; do
    [ $((SECONDS - started)) -lt "$2" ] || return 1
    sleep 0.1
  done
}

# Prints the id of the visible window named $1, waiting up to 10 s for it.
find_window() {
  local id
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Waits up to $2 seconds until no visible window is named $1; fails otherwise.
await_no_window() {
  local started=$SECONDS
  while xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; do
    [ $((SECONDS - started)) -lt "$2" ] || return 1
    sleep 0.1
  done
}

# Presses Close in the about box whose window id is $1.
press_about_close() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove $((X + 138 + 37)) $((Y + 279 + 12)) click 1
}

# Waits up to 5 s for the program to end, and checks that it ended well.
await_end() {
  for _ in $(seq 50); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$game_pid" 2>/dev/null && fail "the program did not end"
  wait "$game_pid" || fail "the program ended with an error"
  game_pid=""
}

# A closing program says farewell in its about box, whose Close may be used about two seconds
# after it shows and ends the program.
leave_farewell() {
  local about
  about=$(find_window About) || fail "closing the program showed no farewell"
  sleep 2.5
  press_about_close "$about"
  await_end
}

# Ends the program with the Close button under the turret, which is enabled while no game
# runs, and the farewell. Needs `main`, the main window's id.
stop_game() {
  eval "$(xdotool getwindowgeometry --shell "$main")"
  xdotool mousemove $((X + 19 + (WIDTH - 19 - 70) / 2)) $((Y + HEIGHT - 34 + 4 + 12)) click 1
  leave_farewell
}

# Moves the main window (`main`) somewhere else, larger, and notes where it was left.
leave_window_elsewhere() {
  xdotool windowmove "$main" 40 30 windowsize "$main" 700 500
  sleep 0.5
  eval "$(xdotool getwindowgeometry --shell "$main")"
  left=$X top=$Y width=$WIDTH height=$HEIGHT
}

# Fails unless the main window is where leave_window_elsewhere left it; $1 says after what.
expect_window_back() {
  eval "$(xdotool getwindowgeometry --shell "$main")"
  [ "$WIDTH" = "$width" ] && [ "$HEIGHT" = "$height" ] ||
    fail "after $1 the window came back ${WIDTH}x$HEIGHT, not ${width}x$height"
  [ "$X" = "$left" ] && [ "$Y" = "$top" ] ||
    fail "after $1 the window came back at $X,$Y, not $left,$top"
}
