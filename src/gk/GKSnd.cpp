#include "gk/GKSnd.h"

#include "gk/AudioOutput.h"
#include "gk/Error.h"

#include <QWidget>

#include <new>
#include <string>

using gk::Error;
using gk::Result;

TGKSoundBuffer::TGKSoundBuffer(gk::SoundPlatform &platform, gk::DeviceId device,
                               const gk::WaveFormat &format, int32_t size, const uint8_t *data)
    : platform_(platform) {
    const size_t bytes = size > 0 ? static_cast<size_t>(size) : 0;
    FBuffer = platform_.createBuffer(device, format, bytes);
    if (FBuffer == gk::NoBuffer)
        throw Error("CreateSoundBuffer Failed");
    if (platform_.writeBuffer(FBuffer, data, bytes) != Result::Ok) {
        platform_.releaseBuffer(FBuffer);
        FBuffer = gk::NoBuffer;
        throw Error("DirectSoundSurface Lock Failed");
    }
    FSize = size;
    FChannels = format.channels;
    FBitsPerSample = format.bitsPerSample;
}

TGKSoundBuffer::~TGKSoundBuffer() {
    // Stopping can fail only for a buffer the platform no longer knows; it goes either way.
    platform_.stop(FBuffer);
    platform_.releaseBuffer(FBuffer);
}

void TGKSoundBuffer::Play() {
    switch (platform_.play(FBuffer)) {
    case Result::Ok:
        return;
    case Result::BufferLost:
        Restore();
        return;
    default:
        throw Error("Play Failed");
    }
}

void TGKSoundBuffer::Stop() {
    if (platform_.stop(FBuffer) != Result::Ok)
        throw Error("Stop Failed");
}

void TGKSoundBuffer::Replay() {
    Stop();
    SetPosition(0);
    Play();
}

void TGKSoundBuffer::SetVolume(int32_t value) {
    if (platform_.setVolume(FBuffer, value) != Result::Ok)
        throw Error("SetVolume Failed");
}

void TGKSoundBuffer::SetPan(int32_t value) {
    if (platform_.setPan(FBuffer, value) != Result::Ok)
        throw Error("SetPan Failed");
}

void TGKSoundBuffer::SetPosition(int32_t offset) {
    if (platform_.setPosition(FBuffer, offset) != Result::Ok)
        throw Error("SetPosition Failed");
}

void TGKSoundBuffer::Restore() {
    platform_.restore(FBuffer);
    // The handler may destroy this buffer, its members included: call a copy of it.
    if (const auto onRestore = OnRestore)
        onRestore(this);
}

TGKAudio::TGKAudio(QObject *owner, gk::SoundPlatform *platform)
    : QObject(owner), platform_(platform) {}

TGKAudio::~TGKAudio() {
    FreeBuffers();
    releaseDevice();
}

TGKSoundBuffer &TGKAudio::Sound(int index) const {
    if (Buffers.empty())
        throw Error("A library must be assigned to SoundLibrary");
    if (index < 0 || index >= BufferCount() || !Buffers[static_cast<size_t>(index)])
        throw Error("There is no sound " + std::to_string(index) + " in the sound library");
    return *Buffers[static_cast<size_t>(index)];
}

void TGKAudio::SetSoundLibrary(TGKSoundLib *library) {
    FreeBuffers();
    FSoundLibrary = library;
    if (DeviceOpen())
        CreateBuffers();
}

void TGKAudio::Loaded() {
    if (const QObject *window = parent()) {
        for (const QObject *component : window->children())
            if (dynamic_cast<const gk::StartsWindowAudio *>(component))
                return;
    }
    Initialize();
}

void TGKAudio::Initialize() {
    // A second run (a window that initialises on every activation) starts afresh.
    FreeBuffers();
    releaseDevice();

    if (!platform_)
        platform_ = &gk::AudioOutput::instance().platform();
    DirectSound = platform_->createDevice();
    if (DirectSound == gk::NoDevice)
        throw Error("Failed to Create DirectSound");
    const QWidget *widget = qobject_cast<const QWidget *>(parent());
    if (!platform_->claimOutput(DirectSound, widget ? widget->window() : nullptr))
        throw Error("Failed to set directsound copoperative level");

    if (FSoundLibrary) {
        CreateBuffers();
        if (OnInitialize)
            OnInitialize(this);
    }
}

void TGKAudio::CreateBuffers() {
    if (!FSoundLibrary || FSoundLibrary->Count() == 0)
        return;
    const TGKSounds &sounds = FSoundLibrary->Sounds();
    const int32_t count = sounds.Count();
    try {
        Buffers.resize(static_cast<size_t>(count));
    } catch (const std::bad_alloc &) {
        throw Error("Failed to allocate memory for Sound Buffers");
    }
    for (int i = 0; i < count; ++i) {
        const TGKSoundEntry entry = sounds.GetEntry(i);
        auto buffer = std::make_unique<TGKSoundBuffer>(*platform_, DirectSound, entry.Format(),
                                                       entry.Size(), entry.Data);
        TGKSoundBuffer &made = *buffer;
        Buffers[static_cast<size_t>(i)] = std::move(buffer);
        made.SetPan(entry.Pan());
        made.SetVolume(entry.Volume());
        made.OnRestore = [this](TGKSoundBuffer *sender) { RestoreAll(sender); };
    }
    // The buffers hold the samples now; a library that can read its file again lets go of
    // its copy.
    if (FSoundLibrary->HasFileName())
        FSoundLibrary->Sounds().Clear();
}

void TGKAudio::FreeBuffers() {
    for (auto &buffer : Buffers)
        buffer.reset();
    Buffers.clear();
    Buffers.shrink_to_fit();
}

void TGKAudio::RestoreAll(TGKSoundBuffer *) {
    FreeBuffers();
    if (FSoundLibrary && FSoundLibrary->HasFileName())
        FSoundLibrary->Reload();
    CreateBuffers();
}

void TGKAudio::releaseDevice() {
    if (DirectSound != gk::NoDevice) {
        platform_->releaseDevice(DirectSound);
        DirectSound = gk::NoDevice;
    }
}
