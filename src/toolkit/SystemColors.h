#pragma once

#include <QColor>

namespace toolkit {

// The system's button-face colour as a plain RGB colour, ready for colour arithmetic.
QColor buttonFace();

} // namespace toolkit
