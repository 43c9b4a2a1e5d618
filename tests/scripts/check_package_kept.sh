#!/usr/bin/env bash
# scripts/package --if-changed keeps the packages of the files and options it is given, and
# builds again when a tracked file, the options or a package differ: never hands on packages of
# other sources. The build is a stand-in dpkg-buildpackage that counts its runs, in a copy of
# the scripts in a repository of the test's own.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "package kept: $*" >&2; exit 1; }

# Whatever git identity the caller has is not the test's.
export HOME=$work/home GIT_CONFIG_NOSYSTEM=1
mkdir -p "$HOME"
repo=$work/repo
mkdir -p "$repo/scripts" "$work/bin"
cp "$root/scripts/package" "$root/scripts/setup" "$repo/scripts/"
echo one >"$repo/game.cpp"
git -C "$repo" init -q
git -C "$repo" add .
git -C "$repo" -c user.name=t -c user.email=t@t commit -qm first

# Makes a package holding the packaged game.cpp, and its .changes, beside the source folder.
cat >"$work/bin/dpkg-buildpackage" <<'STUB'
#!/usr/bin/env bash
echo build >>"$BUILDS"
tar -cf ../game_1_amd64.deb game.cpp
printf 'Files:\n 0123456789abcdef0123456789abcdef 10 games optional game_1_amd64.deb\n' \
  >../game_1_amd64.changes
STUB
chmod +x "$work/bin/dpkg-buildpackage"
export PATH=$work/bin:$PATH BUILDS=$work/builds
touch "$BUILDS"
out=$work/out

# package EXPECTED-BUILDS WHAT: runs it and checks the builds so far and the package's content.
package() {
  local printed
  printed=$("$repo/scripts/package" --if-changed "$out") || fail "$2: scripts/package failed"
  [ "$printed" = "$out/game_1_amd64.deb" ] || fail "$2: printed '$printed'"
  [ "$(wc -l <"$BUILDS")" = "$1" ] || fail "$2: $(wc -l <"$BUILDS") builds, not $1"
  [ "$(tar -xOf "$out/game_1_amd64.deb" game.cpp)" = "$(cat "$repo/game.cpp")" ] ||
    fail "$2: the package holds another game.cpp"
}

package 1 "the first run"
package 1 "the same files"
echo two >"$repo/game.cpp"
package 2 "a changed file, not committed"
package 2 "the change again"
git -C "$repo" -c user.name=t -c user.email=t@t commit -qam second
package 2 "the change committed"
DEB_BUILD_OPTIONS=noopt package 3 "other options"
package 4 "the options as before"
rm "$out/game_1_amd64.deb"
package 5 "a package gone"
"$repo/scripts/package" "$out" >/dev/null
[ "$(wc -l <"$BUILDS")" = 6 ] || fail "without --if-changed it kept the packages"
echo "package kept: the same sources kept, every change built again"
