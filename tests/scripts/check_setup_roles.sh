#!/usr/bin/env bash
# scripts/setup's roles: playing installs no test or packaging tool, testing installs what
# playing does and every tool, each package is named once, and an unknown role is refused.
set -euo pipefail
setup=$(cd "$(dirname "$0")/../.." && pwd)/scripts/setup
fail() { echo "setup: $*" >&2; exit 1; }

play=$("$setup" --list play)
test=$("$setup" --list test)
tools=(googletest libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev xvfb
  xdotool imagemagick x11-utils openbox weston dbus-daemon espeak-ng sox lintian desktop-file-utils appstream
  dpkg-dev)
needs=(cmake g++ qt6-base-dev libsdl2-dev qt6-qpa-plugins qt6-wayland fonts-liberation2 xdg-utils)

for package in "${tools[@]}"; do
  grep -qx -- "$package" <<<"$play" && fail "play installs the test tool $package"
  grep -qx -- "$package" <<<"$test" || fail "test does not install $package"
done
for package in "${needs[@]}"; do
  grep -qx -- "$package" <<<"$play" || fail "play does not install $package"
done
missing=$(comm -23 <(sort <<<"$play") <(sort <<<"$test"))
[ -z "$missing" ] || fail "test lacks what play installs: $missing"
repeated=$(sort <<<"$test" | uniq -d)
[ -z "$repeated" ] || fail "named more than once: $repeated"

status=0
"$setup" --list everything >/dev/null 2>&1 || status=$?
[ "$status" = 2 ] || fail "an unknown role ended with status $status"
echo "setup: play holds no test tool, test holds play's packages and every tool, each once"
