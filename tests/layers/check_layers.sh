#!/usr/bin/env bash
# Holds the program's layers: a file under src/ may include from its own folder and from the
# folders below it, never from one above, so that no two folders use each other. From the
# bottom up, each folder a rank of its own:
#   platform <- toolkit <- gk <- components <- scores <- dialogs <- game <- the program
# (the files directly in src/). Tools, tests and benchmarks may use any layer.
#
# Every kind of file that names another is read: C and C++ sources and headers, with both
# forms of #include ("..." and <...>), and the window descriptions (.ui), whose custom
# controls name their headers. An include in angle brackets that names no layer's folder
# (<QString>, <QtCore/QString>, <gtest/gtest.h>) is another library's, and not checked.
# Usage: check_layers.sh SRC_FOLDER. Prints each include that breaks the rule; fails if any.
set -euo pipefail
src=${1:?usage: check_layers.sh SRC_FOLDER}
cd "$src"

find . -type f \( -name '*.h' -o -name '*.hh' -o -name '*.hpp' -o -name '*.hxx' -o -name '*.inl' \
  -o -name '*.c' -o -name '*.cc' -o -name '*.cpp' -o -name '*.cxx' -o -name '*.ui' \) | sort | awk '
  function rank(folder) {
    if (folder == "platform") return 0
    if (folder == "toolkit") return 1
    if (folder == "gk") return 2
    if (folder == "components") return 3
    if (folder == "scores") return 4
    if (folder == "dialogs") return 5
    if (folder == "game") return 6
    return -1
  }
  {
    file = substr($0, 3)
    own = (index(file, "/") ? rank(substr(file, 1, index(file, "/") - 1)) : 7)
    if (own < 0) {
      print file ": in a folder that belongs to no layer"
      bad = 1
      next
    }
    line = 0
    while ((getline text < $0) > 0) {
      ++line
      if (text ~ /^[ \t]*#[ \t]*include[ \t]*"[^"\/]+\//) {
        quoted = 1
        included = text
        sub(/^[^"]*"/, "", included)
        sub(/".*$/, "", included)
      } else if (text ~ /^[ \t]*#[ \t]*include[ \t]*<[^>\/]+\//) {
        quoted = 0
        included = text
        sub(/^[^<]*</, "", included)
        sub(/>.*$/, "", included)
      } else if (text ~ /<header>[^<\/]+\//) {
        quoted = 1
        included = text
        sub(/^.*<header>/, "", included)
        sub(/<\/header>.*$/, "", included)
      } else {
        continue
      }
      folder = substr(included, 1, index(included, "/") - 1)
      theirs = rank(folder)
      if (theirs < 0 && !quoted) continue
      if (theirs < 0 || theirs > own) {
        print file ":" line ": includes \"" included "\" from a layer above its own"
        bad = 1
      }
    }
    close($0)
  }
  END { exit bad }
'
