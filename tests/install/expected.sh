# Sourced by the install and package checks: what an install puts under its prefix.
# `installed_files yes` includes the trace viewer, which is installed when it is built.
installed_files() {
  local size
  printf '%s\n' games/gorbulax share/games/gorbulax/gorbulax.dat bin/gorbulax-pack \
    share/applications/gorbulax.desktop share/metainfo/example.brakmoor.Gorbulax.metainfo.xml \
    share/man/man6/gorbulax.6
  for size in 16 22 24 32 48 64 128 256; do
    echo "share/icons/hicolor/${size}x${size}/apps/gorbulax.png"
  done
  if [ "$1" = yes ]; then echo bin/gorbulax-trace; fi
}
