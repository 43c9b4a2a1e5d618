// The screen's refresh as the display flips by it: from the timer, or from a window's update
// requests where the platform paces them by the screen. Counts are bounded from above by the
// time that passed, so a loaded machine, which only delivers fewer, cannot fail them.
#include "gk/FrameClock.h"

#include <QEvent>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <chrono>
#include <utility>

namespace {

using Clock = gk::FrameClock::Clock;

// Counts a window's update requests. Made after the clock follows the window, it sees each
// request before the clock does.
class UpdateCounter : public QObject {
public:
    explicit UpdateCounter(QWindow &window) { window.installEventFilter(this); }
    int count = 0;
    bool justCame = false;

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::UpdateRequest) {
            ++count;
            justCame = true;
        }
        return false;
    }
};

// The most moments of `period` that fit between `start` and now, the first included.
long mostFrames(Clock::time_point start, Clock::duration period) {
    return long((Clock::now() - start) / period) + 1;
}

} // namespace

TEST(FrameClockTest, FramesComeFromTheTimerOrFromTheWindowThatTheScreenShows) {
    enum class Source { Timer, ShownWindow, HiddenWindow };
    for (const Source source : {Source::Timer, Source::ShownWindow, Source::HiddenWindow}) {
        SCOPED_TRACE(int(source));
        QWindow window;
        window.resize(64, 48);
        if (source == Source::ShownWindow) {
            window.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        }
        gk::FrameClock clock;
        if (source != Source::Timer)
            clock.followWindow(&window, true);
        UpdateCounter updates(window);
        int frames = 0;
        int framesAtUpdates = 0;
        bool atFrame = false;
        QObject::connect(&clock, &gk::FrameClock::frame, [&] {
            ++frames;
            framesAtUpdates += std::exchange(updates.justCame, false);
            atFrame = clock.atFrame();
        });

        const Clock::time_point start = Clock::now();
        clock.start();
        QTest::qWait(300);
        clock.stop();
        const long most = mostFrames(start, clock.period());
        const int framesThen = frames;
        QTest::qWait(3 * int(std::chrono::ceil<std::chrono::milliseconds>(clock.period()).count()));
        EXPECT_EQ(frames, framesThen) << "stopped";
        EXPECT_GE(frames, 2);
        EXPECT_TRUE(atFrame);

        if (source == Source::ShownWindow) {
            // The frames come with the window's update requests; on a loaded machine the
            // timer may give one that a request was too late for.
            EXPECT_GT(framesAtUpdates, frames / 2);
        } else {
            // Never faster than the refresh; a window never shown is given its frames by the
            // timer, since the screen gives it none.
            EXPECT_LE(frames, most);
            EXPECT_EQ(framesAtUpdates, 0);
            EXPECT_EQ(updates.count, 0);
        }
    }
}

TEST(FrameClockTest, PicturesInARowAndWaitsForTheBlankTakeARefreshEach) {
    gk::FrameClock clock;
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < 5; ++i)
        clock.takeFrame();
    // The first is taken at once, each of the others in a later period than the one before.
    EXPECT_GE(Clock::now() - start, 3 * clock.period());

    // Waiting for the blank ends at the next moment, also for a window the screen shows not.
    QWindow hidden;
    for (QWindow *window : {static_cast<QWindow *>(nullptr), &hidden}) {
        clock.followWindow(window, true);
        const Clock::time_point before = Clock::now();
        for (int i = 0; i < 3; ++i)
            clock.waitForNextFrame();
        EXPECT_GE(Clock::now() - before, 2 * clock.period());
        EXPECT_LT(Clock::now() - before, std::chrono::seconds(2)) << "not stuck";
    }
}
