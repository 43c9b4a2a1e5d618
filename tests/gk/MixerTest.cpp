#include "gk/Mixer.h"
#include "gk/AudioOutput.h"
#include "support/Render.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

using gk::Format;
using gk::Mixer;
using gk::Result;

namespace {

std::vector<uint8_t> pcm16(const std::vector<int16_t> &samples) {
    std::vector<uint8_t> bytes;
    for (int16_t s : samples) {
        const auto u = static_cast<uint16_t>(s);
        bytes.push_back(static_cast<uint8_t>(u & 0xFF));
        bytes.push_back(static_cast<uint8_t>(u >> 8));
    }
    return bytes;
}

gk::BufferId constant16(Mixer &mixer, gk::DeviceId device, int16_t value, int frames) {
    const auto bytes = pcm16(std::vector<int16_t>(frames, value));
    return mixer.createBuffer(device, Format{1, 44100, 16}, bytes.data(), bytes.size());
}

// 16-bit mono at the output rate whose sample i is i, so a rendered value tells the frame.
gk::BufferId ramp16(Mixer &mixer, gk::DeviceId device, int frames) {
    std::vector<int16_t> samples(frames);
    for (int i = 0; i < frames; ++i) {
        samples[i] = static_cast<int16_t>(i);
    }
    const auto bytes = pcm16(samples);
    return mixer.createBuffer(device, Format{1, 44100, 16}, bytes.data(), bytes.size());
}

} // namespace

TEST(Mixer, OneShotPlaysOnceThenStopsAndRewinds) {
    Mixer mixer;
    const auto dev = mixer.createDevice();
    const auto buf = constant16(mixer, dev, 1000, 100);
    ASSERT_NE(buf, gk::NoBuffer);

    EXPECT_EQ(render(mixer, 10), std::vector<int16_t>(20, 0)) << "nothing plays before play()";
    ASSERT_EQ(mixer.play(buf), Result::Ok);
    EXPECT_TRUE(mixer.isPlaying(buf));
    const auto out = render(mixer, 150);
    for (int i = 0; i < 150; ++i) {
        const int16_t expected = i < 100 ? 1000 : 0;
        ASSERT_EQ(out[2 * i], expected) << i;
        ASSERT_EQ(out[2 * i + 1], expected) << i;
    }
    EXPECT_FALSE(mixer.isPlaying(buf));
    EXPECT_EQ(mixer.position(buf), 0u);
    EXPECT_EQ(render(mixer, 100), std::vector<int16_t>(200, 0));

    // Looping wraps instead of stopping.
    ASSERT_EQ(mixer.play(buf, true), Result::Ok);
    const auto looped = render(mixer, 250);
    EXPECT_EQ(looped[2 * 120], 1000);
    EXPECT_EQ(looped[2 * 249], 1000);
    EXPECT_TRUE(mixer.isPlaying(buf));
    EXPECT_EQ(mixer.position(buf), 50u * 2);
}

TEST(Mixer, ReplayStopAndResume) {
    Mixer mixer;
    const auto dev = mixer.createDevice();
    const auto buf = ramp16(mixer, dev, 2000);
    ASSERT_EQ(mixer.play(buf), Result::Ok);
    render(mixer, 100);
    EXPECT_EQ(mixer.position(buf), 200u);

    // Playing a playing sound leaves it where it is.
    ASSERT_EQ(mixer.play(buf), Result::Ok);
    EXPECT_EQ(render(mixer, 1)[0], 100);

    // The replay idiom restarts it.
    mixer.stop(buf);
    mixer.setPosition(buf, 0);
    mixer.play(buf);
    EXPECT_EQ(render(mixer, 1)[0], 0);

    // Stop keeps the position; play continues from it, across render's internal blocks.
    render(mixer, 599);
    ASSERT_EQ(mixer.stop(buf), Result::Ok);
    EXPECT_FALSE(mixer.isPlaying(buf));
    EXPECT_EQ(render(mixer, 50), std::vector<int16_t>(100, 0));
    EXPECT_EQ(mixer.position(buf), 1200u);
    mixer.play(buf);
    const auto out = render(mixer, 1000);
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(out[2 * i], 600 + i) << i;
    }
}

TEST(Mixer, VolumeAndPan) {
    Mixer mixer;
    const auto dev = mixer.createDevice();
    const auto buf = constant16(mixer, dev, 10000, 4000);
    auto frame = [&] {
        mixer.stop(buf);
        mixer.setPosition(buf, 100);
        mixer.play(buf);
        const auto out = render(mixer, 1);
        return std::pair<int, int>(out[0], out[1]);
    };

    mixer.setPan(buf, -10000);
    EXPECT_EQ(frame(), std::make_pair(10000, 0));
    mixer.setPan(buf, 10000);
    EXPECT_EQ(frame(), std::make_pair(0, 10000));
    mixer.setPan(buf, -600);
    auto [l, r] = frame();
    EXPECT_EQ(l, 10000);
    EXPECT_NEAR(r, 5012, 1);
    mixer.setPan(buf, 0);
    EXPECT_EQ(frame(), std::make_pair(10000, 10000));

    ASSERT_EQ(mixer.setVolume(buf, -600), Result::Ok);
    std::tie(l, r) = frame();
    EXPECT_NEAR(l, 5012, 1);
    EXPECT_NEAR(r, 5012, 1);
    mixer.setVolume(buf, -600);
    mixer.setPan(buf, 600);
    std::tie(l, r) = frame();
    EXPECT_NEAR(l, 2512, 1) << "volume and pan attenuations multiply";
    EXPECT_NEAR(r, 5012, 1);
    mixer.setPan(buf, 0);

    mixer.setVolume(buf, -10000);
    EXPECT_EQ(frame(), std::make_pair(0, 0));
    mixer.setVolume(buf, -20000);
    EXPECT_EQ(mixer.volume(buf), -10000);
    mixer.setVolume(buf, 500);
    EXPECT_EQ(mixer.volume(buf), 0);
    mixer.setPan(buf, -30000);
    EXPECT_EQ(mixer.pan(buf), -10000);
}

TEST(Mixer, DevicesSumAndSaturate) {
    Mixer mixer;
    const auto a = mixer.createDevice();
    const auto b = mixer.createDevice();
    const auto quiet = constant16(mixer, a, 1000, 100);
    const auto other = constant16(mixer, b, 2000, 100);
    mixer.play(quiet);
    mixer.play(other);
    EXPECT_EQ(render(mixer, 1), (std::vector<int16_t>{3000, 3000}));

    const auto loud1 = constant16(mixer, a, 30000, 100);
    const auto loud2 = constant16(mixer, b, 30000, 100);
    const auto neg1 = constant16(mixer, a, -30000, 100);
    const auto neg2 = constant16(mixer, b, -30000, 100);
    mixer.stop(quiet);
    mixer.stop(other);
    mixer.play(loud1);
    mixer.play(loud2);
    mixer.setPan(loud1, 10000);
    mixer.setPan(loud2, 10000);
    mixer.play(neg1);
    mixer.play(neg2);
    mixer.setPan(neg1, -10000);
    mixer.setPan(neg2, -10000);
    EXPECT_EQ(render(mixer, 1), (std::vector<int16_t>{-32768, 32767}));

    // Destroying a device silences and drops its buffers only.
    mixer.destroyDevice(b);
    EXPECT_EQ(render(mixer, 1), (std::vector<int16_t>{-30000, 30000}));
    EXPECT_EQ(mixer.play(other), Result::InvalidBuffer);
    EXPECT_EQ(mixer.play(loud1), Result::Ok);
    EXPECT_EQ(constant16(mixer, b, 1, 10), gk::NoBuffer);
}

TEST(Mixer, ConversionOfFormats) {
    Mixer mixer;
    const auto dev = mixer.createDevice();

    std::vector<uint8_t> silence(1000, 0x80);
    const auto quiet = mixer.createBuffer(dev, Format{1, 11025, 8}, silence.data(), silence.size());
    mixer.play(quiet);
    EXPECT_EQ(render(mixer, 400), std::vector<int16_t>(800, 0));

    const std::vector<uint8_t> extremes(100, 0x00);
    const auto low = mixer.createBuffer(dev, Format{1, 44100, 8}, extremes.data(), 100);
    mixer.play(low);
    EXPECT_EQ(render(mixer, 1), (std::vector<int16_t>{-32768, -32768}));
    mixer.stop(low);

    // 16-bit stereo keeps left and right apart and reads little-endian.
    const auto lr = pcm16({1234, -4321});
    const auto stereo = mixer.createBuffer(dev, Format{2, 44100, 16}, lr.data(), lr.size());
    mixer.play(stereo);
    EXPECT_EQ(render(mixer, 1), (std::vector<int16_t>{1234, -4321}));

    // A 441 Hz sine at 22,050 Hz must keep its pitch: 882 zero crossings a second.
    const int rate = 22050;
    std::vector<int16_t> sine(rate);
    for (int i = 0; i < rate; ++i) {
        sine[i] =
            static_cast<int16_t>(std::lround(20000 * std::sin(2 * M_PI * 441 * (i + 0.25) / rate)));
    }
    const auto bytes = pcm16(sine);
    const auto tone = mixer.createBuffer(dev, Format{1, rate, 16}, bytes.data(), bytes.size());
    mixer.play(tone);
    const auto out = render(mixer, 44100);
    int crossings = 0;
    double peak = 0;
    for (int i = 1; i < 44100; ++i) {
        crossings += (out[2 * i - 2] < 0) != (out[2 * i] < 0);
        peak = std::max(peak, std::abs(static_cast<double>(out[2 * i])));
        ASSERT_EQ(out[2 * i], out[2 * i + 1]) << "mono goes to both sides";
    }
    EXPECT_NEAR(crossings, 882, 2);
    EXPECT_GT(peak, 19000);
    EXPECT_FALSE(mixer.isPlaying(tone)) << "one second of input lasts one second";

    EXPECT_EQ(mixer.createBuffer(dev, Format{3, 22050, 8}, silence.data(), 10), gk::NoBuffer);
    EXPECT_EQ(mixer.createBuffer(dev, Format{1, 22050, 12}, silence.data(), 10), gk::NoBuffer);
    EXPECT_EQ(mixer.createBuffer(dev, Format{1, 200000, 8}, silence.data(), 10), gk::NoBuffer);
}

TEST(Mixer, PositionsInOriginalBytes) {
    Mixer mixer;
    const auto dev = mixer.createDevice();

    // 8-bit mono 11,025 Hz: byte i holds i % 256, one source frame is four output frames.
    std::vector<uint8_t> bytes8(11025);
    for (size_t i = 0; i < bytes8.size(); ++i) {
        bytes8[i] = static_cast<uint8_t>(i % 256);
    }
    const auto b8 = mixer.createBuffer(dev, Format{1, 11025, 8}, bytes8.data(), bytes8.size());
    EXPECT_EQ(mixer.sizeBytes(b8), 11025u);
    ASSERT_EQ(mixer.setPosition(b8, 300), Result::Ok);
    EXPECT_EQ(mixer.position(b8), 300u);
    mixer.play(b8);
    EXPECT_EQ(render(mixer, 1)[0], (300 % 256 - 128) * 256);
    render(mixer, 3);
    EXPECT_EQ(mixer.position(b8), 301u);
    mixer.stop(b8);
    mixer.setPosition(b8, 1u << 30);
    EXPECT_EQ(mixer.position(b8), 11025u);

    // 16-bit stereo 22,050 Hz: frame i is (10 i, -10 i), four bytes a frame.
    std::vector<int16_t> samples;
    for (int i = 0; i < 3000; ++i) {
        samples.push_back(static_cast<int16_t>(10 * i));
        samples.push_back(static_cast<int16_t>(-10 * i));
    }
    const auto bytes16 = pcm16(samples);
    const auto b16 = mixer.createBuffer(dev, Format{2, 22050, 16}, bytes16.data(), bytes16.size());
    mixer.setPosition(b16, 1234 * 4 + 3);
    EXPECT_EQ(mixer.position(b16), 1234u * 4) << "rounded down to a whole frame";
    mixer.play(b16);
    auto out = render(mixer, 2);
    EXPECT_EQ(out[0], 12340);
    EXPECT_EQ(out[1], -12340);
    EXPECT_EQ(out[2], 12345) << "halfway between frames 1234 and 1235";
    EXPECT_EQ(mixer.position(b16), 1235u * 4);
}

TEST(Mixer, BufferMadeSilentIsFilledByWriting) {
    Mixer mixer;
    const auto dev = mixer.createDevice();
    const auto buf = mixer.createBuffer(dev, Format{1, 44100, 16}, nullptr, 200);
    ASSERT_NE(buf, gk::NoBuffer);
    EXPECT_EQ(mixer.sizeBytes(buf), 200u);
    mixer.play(buf);
    EXPECT_EQ(render(mixer, 3), std::vector<int16_t>(6, 0)) << "a new buffer holds silence";

    // Longer data is cut to the buffer; shorter data leaves silence after it.
    const auto long16 = pcm16(std::vector<int16_t>(150, 500));
    ASSERT_EQ(mixer.writeBuffer(buf, long16.data(), long16.size()), Result::Ok);
    EXPECT_EQ(mixer.sizeBytes(buf), 200u);
    EXPECT_TRUE(mixer.isPlaying(buf)) << "writing keeps the buffer playing where it was";
    EXPECT_EQ(mixer.position(buf), 3u * 2);
    auto out = render(mixer, 200);
    EXPECT_EQ(out[0], 500);
    EXPECT_EQ(out[2 * 96], 500) << "the last frame of the buffer";
    EXPECT_EQ(out[2 * 97], 0) << "the buffer ended at its own length";

    const auto short16 = pcm16(std::vector<int16_t>(10, -300));
    ASSERT_EQ(mixer.writeBuffer(buf, short16.data(), short16.size()), Result::Ok);
    mixer.play(buf);
    out = render(mixer, 12);
    EXPECT_EQ(out[2 * 9], -300);
    EXPECT_EQ(out[2 * 11], 0);
    EXPECT_EQ(mixer.writeBuffer(9999, short16.data(), short16.size()), Result::InvalidBuffer);
}

TEST(Mixer, LostBufferRefusesPlayUntilRestored) {
    Mixer mixer;
    const auto dev = mixer.createDevice();
    const auto buf = constant16(mixer, dev, 777, 1000);
    mixer.play(buf);
    render(mixer, 10);

    ASSERT_EQ(mixer.loseBuffer(buf), Result::Ok);
    EXPECT_TRUE(mixer.isLost(buf));
    EXPECT_FALSE(mixer.isPlaying(buf));
    EXPECT_EQ(render(mixer, 5), std::vector<int16_t>(10, 0));
    EXPECT_EQ(mixer.play(buf), Result::BufferLost);
    const auto refill = pcm16(std::vector<int16_t>(1000, 777));
    EXPECT_EQ(mixer.writeBuffer(buf, refill.data(), refill.size()), Result::BufferLost);
    EXPECT_EQ(render(mixer, 5), std::vector<int16_t>(10, 0));
    // Rewinding needs no sample memory, so a replay can get as far as play() and learn there.
    EXPECT_EQ(mixer.setPosition(buf, 0), Result::Ok);

    ASSERT_EQ(mixer.restoreBuffer(buf), Result::Ok);
    EXPECT_EQ(mixer.play(buf), Result::Ok);
    EXPECT_EQ(render(mixer, 1), (std::vector<int16_t>{777, 777}));

    const gk::BufferId bogus = 9999;
    EXPECT_EQ(mixer.play(bogus), Result::InvalidBuffer);
    EXPECT_EQ(mixer.loseBuffer(bogus), Result::InvalidBuffer);
    EXPECT_EQ(mixer.destroyBuffer(buf), Result::Ok);
    EXPECT_EQ(mixer.destroyBuffer(buf), Result::InvalidBuffer);
}

TEST(Mixer, DuplicateOutlivesItsSource) {
    Mixer mixer;
    const auto dev = mixer.createDevice();
    const auto src = ramp16(mixer, dev, 500);
    mixer.setVolume(src, -10000);
    const auto dup = mixer.duplicateBuffer(src);
    ASSERT_NE(dup, gk::NoBuffer);
    EXPECT_EQ(mixer.volume(dup), -10000);
    mixer.setVolume(dup, 0);
    mixer.setPosition(dup, 2 * 50);
    mixer.play(dup);
    mixer.destroyBuffer(src);
    EXPECT_EQ(render(mixer, 1)[0], 50);
}

// The UI thread creates, plays and destroys buffers while a callback thread renders; run
// under the sanitizer build, this catches data races and use after free.
TEST(Mixer, UiCallsWhileRendering) {
    Mixer mixer;
    std::atomic<bool> done{false};
    std::atomic<int> passes{0};
    std::thread callback([&] {
        std::vector<int16_t> out(2 * 256);
        while (!done) {
            mixer.render(out.data(), 256);
            ++passes;
        }
    });
    while (passes == 0) {
        std::this_thread::yield();
    }
    // Enough rounds that many render passes overlap the UI calls.
    const int startPasses = passes;
    for (int round = 0; round < 5 || passes - startPasses < 200; ++round) {
        const auto dev = mixer.createDevice();
        std::vector<gk::BufferId> live;
        for (int i = 0; i < 100; ++i) {
            live.push_back(constant16(mixer, dev, static_cast<int16_t>(i), 300 + i));
            mixer.play(live.back(), i % 3 == 0);
            mixer.setPan(live.back(), (i % 21 - 10) * 1000);
            mixer.setPosition(live.back(), i);
            if (live.size() > 20) {
                mixer.destroyBuffer(live.front());
                live.erase(live.begin());
            }
        }
        mixer.destroyDevice(dev);
        EXPECT_EQ(mixer.play(live.back()), Result::InvalidBuffer);
    }
    done = true;
    callback.join();
}

TEST(AudioOutput, CallbackAdvancesPlaybackInRealTime) {
    auto &output = gk::AudioOutput::instance();
    EXPECT_EQ(&output, &gk::AudioOutput::instance());
    ASSERT_GT(output.bufferFrames(), 0);
    EXPECT_LE(output.bufferFrames(), 1024);

    Mixer &mixer = output.mixer();
    const auto dev = mixer.createDevice();
    const auto buf = constant16(mixer, dev, 100, 44100 * 5);
    ASSERT_EQ(mixer.play(buf), Result::Ok);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    // Two bytes a frame: at least 100 ms of sound must have gone by.
    EXPECT_GE(mixer.position(buf), 2u * 4410);
    EXPECT_TRUE(mixer.isPlaying(buf));
    mixer.destroyDevice(dev);
}
