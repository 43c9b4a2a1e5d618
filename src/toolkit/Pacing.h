#pragma once

#include <chrono>

namespace toolkit {

// Long visual sequences (fades, animations) are paced by time. One factor scales every
// pace of the application: 1 as designed, 0 to run every sequence without waiting.
double paceFactor();
void setPaceFactor(double factor);

// Paces the steps of one sequence: each step() waits until the sequence's next moment, with
// the window's pending messages processed meanwhile and without using the processor while it
// waits. The moments count from the pacer's creation, so a slow step shortens the wait of
// the next instead of stretching the sequence.
class Pacer {
public:
    explicit Pacer(std::chrono::microseconds stepLength);
    void step();

private:
    std::chrono::steady_clock::time_point start_;
    std::chrono::microseconds stepLength_;
    long steps_ = 0;
};

// Paces a long run of small steps, such as the half million of an animation counted in steps,
// by time: each step has its moment `stepLength` after the last, but the window's messages are
// processed once a frame rather than once a step. The steps of one frame run back to back,
// then the frame waits for its moment as Pacer's steps do. Without a pace the frames still
// come, so the window stays responsive.
class FramePacer {
public:
    static constexpr std::chrono::microseconds DefaultFrame{16'000};

    explicit FramePacer(std::chrono::nanoseconds stepLength,
                        std::chrono::microseconds frame = DefaultFrame);
    void step();

private:
    long stepsPerFrame_;
    long steps_ = 0;
    Pacer frames_;
};

// Processes the pending window messages once.
void processPendingMessages();

// Waits until `when` in local event loops: the window's messages are processed meanwhile and
// the processor is not used. Returns at once when the moment has passed.
void waitUntil(std::chrono::steady_clock::time_point when);

} // namespace toolkit
