#!/usr/bin/env bash
# Every start like the first on Wayland, where the compositor places windows and tells no
# program where they are: the window's state and size are stored, its position never. Three
# starts in a row under a headless weston (started here, with a runtime folder of its own),
# each ended by SIGTERM as at a logout: each shows the main window with no box before it, ends
# with status 0, and brings back the stored size.
#
#   run_wayland_starts_e2e.sh <path to gorbulax>
set -euo pipefail
program=$1

work=$(mktemp -d)
game_pid="" weston_pid=""
trap 'kill $game_pid $weston_pid 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "e2e: $*" >&2; [ -f "$work/weston.log" ] && tail -n 5 "$work/weston.log" >&2; exit 1; }
command -v weston >/dev/null || fail "weston is not installed (scripts/setup test)"

export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 0700 "$XDG_RUNTIME_DIR"
export WAYLAND_DISPLAY=gorbulax-e2e
weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --width=1024 --height=768 \
  --idle-time=0 >"$work/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] && break; sleep 0.1; done
[ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] || fail "weston did not start"

unset DISPLAY
export QT_QPA_PLATFORM=wayland
export GORBULAX_CONFIG_HOME=$work/config
export SDL_AUDIODRIVER=dummy
export GORBULAX_REPORT_STATE=1
settings=$GORBULAX_CONFIG_HOME/user.reg
states=$work/states
: >"$states"

# What a first start on Wayland stores: a state and a size (larger than designed), no position.
mkdir -p "$GORBULAX_CONFIG_HOME"
cat >"$settings" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Brakmoor\Gorbulax\Settings]
"State"=dword:00000001
"Height"=dword:000001f4
"Width"=dword:000002bc
REG
stored_size() { grep -E '^"(Height|Width)"' "$settings" | sort | tr '\n' ' '; }
size=$(stored_size)

# In a sanitizer build: the Wayland client libraries below the toolkit keep memory past the
# end, some of it in a plugin already unloaded, whose leaks no suppression can name. The end's
# status is what this test checks; the other tests look for the program's own leaks.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0

for start in 1 2 3; do
  "$program" 2>>"$states" &
  game_pid=$!
  started=$SECONDS
  until [ "$(grep -cx 'gorbulax state: main window shown' "$states")" -ge "$start" ]; do
    kill -0 "$game_pid" 2>/dev/null || fail "start $start ended before its window showed"
    [ $((SECONDS - started)) -lt 30 ] || fail "start $start showed no main window: $(cat "$states")"
    sleep 0.1
  done
  sleep 1
  kill -TERM "$game_pid"
  status=0
  wait "$game_pid" || status=$?
  game_pid=""
  [ "$status" = 0 ] || fail "start $start ended by SIGTERM with status $status: $(grep -v "^gorbulax state:" "$states" | tail -n 30)"
  grep -q '"State"=dword:00000001' "$settings" || fail "start $start stored no state"
  [ "$(stored_size)" = "$size" ] || fail "start $start stored $(stored_size), not $size"
  ! grep -qE '^"(Left|Top)"' "$settings" || fail "start $start stored a position Wayland never told"
done
! grep -q "Failed to get data" "$states" || fail "an error was reported: $(cat "$states")"
echo "e2e: three starts on Wayland, each ended by SIGTERM with status 0, the size $size kept"
