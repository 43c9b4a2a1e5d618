#include "toolkit/Pacing.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <QVariant>

#include <algorithm>
#include <thread>

namespace toolkit {

namespace {
constexpr const char *PaceProperty = "gorbulax.paceFactor";
}

double paceFactor() {
    const QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return 1.0;
    bool ok = false;
    const double factor = app->property(PaceProperty).toDouble(&ok);
    return ok ? factor : 1.0;
}

void setPaceFactor(double factor) {
    if (QCoreApplication *app = QCoreApplication::instance())
        app->setProperty(PaceProperty, std::max(factor, 0.0));
}

Pacer::Pacer(std::chrono::microseconds stepLength)
    : start_(std::chrono::steady_clock::now()), stepLength_(stepLength) {}

void Pacer::step() {
    using namespace std::chrono;
    ++steps_;
    const double factor = paceFactor();
    const auto offset = duration<double, std::micro>(double(steps_) * stepLength_.count() * factor);
    const auto target = start_ + duration_cast<steady_clock::duration>(offset);
    if (factor <= 0.0 || steady_clock::now() >= target) {
        processPendingMessages();
        return;
    }
    waitUntil(target);
}

void processPendingMessages() {
    QCoreApplication::processEvents();
}

void waitUntil(std::chrono::steady_clock::time_point when) {
    using namespace std::chrono;
    // Timers round to whole milliseconds and may wake a little early, hence the loop; each
    // round sleeps in the event loop, so none of this spins.
    for (auto now = steady_clock::now(); now < when; now = steady_clock::now()) {
        const auto wait = ceil<milliseconds>(when - now);
        if (!QCoreApplication::instance()) {
            std::this_thread::sleep_for(wait);
            continue;
        }
        QEventLoop loop;
        QTimer wake;
        wake.setSingleShot(true);
        wake.setTimerType(Qt::PreciseTimer);
        QObject::connect(&wake, &QTimer::timeout, &loop, &QEventLoop::quit);
        wake.start(wait);
        if (loop.exec() != 0) // the application is quitting and runs no more loops
            std::this_thread::sleep_for(wait);
    }
}

namespace {
long stepsIn(std::chrono::microseconds frame, std::chrono::nanoseconds stepLength) {
    if (stepLength.count() <= 0)
        return 1;
    return std::max<long>(1, long(std::chrono::nanoseconds(frame) / stepLength));
}
} // namespace

FramePacer::FramePacer(std::chrono::nanoseconds stepLength, std::chrono::microseconds frame)
    : stepsPerFrame_(stepsIn(frame, stepLength)),
      frames_(std::chrono::duration_cast<std::chrono::microseconds>(stepLength * stepsPerFrame_)) {}

void FramePacer::step() {
    if (++steps_ % stepsPerFrame_ == 0)
        frames_.step();
}

} // namespace toolkit
