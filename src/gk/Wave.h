#pragma once

// RIFF/WAVE files with PCM samples, as the sound library tools read and write them. Failures
// raise gk::Error with a message that names the problem.

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace gk {

struct WaveFormat {
    uint16_t formatTag = 1;
    uint16_t channels = 1;
    uint32_t samplesPerSec = 11025;
    uint32_t avgBytesPerSec = 11025;
    uint16_t blockAlign = 1;
    uint16_t bitsPerSample = 8;
};

struct Wave {
    WaveFormat format;
    QByteArray samples;
};

// Accepts PCM (also when announced as the extensible format with a PCM subformat), 8-bit
// unsigned or 16-bit signed, mono or stereo, any rate; chunks other than "fmt " and "data"
// are skipped. The format tag comes back as 1 either way.
Wave ParseWave(const QByteArray &file);
Wave ReadWaveFile(const QString &path);
// A canonical file: RIFF header, a 16-byte "fmt " chunk and the "data" chunk.
QByteArray MakeWave(const WaveFormat &format, const QByteArray &samples);

} // namespace gk
