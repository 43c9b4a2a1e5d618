# Sourced by the install and package checks: what an install puts under its prefix.
# `installed_files yes` includes the trace viewer, which is installed when it is built.
# The game's files and the tools' files are also what the two packages divide between them.
game_files() {
  local size
  printf '%s\n' games/gorbulax share/games/gorbulax/gorbulax.dat \
    share/applications/gorbulax.desktop share/metainfo/example.brakmoor.Gorbulax.metainfo.xml \
    share/man/man6/gorbulax.6
  for size in 16 22 24 32 48 64 128 256; do
    echo "share/icons/hicolor/${size}x${size}/apps/gorbulax.png"
  done
}
tool_files() {
  printf '%s\n' bin/gorbulax-pack share/man/man1/gorbulax-pack.1
  if [ "$1" = yes ]; then printf '%s\n' bin/gorbulax-trace share/man/man1/gorbulax-trace.1; fi
}
installed_files() {
  game_files
  tool_files "$1"
}
