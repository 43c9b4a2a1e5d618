#pragma once

#include <string>

namespace gk {

// Why the sound output did not open, as far as the program can tell.
struct OpenFailure {
    // The sound library's own explanation.
    std::string reason;
    // The driver listed an output device and could not open it: a real fault on a machine
    // with sound, not merely a machine without any.
    bool deviceSeen = false;
};

// The one line the program prints on standard error when it falls back to playing silently.
// A machine without sound gets a plain notice; the sound library's reason is added when
// there was a device to open, or when the person chose the driver themselves
// (SDL_AUDIODRIVER), since then they need to know why their choice failed.
std::string silentPlayNotice(const OpenFailure &failure, bool driverChosen);

// While alive, the sound drivers' own error lines are held back: ALSA prints its internal
// complaints straight to standard error while a driver looks for a device that is not
// there. Held only around opening, so a fault while playing is still printed; an open that
// fails for a real reason still says why through the sound library's error text.
class DriverMessagesHeld {
public:
    DriverMessagesHeld();
    ~DriverMessagesHeld();
    DriverMessagesHeld(const DriverMessagesHeld &) = delete;
    DriverMessagesHeld &operator=(const DriverMessagesHeld &) = delete;
};

} // namespace gk
