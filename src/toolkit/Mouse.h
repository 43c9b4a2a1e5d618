#pragma once

#include <QObject>
#include <QWidget>

#include <functional>

namespace toolkit {

// Mouse handlers in the program's style, attachable to any control. Coordinates are relative
// to the control that receives the event; the sender is that control. Handlers are guarded
// (see ErrorReport.h).
using MouseDownHandler = std::function<void(QObject *sender, Qt::MouseButton button,
                                            Qt::KeyboardModifiers shift, int x, int y)>;
using MouseMoveHandler =
    std::function<void(QObject *sender, Qt::KeyboardModifiers shift, int x, int y)>;
using ClickHandler = std::function<void(QObject *sender)>;

void onMouseDown(QWidget *control, MouseDownHandler handler);
// Also turns on mouse tracking, so moves without a button pressed arrive.
void onMouseMove(QWidget *control, MouseMoveHandler handler);
// A left-button press and release on the control.
void onClick(QWidget *control, ClickHandler handler);

} // namespace toolkit
