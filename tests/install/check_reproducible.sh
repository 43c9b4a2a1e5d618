#!/usr/bin/env bash
# The same commit packaged twice gives the same packages to the byte: two clones at different
# paths (of different lengths), built one after the other, under different time zones, umasks
# and locales. Two whole package builds are too long for CI's runs; run it by hand:
#
#   check_reproducible.sh [COMMIT]      (default HEAD)
#
# It prints each package's SHA-256 from both builds and ends with 1 when any differs.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
commit=$(git -C "$root" rev-parse "${1:-HEAD}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

build() { # <clone folder> <output folder> <time zone> <umask> <locale>
  git clone -q --no-checkout "$root" "$1"
  git -C "$1" checkout -q "$commit"
  (umask "$4" && cd "$1" && TZ=$3 LC_ALL=$5 scripts/package "$2" >/dev/null)
}
build "$work/a" "$work/out-a" UTC 0022 C.UTF-8
sleep 2 # another second for every date the build might still take from the clock
build "$work/second/clone/b" "$work/out-b" Pacific/Kiritimati 0077 C

status=0
for deb in "$work"/out-a/*.deb; do
  name=$(basename "$deb")
  a=$(sha256sum <"$deb" | cut -d' ' -f1)
  b=$(sha256sum <"$work/out-b/$name" | cut -d' ' -f1)
  echo "$a $b $name"
  [ "$a" = "$b" ] || status=1
done
[ $status = 0 ] && echo "reproducible: $commit" || echo "NOT reproducible: $commit" >&2
exit $status
