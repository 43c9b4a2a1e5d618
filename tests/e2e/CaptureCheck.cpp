// Looks at what the program sent to the sound card, captured by SDL's "disk" driver as raw
// 44,100 Hz interleaved stereo int16:
//
//   capture_check silence CAPTURE
//       at least a second of output, every sample zero;
//   capture_check sound CAPTURE LIBRARY INDEX...
//       the output holds the sounds INDEX... of the library one after another, each as the
//       mixer plays it alone: the first from the output's first audible frame on, each next one
//       from the first audible frame after the one before has ended. The correlation with each
//       must reach 0.99.
//
// Exits 0 when the capture is as expected, 1 with a reason on standard error otherwise.

#include "gk/Error.h"
#include "gk/Mixer.h"
#include "gk/gkslib.h"
#include "platform/Bytes.h"

#include <QFile>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

int failed(const std::string &why) {
    std::fprintf(stderr, "capture_check: %s\n", why.c_str());
    return 1;
}

std::vector<int16_t> readCapture(const char *path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw gk::Error(std::string("cannot read ") + path);
    const QByteArray bytes = file.readAll();
    platform::ByteReader in(bytes);
    std::vector<int16_t> samples(in.remaining() / 2);
    for (int16_t &sample : samples)
        sample = static_cast<int16_t>(in.u16());
    return samples;
}

// The sound as the program's mixer plays it with nothing else playing.
std::vector<int16_t> renderAlone(const TGKSoundEntry &entry) {
    gk::Mixer mixer;
    const gk::DeviceId device = mixer.createDevice();
    const gk::Format format{entry.Channels(), static_cast<int>(entry.SamplesPerSec()),
                            entry.BitsPerSample()};
    const gk::BufferId buffer =
        mixer.createBuffer(device, format, entry.Data, static_cast<size_t>(entry.Size()));
    if (buffer == gk::NoBuffer)
        throw gk::Error("the mixer does not take the sound's format");
    mixer.setPan(buffer, entry.Pan());
    mixer.setVolume(buffer, entry.Volume());
    mixer.play(buffer);
    const size_t frames = static_cast<size_t>(entry.Size()) / entry.BlockAlign() *
                              gk::Mixer::OutputRate / entry.SamplesPerSec() +
                          1;
    std::vector<int16_t> out(frames * 2);
    mixer.render(out.data(), static_cast<int>(frames));
    return out;
}

std::optional<size_t> firstAudibleFrame(const std::vector<int16_t> &samples, size_t from = 0) {
    for (size_t i = 2 * from; i < samples.size(); ++i) {
        if (samples[i] != 0)
            return i / 2;
    }
    return std::nullopt;
}

int checkSilence(const std::vector<int16_t> &capture) {
    if (capture.size() < 2 * gk::Mixer::OutputRate)
        return failed("less than a second of output: the sound device did not run");
    if (const auto frame = firstAudibleFrame(capture))
        return failed("sound at " + std::to_string(*frame) + " frames");
    std::printf("capture_check: %zu frames of silence\n", capture.size() / 2);
    return 0;
}

// Checks that `entry` is heard at the first audible frame from frame `from` on. The frame
// after the sound's end when it is; none, with the reason told, when it is not.
std::optional<size_t> heardAfter(const std::vector<int16_t> &capture, size_t from,
                                 const TGKSoundEntry &entry) {
    const std::vector<int16_t> expected = renderAlone(entry);
    const auto heard = firstAudibleFrame(capture, from);
    const auto starts = firstAudibleFrame(expected);
    if (!heard) {
        failed("nothing is heard from frame " + std::to_string(from) + " on");
        return std::nullopt;
    }
    if (!starts) {
        failed("the sound itself is silent");
        return std::nullopt;
    }
    double dot = 0, heardEnergy = 0, expectedEnergy = 0;
    size_t compared = 0;
    for (size_t e = 2 * *starts, c = 2 * *heard; e < expected.size() && c < capture.size();
         ++e, ++c, ++compared) {
        dot += double(expected[e]) * capture[c];
        heardEnergy += double(capture[c]) * capture[c];
        expectedEnergy += double(expected[e]) * expected[e];
    }
    if (compared < expected.size() / 2) {
        failed("the capture ends before the sound does");
        return std::nullopt;
    }
    const double correlation = dot / std::sqrt(heardEnergy * expectedEnergy);
    std::printf("capture_check: \"%s\" heard at frame %zu, correlation %.4f over %zu frames\n",
                entry.Name().constData(), *heard, correlation, compared / 2);
    if (correlation < 0.99) {
        failed("the output is not the sound");
        return std::nullopt;
    }
    return *heard + compared / 2;
}

} // namespace

int main(int argc, char **argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    try {
        if (mode == "silence" && argc == 3)
            return checkSilence(readCapture(argv[2]));
        if (mode == "sound" && argc >= 5) {
            TGKSounds library;
            library.LoadFromFile(QString::fromLocal8Bit(argv[3]));
            const std::vector<int16_t> capture = readCapture(argv[2]);
            size_t from = 0;
            for (int arg = 4; arg < argc; ++arg) {
                const int index = std::atoi(argv[arg]);
                if (index < 0 || index >= library.Count())
                    return failed("no sound " + std::string(argv[arg]) + " in the library");
                const auto end = heardAfter(capture, from, library.GetEntry(index));
                if (!end)
                    return 1;
                from = *end;
            }
            return 0;
        }
    } catch (const std::exception &e) {
        return failed(e.what());
    }
    std::fprintf(stderr, "usage: capture_check silence CAPTURE\n"
                         "       capture_check sound CAPTURE LIBRARY INDEX...\n");
    return 2;
}
