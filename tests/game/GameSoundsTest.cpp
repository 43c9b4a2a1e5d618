#include "gk/gkslib.h"
#include "support/Forms.h"

#include <QBuffer>
#include <QFile>
#include <QTest>

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

using SoundEvents = FormsTest;

TEST_F(SoundEvents, TheWindowsPlayFromTheOneLibraryWithItsPans) {
    const TMainForm &f = *MainForm;
    EXPECT_EQ(f.SoundLib->Count(), 13) << "read when the window was made, and kept";
    for (const TGKAudio *audio : {f.Audio, OptionsDlg->OptionsAudio, HelpForm->HelpAudio}) {
        EXPECT_EQ(audio->SoundLibrary(), f.SoundLib);
        ASSERT_EQ(audio->BufferCount(), 13);
        for (int i = 0; i < 13; ++i) {
            EXPECT_EQ(Output().pan(audio->Sound(i).Buffer()), i == 0 || i == 4 ? 1000 : 0) << i;
            EXPECT_EQ(Output().volume(audio->Sound(i).Buffer()), 0) << i;
        }
    }
    EXPECT_TRUE(PlayingSounds(f.Audio).isEmpty()) << "the window makes no sound of its own";
}

TEST_F(SoundEvents, EachEventRestartsItsSoundFromTheBeginning) {
    TMainForm &f = *MainForm;
    constexpr int SoundOfEvent[] = {8, 11, 7, 10, 9, 5, 4, 0, 1, 6, 2, 3, 12};
    for (int event = 0; event < 13; ++event) {
        const int sound = SoundOfEvent[event];
        f.DoSoundEvent(static_cast<uint8_t>(event));
        EXPECT_EQ(PlayingSounds(f.Audio), QList<int>{sound}) << "event " << event;
        RenderOutput(500);
        ASSERT_GT(SoundPosition(f.Audio, sound), 0u);
        f.DoSoundEvent(static_cast<uint8_t>(event));
        EXPECT_EQ(SoundPosition(f.Audio, sound), 0u) << "event " << event << " again";
        f.StopAllSounds();
    }
    for (int event : {13, 100, 255})
        f.DoSoundEvent(static_cast<uint8_t>(event));
    EXPECT_TRUE(PlayingSounds(f.Audio).isEmpty());
}

TEST_F(SoundEvents, TheSwitchSilencesEventsButAPauseStillStopsWhatPlays) {
    TMainForm &f = *MainForm;
    f.DoSoundEvent(5);
    f.DoSoundEvent(10);
    ASSERT_EQ(PlayingSounds(f.Audio), QList<int>({2, 5}));

    QTest::mouseClick(OptionsDlg->SoundCheck, Qt::LeftButton);
    ASSERT_FALSE(OptionsDlg->SoundCheck->isChecked());
    EXPECT_EQ(PlayingSounds(f.Audio), QList<int>({2, 5})) << "what plays runs to its end";
    f.DoSoundEvent(9);
    EXPECT_EQ(PlayingSounds(f.Audio), QList<int>({2, 5})) << "no new sound starts";

    StartFlying(10);
    f.Pause();
    EXPECT_TRUE(PlayingSounds(f.Audio).isEmpty());
}

TEST_F(SoundEvents, ASecondShotRestartsTheLaserRatherThanLayingOverIt) {
    TMainForm &f = *MainForm;
    StartFlying(10);
    constexpr int Laser = 5;
    f.FireLaser(100, 100);
    RenderOutput(1000);
    const size_t heard = SoundPosition(f.Audio, Laser);
    ASSERT_GT(heard, 0u);
    f.FireLaser(200, 100);
    EXPECT_EQ(SoundPosition(f.Audio, Laser), 0u);
    EXPECT_EQ(PlayingSounds(f.Audio), QList<int>{Laser});
}
