#!/usr/bin/env bash
# The Debian packages as scripts/package makes them from the checkout: the game, the game
# library's tools and the debug symbols of both, each holding exactly its files; dependencies
# computed from the binaries plus what starting the game needs; every program hardened, each
# debug file matching its program's build ID; lintian without errors or warnings (its info
# and pedantic notes are printed) and the metadata valid to the pedantic AppStream validator.
#
#   check_package.sh
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
source "$here/expected.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "package: $*" >&2; exit 1; }

out=${1:-$work/out}
start=$SECONDS
"$root/scripts/package" ${1:+--if-changed} "$out" >"$work/debs" || fail "scripts/package failed"
echo "package: scripts/package took $((SECONDS - start)) s"
version=$(dpkg-parsechangelog -l "$root/debian/changelog" -S Version)
diff <(for name in gorbulax gorbulax-dbgsym gorbulax-tools gorbulax-tools-dbgsym; do
  echo "$out/${name}_${version}_amd64.deb"
done | sort) <(sort "$work/debs") || fail "scripts/package printed other packages"
deb() { echo "$out/$1_${version}_amd64.deb"; }
files() { dpkg-deb --contents "$(deb "$1")" | awk '$1 !~ /^d/ {print $6}' | sort; }
# What Debian adds to each: the copyright and changelog, and lintian's overrides (debian/).
docs() {
  printf '%s\n' "share/doc/$1/copyright" "share/doc/$1/changelog.Debian.gz" \
    "share/lintian/overrides/$1"
}

# Each package's files, the manual pages compressed; in a debug package one file for each
# program, named by its build ID.
diff <( (game_files | sed 's|^share/man/.*|&.gz|'; docs gorbulax) | sed 's|^|./usr/|' | sort) \
  <(files gorbulax) || fail "the game's files differ"
diff <( (tool_files yes | sed 's|^share/man/.*|&.gz|'; docs gorbulax-tools) | sed 's|^|./usr/|' |
  sort) <(files gorbulax-tools) || fail "the tools' files differ"
for name in gorbulax gorbulax-tools; do
  mkdir -p "$work/$name"
  dpkg-deb -x "$(deb "$name")" "$work/$name"
  dpkg-deb -x "$(deb "$name-dbgsym")" "$work/$name-dbgsym"
  for program in "$work/$name"/usr/games/* "$work/$name"/usr/bin/*; do
    [ -e "$program" ] || continue
    id=$(readelf -n "$program" | sed -n 's/^ *Build ID: //p')
    [ -n "$id" ] || fail "$program has no build ID"
    debug=$work/$name-dbgsym/usr/lib/debug/.build-id/${id:0:2}/${id:2}.debug
    [ -f "$debug" ] || fail "$name-dbgsym lacks the debug file of $(basename "$program")"
    readelf -S "$debug" 2>/dev/null | grep -q '\.debug_info' || fail "$debug has no debug information"
    readelf -S "$program" | grep -q '\.comment' && fail "$(basename "$program") keeps .comment"
    # Control flow integrity is left out: Debian 12's C library start files carry no IBT and
    # shadow stack property, so no program linked there can have it.
    hardening-check --nocfprotection "$program" >"$work/hardening.log" ||
      fail "$(basename "$program") is not hardened: $(cat "$work/hardening.log")"
  done
  [ "$(find "$work/$name-dbgsym/usr/lib/debug/.build-id" -name '*.debug' | wc -l)" = \
    "$(find "$work/$name/usr/games" "$work/$name/usr/bin" -type f 2>/dev/null | wc -l)" ] ||
    fail "$name-dbgsym holds other debug files than its programs'"
done

# The libraries the binaries name, and what starting needs beyond them: the platform plugins
# and the designed fonts, which a system installed without recommended packages lacks. The
# tools took their files over from the game's earlier package, which held them.
depends=$(dpkg-deb -f "$(deb gorbulax)" Depends)
for library in libqt6widgets6 libsdl2 libc6 qt6-qpa-plugins qt6-wayland fonts-liberation2; do
  [[ $depends == *"$library"* ]] || fail "the game's dependencies lack $library: $depends"
done
depends=$(dpkg-deb -f "$(deb gorbulax-tools)" Depends)
for library in libqt6network6 libqt6widgets6 libc6; do
  [[ $depends == *"$library"* ]] || fail "the tools' dependencies lack $library: $depends"
done
for field in Breaks Replaces; do
  [ "$(dpkg-deb -f "$(deb gorbulax-tools)" "$field")" = "gorbulax (<< 1.0-2)" ] ||
    fail "the tools do not name the game's earlier package in $field"
done

lintian -I --pedantic --fail-on error,warning --tag-display-limit 0 \
  "$out"/gorbulax_*.changes >"$work/lintian.log" 2>&1 ||
  fail "lintian: $(cat "$work/lintian.log")"
cat "$work/lintian.log"

# The metadata with the desktop entry and the icons it names, as the package installs them.
appstreamcli validate-tree --no-net --pedantic "$work/gorbulax" >"$work/appstream.log" 2>&1 ||
  fail "the metadata: $(cat "$work/appstream.log")"
! grep -E '^(E|W):' "$work/appstream.log" || fail "the metadata has warnings"
echo "package: $(wc -l <"$work/debs") packages, their files, dependencies, hardening, debug" \
  "symbols, lintian and the metadata"
