#include "toolkit/Timer.h"

#include "toolkit/ErrorReport.h"

#include <QPointer>

#include <algorithm>

namespace toolkit {

Timer::Timer(QObject *parent) : QObject(parent), timer_(this) {
    timer_.setTimerType(Qt::CoarseTimer);
    connect(&timer_, &QTimer::timeout, this, &Timer::tick);
    restart();
}

// As with the classic component, only a change restarts the interval: code that sets the
// same value on every pass must not keep the timer from ever ticking.
void Timer::setInterval(int milliseconds) {
    if (milliseconds == interval_)
        return;
    interval_ = milliseconds;
    restart();
}

int Timer::effectiveInterval() const {
    return std::max(interval_, static_cast<int>(PlatformTimerResolution.count()));
}

void Timer::setEnabled(bool enabled) {
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    restart();
}

// An interval of zero stops the timer, as it did the classic one.
void Timer::restart() {
    if (enabled_ && interval_ > 0)
        timer_.start(effectiveInterval());
    else
        timer_.stop();
}

void Timer::tick() {
    if (inHandler_ || !onTimer)
        return;
    inHandler_ = true;
    QPointer<Timer> alive(this); // the handler may delete the timer's owner
    guarded(onTimer);
    if (alive)
        inHandler_ = false;
}

} // namespace toolkit
