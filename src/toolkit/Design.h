#pragma once

#include <QWidget>

namespace toolkit {

// Maps the classic fonts the windows are designed with to installed ones. Once, at start-up.
void mapClassicFonts();

// Applies what a window description states through properties Qt's widgets lack, for the
// given widget and all widgets below it:
//   "fontHeight" (int): the classic font height; negative is the character height in pixels;
//   "fontColor" (QColor): the colour of the control's text.
void applyDesign(QWidget *root);

// The system's button-face colour as a plain RGB colour.
QColor buttonFace();

} // namespace toolkit
