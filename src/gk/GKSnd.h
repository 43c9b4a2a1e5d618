#pragma once

// A window's sound device and the buffers it makes from a sound library, one per sound.
// All failures raise gk::Error with the message the callers know them by.

#include "gk/SoundPlatform.h"
#include "gk/gkslib.h"
#include "toolkit/Loading.h"

#include <QObject>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace gk {

// A component that starts its window's audio components itself, later than when the window
// has loaded: the display, which starts them when the window is activated.
class StartsWindowAudio {
public:
    virtual ~StartsWindowAudio() = default;
};

} // namespace gk

// One sound, held in a static buffer of its device.
class TGKSoundBuffer {
public:
    // Makes the buffer and fills it with `size` bytes of `data` in the given format.
    TGKSoundBuffer(gk::SoundPlatform &platform, gk::DeviceId device, const gk::WaveFormat &format,
                   int32_t size, const uint8_t *data);
    // Stops and releases the buffer; never fails.
    ~TGKSoundBuffer();
    TGKSoundBuffer(const TGKSoundBuffer &) = delete;
    TGKSoundBuffer &operator=(const TGKSoundBuffer &) = delete;

    // One pass from the current position. A buffer whose memory was lost is restored instead
    // and stays silent this once; its OnRestore may destroy it, so nothing of it may be
    // touched after this call.
    void Play();
    // Keeps the position; succeeds on a sound that is not playing.
    void Stop();
    // From the beginning, whether or not it was playing.
    void Replay();
    void SetVolume(int32_t value);    // attenuation in hundredths of a dB: 0 full, -10000 silent
    void SetPan(int32_t value);       // -10000 left .. 10000 right
    void SetPosition(int32_t offset); // in bytes of the sound's own format
    // Restores the platform's buffer, then calls OnRestore.
    void Restore();

    int32_t Size() const { return FSize; }
    int32_t Channels() const { return FChannels; }
    int32_t BitsPerSample() const { return FBitsPerSample; }
    // The platform's buffer, for looking at what plays.
    gk::BufferId Buffer() const { return FBuffer; }

    std::function<void(TGKSoundBuffer *sender)> OnRestore;

private:
    gk::SoundPlatform &platform_;
    gk::BufferId FBuffer = gk::NoBuffer;
    int32_t FSize = 0;
    int32_t FChannels = 0;
    int32_t FBitsPerSample = 0;
};

// The component through which a window plays sounds: its own device, and a buffer for every
// sound of the bound library. It opens the device when its window has finished loading, unless
// the window holds a component that starts it (gk::StartsWindowAudio).
class TGKAudio : public QObject, public toolkit::LoadNotified {
    Q_OBJECT
    Q_PROPERTY(TGKSoundLib *SoundLibrary READ SoundLibrary WRITE SetSoundLibrary)

public:
    // The owner is the window the sounds belong to. Without a platform the component plays
    // through the program's sound output.
    explicit TGKAudio(QObject *owner, gk::SoundPlatform *platform = nullptr);
    ~TGKAudio() override;

    // The buffer of sound `index`; fetch it anew for every call, because a lost buffer makes
    // the component replace them all.
    TGKSoundBuffer &Sound(int index) const;

    TGKSoundLib *SoundLibrary() const { return FSoundLibrary; }
    // Drops the buffers of the old library and, once the device is open, makes the new
    // library's at once. The component also lets go of a library that is destroyed, keeping
    // the buffers it made from it.
    void SetSoundLibrary(TGKSoundLib *library);

    // Opens the device and makes the buffers; then calls OnInitialize when a library is bound.
    void Initialize();
    void Loaded() override;

    void CreateBuffers();
    void FreeBuffers();
    // Rebuilds every buffer, reloading the library's file first when it was released.
    void RestoreAll(TGKSoundBuffer *sender);

    // The library's count when the buffers were made; 0 without buffers.
    int32_t BufferCount() const { return static_cast<int32_t>(Buffers.size()); }
    bool DeviceOpen() const { return DirectSound != gk::NoDevice; }

    std::function<void(TGKAudio *sender)> OnInitialize;

private:
    void releaseDevice();

    gk::SoundPlatform *platform_ = nullptr;
    gk::DeviceId DirectSound = gk::NoDevice;
    QPointer<TGKSoundLib> FSoundLibrary;
    // Entry i holds sound i once made; after a failure part-way the rest stay empty.
    std::vector<std::unique_ptr<TGKSoundBuffer>> Buffers;
};
