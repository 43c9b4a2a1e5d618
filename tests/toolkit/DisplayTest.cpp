// The display looked for before the toolkit starts: which kinds the toolkit will try, what the
// probe says when none answers, and the platform chosen for the one that did.
#include "toolkit/Display.h"
#include "support/Env.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>
#include <vector>

TEST(Display, ThePlatformNamedOrTheOneDisplayThatAnswered) {
    struct Case {
        const char *variable; // QT_QPA_PLATFORM; nullptr: unset
        std::vector<const char *> arguments;
        bool wayland, x11; // what answered
        bool needed;
        const char *platform;
    } const cases[] = {
        {nullptr, {}, true, false, true, "wayland"},
        {nullptr, {}, false, true, true, "xcb"},
        {nullptr, {}, true, true, true, ""}, // the toolkit's own choice
        {nullptr, {}, false, false, true, ""},
        {"xcb", {}, true, false, true, ""}, // named, whatever answered
        {"wayland;xcb", {}, false, true, true, ""},
        {"wayland-egl", {}, true, false, true, ""},
        {"offscreen", {}, false, false, false, ""},
        {"xcb;offscreen", {}, false, false, false, ""},
        {nullptr, {"-platform", "offscreen"}, false, false, false, ""},
        {"offscreen", {"--platform", "xcb"}, false, true, true, ""},
        {nullptr, {"-platform"}, true, false, true, "wayland"}, // no name after it
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(&c - cases);
        std::vector<const char *> argv{"gorbulax"};
        argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
        std::optional<ScopedEnv> named;
        if (c.variable)
            named.emplace("QT_QPA_PLATFORM", c.variable);
        else
            named.emplace("QT_QPA_PLATFORM");
        const int argc = int(argv.size());
        EXPECT_EQ(toolkit::needsDisplay(argc, argv.data()), c.needed);
        toolkit::DisplayProbe probe;
        probe.wayland = c.wayland;
        probe.x11 = c.x11;
        EXPECT_EQ(toolkit::answeringPlatform(argc, argv.data(), probe), c.platform);
    }
}

// With nothing to connect to, the probe finds nothing and says what it tried, without waiting
// for a server that is not there.
TEST(Display, TheProbeSaysWhatItTriedWhenNothingAnswers) {
    QTemporaryDir runtime;
    const ScopedEnv platform("QT_QPA_PLATFORM"), socket("WAYLAND_SOCKET"), x11("DISPLAY"),
        wayland("WAYLAND_DISPLAY");
    const char *argv[] = {"gorbulax"};
    toolkit::DisplayProbe probe = toolkit::probeDisplays(1, argv);
    EXPECT_FALSE(probe.found());
    EXPECT_EQ(probe.tried, "Wayland (WAYLAND_DISPLAY is not set), X11 (DISPLAY is not set)");

    const ScopedEnv folder("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit()),
        stale("WAYLAND_DISPLAY", "wayland-gone");
    const char *onlyWayland[] = {"gorbulax", "-platform", "wayland"};
    probe = toolkit::probeDisplays(3, onlyWayland);
    EXPECT_FALSE(probe.found());
    EXPECT_TRUE(probe.tried.startsWith("Wayland (WAYLAND_DISPLAY=wayland-gone): "))
        << probe.tried.toStdString();
    EXPECT_FALSE(probe.tried.contains("X11")) << "X11 was not asked for";
}
