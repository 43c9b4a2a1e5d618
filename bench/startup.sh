#!/usr/bin/env bash
# Start-up and idle memory of the installed program. Installs the build into a temporary
# prefix, then starts the program from there RUNS times under a virtual display, with
# settings and data folders of its own: the time from the start to its main window shown
# (the windows are all created before it is shown), and its resident memory after 3 s idle.
# The first run is a new player's (it copies the score table); the figures are the median,
# the lowest and the highest of all runs.
#
#   bench/startup.sh [build folder, default build] [runs, default 10]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
runs=${2:-10}

source "$here/tests/e2e/session.sh"
export GORBULAX_DATA_HOME=$work/data
DESTDIR=$work/dest cmake --install "$build" --prefix /usr >/dev/null
program=$work/dest/usr/games/gorbulax

# Prints the start-up in milliseconds, the processor time the program had used by then in
# milliseconds (less sensitive to a loaded machine), and the resident memory in kB, one run.
measure() {
  local started shown cpu rss
  started=$(date +%s%N)
  "$program" &
  game_pid=$!
  # A look every few milliseconds, each one a few milliseconds itself.
  until xdotool search --onlyvisible --name '^Gorbulax$' >/dev/null 2>&1; do
    kill -0 "$game_pid" 2>/dev/null || fail "the program ended"
    sleep 0.005
  done
  shown=$(date +%s%N)
  cpu=$(awk -v hz="$(getconf CLK_TCK)" '{print ($14 + $15) * 1000 / hz}' "/proc/$game_pid/stat")
  sleep 3
  rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$game_pid/status")
  kill -TERM "$game_pid"
  wait "$game_pid" 2>/dev/null || true
  game_pid=""
  echo "$(((shown - started) / 1000000)) $cpu $rss"
}

# The toolkit's share, for comparison: the same program connecting to the display and ending
# before it makes a window, on an option it refuses.
toolkit_only() {
  local started
  started=$(date +%s%N)
  "$program" --refused-option 2>/dev/null && fail "the option was not refused"
  echo $((($(date +%s%N) - started) / 1000000))
}

summary() { sort -n | awk '{v[NR] = $1} END {printf "median %s, lowest %s, highest %s", v[int((NR + 1) / 2)], v[1], v[NR]}'; }

for _ in $(seq "$runs"); do measure; toolkit_only >>"$work/toolkit"; done >"$work/runs"
echo "start-up to the main window shown (ms):  $(cut -d' ' -f1 "$work/runs" | summary)"
echo "the toolkit alone, display and exit (ms): $(summary <"$work/toolkit")"
echo "processor time by then (ms):             $(cut -d' ' -f2 "$work/runs" | summary)"
echo "resident memory after 3 s idle (MB):      $(awk '{printf "%.1f\n", $3 / 1024}' "$work/runs" | summary)"
