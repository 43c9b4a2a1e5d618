#include "toolkit/Mouse.h"

#include "toolkit/ErrorReport.h"

#include <QMouseEvent>
#include <QPointer>

#include <utility>

namespace toolkit {

namespace {

// The handlers of one control. It lives as the control's child and watches its events.
// Events are never swallowed, so the control itself still sees its mouse; instead the control
// stops passing mouse events up to its parent, because a control with a handler of its own
// is where the program expects the mouse to end, as it was with the classic controls.
class MouseHooks : public QObject {
public:
    explicit MouseHooks(QWidget *control) : QObject(control), control_(control) {
        control->installEventFilter(this);
        control->setAttribute(Qt::WA_NoMousePropagation);
    }

    static MouseHooks &of(QWidget *control) {
        for (QObject *child : control->children()) {
            if (auto *hooks = dynamic_cast<MouseHooks *>(child))
                return *hooks;
        }
        return *new MouseHooks(control);
    }

    MouseDownHandler down;
    MouseMoveHandler move;
    ClickHandler click;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (watched != control_)
            return false;
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        // A quick second press arrives as a double click; to the game it is one more press.
        case QEvent::MouseButtonDblClick:
            pressed(static_cast<QMouseEvent *>(event));
            break;
        case QEvent::MouseButtonRelease:
            released(static_cast<QMouseEvent *>(event));
            break;
        case QEvent::MouseMove:
            moved(static_cast<QMouseEvent *>(event));
            break;
        default:
            break;
        }
        return false;
    }

private:
    void pressed(QMouseEvent *event) {
        if (event->button() == Qt::LeftButton)
            leftDown_ = true;
        if (!down)
            return;
        const QPoint at = event->position().toPoint();
        const MouseDownHandler handler = down; // survives the handler replacing itself
        guarded([&] { handler(control_, event->button(), event->modifiers(), at.x(), at.y()); });
    }

    void released(QMouseEvent *event) {
        if (event->button() != Qt::LeftButton)
            return;
        const bool wasDown = std::exchange(leftDown_, false);
        if (!wasDown || !click || !control_->rect().contains(event->position().toPoint()))
            return;
        const ClickHandler handler = click;
        guarded([&] { handler(control_); });
    }

    void moved(QMouseEvent *event) {
        if (!move)
            return;
        const QPoint at = event->position().toPoint();
        const MouseMoveHandler handler = move;
        guarded([&] { handler(control_, event->modifiers(), at.x(), at.y()); });
    }

    QWidget *control_;
    bool leftDown_ = false;
};

} // namespace

void onMouseDown(QWidget *control, MouseDownHandler handler) {
    if (control)
        MouseHooks::of(control).down = std::move(handler);
}

void onMouseMove(QWidget *control, MouseMoveHandler handler) {
    if (!control)
        return;
    MouseHooks::of(control).move = std::move(handler);
    control->setMouseTracking(true);
}

void onClick(QWidget *control, ClickHandler handler) {
    if (control)
        MouseHooks::of(control).click = std::move(handler);
}

} // namespace toolkit
