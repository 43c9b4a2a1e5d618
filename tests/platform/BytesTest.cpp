// The checked byte reader and writer that every file format goes through.

#include "platform/Bytes.h"

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
