#include "toolkit/Timer.h"
#include "toolkit/ErrorReport.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QStringList>
#include <QTest>

#include <stdexcept>

using toolkit::Timer;

namespace {

QTimer *engineOf(Timer &timer) {
    return timer.findChild<QTimer *>();
}

} // namespace

TEST(Timer, IntervalEnableAndRestart) {
    Timer timer;
    EXPECT_TRUE(timer.enabled());
    EXPECT_EQ(timer.interval(), 1000);
    timer.setInterval(1);
    EXPECT_EQ(timer.interval(), 1);
    EXPECT_EQ(timer.effectiveInterval(), 55);
    timer.setInterval(56);
    EXPECT_EQ(timer.effectiveInterval(), 56);

    QTimer *engine = engineOf(timer);
    ASSERT_NE(engine, nullptr);
    EXPECT_TRUE(engine->isActive());
    timer.setInterval(0);
    EXPECT_FALSE(engine->isActive());

    timer.setInterval(2000);
    EXPECT_TRUE(engine->isActive());
    QTest::qWait(600);
    timer.setInterval(2000); // no change: the interval runs on
    EXPECT_LT(engine->remainingTime(), 1600);
    timer.setEnabled(false);
    EXPECT_FALSE(engine->isActive());
    timer.setEnabled(true); // afresh
    EXPECT_GT(engine->remainingTime(), 1700);
    QTest::qWait(600);
    timer.setInterval(3000);
    EXPECT_GT(engine->remainingTime(), 2700);
}

TEST(Timer, TicksWhenEnabledOnly) {
    Timer timer;
    int ticks = 0;
    timer.setEnabled(false);
    timer.onTimer = [&] { ++ticks; };
    timer.setInterval(1);
    QTest::qWait(300);
    EXPECT_EQ(ticks, 0);

    timer.setEnabled(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 2; }, 2000));
    timer.setEnabled(false);
    const int seen = ticks;
    QTest::qWait(300);
    EXPECT_EQ(ticks, seen);
}

// Counted on the clock, not read from the getter: a timer asked for 1 ms ticks no faster than
// the platform's resolution. Bounded from above only, since a busy machine ticks less often;
// 50 rather than 55 ms leaves room for a coarse timer firing a little early.
TEST(Timer, TicksNoFasterThanThePlatformResolution) {
    Timer timer;
    int ticks = 0;
    timer.onTimer = [&] { ++ticks; };
    QElapsedTimer clock;
    clock.start();
    timer.setInterval(1);
    QTest::qWait(300);
    timer.setEnabled(false);
    const qint64 elapsed = clock.elapsed();
    EXPECT_LE(ticks, elapsed / 50 + 1) << ticks << " ticks in " << elapsed << " ms";
}

TEST(Timer, DropsTicksDuringItsHandlerAndReportsItsErrors) {
    QStringList reports;
    toolkit::setErrorReporter([&](const QString &text) { reports << text; });

    Timer timer;
    timer.setInterval(1);
    int depth = 0;
    int deepest = 0;
    int ticks = 0;
    timer.onTimer = [&] {
        ++depth;
        ++ticks;
        deepest = std::max(deepest, depth);
        // A new interval restarts the timer, whose ticks then fall due in the nested loop.
        timer.setInterval(timer.interval() == 1 ? 2 : 1);
        QTest::qWait(200);
        --depth;
        throw std::runtime_error("tick failed");
    };
    const bool ticked = QTest::qWaitFor([&] { return ticks >= 2; }, 3000);
    timer.setEnabled(false);
    toolkit::setErrorReporter({});

    EXPECT_TRUE(ticked);
    EXPECT_EQ(deepest, 1);
    ASSERT_GE(reports.size(), 1);
    EXPECT_EQ(reports.front(), QStringLiteral("tick failed"));
}
