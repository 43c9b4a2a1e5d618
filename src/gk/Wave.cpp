#include "gk/Wave.h"

#include "gk/Error.h"
#include "gk/Streams.h"
#include "platform/Bytes.h"

#include <QFile>

#include <algorithm>
#include <limits>

namespace gk {

namespace {

using platform::ByteReader;

constexpr uint16_t FormatPcm = 1;
constexpr uint16_t FormatExtensible = 0xFFFE;

[[noreturn]] void reject(const std::string &why) {
    throw Error("Not a usable WAV file: " + why);
}

// The chunk's body, which the caller has checked is all there.
WaveFormat parseFormat(ByteReader chunk) {
    if (!chunk.has(16))
        reject("the fmt chunk is too short");
    WaveFormat format;
    format.formatTag = chunk.u16();
    format.channels = chunk.u16();
    format.samplesPerSec = chunk.u32();
    format.avgBytesPerSec = chunk.u32();
    format.blockAlign = chunk.u16();
    format.bitsPerSample = chunk.u16();
    if (format.formatTag == FormatExtensible) {
        // Then come the extension's size, valid bits and channel mask, 8 bytes in all, and
        // the subformat GUID, which starts with the plain format tag.
        if (!chunk.has(24))
            reject("the samples are not PCM");
        chunk.skip(8);
        if (chunk.u16() != FormatPcm)
            reject("the samples are not PCM");
        format.formatTag = FormatPcm;
    }
    if (format.formatTag != FormatPcm)
        reject("the samples are not PCM (format tag " + std::to_string(format.formatTag) + ")");
    if (format.channels != 1 && format.channels != 2)
        reject(std::to_string(format.channels) + " channels; only mono and stereo are supported");
    if (format.bitsPerSample != 8 && format.bitsPerSample != 16)
        reject(std::to_string(format.bitsPerSample) +
               "-bit samples; only 8 and 16 bits are supported");
    if (format.samplesPerSec == 0)
        reject("the sample rate is 0");
    if (format.blockAlign != format.channels * format.bitsPerSample / 8)
        reject("the block alignment does not match channels and sample size");
    return format;
}

} // namespace

Wave ParseWave(const QByteArray &file) {
    if (file.size() < 12 || !file.startsWith("RIFF") || file.mid(8, 4) != "WAVE")
        reject("no RIFF/WAVE header");
    // The RIFF size is often wrong in files from the wild; the chunks themselves are trusted
    // only as far as the bytes really present.
    ByteReader in(file);
    in.skip(12);
    bool haveFormat = false;
    bool haveData = false;
    Wave wave;
    while (in.has(8)) {
        const QByteArrayView id = in.bytes(4);
        const uint32_t size = in.u32();
        if (!in.has(size))
            reject("the \"" + id.toByteArray().toStdString() +
                   "\" chunk runs past the end of the file");
        const QByteArrayView body = in.bytes(size);
        if (id == "fmt ") {
            wave.format = parseFormat(ByteReader(body));
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat)
                reject("the data chunk comes before the fmt chunk");
            wave.samples = body.toByteArray();
            haveData = true;
            break;
        }
        // A chunk of odd size is padded to an even one; the last one's pad may be missing.
        in.skip(std::min<size_t>(size & 1, in.remaining()));
    }
    if (!haveFormat)
        reject("no fmt chunk");
    if (!haveData)
        reject("no data chunk");
    if (wave.samples.isEmpty())
        reject("the data chunk is empty");
    return wave;
}

Wave ReadWaveFile(const QString &path) {
    QFile file;
    OpenExactlyForReading(file, path);
    try {
        return ParseWave(file.readAll());
    } catch (const Error &e) {
        throw Error(path.toStdString() + ": " + e.what());
    }
}

QByteArray MakeWave(const WaveFormat &format, const QByteArray &samples) {
    if (qint64(samples.size()) > qint64(std::numeric_limits<uint32_t>::max()) - 37)
        throw Error("Too many samples for a WAV file");
    const uint32_t dataSize = uint32_t(samples.size());
    const uint32_t pad = dataSize & 1;
    platform::ByteWriter file(qsizetype(44 + dataSize + pad));
    file.bytes("RIFF");
    file.u32(4 + 8 + 16 + 8 + dataSize + pad);
    file.bytes("WAVE");
    file.bytes("fmt ");
    file.u32(16);
    file.u16(format.formatTag);
    file.u16(format.channels);
    file.u32(format.samplesPerSec);
    file.u32(format.avgBytesPerSec);
    file.u16(format.blockAlign);
    file.u16(format.bitsPerSample);
    file.bytes("data");
    file.u32(dataSize);
    file.bytes(samples);
    file.fill(pad);
    return file.take();
}

} // namespace gk
