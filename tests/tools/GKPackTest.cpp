// The packer as a person uses it: the real program run on real files, and what it writes read
// back by the library and by a reader of the test's own.
#include "Palette.h"

#include "gk/GKILib.h"
#include "gk/Wave.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>
#include <map>

namespace {

struct ToolRun {
    int code;
    QString out;
    QString err;
};

ToolRun runTool(const QStringList &args) {
    QProcess process;
    process.start(GKPACK_PROGRAM, args);
    EXPECT_TRUE(process.waitForFinished(60000)) << args.join(' ').toStdString();
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

// The frames the game shows, cut from its artwork's strips.
std::map<QString, QImage> gameFrames() {
    const std::pair<const char *, QSize> strips[] = {
        {"badguy0", {50, 50}}, {"badguy1", {50, 50}}, {"badguy2", {50, 50}},
        {"badguy3", {50, 50}}, {"explode", {55, 48}},
    };
    std::map<QString, QImage> frames;
    for (const auto &[name, size] : strips) {
        const QImage strip(QString(GORBULAX_SOURCE_DIR "/resources/%1.png").arg(name));
        EXPECT_FALSE(strip.isNull()) << name;
        for (int i = 0; i * size.width() < strip.width(); ++i)
            frames[QString("%1-%2").arg(name).arg(i)] =
                strip.copy(QRect(QPoint(i * size.width(), 0), size))
                    .convertToFormat(QImage::Format_ARGB32);
    }
    return frames;
}

// A reader of the two layouts that shares nothing with the library: offsets and byte order
// written out by hand.
int32_t le32(const QByteArray &bytes, qsizetype at) {
    const auto b = [&](int i) { return uint32_t(uint8_t(bytes.at(at + i))); };
    return int32_t(b(0) | b(1) << 8 | b(2) << 16 | b(3) << 24);
}

QImage indexedPicture(int width, int height, const QList<QRgb> &colors, int seed) {
    QImage picture(width, height, QImage::Format_Indexed8);
    picture.setColorTable(colors);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, uint((seed + x + 2 * y) % colors.size()));
    return picture;
}

} // namespace

TEST(GKPackTest, TheGamesFramesRoundTripThroughAnImageLibrary) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::map<QString, QImage> frames = gameFrames();
    ASSERT_EQ(frames.size(), 15u);
    // The packer cuts the strips itself, given the frame size.
    ToolRun run = runTool({"image", "build", dir.filePath("FRAMES.IML"),
                           GORBULAX_SOURCE_DIR "/resources/badguy0.png:50:50",
                           GORBULAX_SOURCE_DIR "/resources/badguy1.png:50",
                           GORBULAX_SOURCE_DIR "/resources/badguy2.png:50:50",
                           "badguy3=" GORBULAX_SOURCE_DIR "/resources/badguy3.png:50:50",
                           GORBULAX_SOURCE_DIR "/resources/explode.png:55:48"});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();

    run = runTool({"image", "list", dir.filePath("FRAMES.IML")});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("signature IL10, 15 pictures")) << run.out.toStdString();
    EXPECT_TRUE(
        run.out.contains(QRegularExpression(R"(\n\s+0\s+badguy0-0\s+50\s+50\s+52\s+2600\n)")))
        << run.out.toStdString();
    EXPECT_TRUE(
        run.out.contains(QRegularExpression(R"(\n\s+14\s+explode-6\s+55\s+48\s+56\s+2688)")))
        << run.out.toStdString();

    run = runTool({"image", "extract", dir.filePath("FRAMES.IML"), dir.filePath("out")});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    TGKImages library;
    library.LoadFromFile(dir.filePath("FRAMES.IML"));
    const QStringList extracted = run.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(extracted.size(), 15);
    int index = 0;
    for (const auto &[name, frame] : frames) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_EQ(extracted[index].section('=', 0, 0), name);
        const QImage png(extracted[index].section('=', 1));
        ASSERT_EQ(png.format(), QImage::Format_Indexed8);
        const TGKImageEntry entry = library.GetEntry(index++);
        ASSERT_EQ(png.size(), QSize(entry.Width(), entry.Height()));
        for (int y = 0; y < png.height(); ++y)
            for (int x = 0; x < png.width(); ++x) {
                ASSERT_EQ(png.pixelIndex(x, y), entry.Pixel(x, y)) << x << "," << y;
                // The artwork has fewer than 256 colours, so nothing was lost: see-through
                // stays see-through, and every opaque pixel keeps its colour.
                const QRgb source = frame.pixel(x, y);
                const QRgb shown = png.pixel(x, y);
                ASSERT_EQ(qAlpha(shown), qAlpha(source)) << x << "," << y;
                if (qAlpha(source) == 255) {
                    ASSERT_EQ(shown, source) << x << "," << y;
                }
            }
    }
}

TEST(GKPackTest, AReaderOfItsOwnFindsWhatTheToolWasGiven) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QList<QRgb> colors;
    for (int i = 0; i < 6; ++i)
        colors << qRgb(10 * i, 255 - i, 3 * i);
    const QImage narrow = indexedPicture(5, 3, colors, 0);
    // PNG writers drop unused entries, so a shorter table that agrees is the same palette.
    const QImage wide = indexedPicture(9, 2, colors.mid(0, 4), 1);
    ASSERT_TRUE(narrow.save(dir.filePath("narrow.png")));
    ASSERT_TRUE(wide.save(dir.filePath("wide.png")));
    QFile raw(dir.filePath("level.raw"));
    ASSERT_TRUE(raw.open(QIODevice::WriteOnly));
    raw.write("\x01\x02\x03\x04\x05");
    raw.close();
    QFile(dir.filePath("empty.raw")).open(QIODevice::WriteOnly);

    ASSERT_EQ(runTool({"image", "build", dir.filePath("P.IML"), dir.filePath("narrow.png"),
                       "w=" + dir.filePath("wide.png")})
                  .code,
              0);
    ASSERT_EQ(runTool({"map", "build", dir.filePath("M"),
                       "level one=" + dir.filePath("level.raw") + ":-3:7",
                       "none=" + dir.filePath("empty.raw")})
                  .code,
              0);

    QFile imageFile(dir.filePath("P.IML"));
    ASSERT_TRUE(imageFile.open(QIODevice::ReadOnly));
    const QByteArray il = imageFile.readAll();
    ASSERT_EQ(il.size(), 1036 + (20 + 8 * 3) + (20 + 12 * 2));
    EXPECT_EQ(il.left(4), "IL10");
    EXPECT_EQ(le32(il, 4), 2);
    EXPECT_EQ(le32(il, 8), 0);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(uint8_t(il[12 + 4 * i]), qRed(colors[i]));
        EXPECT_EQ(uint8_t(il[12 + 4 * i + 1]), qGreen(colors[i]));
        EXPECT_EQ(uint8_t(il[12 + 4 * i + 2]), qBlue(colors[i]));
    }
    qsizetype at = 1036;
    for (const auto &[picture, name] :
         {std::pair(narrow, QByteArray("narrow")), std::pair(wide, QByteArray("w"))}) {
        EXPECT_EQ(le32(il, at), picture.width());
        EXPECT_EQ(le32(il, at + 4), picture.height());
        EXPECT_EQ(il.at(at + 8), char(name.size()));
        EXPECT_EQ(il.mid(at + 9, name.size()), name);
        at += 20;
        const int rowBytes = (picture.width() + 3) / 4 * 4;
        for (int y = 0; y < picture.height(); ++y, at += rowBytes)
            for (int x = 0; x < rowBytes; ++x)
                EXPECT_EQ(uint8_t(il[at + x]), x < picture.width() ? picture.pixelIndex(x, y) : 0)
                    << name.constData() << " " << x << "," << y;
    }

    QFile mapFile(dir.filePath("M"));
    ASSERT_TRUE(mapFile.open(QIODevice::ReadOnly));
    const QByteArray ml = mapFile.readAll();
    ASSERT_EQ(ml.size(), 8 + 32 + 5 + 32);
    EXPECT_EQ(ml.left(4), "ML01");
    EXPECT_EQ(le32(ml, 4), 1);
    EXPECT_EQ(ml.mid(8, 10), "\x09level one");
    EXPECT_EQ(le32(ml, 24), -3);
    EXPECT_EQ(le32(ml, 28), 7);
    EXPECT_EQ(le32(ml, 32), 5);
    EXPECT_EQ(le32(ml, 36), 0);
    EXPECT_EQ(ml.mid(40, 5), "\x01\x02\x03\x04\x05");
    EXPECT_EQ(ml.mid(45, 5), "\x04none");
    EXPECT_EQ(le32(ml, 45 + 24), 0);
}

// What extract prints builds the library again, byte for byte, in every family: the game's own
// sounds with their pans and volumes, and libraries of the test's own with an unnamed entry in
// each family ("=file"), maps with a negative size and an empty map among them.
TEST(GKPackTest, ExtractPrintsWhatBuildsTheLibraryAgain) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto write = [&](const QString &name, const QByteArray &bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    const QString level = write("level.raw", "\x01\x02\x03\x04\x05\x06");
    const QString empty = write("empty.raw", "");
    const QString wave = write("tone.wav", gk::MakeWave({}, QByteArray("\x80\xff\x00\x80", 4)));
    const QString picture = dir.filePath("picture.png");
    ASSERT_TRUE(indexedPicture(3, 2, {qRgb(0, 0, 0), qRgb(9, 99, 199)}, 1).save(picture));

    struct Family {
        QString name;
        QString library;
        QStringList build; // what builds the library first; none for a library at hand
    } const families[] = {
        {"sound", GORBULAX_SOURCE_DIR "/resources/gorbulax.sdl", {}},
        {"sound", dir.filePath("OWN.SDL"), {"=" + wave, "tone=" + wave + ":-300:-40"}},
        {"image", dir.filePath("OWN.IML"), {"=" + picture, picture, "strip=" + picture + ":1"}},
        {"map",
         dir.filePath("MAPS"),
         {"level one=" + level + ":-3:2", "=" + empty, "none=" + empty}},
    };
    int run = 0;
    for (const Family &family : families) {
        SCOPED_TRACE(family.library.toStdString());
        if (!family.build.isEmpty()) {
            const ToolRun made =
                runTool(QStringList{family.name, "build", family.library} + family.build);
            ASSERT_EQ(made.code, 0) << made.err.toStdString();
        }
        const QString out = dir.filePath(QString("out%1").arg(++run));
        const ToolRun extracted = runTool({family.name, "extract", family.library, out});
        ASSERT_EQ(extracted.code, 0) << extracted.err.toStdString();
        const QStringList lines = extracted.out.split('\n', Qt::SkipEmptyParts);
        if (!family.build.isEmpty() && family.build[0].startsWith('=')) {
            EXPECT_TRUE(lines.value(0).startsWith('=')) << "an unnamed entry comes out unnamed";
        }
        const QString rebuilt = out + ".again";
        const ToolRun built = runTool(QStringList{family.name, "build", rebuilt} + lines);
        ASSERT_EQ(built.code, 0) << built.err.toStdString();
        QFile original(family.library);
        QFile again(rebuilt);
        ASSERT_TRUE(original.open(QIODevice::ReadOnly));
        ASSERT_TRUE(again.open(QIODevice::ReadOnly));
        EXPECT_TRUE(original.readAll() == again.readAll());
        const ToolRun listed = runTool({family.name, "list", rebuilt});
        EXPECT_EQ(listed.code, 0);
        EXPECT_EQ(listed.out.count('\n'),
                  extracted.out.count('\n') + (family.name == "image" ? 2 : 1))
            << listed.out.toStdString();
    }

    // The whole syntax is one --help away; a wrong command line points there.
    const ToolRun help = runTool({"--help"});
    EXPECT_EQ(help.code, 0);
    for (const char *part :
         {"sound build OUT.SDL name=file.wav[:pan[:volume]]", "--colors N",
          "[name=]picture.png[:width[:height]]", "name-0, name-1",
          "map build OUT name=file.raw[:width[:height]]", "extract LIB DIR", "\"=file\""})
        EXPECT_TRUE(help.out.contains(part)) << part;
    const ToolRun wrong = runTool({});
    EXPECT_EQ(wrong.code, 2);
    EXPECT_TRUE(wrong.err.contains("gkpack --help")) << wrong.err.toStdString();
}

TEST(GKPackTest, FailuresNameTheFileAndTheReason) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString notPng = dir.filePath("notes.png");
    QFile text(notPng);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a picture");
    text.close();
    const QString red = dir.filePath("red.png");
    const QString blue = dir.filePath("blue.png");
    ASSERT_TRUE(indexedPicture(2, 2, {qRgb(255, 0, 0)}, 0).save(red));
    ASSERT_TRUE(indexedPicture(2, 2, {qRgb(0, 0, 255)}, 0).save(blue));
    const QString out = dir.filePath("OUT.IML");

    struct Row {
        QStringList args;
        QStringList said;
    };
    const QList<Row> rows = {
        {{"image", "build", out, notPng}, {notPng, "cannot read the PNG"}},
        {{"image", "build", out, red, blue}, {red, blue, "do not share a palette", "--reduce"}},
        {{"image", "build", out, "twelve-chars=" + red}, {red, "longer than 11 characters"}},
        {{"image", "build", out, red + ":3"}, {red, "2 x 2 pixels is no strip of frames of 3 x 2"}},
        {{"image", "build", "--colors", "256", out, red},
         {"--colors takes a number from 1 to 255"}},
        {{"map", "build", out, "sixteen-chars-xx=" + red}, {red, "longer than 15 characters"}},
        {{"map", "build", out, "level=" + dir.filePath("none.raw")},
         {dir.filePath("none.raw"), "Cannot open"}},
        {{"image", "list", notPng}, {notPng, "Stream read error"}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.args.join(' ').toStdString());
        const ToolRun run = runTool(row.args);
        EXPECT_EQ(run.code, 1);
        for (const QString &part : row.said)
            EXPECT_TRUE(run.err.contains(part)) << run.err.toStdString();
        EXPECT_FALSE(QFile::exists(out));
    }
    EXPECT_EQ(runTool({"image", "build", "--reduce", out, red, blue}).code, 0);
    EXPECT_EQ(runTool({"image", "frobnicate"}).code, 2);
}

TEST(GKPackTest, ReductionIsExactForFewColoursAndCloseForMany) {
    // 4,096 opaque colours, then a corner of see-through pixels and one of opaque black.
    QImage many(64, 64, QImage::Format_ARGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            many.setPixel(x, y, qRgb(x * 4, y * 4, ((x / 8) * 8 + y / 8) * 4));
    for (int i = 0; i < 4; ++i) {
        many.setPixel(i, 0, qRgba(200, 200, 200, 100));
        many.setPixel(63 - i, 63, qRgb(0, 0, 0));
    }
    QImage few(3, 1, QImage::Format_ARGB32);
    few.setPixel(0, 0, qRgb(0, 0, 0));
    few.setPixel(1, 0, qRgba(0, 0, 0, 0));
    few.setPixel(2, 0, qRgb(1, 2, 3));

    const gkpack::PalettePictures exact = gkpack::ReduceColors({{"few", few}});
    EXPECT_EQ(exact.palette[0], qRgba(0, 0, 0, 0));
    EXPECT_EQ(exact.bits[0], QByteArray("\x01\x00\x02\x00", 4));
    EXPECT_EQ(exact.palette[1], qRgb(0, 0, 0));
    EXPECT_EQ(exact.palette[2], qRgb(1, 2, 3));

    const gkpack::PalettePictures reduced = gkpack::ReduceColors({{"many", many}, {"few", few}});
    EXPECT_EQ(reduced.palette[0], qRgba(0, 0, 0, 0));
    int worst = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const uint8_t index = uint8_t(reduced.bits[0][y * 64 + x]);
            const QRgb source = many.pixel(x, y);
            if (qAlpha(source) < 128) {
                EXPECT_EQ(index, 0);
                continue;
            }
            ASSERT_NE(index, 0) << x << "," << y;
            const QRgb chosen = reduced.palette[index];
            worst = std::max({worst, std::abs(qRed(chosen) - qRed(source)),
                              std::abs(qGreen(chosen) - qGreen(source)),
                              std::abs(qBlue(chosen) - qBlue(source))});
        }
    EXPECT_LE(worst, 24);

    // A cap on the colours leaves the entries above it to the program.
    const gkpack::PalettePictures capped = gkpack::ReduceColors({{"many", many}}, 16);
    EXPECT_LE(uint8_t(*std::max_element(capped.bits[0].begin(), capped.bits[0].end())), 16);
    EXPECT_NE(capped.palette[16], qRgb(0, 0, 0));
    for (std::size_t i = 17; i < capped.palette.size(); ++i)
        ASSERT_EQ(capped.palette[i], 0u) << i;
}
