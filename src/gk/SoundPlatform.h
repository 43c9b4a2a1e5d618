#pragma once

#include "gk/Mixer.h"
#include "gk/Wave.h"

#include <cstddef>
#include <cstdint>

class QObject;

namespace gk {

// The sound system as the audio components use it: devices, each a window's own, holding
// static buffers that play once from their current position. Every call comes from the UI
// thread. Volumes and pans are in hundredths of a decibel (see Mixer).
class SoundPlatform {
public:
    virtual ~SoundPlatform() = default;

    // NoDevice when no device can be made.
    virtual DeviceId createDevice() = 0;
    // The device's share of the output, for the window that plays through it; the output
    // itself runs at 44,100 Hz, 16-bit stereo whatever the sounds are. False when refused.
    virtual bool claimOutput(DeviceId device, const QObject *window) = 0;
    // Drops the device with every buffer it still has.
    virtual void releaseDevice(DeviceId device) = 0;

    // A buffer of `bytes` bytes of silence in the given format; NoBuffer when refused.
    virtual BufferId createBuffer(DeviceId device, const WaveFormat &format, size_t bytes) = 0;
    // Fills the buffer from its start with at most its own length of `data`.
    virtual Result writeBuffer(BufferId buffer, const uint8_t *data, size_t bytes) = 0;
    virtual void releaseBuffer(BufferId buffer) = 0;

    // One pass from the current position. BufferLost when the buffer's memory was taken
    // away: it must be restored and filled again before it plays.
    virtual Result play(BufferId buffer) = 0;
    // Keeps the position; succeeds on a buffer that is not playing.
    virtual Result stop(BufferId buffer) = 0;
    // A byte offset into the buffer, 0 up to its size.
    virtual Result setPosition(BufferId buffer, int32_t bytes) = 0;
    // 0 (full) down to -10000 (silent).
    virtual Result setVolume(BufferId buffer, int32_t volume) = 0;
    // -10000 (left only) up to 10000 (right only).
    virtual Result setPan(BufferId buffer, int32_t pan) = 0;
    virtual void restore(BufferId buffer) = 0;
};

// The platform over a mixer: the program's one plays through the sound output (see
// AudioOutput::platform); tests give it a mixer of their own to render.
class MixerPlatform : public SoundPlatform {
public:
    explicit MixerPlatform(Mixer &mixer) : mixer_(mixer) {}

    Mixer &mixer() { return mixer_; }

    DeviceId createDevice() override;
    bool claimOutput(DeviceId device, const QObject *window) override;
    void releaseDevice(DeviceId device) override;
    BufferId createBuffer(DeviceId device, const WaveFormat &format, size_t bytes) override;
    Result writeBuffer(BufferId buffer, const uint8_t *data, size_t bytes) override;
    void releaseBuffer(BufferId buffer) override;
    Result play(BufferId buffer) override;
    Result stop(BufferId buffer) override;
    Result setPosition(BufferId buffer, int32_t bytes) override;
    Result setVolume(BufferId buffer, int32_t volume) override;
    Result setPan(BufferId buffer, int32_t pan) override;
    void restore(BufferId buffer) override;

private:
    Mixer &mixer_;
};

} // namespace gk
