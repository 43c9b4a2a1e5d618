#include "gk/GKSnd.h"
#include "gk/Error.h"
#include "gk/Mixer.h"
#include "support/Render.h"

#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <vector>

using gk::Result;

namespace {

// A sound platform over a mixer of the test's own that refuses the operations a test names
// and notes the buffers it makes and releases.
class ScriptedPlatform : public gk::MixerPlatform {
public:
    enum Op { CreateDevice, ClaimOutput, CreateBuffer, WriteBuffer, Play, Stop, SetPosition };

    explicit ScriptedPlatform(gk::Mixer &mixer) : MixerPlatform(mixer) {}

    std::set<Op> refused;
    int buffersBeforeRefusal = -1; // with CreateBuffer refused: how many it makes first
    std::vector<gk::BufferId> made;
    std::vector<gk::BufferId> released;
    std::vector<gk::DeviceId> releasedDevices;

    gk::DeviceId createDevice() override {
        return refused.count(CreateDevice) ? gk::NoDevice : MixerPlatform::createDevice();
    }
    bool claimOutput(gk::DeviceId device, const QObject *window) override {
        return !refused.count(ClaimOutput) && MixerPlatform::claimOutput(device, window);
    }
    void releaseDevice(gk::DeviceId device) override {
        releasedDevices.push_back(device);
        MixerPlatform::releaseDevice(device);
    }
    gk::BufferId createBuffer(gk::DeviceId device, const gk::WaveFormat &format,
                              size_t bytes) override {
        if (refused.count(CreateBuffer) && buffersBeforeRefusal-- <= 0)
            return gk::NoBuffer;
        const gk::BufferId id = MixerPlatform::createBuffer(device, format, bytes);
        made.push_back(id);
        return id;
    }
    Result writeBuffer(gk::BufferId buffer, const uint8_t *data, size_t bytes) override {
        return refused.count(WriteBuffer) ? Result::BufferLost
                                          : MixerPlatform::writeBuffer(buffer, data, bytes);
    }
    void releaseBuffer(gk::BufferId buffer) override {
        released.push_back(buffer);
        MixerPlatform::releaseBuffer(buffer);
    }
    Result play(gk::BufferId buffer) override {
        return refused.count(Play) ? Result::InvalidBuffer : MixerPlatform::play(buffer);
    }
    Result stop(gk::BufferId buffer) override {
        return refused.count(Stop) ? Result::InvalidBuffer : MixerPlatform::stop(buffer);
    }
    Result setPosition(gk::BufferId buffer, int32_t bytes) override {
        return refused.count(SetPosition) ? Result::InvalidBuffer
                                          : MixerPlatform::setPosition(buffer, bytes);
    }
};

// 16-bit mono at the output rate: rendered samples come out as they went in.
TGKSoundEntry monoHeader(const QByteArray &name, int32_t pan = 0, int32_t volume = 0) {
    TGKSoundEntry e;
    e.SetFormatTag(1);
    e.SetChannels(1);
    e.SetSamplesPerSec(44100);
    e.SetAvgBytesPerSec(88200);
    e.SetBlockAlign(2);
    e.SetBitsPerSample(16);
    e.SetName(name);
    e.SetPan(pan);
    e.SetVolume(volume);
    return e;
}

// Sample i of the sound is base + i, so a rendered value tells which sound and which frame.
QByteArray ramp(int16_t base, int frames) {
    QByteArray bytes;
    for (int i = 0; i < frames; ++i) {
        const auto s = static_cast<uint16_t>(base + i);
        bytes.append(char(s & 0xFF));
        bytes.append(char(s >> 8));
    }
    return bytes;
}

constexpr int Frames = 1000;

// Three sounds: the first panned a little right, the second quieter, the third plain.
TGKSounds threeSounds() {
    TGKSounds sounds;
    sounds.Add(monoHeader("one", 1000), ramp(1000, Frames));
    sounds.Add(monoHeader("two", 0, -600), ramp(5000, Frames));
    sounds.Add(monoHeader("three"), ramp(9000, Frames));
    return sounds;
}

struct Audio : ::testing::Test {
    gk::Mixer mixer;
    ScriptedPlatform platform{mixer};
    QWidget window;
    TGKSoundLib *library = new TGKSoundLib(&window);

    Audio() { library->SetSounds(threeSounds()); }

    TGKAudio *makeAudio(TGKSoundLib *bound) {
        auto *audio = new TGKAudio(&window, &platform);
        audio->SetSoundLibrary(bound);
        return audio;
    }
};

void expectFails(const std::function<void()> &call, const char *message) {
    try {
        call();
        ADD_FAILURE() << "expected \"" << message << "\"";
    } catch (const gk::Error &e) {
        EXPECT_STREQ(e.what(), message);
    }
}

} // namespace

TEST_F(Audio, SoundNeedsBuffersFromABoundLibrary) {
    const char *const NoLibrary = "A library must be assigned to SoundLibrary";
    TGKAudio *unbound = makeAudio(nullptr);
    unbound->Initialize();
    expectFails([&] { unbound->Sound(0); }, NoLibrary);

    TGKAudio *notLoaded = makeAudio(library);
    expectFails([&] { notLoaded->Sound(0); }, NoLibrary);

    auto *emptyLibrary = new TGKSoundLib(&window);
    TGKAudio *empty = makeAudio(emptyLibrary);
    empty->Initialize();
    EXPECT_EQ(empty->BufferCount(), 0);
    expectFails([&] { empty->Sound(0); }, NoLibrary);

    // Binding a library to an open device makes its buffers at once; unbinding frees them.
    unbound->SetSoundLibrary(library);
    EXPECT_EQ(unbound->BufferCount(), 3);
    EXPECT_NO_THROW(unbound->Sound(2).Replay());
    unbound->SetSoundLibrary(nullptr);
    expectFails([&] { unbound->Sound(2); }, NoLibrary);
    EXPECT_EQ(render(mixer, 1), (std::vector<int16_t>{0, 0})) << "freed buffers fall silent";

    // An index beyond the library is refused rather than read past the buffers.
    notLoaded->Initialize();
    expectFails([&] { notLoaded->Sound(3); }, "There is no sound 3 in the sound library");
    expectFails([&] { notLoaded->Sound(-1); }, "There is no sound -1 in the sound library");
}

TEST_F(Audio, InitializeMakesABufferPerSoundWithItsPanAndVolume) {
    TGKAudio *audio = makeAudio(library);
    std::vector<TGKAudio *> initialized;
    audio->OnInitialize = [&](TGKAudio *sender) {
        EXPECT_EQ(sender->BufferCount(), 3) << "fired after the buffers are made";
        initialized.push_back(sender);
    };
    audio->Initialize();
    EXPECT_EQ(initialized, std::vector<TGKAudio *>{audio});

    ASSERT_EQ(audio->BufferCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(audio->Sound(i).Size(), Frames * 2);
        EXPECT_EQ(audio->Sound(i).Channels(), 1);
        EXPECT_EQ(audio->Sound(i).BitsPerSample(), 16);
    }
    EXPECT_EQ(mixer.pan(audio->Sound(0).Buffer()), 1000);
    EXPECT_EQ(mixer.volume(audio->Sound(1).Buffer()), -600);
    EXPECT_EQ(mixer.pan(audio->Sound(2).Buffer()), 0);
    EXPECT_EQ(mixer.volume(audio->Sound(2).Buffer()), 0);

    audio->Sound(2).Play();
    EXPECT_EQ(render(mixer, 2), (std::vector<int16_t>{9000, 9000, 9001, 9001}));

    // Later rebinding or rebuilding never fires OnInitialize again.
    audio->SetSoundLibrary(library);
    audio->RestoreAll(nullptr);
    EXPECT_EQ(initialized.size(), 1u);
}

TEST_F(Audio, ReplayRestartsAPlayingSoundAndPlayDoesNot) {
    TGKAudio *audio = makeAudio(library);
    audio->Initialize();
    audio->Sound(2).Play();
    render(mixer, 100);
    audio->Sound(2).Play();
    EXPECT_EQ(render(mixer, 1)[0], 9100) << "Play goes on from where the sound is";
    audio->Sound(2).Replay();
    EXPECT_EQ(render(mixer, 1)[0], 9000) << "Replay starts it again";

    // Stop keeps the place, also when the sound already stands still.
    audio->Sound(2).Stop();
    EXPECT_EQ(render(mixer, 1)[0], 0);
    EXPECT_NO_THROW(audio->Sound(2).Stop());
    EXPECT_NO_THROW(audio->Sound(0).Stop()) << "stopping a sound that never played succeeds";
    audio->Sound(2).Play();
    EXPECT_EQ(render(mixer, 1)[0], 9001);

    audio->Sound(2).SetPosition(Frames * 2 - 2);
    EXPECT_EQ(render(mixer, 2)[2], 0) << "the last frame, then the sound has ended";
    EXPECT_FALSE(mixer.isPlaying(audio->Sound(2).Buffer()));
}

TEST_F(Audio, ComponentsShareALibraryFromTheStoredLayout) {
    std::vector<TGKAudio *> components;
    for (int i = 0; i < 5; ++i) {
        components.push_back(makeAudio(library));
        components.back()->Initialize();
    }
    EXPECT_EQ(library->Count(), 3) << "the layout's library keeps its data";
    for (TGKAudio *audio : components)
        audio->Sound(1).Play();
    // Five voices of -600 (about half amplitude) each: all five are heard together.
    const int16_t mixed = render(mixer, 1)[0];
    EXPECT_NEAR(mixed, 5 * 5000 * 0.501, 5);
}

TEST_F(Audio, ALibraryFromAFileIsReleasedToTheFirstComponentAndReloadedOnRestore) {
    QTemporaryDir dir;
    const QString path = dir.filePath("sounds.sdl");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        threeSounds().WriteData(file);
    }
    auto *fromFile = new TGKSoundLib(&window);
    fromFile->LoadFromFile(path);

    TGKAudio *first = makeAudio(fromFile);
    first->Initialize();
    EXPECT_EQ(first->BufferCount(), 3);
    EXPECT_EQ(fromFile->Count(), 0) << "the buffers hold the samples; the library lets go";

    TGKAudio *second = makeAudio(fromFile);
    second->Initialize();
    expectFails([&] { second->Sound(0); }, "A library must be assigned to SoundLibrary");

    // A lost buffer sends the first component back to the file for every sound.
    ASSERT_EQ(mixer.loseBuffer(first->Sound(1).Buffer()), Result::Ok);
    first->Sound(1).Play();
    ASSERT_EQ(first->BufferCount(), 3);
    EXPECT_EQ(fromFile->Count(), 0) << "released again after the rebuild";
    first->Sound(1).Replay();
    EXPECT_NEAR(render(mixer, 1)[0], 5000 * 0.501, 2);
}

TEST_F(Audio, PlayOnALostBufferRebuildsThemAllAndStaysSilentThisOnce) {
    TGKAudio *audio = makeAudio(library);
    audio->Initialize();
    std::vector<gk::BufferId> before;
    for (int i = 0; i < 3; ++i)
        before.push_back(audio->Sound(i).Buffer());
    audio->Sound(0).Play();
    render(mixer, 10);

    ASSERT_EQ(mixer.loseBuffer(audio->Sound(2).Buffer()), Result::Ok);
    audio->Sound(2).Replay();
    EXPECT_EQ(render(mixer, 1), (std::vector<int16_t>{0, 0}))
        << "the call that met the loss plays nothing, and the rebuild stopped the others";
    EXPECT_EQ(platform.released, before) << "every old buffer released, in index order";
    ASSERT_EQ(audio->BufferCount(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(std::count(before.begin(), before.end(), audio->Sound(i).Buffer()), 0);
    EXPECT_EQ(mixer.pan(audio->Sound(0).Buffer()), 1000) << "rebuilt with the library's pan";

    audio->Sound(2).Replay();
    EXPECT_EQ(render(mixer, 1)[0], 9000) << "the next call plays the new buffer";
}

TEST_F(Audio, ALibraryThatGoesAwayLeavesTheBuffersPlaying) {
    TGKAudio *audio = makeAudio(library);
    audio->Initialize();
    audio->Sound(2).Play();
    delete library;
    EXPECT_EQ(audio->SoundLibrary(), nullptr);
    EXPECT_EQ(audio->BufferCount(), 3);
    EXPECT_EQ(render(mixer, 1)[0], 9000);

    // With no library to rebuild from, a lost buffer leaves the component without buffers.
    ASSERT_EQ(mixer.loseBuffer(audio->Sound(0).Buffer()), Result::Ok);
    audio->Sound(0).Play();
    EXPECT_EQ(audio->BufferCount(), 0);
    expectFails([&] { audio->Sound(0); }, "A library must be assigned to SoundLibrary");
}

TEST_F(Audio, EachPlatformRefusalHasItsOwnMessage) {
    using Op = ScriptedPlatform::Op;
    const auto failingInit = [&](Op op, const char *message) {
        platform.refused = {op};
        TGKAudio *audio = makeAudio(library);
        expectFails([&] { audio->Initialize(); }, message);
        platform.refused.clear();
        delete audio;
    };
    failingInit(Op::CreateDevice, "Failed to Create DirectSound");
    failingInit(Op::ClaimOutput, "Failed to set directsound copoperative level");
    failingInit(Op::CreateBuffer, "CreateSoundBuffer Failed");
    failingInit(Op::WriteBuffer, "DirectSoundSurface Lock Failed");

    // A component that belongs to no window has no output to claim.
    TGKAudio windowless(nullptr, &platform);
    expectFails([&] { windowless.Initialize(); }, "Failed to set directsound copoperative level");

    TGKAudio *audio = makeAudio(library);
    audio->Initialize();
    TGKSoundBuffer &sound = audio->Sound(1);
    expectFails([&] { sound.SetVolume(1); }, "SetVolume Failed");
    expectFails([&] { sound.SetVolume(-10001); }, "SetVolume Failed");
    expectFails([&] { sound.SetPan(10001); }, "SetPan Failed");
    expectFails([&] { sound.SetPosition(-1); }, "SetPosition Failed");
    expectFails([&] { sound.SetPosition(Frames * 2 + 1); }, "SetPosition Failed");
    EXPECT_NO_THROW(sound.SetPosition(Frames * 2));
    EXPECT_NO_THROW(sound.SetVolume(-10000));
    EXPECT_NO_THROW(sound.SetPan(-10000));
    platform.refused = {Op::Play};
    expectFails([&] { sound.Play(); }, "Play Failed");
    platform.refused = {Op::Stop};
    expectFails([&] { sound.Stop(); }, "Stop Failed");
    expectFails([&] { sound.Replay(); }, "Stop Failed");
    platform.refused = {Op::SetPosition};
    expectFails([&] { sound.Replay(); }, "SetPosition Failed");

    // A sound in a format no buffer takes is refused by the platform, not played as noise.
    TGKSounds odd;
    TGKSoundEntry compressed = monoHeader("adpcm");
    compressed.SetFormatTag(2);
    odd.Add(compressed, ramp(0, 10));
    platform.refused.clear();
    auto *oddLibrary = new TGKSoundLib(&window);
    oddLibrary->SetSounds(odd);
    expectFails([&] { audio->SetSoundLibrary(oddLibrary); }, "CreateSoundBuffer Failed");
}

TEST_F(Audio, AFailurePartWayReleasesExactlyTheBuffersMade) {
    platform.refused = {ScriptedPlatform::CreateBuffer};
    platform.buffersBeforeRefusal = 2;
    auto audio = std::make_unique<TGKAudio>(&window, &platform);
    audio->SetSoundLibrary(library);
    expectFails([&] { audio->Initialize(); }, "CreateSoundBuffer Failed");
    ASSERT_EQ(platform.made.size(), 2u);
    EXPECT_NO_THROW(audio->Sound(1).Replay());
    expectFails([&] { audio->Sound(2); }, "There is no sound 2 in the sound library");

    // A platform that cannot even stop does not make destruction fail.
    platform.refused = {ScriptedPlatform::Stop};
    const gk::DeviceId device = mixer.createDevice() - 1; // the component's own, made last
    audio.reset();
    EXPECT_EQ(platform.released, platform.made);
    EXPECT_EQ(platform.releasedDevices, std::vector<gk::DeviceId>{device});
}

TEST_F(Audio, ALockFailureReleasesTheBufferItMade) {
    platform.refused = {ScriptedPlatform::WriteBuffer};
    TGKAudio *audio = makeAudio(library);
    expectFails([&] { audio->Initialize(); }, "DirectSoundSurface Lock Failed");
    ASSERT_EQ(platform.made.size(), 1u);
    EXPECT_EQ(platform.released, platform.made);
    EXPECT_EQ(mixer.sizeBytes(platform.made[0]), 0u) << "the mixer no longer knows it";
    delete audio;
    EXPECT_EQ(platform.released.size(), 1u) << "not released a second time";
}

TEST_F(Audio, InitializingAgainStartsAfresh) {
    TGKAudio *audio = makeAudio(library);
    audio->Initialize();
    const auto firstBuffers = platform.made;
    audio->Initialize();
    EXPECT_EQ(platform.released, firstBuffers);
    EXPECT_EQ(platform.releasedDevices.size(), 1u);
    EXPECT_EQ(audio->BufferCount(), 3);
}
