// The checked byte reader and writer that every file format goes through.

#include "platform/Bytes.h"
#include "support/Pipe.h"

#include <QBuffer>
#include <QString>

#include <gtest/gtest.h>

using namespace platform;

TEST(Bytes, IntegersAreLittleEndianBothWays) {
    ByteWriter out;
    out.u8(0x01);
    out.u16(0x0302);
    out.u32(0x07060504);
    out.i32(-2);
    EXPECT_EQ(out.block(), QByteArray::fromHex("01020304050607feffffff"));

    const QByteArray block = out.take();
    ByteReader in(block);
    EXPECT_EQ(in.u8(), 0x01);
    EXPECT_EQ(in.u16(), 0x0302);
    EXPECT_EQ(in.u32(), 0x07060504u);
    EXPECT_EQ(in.i32(), -2);
    EXPECT_TRUE(in.atEnd());
}

TEST(Bytes, AReadPastTheEndThrowsAndLeavesThePositionWhereItWas) {
    const QByteArray block = QByteArray::fromHex("010203");
    ByteReader in(block);
    EXPECT_EQ(in.u16(), 0x0201);
    EXPECT_THROW(in.u16(), ShortBlock);
    EXPECT_EQ(in.position(), 2u);
    EXPECT_FALSE(in.has(2));
    // A count taken from the input that the block cannot hold is refused before any use.
    EXPECT_FALSE(in.has(uint64_t(1) << 40));
    EXPECT_THROW(in.bytes(size_t(-1)), ShortBlock);
    EXPECT_EQ(in.u8(), 0x03);
    EXPECT_THROW(in.u8(), ShortBlock);
}

TEST(Bytes, ShortStringsKeepTheirCapacityAndClipAnOverlongLength) {
    ByteWriter out;
    out.shortString("abc", 5, '*');
    out.shortString("toolong", 4);
    EXPECT_EQ(out.block(), QByteArray::fromHex("036162632a2a04746f6f6c"));

    // A length byte that claims more than the field holds reads the whole field only; the
    // bytes after the length are skipped whatever they are.
    const QByteArray block = QByteArray::fromHex("09616263640178797a");
    ByteReader in(block);
    EXPECT_EQ(in.shortString(4), "abcd");
    EXPECT_EQ(in.shortString(3), "x");
    EXPECT_TRUE(in.atEnd());
    const QByteArray cutBlock = QByteArray::fromHex("0261");
    ByteReader cut(cutBlock);
    EXPECT_THROW(cut.shortString(2), ShortBlock);
}

TEST(Bytes, HexNumbersAreDigitsOnlyWithinTheirLength) {
    struct Case {
        const char *text;
        int maxDigits;
        std::optional<uint64_t> value;
    };
    const Case cases[] = {
        {"0", 2, 0},
        {"fF", 2, 0xFF},
        {"100", 2, std::nullopt},
        {"", 8, std::nullopt},
        {"ffffffff", 8, 0xFFFFFFFF},
        {"0x10", 8, std::nullopt},
        {" 1", 8, std::nullopt},
        {"g", 8, std::nullopt},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(ParseHex(QByteArrayView(c.text), c.maxDigits), c.value) << c.text;
        EXPECT_EQ(ParseHex(QString::fromLatin1(c.text), c.maxDigits), c.value) << c.text;
    }
}

TEST(Bytes, ShortStringsInAHeaderZeroFillAndClip) {
    struct Case {
        QByteArray text;
        size_t capacity;
        QByteArray field;
    };
    const Case cases[] = {
        {"", 3, QByteArray::fromHex("00000000")},
        {"ab", 3, QByteArray::fromHex("02616200")},
        {"abc", 3, QByteArray::fromHex("03616263")},
        {"abcd", 3, QByteArray::fromHex("03616263")},
    };
    for (const Case &c : cases) {
        QByteArray field(int(c.capacity + 1), '\x7f');
        StoreShortString(reinterpret_cast<uint8_t *>(field.data()), c.capacity, c.text);
        EXPECT_EQ(field, c.field) << c.text.constData();
        EXPECT_EQ(LoadShortString(reinterpret_cast<const uint8_t *>(field.constData()), c.capacity),
                  c.text.left(qsizetype(c.capacity)));
    }
    const QByteArray overlong = QByteArray::fromHex("ff6162");
    EXPECT_EQ(LoadShortString(reinterpret_cast<const uint8_t *>(overlong.constData()), 2), "ab");
}

TEST(Bytes, ADeviceReaderRefusesWhatTheDeviceCannotHold) {
    const QByteArray bytes = "0123456789";
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    Pipe pipe(bytes);
    for (QIODevice *device : {static_cast<QIODevice *>(&buffer), static_cast<QIODevice *>(&pipe)}) {
        const bool knowsLength = !device->isSequential();
        SCOPED_TRACE(knowsLength ? "buffer" : "pipe");
        DeviceReader in(*device);
        EXPECT_TRUE(in.mayHold(10));
        EXPECT_EQ(in.mayHold(11), !knowsLength);
        EXPECT_EQ(in.mayHold(uint64_t(1) << 40), !knowsLength);
        EXPECT_EQ(in.take(3), "012");
        const std::vector<uint8_t> block = in.block(4);
        EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(block.data()), 4), "3456");
        EXPECT_THROW(in.block(size_t(1) << 40), ShortBlock);
    }
    // The buffer refused before reading; the pipe had to read to find out.
    EXPECT_EQ(buffer.pos(), 7);
    EXPECT_EQ(pipe.consumed(), 10);
}
