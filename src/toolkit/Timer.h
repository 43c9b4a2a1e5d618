#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>

namespace toolkit {

// The classic PC timer ticked 18.2 times a second; no timer of the platform ticks faster.
inline constexpr std::chrono::milliseconds PlatformTimerResolution{55};

// A timer as the program knows it: an interval in milliseconds, an enabled switch, and a
// handler run on every tick. Intervals below the platform's resolution tick at that
// resolution. Enabling the timer, or changing the interval of an enabled one, starts the
// interval afresh. Ticks do not pile up: a tick that comes while the handler of the last one
// still runs is dropped. Exceptions escaping the handler go to the error report.
class Timer : public QObject {
    Q_OBJECT
    Q_PROPERTY(int interval READ interval WRITE setInterval)
    Q_PROPERTY(bool enabled READ enabled WRITE setEnabled)

public:
    explicit Timer(QObject *parent = nullptr);

    int interval() const { return interval_; } // as requested
    void setInterval(int milliseconds);
    int effectiveInterval() const; // as it ticks
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);

    std::function<void()> onTimer;

private:
    void tick();
    void restart();

    QTimer timer_;
    int interval_ = 1000;
    bool enabled_ = true;
    bool inHandler_ = false;
};

} // namespace toolkit
