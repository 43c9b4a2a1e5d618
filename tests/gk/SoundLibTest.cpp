#include "gk/Error.h"
#include "gk/Wave.h"
#include "gk/gkslib.h"
#include "support/LargestAllocation.h"
#include "support/Libraries.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const char *const ReadError = "Stream read error";

void put32(QByteArray &bytes, int64_t value) {
    for (int i = 0; i < 4; ++i)
        bytes.append(char(uint32_t(value) >> (8 * i)));
}

// A header with every byte set apart from its neighbours, so a field read from the wrong
// offset shows.
QByteArray header(int32_t size, const QByteArray &name = "Laser", int32_t pan = 0,
                  int32_t volume = 0) {
    QByteArray h;
    h.append("\x01\x00\x02\x00", 4); // PCM, stereo
    h.append("\x22\x56\x00\x00", 4); // 22050 Hz
    h.append("\x88\x58\x01\x00", 4); // 88200 bytes/s
    h.append("\x04\x00\x10\x00", 4); // align 4, 16 bits
    h.append("\x00\x00\xAB\xCD", 4); // cbSize 0, reserved not 0
    h.append(char(name.size()));
    h.append(name.left(11).leftJustified(11, '\x7F'));
    put32(h, pan);
    put32(h, volume);
    put32(h, size);
    return h;
}

QByteArray samples(int size, char seed) {
    QByteArray s;
    for (int i = 0; i < size; ++i)
        s.append(char(seed + i * 7));
    return s;
}

QByteArray library(const QByteArray &signature, int64_t count, const QList<QByteArray> &sounds) {
    QByteArray block = signature;
    put32(block, count);
    for (const QByteArray &sound : sounds)
        block.append(sound);
    return block;
}

QByteArray threeSounds(const QByteArray &signature = "SL10") {
    return library(signature, 3,
                   {header(5, "stop", 1000, 0) + samples(5, 1),
                    header(3, "Robotz W", -10000, -250) + samples(3, 2),
                    header(6, "woohoo") + samples(6, 3)});
}

TGKSounds loaded() {
    TGKSounds sounds;
    sounds.FromBlock(threeSounds());
    return sounds;
}

} // namespace

TEST(SoundLibTest, ReadsFieldsAndWritesBackByteForByte) {
    const QByteArray block = threeSounds("sl10");
    QByteArray input = block + "trailing bytes";
    for (bool sequential : {false, true}) {
        SCOPED_TRACE(sequential ? "pipe" : "buffer");
        TGKSounds sounds;
        const LibraryRead read = readInto(sounds, input, sequential);
        EXPECT_EQ(read.error, "");
        EXPECT_EQ(read.consumed, block.size());
        ASSERT_EQ(sounds.Count(), 3);
        EXPECT_TRUE(sounds.HasData());

        const TGKSoundEntry second = sounds.GetEntry(1);
        EXPECT_EQ(second.FormatTag(), 1);
        EXPECT_EQ(second.Channels(), 2);
        EXPECT_EQ(second.SamplesPerSec(), 22050u);
        EXPECT_EQ(second.AvgBytesPerSec(), 88200u);
        EXPECT_EQ(second.BlockAlign(), 4);
        EXPECT_EQ(second.BitsPerSample(), 16);
        EXPECT_EQ(second.CbSize(), 0);
        EXPECT_EQ(second.Reserved(), 0xCDAB);
        EXPECT_EQ(second.Name(), "Robotz W");
        EXPECT_EQ(second.Pan(), -10000);
        EXPECT_EQ(second.Volume(), -250);
        EXPECT_EQ(second.Size(), 3);
        EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(second.Data), 3), samples(3, 2));
        EXPECT_EQ(sounds.GetEntry(0).Pan(), 1000);
        EXPECT_EQ(sounds.GetEntry(2).Name(), "woohoo");

        QByteArray written;
        QBuffer out(&written);
        out.open(QIODevice::WriteOnly);
        sounds.WriteData(out);
        EXPECT_EQ(written, block);
        EXPECT_EQ(sounds.ToBlock(), block);
    }

    // A length byte claiming more than the 11 characters held is carried, and clipped only
    // when the name is asked for.
    QByteArray odd = library("Sl10", 1, {header(2, "abcdefghijk") + "xy"});
    odd[8 + 20] = char(200);
    TGKSounds sounds;
    sounds.FromBlock(odd);
    EXPECT_EQ(sounds.GetEntry(0).NameLength(), 200);
    EXPECT_EQ(sounds.GetEntry(0).Name(), "abcdefghijk");
    EXPECT_EQ(sounds.ToBlock(), odd);
}

TEST(SoundLibTest, DamagedBlocksFailAndLeaveTheLibraryEmpty) {
    const QByteArray good = threeSounds();
    const int thirdData = 8 + 3 * 44 + 5 + 3;
    struct Row {
        const char *what;
        QByteArray bytes;
        std::string message;
    };
    const std::string notLibrary = "Not a valid Sound Library File";
    const std::string noTable = "TGKSounds: GemMem Failed for FSounds";
    const std::string noData = "TGKSounds: GemMem Failed for Sound.Data";
    const QList<Row> rows = {
        {"empty", "", ReadError},
        {"cut in the count", good.left(6), ReadError},
        {"other signature", threeSounds("SL11"), notLibrary},
        {"letter case of a digit", threeSounds("SLl0"), notLibrary},
        {"zero in the signature",
         threeSounds(QByteArray("S\0"
                                "10",
                                4)),
         notLibrary},
        {"count 0", library("SL10", 0, {header(5) + samples(5, 1)}), noTable},
        {"count negative", library("SL10", -1, {header(5) + samples(5, 1)}), noTable},
        {"table beyond 32 bits", library("SL10", 0x7fffffff, {header(5) + samples(5, 1)}), noTable},
        {"count beyond the stream", library("SL10", 40'000'000, {header(5) + samples(5, 1)}),
         ReadError},
        {"size 0", library("SL10", 2, {header(5) + samples(5, 1), header(0) + "abc"}), noData},
        {"size negative", library("SL10", 1, {header(-4) + "abcd"}), noData},
        {"size beyond the stream", library("SL10", 1, {header(0x7fffffff) + "abcd"}), ReadError},
        {"cut in a header", good.left(8 + 44 + 5 + 20), ReadError},
        {"cut in the third sound's data", good.left(thirdData + 4), ReadError},
    };
    for (const Row &row : rows) {
        for (bool sequential : {false, true}) {
            SCOPED_TRACE(std::string(row.what) + (sequential ? " (pipe)" : ""));
            TGKSounds sounds = loaded();
            ResetLargestAllocation();
            EXPECT_EQ(readInto(sounds, row.bytes, sequential).error, row.message);
            EXPECT_LT(LargestAllocation(), std::size_t(4) << 20);
            EXPECT_EQ(sounds.Count(), 0);
            EXPECT_FALSE(sounds.HasData());
            EXPECT_EQ(sounds.ToBlock().mid(4), QByteArray(4, '\0'));
        }
    }
}

TEST(SoundLibTest, CopiesAreDeepAndEmptyCopiesEmpty) {
    TGKSounds source = loaded();
    TGKSounds target;
    target.Assign(source);
    source.Clear();
    EXPECT_EQ(source.Count(), 0);
    ASSERT_EQ(target.Count(), 3);
    EXPECT_EQ(target.ToBlock(), threeSounds());

    TGKSounds copy(target);
    EXPECT_NE(copy.GetEntry(0).Data, target.GetEntry(0).Data);
    target.Clear();
    EXPECT_EQ(copy.ToBlock(), threeSounds());

    copy.AssignTo(copy);
    EXPECT_EQ(copy.ToBlock(), threeSounds());

    TGKSounds empty;
    empty.AssignTo(copy);
    EXPECT_EQ(copy.Count(), 0);
    EXPECT_FALSE(copy.HasData());

    TGKSounds moved = loaded();
    const uint8_t *data = moved.GetEntry(2).Data;
    TGKSounds into = std::move(moved);
    EXPECT_EQ(into.GetEntry(2).Data, data);
}

TEST(SoundLibTest, ComponentRemembersOnlyFilesThatLoaded) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("GAME.SDL");
    const auto save = [&](const QByteArray &bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };

    TGKSoundLib lib;
    EXPECT_EQ(errorOf([&] { lib.Reload(); }), "LoadFromFile must be called first");

    const QString missing = dir.filePath("none.SDL");
    const std::string openError = errorOf([&] { lib.LoadFromFile(missing); });
    EXPECT_EQ(openError.rfind("Cannot open file \"" + missing.toStdString() + "\". ", 0), 0u)
        << openError;
    EXPECT_FALSE(lib.HasFileName());
    EXPECT_EQ(errorOf([&] { lib.Reload(); }), "LoadFromFile must be called first");

    save(threeSounds());
    lib.LoadFromFile(path);
    EXPECT_EQ(lib.FileName(), path);
    EXPECT_EQ(lib.Count(), 3);
    // The name is matched without regard to letter case, as the image library's is.
    lib.LoadFromFile(dir.filePath("game.sdl"));
    EXPECT_EQ(lib.FileName(), dir.filePath("game.sdl"));

    lib.Sounds().Clear();
    lib.Reload();
    EXPECT_EQ(lib.Count(), 3);

    save(threeSounds().left(100));
    EXPECT_EQ(errorOf([&] { lib.Reload(); }), ReadError);
    EXPECT_FALSE(lib.HasFileName());
    EXPECT_EQ(lib.Count(), 0);

    save(threeSounds());
    lib.LoadFromFile(path);
    TGKSounds outside = loaded();
    lib.SetSounds(outside);
    outside.Clear();
    EXPECT_EQ(lib.Sounds().ToBlock(), threeSounds());
    // Sounds set from elsewhere are not the file's: nothing may read the file over them.
    EXPECT_FALSE(lib.HasFileName());
}

TEST(SoundLibTest, WaveFilesReadBackAndNonPcmIsRejected) {
    gk::WaveFormat stereo;
    stereo.channels = 2;
    stereo.samplesPerSec = 22050;
    stereo.avgBytesPerSec = 88200;
    stereo.blockAlign = 4;
    stereo.bitsPerSample = 16;
    const QByteArray pcm = samples(12, 9);
    QByteArray file = gk::MakeWave(stereo, pcm);
    ASSERT_EQ(file.size(), 44 + 12);

    // A chunk of odd length before the format, padded to an even offset as RIFF asks.
    file.insert(12, QByteArray("LIST\x03\x00\x00\x00"
                               "abc\0",
                               12));
    QTemporaryDir dir;
    const QString path = dir.filePath("in.wav");
    {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(file);
    }
    const gk::Wave wave = gk::ReadWaveFile(path);
    EXPECT_EQ(wave.format.channels, 2);
    EXPECT_EQ(wave.format.samplesPerSec, 22050u);
    EXPECT_EQ(wave.format.avgBytesPerSec, 88200u);
    EXPECT_EQ(wave.format.blockAlign, 4);
    EXPECT_EQ(wave.format.bitsPerSample, 16);
    EXPECT_EQ(wave.samples, pcm);

    const gk::Wave odd = gk::ParseWave(gk::MakeWave(gk::WaveFormat{}, "abc"));
    EXPECT_EQ(odd.samples, "abc");

    QByteArray floats = gk::MakeWave(stereo, pcm);
    floats[20] = 3;
    EXPECT_NE(errorOf([&] { gk::ParseWave(floats); }).find("not PCM"), std::string::npos);
    QByteArray cut = gk::MakeWave(stereo, pcm);
    cut.chop(1);
    EXPECT_NE(errorOf([&] { gk::ParseWave(cut); }).find("past the end"), std::string::npos);
    QByteArray mono24 = gk::MakeWave(gk::WaveFormat{}, pcm);
    mono24[34] = 24;
    EXPECT_NE(errorOf([&] { gk::ParseWave(mono24); }), "");
    EXPECT_NE(errorOf([&] { gk::ParseWave("RIFX0000WAVE"); }), "");
}
