#include "gk/gkslib.h"

#include "gk/Error.h"
#include "gk/Streams.h"
#include "platform/Bytes.h"

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

const char *const NoTable = "TGKSounds: GemMem Failed for FSounds";
const char *const NoData = "TGKSounds: GemMem Failed for Sound.Data";

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

int32_t TGKSounds::Count() const {
    return int32_t(FTable.size());
}

void TGKSounds::Clear() {
    FTable.clear();
}

void TGKSounds::ReadData(QIODevice &stream) {
    Clear();
    platform::DeviceReader in(stream);
    Signature signature{};
    Table table;
    try {
        const QByteArray head = in.take(HeadSize);
        platform::ByteReader fields(head);
        fields.read(signature.data(), signature.size());
        const int32_t count = fields.i32();
        if (!gk::SignatureMatches(signature.data(), "SL10"))
            throw gk::Error("Not a valid Sound Library File");
        if (count <= 0 || count > std::numeric_limits<int32_t>::max() / EntryBytes)
            throw gk::Error(NoTable);
        // Unlike the image reader's, the count is not weighed against the stream's length up
        // front: each sound's size is judged as it arrives, before the stream runs short, so a
        // bad size is named as such.
        table.readEntries(in, count, NoTable, NoData, [](const TGKSoundEntry &entry) {
            if (entry.Size() <= 0)
                throw gk::Error(NoData);
            return std::size_t(entry.Size());
        });
    } catch (const platform::ShortBlock &) {
        throw gk::Error(gk::StreamReadError);
    }
    FSignature = signature;
    FTable = std::move(table);
}

void TGKSounds::WriteData(QIODevice &stream) const {
    platform::ByteWriter head(HeadSize);
    head.bytes(QByteArrayView(FSignature.data(), qsizetype(FSignature.size())));
    head.i32(Count());
    gk::WriteAll(stream, head.block());
    for (const TGKSoundEntry &entry : FTable) {
        gk::WriteAll(stream, QByteArrayView(entry.Header.data(), qsizetype(entry.Header.size())));
        gk::WriteAll(stream, QByteArrayView(entry.Data, entry.Size()));
    }
}

void TGKSounds::LoadFromFile(const QString &name) {
    QFile file;
    gk::OpenForReading(file, name);
    ReadData(file);
}

TGKSoundEntry TGKSounds::GetEntry(int index) const {
    Q_ASSERT(index >= 0 && index < Count());
    return FTable[std::size_t(index)];
}

void TGKSounds::AssignTo(TGKSounds &dest) const {
    if (&dest == this)
        return;
    dest.Clear();
    if (Count() == 0)
        return;
    Table copy = FTable.copy("TGKSounds.AssignTo failed (GetMem): " +
                                 std::to_string(int64_t(Count()) * EntryBytes),
                             "TGKSounds.AssignTo failed");
    dest.FSignature = FSignature;
    dest.FTable = std::move(copy);
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
    if (Count() == std::numeric_limits<int32_t>::max() / EntryBytes)
        throw gk::Error(NoTable);
    if (Count() == 0)
        FSignature = {'S', 'L', '1', '0'};
    TGKSoundEntry entry = header;
    entry.SetSize(int32_t(data.size()));
    FTable.push(entry, std::vector<uint8_t>(data.begin(), data.end()));
}

TGKSoundLib::TGKSoundLib(QObject *parent) : QObject(parent) {}
