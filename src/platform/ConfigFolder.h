#pragma once

#include <QString>

namespace platform {

// The folder of the user's settings: $GORBULAX_CONFIG_HOME when set and not empty, else
// $XDG_CONFIG_HOME/gorbulax when that is an absolute path, else ~/.config/gorbulax. Created on
// first use by the writers.
QString ConfigFolder();

// The folder of the user's data (the score table of an installed program):
// $GORBULAX_DATA_HOME when set and not empty, else $XDG_DATA_HOME/gorbulax when that is an
// absolute path, else ~/.local/share/gorbulax. Created on first use by the writers.
QString DataFolder();

// The folder of the program's own file, with a trailing separator. Tests and benchmarks, which
// run the windows from programs of their own, name a folder of their own instead.
QString ProgramFolder();
void SetProgramFolder(const QString &folder);

} // namespace platform
