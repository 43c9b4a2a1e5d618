#pragma once

// The display the window toolkit will need, looked for before the toolkit starts: Qt ends a
// program that has none with an abort, and one whose display goes away while it runs with a
// bare exit. The program gives both a status of its own instead.

#include <QByteArray>
#include <QString>

namespace toolkit {

// Where the windows can show.
struct DisplayProbe {
    bool wayland = false; // a Wayland compositor accepts a connection
    bool x11 = false;     // an X server accepts one
    QString tried;        // what was tried and why it failed, for the player
    bool found() const { return wayland || x11; }
};

// Whether the toolkit will look for a Wayland or an X11 display: no platform was named, or
// only those two were (QT_QPA_PLATFORM or a -platform argument naming others, such as the
// tests' offscreen one, need none).
bool needsDisplay(int argc, const char *const *argv);

// Tries those of the Wayland compositor named by WAYLAND_DISPLAY (or a socket handed over in
// WAYLAND_SOCKET) and the X server named by DISPLAY that the toolkit will look for.
DisplayProbe probeDisplays(int argc, const char *const *argv);

// The platform to point the toolkit at ("wayland" or "xcb"): the one display that answered,
// when only one did and no platform was named, so that a Wayland session whose X server is
// gone, or an X session with a stale WAYLAND_DISPLAY, starts all the same. Empty otherwise: the
// platform named, or the toolkit's own choice between two that answered.
QByteArray answeringPlatform(int argc, const char *const *argv, const DisplayProbe &probe);

// While one lives, an exit the toolkit takes because its display connection broke ends the
// program with `status` instead of the toolkit's own.
class DisplayLossStatus {
public:
    explicit DisplayLossStatus(int status);
    ~DisplayLossStatus();
    DisplayLossStatus(const DisplayLossStatus &) = delete;
    DisplayLossStatus &operator=(const DisplayLossStatus &) = delete;
};

} // namespace toolkit
