#!/usr/bin/env bash
# The program as `cmake --install` lays it out: exactly the files it should, each valid by
# the desktop's own checkers, and a program that runs from the prefix as a player runs it.
# Started with empty settings and data folders, it shows its window, copies the shipped score
# table into the data folder and writes nothing into the prefix; then the whole-game run
# plays it to the high score table.
#
#   run_install_test.sh <build folder> <yes|no: the trace viewer is built> [folder for shots]
set -euo pipefail
build=$1
with_trace=$2
shots=${3:-$(mktemp -d)}
mkdir -p "$shots"
here=$(cd "$(dirname "$0")" && pwd)

game_pid=""
source "$here/../e2e/session.sh"
trap 'kill $game_pid $xvfb_pid 2>/dev/null || true; rm -rf "$work"' EXIT
source "$here/expected.sh"

dest=$work/dest
DESTDIR=$dest cmake --install "$build" --prefix /usr >"$work/install.log" ||
  fail "the install failed: $(cat "$work/install.log")"
prefix=$dest/usr
program=$prefix/games/gorbulax

# Exactly the files it should, and nothing outside the prefix.
diff <(installed_files "$with_trace" | sed 's|^|usr/|' | sort) \
  <(cd "$dest" && find . ! -type d | sed 's|^\./||' | sort) || fail "the installed files differ"
[ -x "$program" ] && [ -x "$prefix/bin/gorbulax-pack" ] || fail "a program is not executable"
for icon in $(installed_files no | grep '^share/icons/'); do
  size=${icon#share/icons/hicolor/}
  [ "$(identify -format %wx%h "$prefix/$icon")" = "${size%%/*}" ] || fail "$icon has another size"
done

# The desktop's checkers (the package test validates the metadata) and the manual pages'.
desktop-file-validate "$prefix/share/applications/gorbulax.desktop" || fail "the desktop entry"
for page in $(installed_files "$with_trace" | grep '^share/man/'); do
  warnings=$(man --warnings -l "$prefix/$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "the manual page $page: $warnings"
done

# The command line, asked in a terminal without a display; the toolkit's options still work.
out=$(env -u DISPLAY "$program" --version) || fail "--version failed"
[ "$out" = "Gorbulax 1.0" ] || fail "--version says: $out"
out=$(env -u DISPLAY "$program" --help) || fail "--help failed"
for fact in "Usage: " --version user.reg gorbulax.dat GORBULAX_PACE SDL_AUDIODRIVER "Exit status"; do
  [[ $out == *"$fact"* ]] || fail "--help does not mention $fact"
done
out=$("$program" -platform offscreen --version) || fail "-platform with --version failed"
[ "$out" = "Gorbulax 1.0" ] || fail "-platform offscreen --version says: $out"
for wrong in --bogus -x stray; do
  status=0
  err=$("$program" "$wrong" 2>&1 >/dev/null) || status=$?
  name=${wrong#-}
  [ "$status" = 2 ] && grep -q "^gorbulax: .*'${name#-}'" <<<"$err" ||
    fail "'$wrong' ended with $status: $err"
done

# The first start, as a new player's: the folders the desktop names, empty.
unset GORBULAX_CONFIG_HOME GORBULAX_DATA_HOME
export XDG_CONFIG_HOME=$work/xdg-config XDG_DATA_HOME=$work/xdg-data
mkdir "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"
snapshot() { (cd "$dest" && find . -printf '%p %m %s\n' | sort && find . -type f -exec md5sum {} + | sort); }
before=$(snapshot)
"$program" &
game_pid=$!
main=$(find_window Gorbulax) || fail "the installed program showed no window"
sleep 1
import -window root "$shots/installed-first-start.png"
cmp -s "$XDG_DATA_HOME/gorbulax/gorbulax.dat" "$prefix/share/games/gorbulax/gorbulax.dat" ||
  fail "the score table was not copied into the data folder"
# The desktop matches the window to its entry by the window's class, and shows its icon.
class=$(xprop -id "$main" WM_CLASS)
[[ $class == *"\"$(sed -n 's/^StartupWMClass=//p' "$prefix/share/applications/gorbulax.desktop")\""* ]] ||
  fail "the window's class, $class, is not the desktop entry's"
[[ $(xprop -id "$main" _NET_WM_ICON | head -n 1) == *"Icon (32 x 32)"* ]] || fail "the window has no icon"
stop_game
game_pid=""
[ -f "$XDG_CONFIG_HOME/gorbulax/user.reg" ] || fail "the settings were not kept in the config folder"
[ "$before" = "$(snapshot)" ] || fail "the program wrote into its prefix"

# A whole game, the installed program's table in its data folder.
"$here/../e2e/run_game_e2e.sh" "$program" "$shots" || fail "the whole game failed"
[ "$before" = "$(snapshot)" ] || fail "the program wrote into its prefix"
echo "install: the files, their checks, the command line, a first start and a whole game"
