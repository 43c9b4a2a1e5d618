#include "gk/GKMap.h"

#include "gk/Error.h"
#include "gk/Streams.h"
#include "platform/Bytes.h"

#include <algorithm>
#include <limits>
#include <new>
#include <string>

namespace {

using platform::LoadU32;
using platform::StoreU32;

} // namespace

QByteArray TGKMapEntry::Name() const {
    return platform::LoadShortString(Header.data(), NameCapacity);
}

int32_t TGKMapEntry::Width() const {
    return int32_t(LoadU32(Header.data() + 16));
}

int32_t TGKMapEntry::Height() const {
    return int32_t(LoadU32(Header.data() + 20));
}

int32_t TGKMapEntry::Size() const {
    return int32_t(LoadU32(Header.data() + 24));
}

void TGKMapEntry::SetName(const QByteArray &name) {
    if (name.size() > NameCapacity)
        throw gk::Error("Map name \"" + name.toStdString() + "\" is longer than 15 characters");
    platform::StoreShortString(Header.data(), NameCapacity, name);
}

void TGKMapEntry::SetWidth(int32_t width) {
    StoreU32(Header.data() + 16, uint32_t(width));
}

void TGKMapEntry::SetHeight(int32_t height) {
    StoreU32(Header.data() + 20, uint32_t(height));
}

TGKMaps::TGKMaps(const TGKMaps &other) {
    other.AssignTo(*this);
}

TGKMaps &TGKMaps::operator=(const TGKMaps &other) {
    other.AssignTo(*this);
    return *this;
}

void TGKMaps::Clear() {
    FTable.clear();
}

void TGKMaps::ReadData(QIODevice &stream) {
    Clear();
    platform::DeviceReader in(stream);
    Table table;
    try {
        const QByteArray head = in.take(8);
        platform::ByteReader fields(head);
        fields.skip(4); // the signature, which nothing has ever checked
        const int32_t highIndex = fields.i32();
        if (highIndex < 0)
            return;
        const int64_t maps = int64_t(highIndex) + 1;
        if (!in.mayHold(uint64_t(maps) * TGKMapEntry::HeaderSize))
            throw platform::ShortBlock();
        table.reserveAhead(maps);
        for (int64_t i = 0; i < maps; ++i) {
            std::array<uint8_t, TGKMapEntry::HeaderSize> header{};
            in.read(header.data(), header.size());
            TGKMapEntry entry;
            std::copy_n(header.begin(), TGKMapEntry::KeptBytes, entry.Header.begin());
            if (entry.Size() < 0)
                throw platform::ShortBlock();
            std::vector<uint8_t> data;
            try {
                data = in.block(std::size_t(entry.Size()));
            } catch (const std::bad_alloc &) {
                throw gk::Error("Not enough memory for a map of " + std::to_string(entry.Size()) +
                                " bytes");
            }
            table.push(entry, std::move(data));
        }
    } catch (const platform::ShortBlock &) {
        throw gk::Error(gk::StreamReadError);
    }
    FTable = std::move(table);
}

void TGKMaps::WriteData(QIODevice &stream) const {
    platform::ByteWriter head(8);
    head.bytes("ML01");
    head.i32(HighIndex());
    gk::WriteAll(stream, head.block());
    for (const TGKMapEntry &entry : FTable) {
        std::array<uint8_t, TGKMapEntry::HeaderSize> header{};
        std::copy(entry.Header.begin(), entry.Header.end(), header.begin());
        gk::WriteAll(stream, QByteArrayView(header.data(), header.size()));
        gk::WriteAll(stream, QByteArrayView(entry.MapData, entry.Size()));
    }
}

TGKMapEntry TGKMaps::GetEntry(int index) const {
    Q_ASSERT(index >= 0 && index <= HighIndex());
    return FTable[std::size_t(index)];
}

void TGKMaps::AssignTo(TGKMaps &dest) const {
    if (&dest == this)
        return;
    dest.Clear();
    if (HighIndex() < 0)
        return;
    // A name is copied as a name: at most 15 characters, the bytes after it zero, whatever the
    // length byte claimed and whatever lay behind the name in the source's header.
    dest.FTable =
        FTable.copy("TGKMaps.AssignTo failed (GetMem)", "TGKMaps.AssignTo failed (GetMem)",
                    [](TGKMapEntry &entry) { entry.SetName(entry.Name()); });
}

QByteArray TGKMaps::ToBlock() const {
    return gk::BlockOf(*this);
}

void TGKMaps::FromBlock(const QByteArray &block) {
    gk::ReadBlock(*this, block);
}

void TGKMaps::Add(const TGKMapEntry &header, QByteArrayView data) {
    if (data.size() > std::numeric_limits<int32_t>::max() ||
        Count() == std::numeric_limits<int32_t>::max())
        throw gk::Error("A map library holds at most 2147483647 maps of 2147483647 bytes each");
    TGKMapEntry entry = header;
    StoreU32(entry.Header.data() + 24, uint32_t(data.size()));
    FTable.push(entry, std::vector<uint8_t>(data.begin(), data.end()));
}

TGKMapLib::TGKMapLib(QObject *parent) : QObject(parent) {}

QByteArray TGKMapLib::MapLibBlock() const {
    return FMapLib.HasData() ? FMapLib.ToBlock() : QByteArray();
}

void TGKMapLib::SetMapLibBlock(const QByteArray &block) {
    if (block.isEmpty())
        FMapLib.Clear();
    else
        FMapLib.FromBlock(block);
}
