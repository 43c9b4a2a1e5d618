// The program's command line and how it starts, decided without a display: the probe's answer
// comes from the test.
#include "CommandLine.h"
#include "support/Env.h"

#include <gtest/gtest.h>

#include <vector>

using commandline::Start;

TEST(CommandLine, APlainStartLooksForADisplayAndPlaysOnTheOneThatAnswered) {
    const ScopedEnv platform("QT_QPA_PLATFORM");
    struct Case {
        std::vector<const char *> arguments;
        bool wayland, x11; // what the probe finds
        bool probed;
        const char *platform;
        bool missing;
    } const cases[] = {
        {{}, true, true, true, "", false},
        {{}, false, true, true, "xcb", false},
        {{}, true, false, true, "wayland", false},
        {{}, false, false, true, "offscreen", true},
        // Questions are answered anywhere; an unknown option is refused after the probe.
        {{"--version"}, false, false, false, "offscreen", false},
        {{"-h", "-v"}, false, false, false, "offscreen", false},
        {{"--bogus"}, false, false, true, "offscreen", true},
        {{"--version", "stray"}, false, true, true, "xcb", false},
        {{"-platform", "offscreen"}, false, false, false, "", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(&c - cases);
        std::vector<const char *> argv{"gorbulax"};
        argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
        int probes = 0;
        const Start start = commandline::startFor(int(argv.size()), argv.data(), [&] {
            ++probes;
            toolkit::DisplayProbe probe;
            probe.wayland = c.wayland;
            probe.x11 = c.x11;
            probe.tried = "what was tried";
            return probe;
        });
        EXPECT_EQ(probes, c.probed ? 1 : 0);
        EXPECT_EQ(start.platform, c.platform);
        EXPECT_EQ(start.displayMissing, c.missing);
        EXPECT_EQ(start.displaysTried, c.missing ? "what was tried" : "");
    }
}

TEST(CommandLine, ThePlainStartPlaysAndTheOthersEndWithTheirStatus) {
    EXPECT_EQ(commandline::answer({"gorbulax"}), std::nullopt);
    EXPECT_EQ(commandline::answer({"gorbulax", "--bogus"}), commandline::WrongCommandLine);
    EXPECT_EQ(commandline::answer({"gorbulax", "stray"}), commandline::WrongCommandLine);

    // Without a display: one line that says what was tried, and the status of its own.
    QString said;
    QTextStream err(&said);
    EXPECT_EQ(
        commandline::refuseWithoutDisplay({"offscreen", true, "X11 (DISPLAY is not set)"}, err),
        commandline::NoDisplay);
    err.flush();
    EXPECT_EQ(said, "gorbulax: cannot open a display: tried X11 (DISPLAY is not set)\n");
    EXPECT_EQ(commandline::refuseWithoutDisplay({"xcb", false, {}}, err), std::nullopt);
    err.flush();
    EXPECT_EQ(said.count('\n'), 1) << "a start with a display says nothing";
    EXPECT_EQ(int(commandline::NoDisplay), 3);
    EXPECT_EQ(int(commandline::DisplayLost), 4);
}
