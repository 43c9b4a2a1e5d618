#!/usr/bin/env bash
# The demonstration's processor time while it flips on idle at the screen's refresh: it runs
# on a virtual screen of 1280 x 1024 for a while, and the processor time it used over the last
# `seconds` is printed as a share of one core, with the flips a second it traced meanwhile.
#
#   bench/gkdemo_cpu.sh [build folder] [seconds] [--window]
set -euo pipefail
build=${1:-build}
seconds=${2:-20}
mode=${3:-}

work=$(mktemp -d)
pids=""
trap 'kill $pids 2>/dev/null || true; rm -rf "$work"' EXIT
exec {display_fd}>"$work/display"
Xvfb -displayfd "$display_fd" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
pids="$pids $!"
exec {display_fd}>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n 1 "$work/display") SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR=$work/runtime
unset QT_QPA_PLATFORM
mkdir -m 700 "$XDG_RUNTIME_DIR"

"$build/tools/gktrace/gktrace" --no-window >"$work/trace" &
pids="$pids $!"
sleep 1
"$build/tools/gkdemo/gkdemo" $mode &
demo=$!
pids="$pids $demo"

ticks() { awk '{ print $14 + $15 }' "/proc/$demo/stat"; }
sleep 3 # set up, pictures made
before=$(ticks)
start=$(date +%s.%N)
sleep "$seconds"
after=$(ticks)
end=$(date +%s.%N)
hz=$(getconf CLK_TCK)
awk -v t=$((after - before)) -v hz="$hz" -v s="$start" -v e="$end" \
  'BEGIN { printf "gkdemo: %.1f %% of one core over %.1f s\n", 100 * t / hz / (e - s), e - s }'
grep "flips a second" "$work/trace" | tail -n 3
kill "$demo" && wait "$demo" 2>/dev/null || true
