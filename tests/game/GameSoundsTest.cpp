#include "gk/gkslib.h"
#include "support/Forms.h"

#include <QBuffer>
#include <QFile>

namespace {

struct Expected {
    const char *name;
    int channels, rate, bits, align, bytesPerSecond, pan;
};

// The library the game plays from: its sounds in the order of their indices.
constexpr Expected GameSounds[] = {
    {"stop", 1, 22050, 16, 2, 44100, 1000},   {"Backward", 2, 22050, 8, 2, 44100, 0},
    {"Bigboom", 1, 11025, 8, 1, 11025, 0},    {"Cackle", 1, 11025, 8, 1, 11025, 0},
    {"exclam", 1, 22050, 16, 2, 44100, 1000}, {"Laser", 1, 11025, 8, 1, 11025, 0},
    {"newmail", 1, 11025, 8, 1, 11025, 0},    {"Robotz A", 2, 22050, 16, 4, 88200, 0},
    {"Robotz W", 2, 22050, 16, 4, 88200, 0},  {"Screech", 1, 11025, 8, 1, 11025, 0},
    {"signatur", 1, 22050, 8, 1, 22050, 0},   {"Allfolk", 1, 11025, 8, 1, 11025, 0},
    {"woohoo", 1, 11025, 8, 1, 11025, 0},
};

} // namespace

using GameSoundLibrary = FormsTest;

TEST_F(GameSoundLibrary, HoldsTheThirteenSoundsAndWritesBackByteForByte) {
    QFile resource(":/sounds/gorbulax.sdl");
    ASSERT_TRUE(resource.open(QIODevice::ReadOnly));
    const QByteArray block = resource.readAll();
    QBuffer stream;
    stream.setData(block);
    ASSERT_TRUE(stream.open(QIODevice::ReadOnly));

    TGKSounds sounds;
    sounds.ReadData(stream);
    ASSERT_EQ(sounds.Count(), 13);
    for (int i = 0; i < 13; ++i) {
        const TGKSoundEntry entry = sounds.GetEntry(i);
        const Expected &e = GameSounds[i];
        EXPECT_EQ(entry.Name(), QByteArray(e.name)) << i;
        EXPECT_EQ(entry.FormatTag(), 1) << e.name;
        EXPECT_EQ(entry.Channels(), e.channels) << e.name;
        EXPECT_EQ(entry.SamplesPerSec(), uint32_t(e.rate)) << e.name;
        EXPECT_EQ(entry.BitsPerSample(), e.bits) << e.name;
        EXPECT_EQ(entry.BlockAlign(), e.align) << e.name;
        EXPECT_EQ(entry.AvgBytesPerSec(), uint32_t(e.bytesPerSecond)) << e.name;
        EXPECT_EQ(entry.CbSize(), 0) << e.name;
        EXPECT_EQ(entry.Reserved(), 0) << e.name;
        EXPECT_EQ(entry.Pan(), e.pan) << e.name;
        EXPECT_EQ(entry.Volume(), 0) << e.name;
        EXPECT_GT(entry.Size(), 0) << e.name;
        EXPECT_EQ(entry.Size() % e.align, 0) << e.name << ": whole sample frames";
    }

    QBuffer written;
    written.open(QIODevice::WriteOnly);
    sounds.WriteData(written);
    EXPECT_EQ(written.data(), block);
}
