#include "gk/Bitmaps.h"
#include "gk/Error.h"
#include "gk/GKILib.h"
#include "platform/Bytes.h"
#include "support/Files.h"
#include "support/LargestAllocation.h"
#include "support/Libraries.h"
#include "toolkit/Canvas.h"

#include <QDir>
#include <QProgressBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const char *const ReadError = "Stream read error";

struct Picture {
    int32_t width;
    int32_t height;
    QByteArray name; // the whole 12-byte field
    char seed;
};

// Rows whose filler bytes differ from the pixels, so that a reader dropping them shows.
QByteArray pixels(const Picture &p) {
    QByteArray bits;
    const int64_t rowBytes = gk::RowBytes(p.width);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < rowBytes; ++x)
            bits.append(x < p.width ? char(p.seed + 3 * x + 7 * y) : char(0xF0 + x));
    return bits;
}

QByteArray library(const QByteArray &signature, int32_t count, const QList<Picture> &pictures,
                   uint8_t paletteSeed = 1) {
    platform::ByteWriter out;
    out.bytes(signature);
    out.i32(count);
    out.u32(0xDEADBEEF); // the reserved field
    for (int i = 0; i < 256; ++i) {
        out.u8(uint8_t(i * paletteSeed));
        out.u8(uint8_t(255 - i));
        out.u8(uint8_t(i ^ 0x5A));
        out.u8(uint8_t(0x80 | i)); // the fourth byte, which nothing reads
    }
    for (const Picture &p : pictures) {
        out.i32(p.width);
        out.i32(p.height);
        out.bytes(p.name);
        if (p.width > 0 && p.height > 0 && p.width < 64 && p.height < 64)
            out.bytes(pixels(p));
    }
    return out.take();
}

// Widths 5, 8 and 9: rows of 8, 8 and 12 bytes. Names with bytes past their length.
const QList<Picture> threePictures = {
    {5, 3, QByteArray("\x04ship\x7f\x7f\x7f\x7f\x7f\x7f\x7f", 12), 1},
    {8, 2,
     QByteArray("\x0b"
                "abcdefghijk",
                12),
     2},
    {9, 4,
     QByteArray("\xc8"
                "toolongname",
                12),
     3},
};

QByteArray threeImages(const QByteArray &signature = "IL10", uint8_t paletteSeed = 1) {
    return library(signature, 3, threePictures, paletteSeed);
}

TGKImages loaded(const QByteArray &block = threeImages()) {
    TGKImages images;
    images.FromBlock(block);
    return images;
}

QByteArray bitsOf(const TGKImageEntry &entry) {
    return QByteArray(reinterpret_cast<const char *>(entry.Bits), entry.BitsSize());
}

QRgb paletteColor(const TGKImages &images, int index) {
    const uint8_t *entry = images.Palette() + 4 * index;
    return qRgb(entry[0], entry[1], entry[2]);
}

} // namespace

TEST(ImageLibTest, ReadsFieldsAndWritesBackByteForByte) {
    const QByteArray block = threeImages("il10");
    QByteArray input = block + "trailing bytes";
    for (bool sequential : {false, true}) {
        SCOPED_TRACE(sequential ? "pipe" : "buffer");
        TGKImages images;
        const LibraryRead read = readInto(images, input, sequential);
        EXPECT_EQ(read.error, "");
        EXPECT_EQ(read.consumed, block.size());
        ASSERT_EQ(images.Count(), 3);
        EXPECT_EQ(images.GetSignature(), (TGKImages::Signature{'i', 'l', '1', '0'}));
        EXPECT_EQ(images.Reserved(), 0xDEADBEEFu);
        EXPECT_EQ(images.Palette()[4 * 7 + 3], 0x87);

        for (int i = 0; i < 3; ++i) {
            const TGKImageEntry entry = images.GetEntry(i);
            EXPECT_EQ(entry.Width(), threePictures[i].width);
            EXPECT_EQ(entry.Height(), threePictures[i].height);
            EXPECT_EQ(bitsOf(entry), pixels(threePictures[i]));
        }
        EXPECT_EQ(images.GetEntry(0).RowBytes(), 8);
        EXPECT_EQ(images.GetEntry(1).RowBytes(), 8);
        EXPECT_EQ(images.GetEntry(2).RowBytes(), 12);
        EXPECT_EQ(images.GetEntry(2).Pixel(8, 3), uint8_t(3 + 3 * 8 + 7 * 3));
        EXPECT_EQ(images.GetEntry(0).Name(), "ship");
        EXPECT_EQ(images.GetEntry(2).NameLength(), 200);
        EXPECT_EQ(images.GetEntry(2).Name(), "toolongname");

        EXPECT_EQ(images.ToBlock(), block);
    }
}

TEST(ImageLibTest, DamagedBlocksFailAndLeaveTheLibraryEmpty) {
    const QByteArray good = threeImages();
    const QByteArray name(12, '\0');
    struct Row {
        const char *what;
        QByteArray bytes;
        std::string message;
    };
    const std::string notLibrary = "Not a valid Image Library File";
    const std::string noTable = "TGKImage: GemMem Failed for FImages";
    const std::string noBits = "TGKImage: GemMem Failed for ImgHdr.Bits";
    const QList<Row> rows = {
        {"empty", "", ReadError},
        {"40 bytes", good.left(40), ReadError},
        {"cut in the palette", good.left(1035), ReadError},
        {"other signature", threeImages("IL11"), notLibrary},
        {"sound library", threeImages("SL10"), notLibrary},
        {"zero in the signature",
         threeImages(QByteArray("I\0"
                                "10",
                                4)),
         notLibrary},
        {"count 0", library("IL10", 0, threePictures), noTable},
        {"count negative", library("IL10", -3, threePictures), noTable},
        {"two billion pictures", library("IL10", 2'000'000'000, threePictures), noTable},
        {"count beyond the stream", library("IL10", 50'000'000, threePictures), ReadError},
        {"width 0", library("IL10", 1, {{0, 4, name, 1}}), noBits},
        {"height negative", library("IL10", 1, {{4, -4, name, 1}}), noBits},
        {"pixels beyond 32 bits", library("IL10", 1, {{65536, 65536, name, 1}}), noBits},
        {"pixels beyond the stream", library("IL10", 1, {{30000, 30000, name, 1}}), ReadError},
        {"cut in a header", good.left(1036 + 20 + 24 + 10), ReadError},
        {"cut in the third picture's pixels", good.left(good.size() - 1), ReadError},
    };
    for (const Row &row : rows) {
        for (bool sequential : {false, true}) {
            SCOPED_TRACE(std::string(row.what) + (sequential ? " (pipe)" : ""));
            TGKImages images = loaded();
            ResetLargestAllocation();
            EXPECT_EQ(readInto(images, row.bytes, sequential).error, row.message);
            EXPECT_LT(LargestAllocation(), std::size_t(4) << 20);
            EXPECT_EQ(images.Count(), 0);
            EXPECT_FALSE(images.HasData());
            EXPECT_EQ(images.LibraryHeader(), TGKImages::Header{});
        }
    }
}

TEST(ImageLibTest, BitmapsHaveTheLibrarysRowsAndABlackEntryZero) {
    const std::pair<int64_t, int64_t> rowBytes[] = {{1, 4}, {4, 4},  {5, 8},
                                                    {8, 8}, {9, 12}, {0x7fffffff, 0x80000000}};
    for (auto [width, bytes] : rowBytes)
        EXPECT_EQ(gk::RowBytes(width), bytes) << width;

    // Palette entry 0 is white here; the bitmap shows pixel value 0 black all the same.
    TGKImages images = loaded();
    images.SetPaletteEntry(0, 255, 255, 255);
    const TGKImageEntry entry = images.GetEntry(0);
    QImage bitmap(3, 3, QImage::Format_RGB32);
    gk::MakeBitmap(bitmap, entry.Width(), entry.Height(), entry.Bits,
                   gk::FillColorTable(images.Palette()));
    ASSERT_EQ(bitmap.format(), QImage::Format_Indexed8);
    ASSERT_EQ(bitmap.size(), QSize(5, 3));
    ASSERT_EQ(bitmap.bytesPerLine(), 8);
    EXPECT_EQ(bitmap.colorCount(), 256);
    for (int y = 0; y < 3; ++y) {
        EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(bitmap.constScanLine(y)), 8),
                  pixels(threePictures[0]).mid(8 * y, 8));
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(bitmap.pixel(x, y), paletteColor(images, entry.Pixel(x, y))) << x << y;
    }
    EXPECT_EQ(bitmap.color(0), qRgb(0, 0, 0));

    EXPECT_EQ(errorOf([&] { gk::MakeBitmap(bitmap, 0, 3, entry.Bits, {}); }),
              "CreateDIBitmap failed");
    EXPECT_TRUE(bitmap.isNull());
}

TEST(ImageLibTest, CopiesAreDeepAndClearKeepsThePalette) {
    TGKImages source = loaded();
    TGKImages target;
    target.Assign(source);
    EXPECT_NE(target.GetEntry(1).Bits, source.GetEntry(1).Bits);
    source.Clear();
    EXPECT_EQ(source.Count(), 0);
    EXPECT_EQ(source.GetSignature(), (TGKImages::Signature{'I', 'L', '1', '0'}));
    EXPECT_EQ(source.Palette()[4], 1);
    EXPECT_EQ(target.ToBlock(), threeImages());

    TGKImages copy(target);
    target.Clear();
    EXPECT_EQ(copy.ToBlock(), threeImages());
    copy.AssignTo(copy);
    EXPECT_EQ(copy.ToBlock(), threeImages());

    TGKImages().AssignTo(copy);
    EXPECT_EQ(copy.Count(), 0);
    EXPECT_FALSE(copy.HasData());

    TGKImages moved = loaded();
    const uint8_t *bits = moved.GetEntry(2).Bits;
    TGKImages into = std::move(moved);
    EXPECT_EQ(into.GetEntry(2).Bits, bits);
}

TEST(ImageLibTest, ComponentLoadsReloadsAndRemakesItsBitmaps) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString first = dir.filePath("FIRST.IML");
    const QString second = dir.filePath("second.iml");
    writeFile(first, threeImages());
    writeFile(second, library("IL10", 1, {{7, 2, QByteArray(12, '\0'), 9}}, 3));
    const auto openFiles = [] { return QDir("/proc/self/fd").entryList(QDir::Files).size(); };

    TGKImageLib lib;
    EXPECT_EQ(errorOf([&] { lib.Reload(); }), "LoadFromFile must be called first");
    const QString missing = dir.filePath("none.IML");
    EXPECT_EQ(errorOf([&] {
                  lib.LoadFromFile(missing);
              }).rfind("Cannot open file \"" + missing.toStdString() + "\". ", 0),
              0u);

    // The name is matched without regard to letter case, as the program's files all are.
    lib.LoadFromFile(dir.filePath("first.iml"));
    EXPECT_EQ(lib.FileName(), dir.filePath("first.iml"));
    ASSERT_EQ(lib.Count(), 3);

    QProgressBar bar;
    lib.SetProgressBar(&bar);
    lib.CacheBitmaps();
    ASSERT_TRUE(lib.Cached());
    EXPECT_EQ(bar.maximum(), 2);
    EXPECT_EQ(bar.value(), 2);
    EXPECT_EQ(lib.Bitmap(2).size(), QSize(9, 4));

    // A load of another file while cached makes the bitmaps of the new pictures.
    lib.LoadFromFile(second);
    ASSERT_TRUE(lib.Cached());
    ASSERT_EQ(lib.Count(), 1);
    EXPECT_EQ(lib.Bitmap(0).size(), QSize(7, 2));
    EXPECT_EQ(lib.Bitmap(0).pixel(1, 1), paletteColor(lib.Images(), 9 + 3 + 7));

    // A failed read closes its file and leaves nothing to reload.
    writeFile(second, threeImages().left(1100));
    const qsizetype before = openFiles();
    EXPECT_EQ(errorOf([&] { lib.Reload(); }), ReadError);
    EXPECT_EQ(openFiles(), before);
    EXPECT_FALSE(lib.HasFileName());
    EXPECT_FALSE(lib.Cached());
    EXPECT_EQ(lib.Count(), 0);

    TGKImages outside = loaded();
    lib.SetImages(outside);
    outside.Clear();
    EXPECT_EQ(lib.Images().ToBlock(), threeImages());
    lib.FreeBitmaps();
    EXPECT_FALSE(lib.Cached());
}

TEST(ImageLibTest, DrawPutsThePictureOnTheCanvasAndIgnoresIndicesPastTheEnd) {
    TGKImageLib lib;
    lib.SetImages(loaded());
    const QRgb background = qRgb(1, 2, 3);
    QImage drawn(20, 10, QImage::Format_RGB32);
    drawn.fill(background);
    toolkit::Canvas canvas(&drawn);
    QRect changed;
    canvas.onChanged = [&](const QRect &rect) { changed |= rect; };

    lib.Draw(canvas, 3, 2, 0);
    const TGKImageEntry entry = lib.Images().GetEntry(0);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inside = x >= 3 && x < 8 && y >= 2 && y < 5;
            const int index = inside ? entry.Pixel(x - 3, y - 2) : -1;
            const QRgb expected = !inside      ? background
                                  : index == 0 ? qRgb(0, 0, 0)
                                               : paletteColor(lib.Images(), index);
            EXPECT_EQ(drawn.pixel(x, y), expected) << x << "," << y;
        }
    EXPECT_EQ(changed, QRect(3, 2, 5, 3));

    // Cached or not, the same pixels; the picture is cut at the canvas's edge.
    QImage uncached = drawn;
    lib.Draw(canvas, 15, 8, 2);
    canvas.setTarget(&uncached);
    lib.CacheBitmaps();
    lib.Draw(canvas, 15, 8, 2);
    EXPECT_EQ(uncached, drawn);

    const QImage before = drawn;
    canvas.setTarget(&drawn);
    for (int index : {3, 1000, -1})
        lib.Draw(canvas, 0, 0, index);
    EXPECT_EQ(drawn, before);
}
