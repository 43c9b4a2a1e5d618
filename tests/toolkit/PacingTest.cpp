#include "toolkit/Pacing.h"

#include <gtest/gtest.h>

#include <QTimer>

#include <chrono>

using namespace std::chrono;
using toolkit::Pacer;

namespace {

// Every test program runs its sequences unpaced; a test that wants pacing sets its own.
class PaceFactor {
public:
    explicit PaceFactor(double factor) { toolkit::setPaceFactor(factor); }
    ~PaceFactor() { toolkit::setPaceFactor(0.0); }
};

} // namespace

TEST(Pacing, FactorZeroRunsWithoutWaitingButProcessesMessages) {
    EXPECT_EQ(toolkit::paceFactor(), 0.0);
    {
        PaceFactor negative(-3.0);
        EXPECT_EQ(toolkit::paceFactor(), 0.0);
    }
    bool delivered = false;
    QTimer::singleShot(0, [&] { delivered = true; });
    const auto start = steady_clock::now();
    Pacer pacer(seconds(1));
    for (int i = 0; i < 3; ++i)
        pacer.step();
    EXPECT_LT(steady_clock::now() - start, seconds(2));
    EXPECT_TRUE(delivered);
}

TEST(Pacing, StepsWaitForTheirMomentWhileMessagesFlow) {
    PaceFactor normal(1.0);
    EXPECT_EQ(toolkit::paceFactor(), 1.0);
    bool delivered = false;
    QTimer::singleShot(10, [&] { delivered = true; });
    auto start = steady_clock::now();
    Pacer pacer(milliseconds(40));
    for (int i = 0; i < 3; ++i)
        pacer.step();
    EXPECT_GE(steady_clock::now() - start, milliseconds(120));
    EXPECT_TRUE(delivered);

    toolkit::setPaceFactor(2.0);
    start = steady_clock::now();
    Pacer slower(milliseconds(30));
    slower.step();
    slower.step();
    EXPECT_GE(steady_clock::now() - start, milliseconds(120));
}

TEST(Pacing, ManyStepsAreShownAFrameAtATime) {
    // 100,000 steps of 2 µs: 200 ms in frames of 16 ms, the messages processed once a frame.
    int processed = 0;
    QTimer counter;
    QObject::connect(&counter, &QTimer::timeout, [&] { ++processed; });
    counter.start(0);
    toolkit::FramePacer unpaced(nanoseconds(2'000));
    for (int i = 0; i < 100'000; ++i)
        unpaced.step();
    EXPECT_GE(processed, 11);
    EXPECT_LE(processed, 13);

    PaceFactor normal(1.0);
    const auto start = steady_clock::now();
    toolkit::FramePacer paced(nanoseconds(2'000));
    for (int i = 0; i < 100'000; ++i)
        paced.step();
    EXPECT_GE(steady_clock::now() - start, milliseconds(190));
}
