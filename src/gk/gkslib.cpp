#include "gk/gkslib.h"

#include "gk/Error.h"
#include "gk/Streams.h"

#include <QFile>

#include <algorithm>
#include <limits>
#include <new>

namespace {

// The library's head: the signature and the count of sounds.
constexpr int HeadSize = 8;

// The table is sized as 48 bytes per entry (the 44 header bytes and a 4-byte data address),
// which is the figure its limit and the copy failure message have always been given in.
constexpr int64_t EntryBytes = 48;
// Blocks from a stream whose length is unknown grow by this much, so that a lying Size costs
// no more memory than the bytes that actually arrive.
constexpr int64_t GrowStep = 1 << 20;

// Bytes left from the position, or -1 when the device cannot tell.
int64_t remaining(const QIODevice &stream) {
    if (stream.isSequential())
        return -1;
    return std::max<int64_t>(0, stream.size() - stream.pos());
}

void readExact(QIODevice &stream, uint8_t *to, int64_t count) {
    while (count > 0) {
        const qint64 got = stream.read(reinterpret_cast<char *>(to), count);
        if (got > 0) {
            to += got;
            count -= got;
            continue;
        }
        // A pipe or socket may simply not have delivered yet.
        if (got == 0 && stream.isSequential() && stream.waitForReadyRead(30000))
            continue;
        throw gk::Error(gk::StreamReadError);
    }
}

std::vector<uint8_t> readBlock(QIODevice &stream, int32_t size) {
    if (size <= 0)
        throw gk::Error("TGKSounds: GemMem Failed for Sound.Data");
    const int64_t left = remaining(stream);
    if (left >= 0 && left < size)
        throw gk::Error(gk::StreamReadError);
    std::vector<uint8_t> block;
    int64_t filled = 0;
    while (filled < size) {
        const int64_t step = left >= 0 ? size : std::min<int64_t>(size - filled, GrowStep);
        try {
            block.resize(std::size_t(filled + step));
        } catch (const std::bad_alloc &) {
            throw gk::Error("TGKSounds: GemMem Failed for Sound.Data");
        }
        readExact(stream, block.data() + filled, step);
        filled += step;
    }
    return block;
}

} // namespace

QByteArray TGKSoundEntry::Name() const {
    return platform::ByteReader(Header.data() + NameAt, 1 + NameCapacity).shortString(NameCapacity);
}

void TGKSoundEntry::SetName(const QByteArray &name) {
    if (name.size() > NameCapacity)
        throw gk::Error("Sound name \"" + name.toStdString() + "\" is longer than 11 characters");
    platform::ByteWriter field(1 + NameCapacity);
    field.shortString(name, NameCapacity);
    std::copy(field.block().begin(), field.block().end(), Header.begin() + NameAt);
}

TGKSounds::TGKSounds(const TGKSounds &other) {
    other.AssignTo(*this);
}

TGKSounds &TGKSounds::operator=(const TGKSounds &other) {
    other.AssignTo(*this);
    return *this;
}

void TGKSounds::Clear() {
    std::vector<TGKSoundEntry>().swap(FSounds);
    std::vector<std::vector<uint8_t>>().swap(FData);
    FCount = 0;
}

void TGKSounds::ReadData(QIODevice &stream) {
    Clear();
    std::array<uint8_t, HeadSize> headBytes{};
    readExact(stream, headBytes.data(), headBytes.size());
    platform::ByteReader head(headBytes.data(), headBytes.size());
    Signature signature{};
    head.read(signature.data(), signature.size());
    const int32_t count = head.i32();
    if (!gk::SignatureMatches(signature.data(), "SL10"))
        throw gk::Error("Not a valid Sound Library File");
    if (count <= 0 || count > std::numeric_limits<int32_t>::max() / EntryBytes)
        throw gk::Error("TGKSounds: GemMem Failed for FSounds");

    // The table grows as headers arrive instead of being sized from Count up front: Count
    // comes from the file, and only what the stream really holds may cost memory.
    std::vector<TGKSoundEntry> sounds;
    std::vector<std::vector<uint8_t>> data;
    const int64_t left = remaining(stream);
    const int64_t expected =
        left >= 0 ? std::min<int64_t>(count, left / TGKSoundEntry::HeaderSize + 1) : 64;
    try {
        sounds.reserve(std::size_t(std::min<int64_t>(count, expected)));
        data.reserve(sounds.capacity());
    } catch (const std::bad_alloc &) {
        throw gk::Error("TGKSounds: GemMem Failed for FSounds");
    }
    for (int32_t i = 0; i < count; ++i) {
        TGKSoundEntry entry;
        readExact(stream, entry.Header.data(), TGKSoundEntry::HeaderSize);
        data.push_back(readBlock(stream, entry.Size()));
        entry.Data = data.back().data();
        sounds.push_back(entry);
    }
    FSignature = signature;
    FSounds = std::move(sounds);
    FData = std::move(data);
    FCount = count;
}

void TGKSounds::WriteData(QIODevice &stream) const {
    platform::ByteWriter head(HeadSize);
    head.bytes(QByteArrayView(FSignature.data(), qsizetype(FSignature.size())));
    head.i32(FCount);
    gk::WriteAll(stream, head.block());
    for (const TGKSoundEntry &entry : FSounds) {
        gk::WriteAll(stream, QByteArrayView(entry.Header.data(), qsizetype(entry.Header.size())));
        gk::WriteAll(stream, QByteArrayView(entry.Data, entry.Size()));
    }
}

void TGKSounds::LoadFromFile(const QString &name) {
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        throw gk::Error("Cannot open file \"" + name.toStdString() + "\". " +
                        file.errorString().toStdString());
    ReadData(file);
}

TGKSoundEntry TGKSounds::GetEntry(int index) const {
    Q_ASSERT(index >= 0 && index < FCount);
    return FSounds[std::size_t(index)];
}

void TGKSounds::AssignTo(TGKSounds &dest) const {
    if (&dest == this)
        return;
    dest.Clear();
    if (FCount == 0)
        return;
    std::vector<TGKSoundEntry> sounds;
    std::vector<std::vector<uint8_t>> data;
    try {
        sounds.resize(std::size_t(FCount));
        data.resize(std::size_t(FCount));
    } catch (const std::bad_alloc &) {
        throw gk::Error("TGKSounds.AssignTo failed (GetMem): " +
                        std::to_string(int64_t(FCount) * EntryBytes));
    }
    for (std::size_t i = 0; i < sounds.size(); ++i) {
        sounds[i].Header = FSounds[i].Header;
        try {
            data[i] = FData[i];
        } catch (const std::bad_alloc &) {
            throw gk::Error("TGKSounds.AssignTo failed");
        }
        sounds[i].Data = data[i].data();
    }
    dest.FSignature = FSignature;
    dest.FSounds = std::move(sounds);
    dest.FData = std::move(data);
    dest.FCount = FCount;
}

QByteArray TGKSounds::ToBlock() const {
    return gk::BlockOf(*this);
}

void TGKSounds::FromBlock(const QByteArray &block) {
    gk::ReadBlock(*this, block);
}

void TGKSounds::Add(const TGKSoundEntry &header, const QByteArray &data) {
    if (data.isEmpty() || data.size() > std::numeric_limits<int32_t>::max())
        throw gk::Error("A sound needs between 1 and 2147483647 bytes of data");
    if (FCount == std::numeric_limits<int32_t>::max() / EntryBytes)
        throw gk::Error("TGKSounds: GemMem Failed for FSounds");
    if (FCount == 0)
        FSignature = {'S', 'L', '1', '0'};
    FData.emplace_back(data.begin(), data.end());
    TGKSoundEntry entry = header;
    entry.SetSize(int32_t(data.size()));
    entry.Data = FData.back().data();
    FSounds.push_back(entry);
    ++FCount;
}

TGKSoundLib::TGKSoundLib(QObject *parent) : QObject(parent) {}

void TGKSoundLib::LoadFromFile(const QString &name) {
    FFileName.clear();
    FSounds.LoadFromFile(name);
    FFileName = name;
}

void TGKSoundLib::Reload() {
    if (FFileName.isEmpty())
        throw gk::Error("LoadFromFile must be called first");
    const QString name = FFileName;
    LoadFromFile(name);
}
