#pragma once

// Sound libraries in the "SL10" layout: a signature, a count, then per sound a 44-byte header
// and its sample bytes. All failures raise gk::Error.

#include "gk/FileBackedLibrary.h"
#include "gk/LibraryTable.h"
#include "gk/Wave.h"
#include "platform/Bytes.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <array>
#include <cstdint>

class QIODevice;

// One sound. The header bytes are kept exactly as read, reserved bytes and the bytes past the
// name's length included, so that writing a library back reproduces it.
struct TGKSoundEntry {
    static constexpr int HeaderSize = 44;
    static constexpr int NameCapacity = 11;
    // The name is a short string: a length byte at this offset, then its 11 characters.
    static constexpr int NameAt = 20;

    std::array<uint8_t, HeaderSize> Header{};
    // The sample bytes. In an entry handed out by TGKSounds this points into the library's
    // own block, which stays owned by the library and dies with its next Clear or read.
    const uint8_t *Data = nullptr;

    uint16_t FormatTag() const { return u16(0); }
    uint16_t Channels() const { return u16(2); }
    uint32_t SamplesPerSec() const { return u32(4); }
    uint32_t AvgBytesPerSec() const { return u32(8); }
    uint16_t BlockAlign() const { return u16(12); }
    uint16_t BitsPerSample() const { return u16(14); }
    uint16_t CbSize() const { return u16(16); }
    uint16_t Reserved() const { return u16(18); }
    // The wave format fields above, as a WAVE file or a sound buffer takes them.
    gk::WaveFormat Format() const {
        return {FormatTag(),      Channels(),   SamplesPerSec(),
                AvgBytesPerSec(), BlockAlign(), BitsPerSample()};
    }
    // The length byte as stored, which may claim more than the 11 bytes there are.
    uint8_t NameLength() const { return Header[NameAt]; }
    // The name's characters, the length clipped to the 11 bytes held.
    QByteArray Name() const;
    int32_t Pan() const { return int32_t(u32(32)); }
    int32_t Volume() const { return int32_t(u32(36)); }
    int32_t Size() const { return int32_t(u32(40)); }

    void SetFormatTag(uint16_t v) { setU16(0, v); }
    void SetChannels(uint16_t v) { setU16(2, v); }
    void SetSamplesPerSec(uint32_t v) { setU32(4, v); }
    void SetAvgBytesPerSec(uint32_t v) { setU32(8, v); }
    void SetBlockAlign(uint16_t v) { setU16(12, v); }
    void SetBitsPerSample(uint16_t v) { setU16(14, v); }
    void SetCbSize(uint16_t v) { setU16(16, v); }
    // Zero-fills the 11 character bytes; more than 11 characters raise gk::Error.
    void SetName(const QByteArray &name);
    void SetPan(int32_t v) { setU32(32, uint32_t(v)); }
    void SetVolume(int32_t v) { setU32(36, uint32_t(v)); }
    void SetSize(int32_t v) { setU32(40, uint32_t(v)); }

private:
    // The offsets are fixed and inside the header.
    uint16_t u16(int at) const { return platform::LoadU16(Header.data() + at); }
    uint32_t u32(int at) const { return platform::LoadU32(Header.data() + at); }
    void setU16(int at, uint16_t v) { platform::StoreU16(Header.data() + at, v); }
    void setU32(int at, uint32_t v) { platform::StoreU32(Header.data() + at, v); }
};

class TGKSounds {
public:
    using Signature = std::array<uint8_t, 4>;

    TGKSounds() = default;
    TGKSounds(const TGKSounds &other);
    TGKSounds &operator=(const TGKSounds &other);
    // Moving keeps every data block where it is, so entries taken before stay valid.
    TGKSounds(TGKSounds &&) noexcept = default;
    TGKSounds &operator=(TGKSounds &&) noexcept = default;
    ~TGKSounds() = default;

    // Replaces the content with the library at the stream's position and leaves the stream
    // just after the last sound. On failure the library is empty.
    void ReadData(QIODevice &stream);
    void WriteData(QIODevice &stream) const;
    void LoadFromFile(const QString &name);
    void Clear();

    int32_t Count() const;
    bool HasData() const { return !FTable.empty(); }
    // The signature as read, letter case included; four zero bytes in a new library.
    const Signature &GetSignature() const { return FSignature; }
    // A copy whose Data refers to this library's block. index must lie in 0 .. Count() - 1.
    TGKSoundEntry GetEntry(int index) const;

    // Deep copies; the target shares no memory with the source afterwards.
    void AssignTo(TGKSounds &dest) const;
    void Assign(const TGKSounds &source) { source.AssignTo(*this); }

    // The value of the "Sounds" binary property: the bytes WriteData writes. Only a library
    // with HasData() is stored; FromBlock fails like ReadData on a damaged block.
    QByteArray ToBlock() const;
    void FromBlock(const QByteArray &block);

    // Appends a sound; the library copies the bytes and sets the entry's Size from them.
    // A library that had no sounds gets the signature "SL10".
    void Add(const TGKSoundEntry &header, const QByteArray &data);

private:
    using Table = gk::LibraryTable<TGKSoundEntry, &TGKSoundEntry::Data>;

    Signature FSignature{};
    Table FTable;
};

// The component a window holds: one owned library and the file it last came from.
class TGKSoundLib : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString FileName READ FileName)

public:
    explicit TGKSoundLib(QObject *parent = nullptr);

    TGKSounds &Sounds() { return FSounds.library(); }
    const TGKSounds &Sounds() const { return FSounds.library(); }
    // Copies, so the component never shares a library with anybody. The sounds no longer come
    // from the file, whose name is forgotten: the playback side must not drop them for it.
    void SetSounds(const TGKSounds &sounds) { FSounds.assign(sounds); }
    int32_t Count() const { return FSounds.library().Count(); }

    // Forgets the file name first and records it again only when the load succeeds.
    void LoadFromFile(const QString &name) { FSounds.load(name); }
    void Reload() { FSounds.reload(); }
    const QString &FileName() const { return FSounds.fileName(); }
    // The playback side may drop sample data it can reload from this file.
    bool HasFileName() const { return FSounds.hasFileName(); }

private:
    gk::FileBackedLibrary<TGKSounds> FSounds;
};
