#pragma once

class QWidget;

namespace toolkit {

// Moves a window, frame and all, to the middle of the screen it is on: "centred on the
// screen", as window descriptions say. Nothing happens for a window without a screen.
void centreOnScreen(QWidget *window);

} // namespace toolkit
