#!/usr/bin/env bash
# The browse-for-folder dialog as a player meets it, under a virtual display: the home folder
# opened with the keyboard, a folder clicked with the mouse, the updater's folder reached with
# the arrow keys, and Enter for OK. The updater lies there as patchwell.exe; the dialog answers
# with the folder in upper case and "Patchwell.exe".
#
#   run_browse_e2e.sh <path to browse_dialog_driver> [folder for screenshots]
set -euo pipefail
driver=$1
shots=${2:-$(mktemp -d)}
mkdir -p "$shots"

driver_pid=""
source "$(dirname "$0")/session.sh"
trap 'kill $driver_pid $xvfb_pid 2>/dev/null || true; rm -rf "$work"' EXIT

home=$work/home
mkdir -p "$home/Alpha/Inner" "$home/Tools/Older" "$home/Tools/Updater"
touch "$home/Tools/Updater/patchwell.exe"
rows=$work/rows

HOME=$home "$driver" "$rows" >"$work/out" 2>"$work/err" &
driver_pid=$!
dialog=$(find_window "Browse For Folder") || fail "the dialog did not appear: $(cat "$work/err")"
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
sleep 0.5

# Prints "x y" of the tree's row with text $1, waiting up to 5 s for it to show.
row() {
  local line
  for _ in $(seq 50); do
    line=$(awk -F '\t' -v t="$1" '$1 == t { print $2, $3; exit }' "$rows" 2>/dev/null || true)
    [ -n "$line" ] && { echo "$line"; return 0; }
    sleep 0.1
  done
  return 1
}

# The keyboard: the first drive (the home folder), opened.
xdotool key Home Right
sleep 0.5
# The mouse: the Tools folder.
read -r x y < <(row Tools) || fail "the home folder did not open: $(cat "$rows")"
xdotool mousemove "$x" "$y" click 1
sleep 0.5
# The keyboard again: open it and go down past Older to Updater.
xdotool key Right Down Down
sleep 0.5
import -window root "$shots/browse-found.png"
xdotool key Return
for _ in $(seq 50); do kill -0 "$driver_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$driver_pid" 2>/dev/null && fail "Enter did not close the dialog"
wait "$driver_pid" || fail "the driver ended with an error: $(cat "$work/err")"

expected="${home^^}/TOOLS/UPDATER/Patchwell.exe"
grep -qxF "result=OK" "$work/out" || fail "the dialog was not closed by OK: $(cat "$work/out")"
grep -qxF "UpdaterFound=1" "$work/out" || fail "the updater was not found: $(cat "$work/out")"
grep -qxF "UpdaterPath=$expected" "$work/out" ||
  fail "the path is not $expected: $(cat "$work/out")"
grep -qxF "FoundText=Umbrel Updater Found!" "$work/out" || fail "no Found text: $(cat "$work/out")"
grep -qxF "FoundColor=#ff0000" "$work/out" || fail "the Found text is not red: $(cat "$work/out")"
echo "e2e: the updater's folder chosen with keys and mouse; OK gave $expected"
