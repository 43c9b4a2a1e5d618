#include "gk/AudioOutput.h"

#include "gk/AudioDiagnostics.h"

#include <QCoreApplication>

#include <SDL.h>

#include <cstdio>

namespace gk {

namespace {

constexpr const char *ObjectName = "gk::AudioOutput";

} // namespace

AudioOutput &AudioOutput::instance() {
    if (QCoreApplication *app = QCoreApplication::instance()) {
        if (auto *existing =
                app->findChild<AudioOutput *>(ObjectName, Qt::FindDirectChildrenOnly)) {
            return *existing;
        }
        return *new AudioOutput(app);
    }
    static AudioOutput standalone(nullptr);
    return standalone;
}

AudioOutput::AudioOutput(QObject *parent) : QObject(parent) {
    setObjectName(ObjectName);
    // SDL_AUDIODRIVER, read before the fallback below overrides it; empty leaves SDL to choose.
    const char *chosenDriver = SDL_GetHint(SDL_HINT_AUDIODRIVER);
    const bool driverChosen = chosenDriver != nullptr && *chosenDriver != '\0';
    OpenFailure failure;
    if (open(failure)) {
        return;
    }
    // The silent driver keeps the game's timing (sounds end when they would have) on
    // machines without a usable sound device.
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    silentFallback_ = true;
    OpenFailure silentFailure;
    if (open(silentFailure)) {
        std::fprintf(stderr, "%s\n", silentPlayNotice(failure, driverChosen).c_str());
    } else {
        std::fprintf(stderr, "Gorbulax: no sound output could be opened: %s\n",
                     silentFailure.reason.c_str());
    }
}

AudioOutput::~AudioOutput() {
    // Closing waits for a running callback, so the mixer is no longer in use afterwards.
    if (device_ != 0) {
        SDL_CloseAudioDevice(device_);
    }
    if (subsystemUp_) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

void AudioOutput::hold(bool held) {
    if (device_ != 0) {
        SDL_PauseAudioDevice(device_, held ? 1 : 0);
    }
}

bool AudioOutput::open(OpenFailure &failure) {
    // SDL would otherwise catch SIGINT and SIGTERM and turn them into quit events that
    // nobody reads here, so the program could no longer be interrupted or ended by the
    // system.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    const DriverMessagesHeld held;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        failure.reason = SDL_GetError();
        return false;
    }
    SDL_AudioSpec want{};
    want.freq = Mixer::OutputRate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = &AudioOutput::callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    // No changes allowed: SDL converts to whatever the hardware wants, so render() always
    // sees the layout it produces.
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device == 0) {
        failure.reason = SDL_GetError();
        failure.deviceSeen = SDL_GetNumAudioDevices(0) > 0;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    subsystemUp_ = true;
    device_ = device;
    bufferFrames_ = have.samples;
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

void AudioOutput::callback(void *self, uint8_t *stream, int bytes) {
    auto *output = static_cast<AudioOutput *>(self);
    output->mixer_.render(reinterpret_cast<int16_t *>(stream),
                          bytes / static_cast<int>(2 * sizeof(int16_t)));
}

} // namespace gk
