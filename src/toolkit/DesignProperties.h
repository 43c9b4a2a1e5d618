#pragma once

#include <QWidget>

namespace toolkit {

// Applies what a window description states through properties Qt's widgets lack, for the
// given widget and all widgets below it:
//   "fontHeight" (int): the classic font height; negative is the character height in pixels;
//   "fontColor" (QColor): the colour of the control's text;
//   "autoSize" (bool): the control takes the size of its text (its top-left corner stays), as
//   a classic static text without a stated size did, in whatever font stands in for the
//   designed one.
void applyDesign(QWidget *root);

// Sets the colour of a control's text as "fontColor" does, for code that changes it later.
void setTextColor(QWidget *control, const QColor &color);

} // namespace toolkit
