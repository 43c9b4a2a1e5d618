#!/usr/bin/env bash
# The real program where no display can be opened: it says so in one line that names what it
# tried and ends with its own status, never an abort or a core dump; an unknown option is
# refused all the same, and the help is answered.
#
#   run_no_display_e2e.sh <path to gorbulax>
set -euo pipefail
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export GORBULAX_CONFIG_HOME=$work/config SDL_AUDIODRIVER=dummy
fail() { echo "e2e: $*" >&2; exit 1; }

# A display number no server listens on.
nowhere=199
while [ -e "/tmp/.X11-unix/X$nowhere" ] || [ -e "/tmp/.X$nowhere-lock" ]; do
  nowhere=$((nowhere - 1))
done

run() { # expected status, stderr pattern, environment and arguments...
  local expected=$1 pattern=$2 status=0
  shift 2
  env -u QT_QPA_PLATFORM "$@" >"$work/out" 2>"$work/err" || status=$?
  [ "$status" = "$expected" ] ||
    fail "$* ended with status $status, not $expected: $(cat "$work/err")"
  if [ "$expected" = 3 ]; then
    [ "$(wc -l <"$work/err")" = 1 ] || fail "$* said more than one line: $(cat "$work/err")"
  fi
  [ -z "$pattern" ] || grep -qE "$pattern" "$work/err" || fail "$* said: $(cat "$work/err")"
}

run 3 '^gorbulax: cannot open a display: tried Wayland \(WAYLAND_DISPLAY is not set\), X11 \(DISPLAY is not set\)' \
  -u DISPLAY -u WAYLAND_DISPLAY "$program"
run 3 "^gorbulax: cannot open a display: tried Wayland \(WAYLAND_DISPLAY=nowhere-$$\): .*, X11 \(DISPLAY=:$nowhere\): no X server answered" \
  DISPLAY=":$nowhere" WAYLAND_DISPLAY="nowhere-$$" XDG_RUNTIME_DIR="$work" "$program"
run 2 "Unknown option 'bogus'" -u DISPLAY -u WAYLAND_DISPLAY "$program" --bogus
run 0 "" -u DISPLAY -u WAYLAND_DISPLAY "$program" --help
grep -q '3  no display could be opened' "$work/out" || fail "--help does not list the statuses"
for key in 'P, Pause' F1 F11 Ctrl+Q; do
  grep -q "^  $key " "$work/out" || fail "--help does not list the key $key"
done
echo "e2e: without a display one line and status 3; an unknown option 2; the help answered"
