#include "gk/SoundPlatform.h"

#include <QObject>

namespace gk {

namespace {

// Plain PCM whose block alignment matches its frames; the mixer judges the rest (channels,
// sample size and rate) when it makes the buffer.
bool toMixerFormat(const WaveFormat &wave, Format &format) {
    format = Format{wave.channels, static_cast<int>(wave.samplesPerSec), wave.bitsPerSample};
    return wave.formatTag == 1 && wave.blockAlign == format.frameBytes();
}

} // namespace

DeviceId MixerPlatform::createDevice() {
    return mixer_.createDevice();
}

// The mixer shares the one output among all devices; all a device needs is a window.
bool MixerPlatform::claimOutput(DeviceId device, const QObject *window) {
    return device != NoDevice && window != nullptr && window->isWidgetType();
}

void MixerPlatform::releaseDevice(DeviceId device) {
    mixer_.destroyDevice(device);
}

BufferId MixerPlatform::createBuffer(DeviceId device, const WaveFormat &wave, size_t bytes) {
    Format format;
    if (!toMixerFormat(wave, format) || bytes < static_cast<size_t>(format.frameBytes())) {
        return NoBuffer;
    }
    return mixer_.createBuffer(device, format, nullptr, bytes);
}

Result MixerPlatform::writeBuffer(BufferId buffer, const uint8_t *data, size_t bytes) {
    return mixer_.writeBuffer(buffer, data, bytes);
}

void MixerPlatform::releaseBuffer(BufferId buffer) {
    mixer_.destroyBuffer(buffer);
}

Result MixerPlatform::play(BufferId buffer) {
    return mixer_.play(buffer, false);
}

Result MixerPlatform::stop(BufferId buffer) {
    return mixer_.stop(buffer);
}

Result MixerPlatform::setPosition(BufferId buffer, int32_t bytes) {
    if (bytes < 0 || static_cast<size_t>(bytes) > mixer_.sizeBytes(buffer)) {
        return Result::InvalidArgument;
    }
    return mixer_.setPosition(buffer, static_cast<size_t>(bytes));
}

Result MixerPlatform::setVolume(BufferId buffer, int32_t volume) {
    if (volume > 0 || volume < -10000) {
        return Result::InvalidArgument;
    }
    return mixer_.setVolume(buffer, volume);
}

Result MixerPlatform::setPan(BufferId buffer, int32_t pan) {
    if (pan < -10000 || pan > 10000) {
        return Result::InvalidArgument;
    }
    return mixer_.setPan(buffer, pan);
}

void MixerPlatform::restore(BufferId buffer) {
    mixer_.restoreBuffer(buffer);
}

} // namespace gk
