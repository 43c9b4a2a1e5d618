#include "gk/FrameClock.h"

#include "toolkit/Pacing.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

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
    next_ = periodIndex(Clock::now()) + 1;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(moment(next_) - Clock::now());
    timer_.start(std::max(wait, std::chrono::milliseconds(0)));
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
    atFrame_ = true;
    emit frame();
    atFrame_ = false;
    if (running_)
        scheduleNext();
}

void FrameClock::waitForNextFrame() {
    const long long next = periodIndex(Clock::now()) + 1;
    toolkit::waitUntil(moment(next));
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
