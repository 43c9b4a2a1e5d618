#pragma once

// The texts of the help window's topics, one per memo. Each begins with its title over an
// underline; the line breaks are the ones the texts were written with, and the memos wrap
// longer lines at their width.

#include <QString>

namespace help {

QString ProgramInfo();
QString Story();
QString GamePlay();
QString Options();
QString DisclaimerAndLegalities();

} // namespace help
