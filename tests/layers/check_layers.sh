#!/usr/bin/env bash
# Holds the program's layers: a file under src/ may include from its own folder and from the
# folders below it, never from one above. From the bottom up:
#   platform <- toolkit <- gk <- components <- windows (game, scores, dialogs) <- the program
# (the files directly in src/). Tools, tests and benchmarks may use any layer.
# Usage: check_layers.sh SRC_FOLDER. Prints each include that breaks the rule; fails if any.
set -euo pipefail
src=${1:?usage: check_layers.sh SRC_FOLDER}
cd "$src"

find . -name '*.h' -o -name '*.cpp' | sort | awk '
  function rank(folder) {
    if (folder == "platform") return 0
    if (folder == "toolkit") return 1
    if (folder == "gk") return 2
    if (folder == "components") return 3
    if (folder == "game" || folder == "scores" || folder == "dialogs") return 4
    return -1
  }
  {
    file = substr($0, 3)
    own = (index(file, "/") ? rank(substr(file, 1, index(file, "/") - 1)) : 5)
    if (own < 0) {
      print file ": in a folder that belongs to no layer"
      bad = 1
      next
    }
    line = 0
    while ((getline text < $0) > 0) {
      ++line
      if (text !~ /^[ \t]*#[ \t]*include[ \t]*"[^"\/]+\//) continue
      included = text
      sub(/^[^"]*"/, "", included)
      folder = substr(included, 1, index(included, "/") - 1)
      theirs = rank(folder)
      if (theirs < 0 || theirs > own) {
        print file ":" line ": includes \"" substr(included, 1, index(included, "\"") - 1) \
              "\" from a layer above its own"
        bad = 1
      }
    }
    close($0)
  }
  END { exit bad }
'
