#pragma once

#include <QString>

namespace platform {

// The folder of the user's settings: $GORBULAX_CONFIG_HOME when set and not empty, else
// $XDG_CONFIG_HOME/gorbulax when that is an absolute path, else ~/.config/gorbulax. Created on
// first use by the writers.
QString ConfigFolder();

} // namespace platform
