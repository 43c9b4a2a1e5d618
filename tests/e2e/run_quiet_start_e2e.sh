#!/usr/bin/env bash
# A player starting the game from a terminal on a machine without sound sees the program's
# own one line on standard error, and nothing from the sound library; on a machine whose
# sound device is listed but cannot be opened, the same one line says why.
#
#   run_quiet_start_e2e.sh <path to gorbulax>
set -euo pipefail
program=$1

source "$(dirname "$0")/session.sh"

# SDL picks the driver itself, as it does for a player. No sound server answers, and on a
# machine with a sound card ALSA is shown no devices, so every machine is one without sound.
unset SDL_AUDIODRIVER
export PULSE_SERVER=unix:$work/no-pulse PIPEWIRE_REMOTE=$work/no-pipewire
if compgen -G '/dev/snd/pcmC*p' >/dev/null; then
  : >"$work/no-devices.conf"
  export ALSA_CONFIG_PATH=$work/no-devices.conf
fi
# Outside a login session, as over ssh: the toolkit's notice of the missing runtime folder is
# not the program's to repeat.
unset XDG_RUNTIME_DIR

# Starts the program, waits for its window and a moment more, ends it, and prints what it
# wrote to standard error while it was up. The states reported for the tests are not the
# program's own words.
unset GORBULAX_REPORT_STATE
stderr_after_start() {
  "$program" 2>"$work/stderr" &
  game_pid=$!
  find_window Gorbulax >/dev/null || fail "the main window did not appear"
  sleep 1
  cp "$work/stderr" "$work/stderr-at-start"
  kill -TERM $game_pid
  wait $game_pid 2>/dev/null || true
  game_pid=""
  cat "$work/stderr-at-start"
}

got=$(stderr_after_start)
want="Gorbulax: no sound output could be opened; playing silently"
[ "$got" = "$want" ] || fail "standard error without sound was:
$got"

# A device the driver lists but cannot open is a real fault: its reason is shown.
cat >"$work/broken-device.conf" <<'CONF'
pcm.!default { type hw card 31 hint { show on description "A card that cannot be opened" } }
CONF
got=$(ALSA_CONFIG_PATH=$work/broken-device.conf stderr_after_start)
[[ $got =~ ^"Gorbulax: no sound output could be opened (ALSA: "[^$'\n']+"); playing silently"$ ]] ||
  fail "standard error with a device that cannot be opened was:
$got"
echo "e2e: one line of our own without sound, with the reason when a device failed to open"
