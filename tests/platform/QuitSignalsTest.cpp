#include "platform/QuitSignals.h"

#include <QList>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>

namespace {

sighandler_t currentHandler(int signal) {
    struct sigaction action {};
    ::sigaction(signal, nullptr, &action);
    return action.sa_handler;
}

// The three signals that ask the program to end arrive on the event loop, each once and in
// order, instead of ending the program where it stands; afterwards their default is back.
TEST(QuitSignals, TheSignalsToEndArriveOnTheEventLoop) {
    QList<int> arrived;
    {
        platform::QuitSignals quit([&](int signal) { arrived << signal; });
        for (const int signal : {SIGTERM, SIGHUP, SIGINT})
            ASSERT_EQ(::raise(signal), 0);
        // Nothing runs inside the handler: the calls wait for the event loop.
        EXPECT_TRUE(arrived.isEmpty());
        EXPECT_TRUE(QTest::qWaitFor([&] { return arrived.size() == 3; }, 5000));
        EXPECT_EQ(arrived, (QList<int>{SIGTERM, SIGHUP, SIGINT}));
    }
    for (const int signal : {SIGTERM, SIGHUP, SIGINT})
        EXPECT_EQ(currentHandler(signal), SIG_DFL) << signal;
}

} // namespace
