#pragma once

class QWidget;

namespace toolkit {

// Moves a window, frame and all, to the middle of the screen it is on: "centred on the
// screen", as window descriptions say. Nothing happens for a window without a screen.
void centreOnScreen(QWidget *window);

// Whether the window system tells a program where its windows are. Wayland does not: there a
// window's position reads as (0, 0) whatever the compositor did with it.
bool windowSystemTellsPosition();

} // namespace toolkit
