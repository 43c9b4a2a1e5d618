#pragma once

#include "gk/Mixer.h"
#include "gk/SoundPlatform.h"

#include <QObject>

#include <cstdint>

namespace gk {

struct OpenFailure;

// The process's one sound output: 44,100 Hz stereo int16 whose callback renders the mixer.
// It belongs to the application object when there is one, so it closes with it; otherwise it
// lives until the program exits. When no real output opens, sounds still "play" in real
// time through SDL's silent driver.
class AudioOutput : public QObject {
    Q_OBJECT

public:
    // Opens the output on first use. UI thread only.
    static AudioOutput &instance();

    ~AudioOutput() override;

    Mixer &mixer() { return mixer_; }
    // The audio components' way to the mixer.
    SoundPlatform &platform() { return platform_; }
    // Holds the output still (true) or lets it run again. Held, nothing advances: tests look
    // at what plays, or render it themselves, without the callback moving it on.
    void hold(bool held);
    // Frames per callback as granted by the driver; 0 if nothing could be opened at all.
    int bufferFrames() const { return bufferFrames_; }
    bool isSilentFallback() const { return silentFallback_; }

private:
    explicit AudioOutput(QObject *parent);
    bool open(OpenFailure &failure);
    static void callback(void *self, uint8_t *stream, int bytes);

    Mixer mixer_;
    MixerPlatform platform_{mixer_};
    uint32_t device_ = 0;
    int bufferFrames_ = 0;
    bool silentFallback_ = false;
    bool subsystemUp_ = false;
};

} // namespace gk
