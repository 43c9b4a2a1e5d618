#include "gk/FrameClock.h"

#include "toolkit/Pacing.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

namespace gk {

namespace {

constexpr double FallbackRate = 60.0;

FrameClock::Clock::duration periodOf(double rate) {
    using namespace std::chrono;
    if (!(rate > 1.0))
        rate = FallbackRate;
    return duration_cast<FrameClock::Clock::duration>(duration<double>(1.0 / rate));
}

} // namespace

FrameClock::FrameClock(QObject *parent)
    : QObject(parent), origin_(Clock::now()), period_(periodOf(FallbackRate)) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &FrameClock::deliver);
    follow(nullptr);
}

void FrameClock::follow(QScreen *screen) {
    if (!screen && qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        screen = QGuiApplication::primaryScreen();
    if (screen_)
        disconnect(screen_, nullptr, this, nullptr);
    screen_ = screen;
    period_ = periodOf(screen ? screen->refreshRate() : FallbackRate);
    if (screen)
        connect(screen, &QScreen::refreshRateChanged, this,
                [this](qreal rate) { period_ = periodOf(rate); });
}

bool FrameClock::PlatformHasFrameCallbacks() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void FrameClock::followWindow(QWindow *window) {
    followWindow(window, PlatformHasFrameCallbacks());
}

void FrameClock::followWindow(QWindow *window, bool frameCallbacks) {
    if (window_)
        window_->removeEventFilter(this);
    window_ = frameCallbacks ? window : nullptr;
    updateAsked_ = false;
    if (window_)
        window_->installEventFilter(this);
    if (running_)
        scheduleNext();
}

long long FrameClock::periodIndex(Clock::time_point when) const {
    return (when - origin_) / period_;
}

FrameClock::Clock::time_point FrameClock::moment(long long index) const {
    return origin_ + index * period_;
}

void FrameClock::start() {
    if (running_)
        return;
    running_ = true;
    scheduleNext();
}

void FrameClock::stop() {
    running_ = false;
    timer_.stop();
}

void FrameClock::scheduleNext() {
    using namespace std::chrono;
    next_ = periodIndex(Clock::now()) + 1;
    auto wait = ceil<milliseconds>(moment(next_) - Clock::now());
    if (window_) {
        // The window's next picture is the moment. Should the screen give it none (hidden,
        // minimised), the timer gives it a period late, and so on until the screen does again.
        askForUpdate();
        wait += ceil<milliseconds>(period_);
    }
    timer_.start(std::max(wait, milliseconds(0)));
}

void FrameClock::askForUpdate() {
    if (updateAsked_ || !window_)
        return;
    updateAsked_ = true;
    window_->requestUpdate();
}

void FrameClock::deliver() {
    if (!running_)
        return;
    // Timers count whole milliseconds and may wake a little early: wait for the rest.
    if (Clock::now() < moment(next_)) {
        const auto rest =
            std::chrono::ceil<std::chrono::milliseconds>(moment(next_) - Clock::now());
        timer_.start(rest);
        return;
    }
    tick();
}

void FrameClock::tick() {
    timer_.stop();
    atFrame_ = true;
    emit frame();
    atFrame_ = false;
    if (running_)
        scheduleNext();
}

bool FrameClock::eventFilter(QObject *watched, QEvent *event) {
    // The window deals with its update request too: it paints what the frame drew.
    if (watched == window_ && event->type() == QEvent::UpdateRequest && updateAsked_) {
        updateAsked_ = false;
        emit windowUpdated();
        if (running_)
            tick();
    }
    return QObject::eventFilter(watched, event);
}

void FrameClock::waitForNextFrame() {
    using namespace std::chrono;
    if (!window_) {
        toolkit::waitUntil(moment(periodIndex(Clock::now()) + 1));
        return;
    }
    // The window's next picture, or two periods at most for a window the screen shows not.
    QEventLoop loop;
    QTimer giveUp;
    giveUp.setSingleShot(true);
    connect(&giveUp, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(this, &FrameClock::windowUpdated, &loop, &QEventLoop::quit);
    connect(this, &FrameClock::frame, &loop, &QEventLoop::quit);
    askForUpdate();
    giveUp.start(ceil<milliseconds>(2 * period_));
    loop.exec();
}

void FrameClock::takeFrame() {
    long long now = periodIndex(Clock::now());
    if (now <= taken_) {
        toolkit::waitUntil(moment(taken_ + 1));
        now = std::max(taken_ + 1, periodIndex(Clock::now()));
    }
    taken_ = now;
}

} // namespace gk
