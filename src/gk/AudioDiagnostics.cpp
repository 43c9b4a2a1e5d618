#include "gk/AudioDiagnostics.h"

#include <alsa/asoundlib.h>

namespace gk {

namespace {

void ignoreAlsaMessage(const char *, int, const char *, int, const char *, ...) {}

} // namespace

std::string silentPlayNotice(const OpenFailure &failure, bool driverChosen) {
    std::string notice = "Gorbulax: no sound output could be opened";
    if ((failure.deviceSeen || driverChosen) && !failure.reason.empty()) {
        notice += " (" + failure.reason + ")";
    }
    return notice + "; playing silently";
}

DriverMessagesHeld::DriverMessagesHeld() {
    snd_lib_error_set_handler(&ignoreAlsaMessage);
}

// Back to ALSA's own handler, which prints.
DriverMessagesHeld::~DriverMessagesHeld() {
    snd_lib_error_set_handler(nullptr);
}

} // namespace gk
