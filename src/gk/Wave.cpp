#include "gk/Wave.h"

#include "gk/Error.h"

#include <QFile>

#include <limits>

namespace gk {

namespace {

constexpr uint16_t FormatPcm = 1;
constexpr uint16_t FormatExtensible = 0xFFFE;

uint16_t u16(const QByteArray &bytes, qsizetype at) {
    return uint16_t(uint8_t(bytes[at]) | uint8_t(bytes[at + 1]) << 8);
}

uint32_t u32(const QByteArray &bytes, qsizetype at) {
    return uint32_t(u16(bytes, at)) | uint32_t(u16(bytes, at + 2)) << 16;
}

void put16(QByteArray &bytes, uint16_t v) {
    bytes.append(char(v & 0xFF));
    bytes.append(char(v >> 8));
}

void put32(QByteArray &bytes, uint32_t v) {
    put16(bytes, uint16_t(v));
    put16(bytes, uint16_t(v >> 16));
}

[[noreturn]] void reject(const std::string &why) {
    throw Error("Not a usable WAV file: " + why);
}

WaveFormat parseFormat(const QByteArray &file, qsizetype at, uint32_t size) {
    if (size < 16)
        reject("the fmt chunk is too short");
    WaveFormat format;
    format.formatTag = u16(file, at);
    format.channels = u16(file, at + 2);
    format.samplesPerSec = u32(file, at + 4);
    format.avgBytesPerSec = u32(file, at + 8);
    format.blockAlign = u16(file, at + 12);
    format.bitsPerSample = u16(file, at + 14);
    if (format.formatTag == FormatExtensible) {
        // The subformat GUID starts with the plain format tag.
        if (size < 40 || u16(file, at + 24) != FormatPcm)
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
    qsizetype at = 12;
    bool haveFormat = false;
    bool haveData = false;
    Wave wave;
    while (at + 8 <= file.size()) {
        const QByteArray id = file.mid(at, 4);
        const uint32_t size = u32(file, at + 4);
        const qsizetype body = at + 8;
        if (qint64(size) > qint64(file.size() - body))
            reject("the \"" + id.toStdString() + "\" chunk runs past the end of the file");
        if (id == "fmt ") {
            wave.format = parseFormat(file, body, size);
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat)
                reject("the data chunk comes before the fmt chunk");
            wave.samples = file.mid(body, qsizetype(size));
            haveData = true;
            break;
        }
        at = body + qsizetype(size) + (size & 1);
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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error("Cannot open file \"" + path.toStdString() + "\". " +
                    file.errorString().toStdString());
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
    QByteArray file;
    file.reserve(qsizetype(44 + dataSize + pad));
    file.append("RIFF");
    put32(file, 4 + 8 + 16 + 8 + dataSize + pad);
    file.append("WAVE");
    file.append("fmt ");
    put32(file, 16);
    put16(file, format.formatTag);
    put16(file, format.channels);
    put32(file, format.samplesPerSec);
    put32(file, format.avgBytesPerSec);
    put16(file, format.blockAlign);
    put16(file, format.bitsPerSample);
    file.append("data");
    put32(file, dataSize);
    file.append(samples);
    if (pad)
        file.append('\0');
    return file;
}

} // namespace gk
