#!/usr/bin/env bash
# The Debian package made from the build: the installed files under /usr with the manual page
# compressed, the copyright and changelog where Debian keeps them, dependencies computed from
# the binaries plus the platform plugins and fonts that starting needs, and no error from lintian.
#
#   check_package.sh <build folder> <yes|no: the trace viewer is built>
set -euo pipefail
build=$1
with_trace=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/expected.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "package: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
  fail "cpack failed: $(cat "$work/cpack.log")"
deb=$(find "$work" -maxdepth 1 -name 'gorbulax_*.deb')
[ "$(basename "$deb")" = gorbulax_1.0-1_amd64.deb ] || fail "the package is called '$deb'"

expected=$( (installed_files "$with_trace" | sed 's|^share/man/man6/gorbulax.6$|&.gz|'
  printf '%s\n' share/doc/gorbulax/copyright share/doc/gorbulax/changelog.Debian.gz) |
  sed 's|^|./usr/|' | sort)
diff <(echo "$expected") <(dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ {print $6}' | sort) ||
  fail "the package's files differ"
depends=$(dpkg-deb -f "$deb" Depends)
# The libraries the binaries name, and what starting needs beyond them: the platform plugins
# and the designed fonts, which a system installed without recommended packages lacks.
for library in libqt6widgets6 libsdl2 libc6 qt6-qpa-plugins qt6-wayland fonts-liberation2; do
  [[ $depends == *"$library"* ]] || fail "the dependencies lack $library: $depends"
done

lintian --fail-on error --tag-display-limit 0 "$deb" | tee "$work/lintian.log" ||
  fail "lintian found errors"
echo "package: $(basename "$deb"), its files, its dependencies and lintian"
