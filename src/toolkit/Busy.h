#pragma once

// Scopes for a long step on the user-interface thread: the hourglass while it runs, and a
// control that does not redraw until its contents are complete. Both undo themselves however
// the step ends, and nest.

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace toolkit {

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

class RedrawSuspended {
public:
    explicit RedrawSuspended(QWidget *control)
        : control_(control), wasEnabled_(control->updatesEnabled()) {
        control->setUpdatesEnabled(false);
    }
    ~RedrawSuspended() {
        if (control_)
            control_->setUpdatesEnabled(wasEnabled_);
    }
    RedrawSuspended(const RedrawSuspended &) = delete;
    RedrawSuspended &operator=(const RedrawSuspended &) = delete;

private:
    QPointer<QWidget> control_;
    bool wasEnabled_;
};

} // namespace toolkit
