#pragma once

// The screen's refresh as the display paces by it: moments one refresh period apart, at the
// refresh rate of the screen the display is on. Where the platform tells a window when the
// screen takes its next picture (Wayland's frame callbacks, which QWindow::requestUpdate waits
// for), the moments are those of the display's window. Elsewhere (X11, Xvfb, the offscreen
// platform: their update requests come from a short timer, not the screen) they lie on a grid
// that starts when the clock is made, timed by a precise timer at the refresh rate. A program
// that flips at them flips as often as the screen shows a new picture and sleeps in between.

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <chrono>

class QScreen;
class QWindow;

namespace gk {

class FrameClock : public QObject {
    Q_OBJECT

public:
    using Clock = std::chrono::steady_clock;

    explicit FrameClock(QObject *parent = nullptr);

    // Follows the refresh rate of `screen` (the primary screen when none is given); a screen
    // that tells no rate is taken to refresh 60 times a second.
    void follow(QScreen *screen);
    // Takes the moments from `window`'s update requests when `frameCallbacks` (by default,
    // when the platform has them); from the timer otherwise, or once the window is gone. A
    // window the screen stops giving pictures to (hidden, minimised) gets its moments from
    // the timer meanwhile.
    void followWindow(QWindow *window);
    void followWindow(QWindow *window, bool frameCallbacks);
    // Whether this platform paces a window's update requests by the screen.
    static bool PlatformHasFrameCallbacks();
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
    // The followed window's update request came: the screen takes its next picture.
    void windowUpdated();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    long long periodIndex(Clock::time_point when) const;
    Clock::time_point moment(long long index) const;
    void scheduleNext();
    void askForUpdate();
    void deliver();
    void tick();

    QPointer<QScreen> screen_;
    QPointer<QWindow> window_; // whose update requests give the moments, if any
    bool updateAsked_ = false;
    Clock::time_point origin_;
    Clock::duration period_;
    QTimer timer_;
    long long next_ = 0; // the moment the timer is set for
    long long taken_ = -1;
    bool running_ = false;
    bool atFrame_ = false;
};

} // namespace gk
