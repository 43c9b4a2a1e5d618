#pragma once

// The one place where the program's file formats meet their bytes: little-endian integers,
// length-prefixed strings and raw runs read from a byte block with every bound checked, and
// written to a growing one. The sound library, the wave data, the registry's hex values, the
// score file and the image and map libraries all read and write through these.

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

class QIODevice;

namespace platform {

// A read that asked for more bytes than the block has left. Formats turn it into their own
// message ("Stream read error", a damaged score file, ...); the reader's position is unchanged.
class ShortBlock : public std::runtime_error {
public:
    ShortBlock() : std::runtime_error("read past the end of the block") {}
};

// Reads from a block it does not own, front to back. Every read checks the bound first and
// throws ShortBlock when the block cannot hold it, so a count or size taken from the input can
// be tested with has() before anything that large is allocated.
class ByteReader {
public:
    explicit ByteReader(QByteArrayView block) : block_(block) {}
    ByteReader(const uint8_t *data, size_t size)
        : block_(reinterpret_cast<const char *>(data), qsizetype(size)) {}

    size_t position() const { return pos_; }
    size_t remaining() const { return size_t(block_.size()) - pos_; }
    bool atEnd() const { return remaining() == 0; }
    // Whether `count` more bytes can be read; false for counts that do not fit the block.
    bool has(uint64_t count) const { return count <= remaining(); }

    uint8_t u8();
    uint16_t u16();
    uint32_t u32();
    int32_t i32() { return int32_t(u32()); }

    // The next `count` bytes, as a view into the block.
    QByteArrayView bytes(size_t count);
    void read(void *to, size_t count);
    void skip(size_t count) { bytes(count); }

    // A string of the classic short kind: one length byte, then room for `capacity` characters,
    // of which the first `length` count. A length above the capacity is clipped to it; the
    // bytes after the length are read past and ignored.
    QByteArray shortString(size_t capacity);

private:
    const char *take(size_t count);

    QByteArrayView block_;
    size_t pos_ = 0;
};

// Appends to a block of its own; take() hands it over.
class ByteWriter {
public:
    ByteWriter() = default;
    explicit ByteWriter(qsizetype reserve) { block_.reserve(reserve); }

    void u8(uint8_t v) { block_.append(char(v)); }
    void u16(uint16_t v);
    void u32(uint32_t v);
    void i32(int32_t v) { u32(uint32_t(v)); }
    void bytes(QByteArrayView data) { block_.append(data); }
    void fill(size_t count, uint8_t value = 0) { block_.append(qsizetype(count), char(value)); }
    // The short string of ByteReader::shortString: the length byte, the characters (at most
    // `capacity`; more are cut) and `filler` up to the capacity.
    void shortString(QByteArrayView text, size_t capacity, uint8_t filler = 0);

    qsizetype size() const { return block_.size(); }
    const QByteArray &block() const { return block_; }
    QByteArray take() { return std::move(block_); }

private:
    QByteArray block_;
};

// Little-endian values at a fixed place of a header held in memory. The caller owns the bound.
inline uint16_t LoadU16(const uint8_t *at) {
    return uint16_t(at[0] | at[1] << 8);
}
inline uint32_t LoadU32(const uint8_t *at) {
    return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}
inline void StoreU16(uint8_t *at, uint16_t v) {
    at[0] = uint8_t(v);
    at[1] = uint8_t(v >> 8);
}
inline void StoreU32(uint8_t *at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        at[i] = uint8_t(v >> (8 * i));
}

// The short string of ByteReader::shortString inside a header held in memory: `field` holds
// the length byte and `capacity` character bytes. Loading clips the length to the capacity;
// storing writes the length, the characters (at most `capacity`; more are cut) and zeros up to
// the capacity.
QByteArray LoadShortString(const uint8_t *field, size_t capacity);
void StoreShortString(uint8_t *field, size_t capacity, QByteArrayView text);

// Reads exactly what it is asked for from a device (a file, a buffer, a pipe), or throws
// ShortBlock. A count taken from the input is tested with mayHold() before anything that large
// is allocated, and block() allocates no more than the device can deliver, so that a lying
// count or size costs nothing however large it is.
class DeviceReader {
public:
    explicit DeviceReader(QIODevice &device) : device_(device) {}

    // False only when the device knows it holds fewer bytes (a pipe cannot tell: true).
    bool mayHold(uint64_t count) const;
    // Waits for a sequential device that has not delivered yet, up to 30 s between pieces.
    void read(void *to, size_t count);
    QByteArray take(size_t count);
    // `count` bytes read into a block of their own. From a device that cannot tell its length
    // the block grows by 1 MiB as the bytes arrive. std::bad_alloc when memory runs out.
    std::vector<uint8_t> block(size_t count);

private:
    QIODevice &device_;
};

// The value of one hexadecimal digit of either case, or -1.
int HexDigitValue(char32_t c);

// A number written as 1 to `maxDigits` hexadecimal digits and nothing else (no prefix, no
// blanks); nothing for any other text. `maxDigits` is at most 16.
std::optional<uint64_t> ParseHex(QByteArrayView text, int maxDigits);
std::optional<uint64_t> ParseHex(QStringView text, int maxDigits);

} // namespace platform
