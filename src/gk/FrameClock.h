#pragma once

// The screen's refresh as the display paces by it: moments one refresh period apart, on a
// grid that starts when the clock is made, at the refresh rate of the screen the display is
// on. Qt tells widgets of no vertical blank on any of its platforms, so the moments are timed
// by a precise timer at that rate; a program that flips at them flips as often as the screen
// shows a new picture and sleeps in between.

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <chrono>

class QScreen;

namespace gk {

class FrameClock : public QObject {
    Q_OBJECT

public:
    using Clock = std::chrono::steady_clock;

    explicit FrameClock(QObject *parent = nullptr);

    // Follows the refresh rate of `screen` (the primary screen when none is given); a screen
    // that tells no rate is taken to refresh 60 times a second.
    void follow(QScreen *screen);
    Clock::duration period() const { return period_; }

    // While running, `frame` comes at every moment. A handler that takes longer than a period
    // lets the moments it overran go by instead of having them delivered late.
    void start();
    void stop();
    bool running() const { return running_; }
    // True while `frame` is being delivered: the moment is under way.
    bool atFrame() const { return atFrame_; }

    // Waits for the next moment in a local event loop, without using the processor.
    void waitForNextFrame();
    // One picture per refresh: returns at once when no picture has been taken in this
    // period yet, else waits for the next moment; either way the period's picture is taken.
    void takeFrame();

signals:
    void frame();

private:
    long long periodIndex(Clock::time_point when) const;
    Clock::time_point moment(long long index) const;
    void scheduleNext();
    void deliver();

    QPointer<QScreen> screen_;
    Clock::time_point origin_;
    Clock::duration period_;
    QTimer timer_;
    long long next_ = 0; // the moment the timer is set for
    long long taken_ = -1;
    bool running_ = false;
    bool atFrame_ = false;
};

} // namespace gk
