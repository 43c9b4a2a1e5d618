#include "platform/Bytes.h"

#include <QIODevice>

#include <algorithm>
#include <cstring>

namespace platform {

const char *ByteReader::take(size_t count) {
    if (!has(count))
        throw ShortBlock();
    const char *at = block_.data() + pos_;
    pos_ += count;
    return at;
}

uint8_t ByteReader::u8() {
    return uint8_t(*take(1));
}

uint16_t ByteReader::u16() {
    return LoadU16(reinterpret_cast<const uint8_t *>(take(2)));
}

uint32_t ByteReader::u32() {
    return LoadU32(reinterpret_cast<const uint8_t *>(take(4)));
}

QByteArrayView ByteReader::bytes(size_t count) {
    const char *at = take(count);
    return QByteArrayView(at, qsizetype(count));
}

void ByteReader::read(void *to, size_t count) {
    const char *at = take(count);
    if (count > 0)
        std::memcpy(to, at, count);
}

QByteArray ByteReader::shortString(size_t capacity) {
    if (!has(1 + uint64_t(capacity)))
        throw ShortBlock();
    const size_t length = std::min<size_t>(u8(), capacity);
    const QByteArrayView field = bytes(capacity);
    return field.first(qsizetype(length)).toByteArray();
}

void ByteWriter::u16(uint16_t v) {
    uint8_t bytes[2];
    StoreU16(bytes, v);
    block_.append(reinterpret_cast<const char *>(bytes), 2);
}

void ByteWriter::u32(uint32_t v) {
    uint8_t bytes[4];
    StoreU32(bytes, v);
    block_.append(reinterpret_cast<const char *>(bytes), 4);
}

void ByteWriter::shortString(QByteArrayView text, size_t capacity, uint8_t filler) {
    const size_t length = std::min<size_t>({size_t(text.size()), capacity, 255});
    u8(uint8_t(length));
    bytes(text.first(qsizetype(length)));
    fill(capacity - length, filler);
}

QByteArray LoadShortString(const uint8_t *field, size_t capacity) {
    const size_t length = std::min<size_t>(field[0], capacity);
    return QByteArray(reinterpret_cast<const char *>(field + 1), qsizetype(length));
}

void StoreShortString(uint8_t *field, size_t capacity, QByteArrayView text) {
    const size_t length = std::min<size_t>({size_t(text.size()), capacity, 255});
    field[0] = uint8_t(length);
    if (length > 0)
        std::memcpy(field + 1, text.data(), length);
    std::memset(field + 1 + length, 0, capacity - length);
}

bool DeviceReader::mayHold(uint64_t count) const {
    if (device_.isSequential())
        return true;
    return count <= uint64_t(std::max<qint64>(0, device_.size() - device_.pos()));
}

void DeviceReader::read(void *to, size_t count) {
    if (!mayHold(count))
        throw ShortBlock();
    char *at = static_cast<char *>(to);
    while (count > 0) {
        const qint64 got = device_.read(at, qint64(count));
        if (got > 0) {
            at += got;
            count -= size_t(got);
            continue;
        }
        // A pipe or socket may simply not have delivered yet.
        if (got == 0 && device_.isSequential() && device_.waitForReadyRead(30000))
            continue;
        throw ShortBlock();
    }
}

QByteArray DeviceReader::take(size_t count) {
    if (!mayHold(count))
        throw ShortBlock();
    QByteArray bytes(qsizetype(count), Qt::Uninitialized);
    read(bytes.data(), count);
    return bytes;
}

std::vector<uint8_t> DeviceReader::block(size_t count) {
    if (!mayHold(count))
        throw ShortBlock();
    constexpr size_t GrowStep = size_t(1) << 20;
    const bool known = !device_.isSequential();
    std::vector<uint8_t> block;
    size_t filled = 0;
    while (filled < count) {
        const size_t step = known ? count : std::min(count - filled, GrowStep);
        block.resize(filled + step);
        read(block.data() + filled, step);
        filled += step;
    }
    return block;
}

int HexDigitValue(char32_t c) {
    if (c >= '0' && c <= '9')
        return int(c - '0');
    if (c >= 'a' && c <= 'f')
        return int(c - 'a' + 10);
    if (c >= 'A' && c <= 'F')
        return int(c - 'A' + 10);
    return -1;
}

namespace {
char32_t codeOf(char c) {
    return char32_t(uint8_t(c));
}
char32_t codeOf(QChar c) {
    return char32_t(c.unicode());
}

template <typename Text> std::optional<uint64_t> parseHexDigits(Text text, int maxDigits) {
    if (text.isEmpty() || text.size() > std::min(maxDigits, 16))
        return std::nullopt;
    uint64_t value = 0;
    for (auto c : text) {
        const int digit = HexDigitValue(codeOf(c));
        if (digit < 0)
            return std::nullopt;
        value = value << 4 | uint64_t(digit);
    }
    return value;
}
} // namespace

std::optional<uint64_t> ParseHex(QByteArrayView text, int maxDigits) {
    return parseHexDigits(text, maxDigits);
}

std::optional<uint64_t> ParseHex(QStringView text, int maxDigits) {
    return parseHexDigits(text, maxDigits);
}

} // namespace platform
