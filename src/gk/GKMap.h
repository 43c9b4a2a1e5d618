#pragma once

// Map libraries in the "ML01" layout: a signature, the index of the last map, then per map a
// 32-byte header and its data. Nothing here interprets a map's data, width or height. The
// only failures are a stream's own and a copy that runs out of memory (gk::Error).

#include "gk/LibraryTable.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QObject>

#include <array>
#include <cstdint>

class QIODevice;

// One map. Of its 32-byte header the first 28 bytes are kept as read (name, width, height and
// size); the last four meant nothing but the data's address in memory and are written as 0.
struct TGKMapEntry {
    static constexpr int HeaderSize = 32;
    static constexpr int KeptBytes = 28;
    static constexpr int NameCapacity = 15;

    std::array<uint8_t, KeptBytes> Header{};
    // Size bytes of map data, or null when Size is 0. In an entry handed out by TGKMaps this
    // points into the library's own block, which dies with its next Clear or read.
    const uint8_t *MapData = nullptr;

    // The length byte as stored, which may claim more than the 15 bytes there are.
    uint8_t NameLength() const { return Header[0]; }
    // The name's characters, the length clipped to the 15 bytes held.
    QByteArray Name() const;
    int32_t Width() const;
    int32_t Height() const;
    int32_t Size() const;

    // Zero-fills the 15 character bytes; more than 15 characters raise gk::Error.
    void SetName(const QByteArray &name);
    void SetWidth(int32_t width);
    void SetHeight(int32_t height);
};

class TGKMaps {
public:
    TGKMaps() = default;
    TGKMaps(const TGKMaps &other);
    TGKMaps &operator=(const TGKMaps &other);
    // Moving keeps every data block where it is, so entries taken before stay valid.
    TGKMaps(TGKMaps &&) noexcept = default;
    TGKMaps &operator=(TGKMaps &&) noexcept = default;
    ~TGKMaps() = default;

    // Replaces the content with the library at the stream's position and leaves the stream
    // just after the last map. The signature is not examined; a negative HighIndex is an
    // empty library. A map size the stream cannot hold, or a negative one, fails with the
    // stream's read error. On failure the library is empty.
    void ReadData(QIODevice &stream);
    // "ML01", HighIndex, then every map; an empty library writes those 8 bytes alone.
    void WriteData(QIODevice &stream) const;
    void Clear();

    // The index of the last map: -1 while empty.
    int32_t HighIndex() const { return int32_t(FTable.size()) - 1; }
    int32_t Count() const { return int32_t(FTable.size()); }
    bool HasData() const { return !FTable.empty(); }
    // A copy whose MapData refers to this library's block. index must lie in 0 .. HighIndex().
    TGKMapEntry GetEntry(int index) const;

    // Deep copies: every map of the target gets a data block of its own, and its name up to 15
    // characters (a length byte above 15 becomes 15, the bytes after the name 0).
    void AssignTo(TGKMaps &dest) const;
    void Assign(const TGKMaps &source) { source.AssignTo(*this); }

    // The value of the "MapLib" binary property: the bytes WriteData writes. Only a library
    // with HasData() is stored.
    QByteArray ToBlock() const;
    void FromBlock(const QByteArray &block);

    // For tools that make libraries: appends a map; the library copies `data` and sets the
    // entry's Size from it.
    void Add(const TGKMapEntry &header, QByteArrayView data);

private:
    using Table = gk::LibraryTable<TGKMapEntry, &TGKMapEntry::MapData>;
    Table FTable;
};

// The component a window holds: one owned map library.
class TGKMapLib : public QObject {
    Q_OBJECT
    Q_PROPERTY(QByteArray MapLib READ MapLibBlock WRITE SetMapLibBlock)

public:
    explicit TGKMapLib(QObject *parent = nullptr);

    TGKMaps &MapLib() { return FMapLib; }
    const TGKMaps &MapLib() const { return FMapLib; }
    // Copies, so that no library object is ever owned by two components.
    void SetMapLib(const TGKMaps &maps) { FMapLib.Assign(maps); }

    // The "MapLib" property as a window stores it: the library's block, and an empty array for
    // an empty library, which is never stored. Setting it reads the block (an empty one
    // empties the library).
    QByteArray MapLibBlock() const;
    void SetMapLibBlock(const QByteArray &block);

private:
    TGKMaps FMapLib;
};
