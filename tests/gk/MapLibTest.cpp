#include "gk/Error.h"
#include "gk/GKMap.h"
#include "platform/Bytes.h"
#include "support/LargestAllocation.h"
#include "support/Libraries.h"

#include <gtest/gtest.h>

namespace {

struct Map {
    QByteArray name; // the whole 16-byte field
    int32_t width;
    int32_t height;
    QByteArray data;
    int32_t size;
};

Map map(const QByteArray &name, int32_t width, int32_t height, const QByteArray &data) {
    return {name.leftJustified(16, '\x7f'), width, height, data, int32_t(data.size())};
}

// Each map's reserved bytes hold `reserved`, as a writer that stored an address left them.
QByteArray library(const QByteArray &signature, int32_t highIndex, const QList<Map> &maps,
                   uint32_t reserved = 0x12345678) {
    platform::ByteWriter out;
    out.bytes(signature);
    out.i32(highIndex);
    for (const Map &m : maps) {
        out.bytes(m.name);
        out.i32(m.width);
        out.i32(m.height);
        out.i32(m.size);
        out.u32(reserved);
        out.bytes(m.data);
    }
    return out.take();
}

const QList<Map> threeMaps = {
    map("\x05level", 40, 30, "\x01\x02\x03"),
    map("\x00", -7, 0, ""),
    map("\xff"
        "fifteen-chars-x",
        2, 2, "wxyz"),
};

TGKMaps loaded() {
    TGKMaps maps;
    maps.FromBlock(library("ML01", 2, threeMaps));
    return maps;
}

} // namespace

TEST(MapLibTest, ReadsAnySignatureAndWritesBackAllButTheReservedBytes) {
    const QByteArray block = library(QByteArray("\0zz\xff", 4), 2, threeMaps);
    QByteArray input = block + "trailing";
    for (bool sequential : {false, true}) {
        SCOPED_TRACE(sequential ? "pipe" : "buffer");
        TGKMaps maps;
        const LibraryRead read = readInto(maps, input, sequential);
        EXPECT_EQ(read.error, "");
        EXPECT_EQ(read.consumed, block.size());
        ASSERT_EQ(maps.HighIndex(), 2);

        const TGKMapEntry first = maps.GetEntry(0);
        EXPECT_EQ(first.Name(), "level");
        EXPECT_EQ(first.Width(), 40);
        EXPECT_EQ(first.Height(), 30);
        EXPECT_EQ(first.Size(), 3);
        EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(first.MapData), 3), "\x01\x02\x03");
        EXPECT_EQ(maps.GetEntry(1).Width(), -7);
        EXPECT_EQ(maps.GetEntry(1).MapData, nullptr);
        EXPECT_EQ(maps.GetEntry(2).NameLength(), 255);
        EXPECT_EQ(maps.GetEntry(2).Name(), "fifteen-chars-x");

        EXPECT_EQ(maps.ToBlock(), library("ML01", 2, threeMaps, 0));
    }
}

TEST(MapLibTest, NegativeHighIndexIsEmptyAndDamageEmptiesTheLibrary) {
    for (int32_t highIndex : {-1, -2, int32_t(0x80000000)}) {
        TGKMaps maps = loaded();
        EXPECT_EQ(readInto(maps, library("junk", highIndex, threeMaps), false).error, "");
        EXPECT_EQ(maps.HighIndex(), -1);
        EXPECT_EQ(maps.ToBlock(), QByteArray("ML01\xff\xff\xff\xff", 8));
    }

    const QByteArray good = library("ML01", 2, threeMaps);
    struct Row {
        const char *what;
        QByteArray bytes;
    };
    Map negative = map("\x01n", 1, 1, "abcd");
    negative.size = -4;
    Map huge = map("\x01h", 1, 1, "abcd");
    huge.size = 0x7fffffff;
    const QList<Row> rows = {
        {"cut in the signature", good.left(3)},
        {"cut in HighIndex", good.left(6)},
        {"cut in a header", good.left(8 + 32 + 3 + 20)},
        {"cut in the last map's data", good.left(good.size() - 1)},
        {"two billion maps", library("ML01", 2'000'000'000, threeMaps)},
        {"negative size", library("ML01", 0, {negative})},
        {"size beyond the stream", library("ML01", 0, {huge})},
    };
    for (const Row &row : rows) {
        for (bool sequential : {false, true}) {
            SCOPED_TRACE(std::string(row.what) + (sequential ? " (pipe)" : ""));
            TGKMaps maps = loaded();
            ResetLargestAllocation();
            EXPECT_EQ(readInto(maps, row.bytes, sequential).error, "Stream read error");
            EXPECT_LT(LargestAllocation(), std::size_t(4) << 20);
            EXPECT_EQ(maps.HighIndex(), -1);
            EXPECT_FALSE(maps.HasData());
        }
    }
}

TEST(MapLibTest, CopiesHaveTheirOwnDataAndTheComponentCopiesToo) {
    TGKMaps source = loaded();
    TGKMaps copy;
    copy.Assign(source);
    ASSERT_EQ(copy.HighIndex(), 2);
    EXPECT_NE(copy.GetEntry(0).MapData, source.GetEntry(0).MapData);
    EXPECT_EQ(copy.GetEntry(1).MapData, nullptr);
    source.Clear();
    // Names go over as names: the length clipped to 15, nothing kept behind them.
    QList<Map> copied = threeMaps;
    copied[0].name = QByteArray("\x05level").leftJustified(16, '\0');
    copied[1].name = "\x0f" + QByteArray(15, '\x7f'); // its length byte claimed 127
    copied[2].name = "\x0f"
                     "fifteen-chars-x";
    EXPECT_EQ(copy.ToBlock(), library("ML01", 2, copied, 0));
    EXPECT_EQ(copy.GetEntry(2).NameLength(), 15);

    TGKMaps().AssignTo(copy);
    EXPECT_EQ(copy.HighIndex(), -1);

    TGKMapLib lib;
    EXPECT_EQ(lib.MapLibBlock(), QByteArray());
    TGKMaps given = loaded();
    lib.SetMapLib(given);
    EXPECT_NE(&lib.MapLib(), &given);
    given.Clear();
    EXPECT_EQ(lib.MapLib().HighIndex(), 2);
    EXPECT_EQ(lib.MapLibBlock(), library("ML01", 2, copied, 0));
    lib.SetMapLibBlock(QByteArray());
    EXPECT_FALSE(lib.MapLib().HasData());
}
