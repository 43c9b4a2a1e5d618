#!/usr/bin/env bash
# scripts/setup's roles: playing installs no test or packaging tool, packaging installs what
# debian/control names for the build, testing installs what the others do and every tool, each
# package is named once, and an unknown role is refused.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
setup=$root/scripts/setup
fail() { echo "setup: $*" >&2; exit 1; }

play=$("$setup" --list play)
packaging=$("$setup" --list package)
test=$("$setup" --list test)
tools=(googletest libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev xvfb
  xdotool imagemagick x11-utils openbox weston dbus-daemon espeak-ng sox lintian devscripts
  desktop-file-utils appstream debhelper dpkg-dev)
needs=(cmake g++ qt6-base-dev libsdl2-dev qt6-qpa-plugins qt6-wayland fonts-liberation2 xdg-utils)

for package in "${tools[@]}"; do
  grep -qx -- "$package" <<<"$play" && fail "play installs the test tool $package"
  grep -qx -- "$package" <<<"$test" || fail "test does not install $package"
done
for package in "${needs[@]}"; do
  grep -qx -- "$package" <<<"$play" || fail "play does not install $package"
done
# The build's dependencies as dpkg-buildpackage checks them (debhelper-compat is debhelper's),
# and the build-essential it assumes.
build_depends=$(awk '/^Build-Depends:/ {on = 1; sub(/^[^:]*:/, "")} /^[^ ]/ && !/^Build-Depends:/ {on = 0}
  on' "$root/debian/control" | tr ',' '\n' | sed 's/([^)]*)//; s/ //g; s/^debhelper-compat$/debhelper/' |
  grep .)
missing=$(comm -23 <(printf '%s\nbuild-essential\n' "$build_depends" | sort -u) <(sort <<<"$packaging"))
[ -z "$missing" ] || fail "package does not install what debian/control names: $missing"
for role in play packaging; do
  missing=$(comm -23 <(sort <<<"${!role}") <(sort <<<"$test"))
  [ -z "$missing" ] || fail "test lacks what $role installs: $missing"
done
repeated=$(sort <<<"$test" | uniq -d)
[ -z "$repeated" ] || fail "named more than once: $repeated"

status=0
"$setup" --list everything >/dev/null 2>&1 || status=$?
[ "$status" = 2 ] || fail "an unknown role ended with status $status"
echo "setup: play holds no test tool, package holds the build's dependencies, test holds theirs" \
  "and every tool, each once"
