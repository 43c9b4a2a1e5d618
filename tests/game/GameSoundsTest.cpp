#include "gk/gkslib.h"
#include "support/Forms.h"

#include <QBuffer>
#include <QFile>
#include <QTest>

#include <iterator>
#include <utility>

namespace {

using namespace game::sound;

struct Expected {
    game::sound::Index index;
    const char *name;
    int channels, rate, bits, align, bytesPerSecond, pan;
};

// The library the game plays from: its sounds in the order of their indices, with the names
// the code gives them.
constexpr Expected GameSounds[] = {
    {Stop, "stop", 1, 22050, 16, 2, 44100, 1000},
    {Backward, "Backward", 2, 22050, 8, 2, 44100, 0},
    {Bigboom, "Bigboom", 1, 11025, 8, 1, 11025, 0},
    {Cackle, "Cackle", 1, 11025, 8, 1, 11025, 0},
    {Exclam, "exclam", 1, 22050, 16, 2, 44100, 1000},
    {Laser, "Laser", 1, 11025, 8, 1, 11025, 0},
    {Newmail, "newmail", 1, 11025, 8, 1, 11025, 0},
    {RobotzA, "Robotz A", 2, 22050, 16, 4, 88200, 0},
    {RobotzW, "Robotz W", 2, 22050, 16, 4, 88200, 0},
    {Screech, "Screech", 1, 11025, 8, 1, 11025, 0},
    {Signatur, "signatur", 1, 22050, 8, 1, 22050, 0},
    {Allfolk, "Allfolk", 1, 11025, 8, 1, 11025, 0},
    {Woohoo, "woohoo", 1, 11025, 8, 1, 11025, 0},
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
    ASSERT_EQ(sounds.Count(), Count);
    for (int i = 0; i < Count; ++i) {
        const TGKSoundEntry entry = sounds.GetEntry(i);
        const Expected &e = GameSounds[i];
        EXPECT_EQ(e.index, i) << e.name;
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
    EXPECT_EQ(f.soundLibrary()->Count(), Count) << "read when the window was made, and kept";
    for (const TGKAudio *audio : {f.Audio, OptionsDlg->OptionsAudio, HelpForm->HelpAudio}) {
        EXPECT_EQ(audio->SoundLibrary(), f.soundLibrary());
        ASSERT_EQ(audio->BufferCount(), Count);
        for (int i = 0; i < Count; ++i) {
            EXPECT_EQ(Output().pan(audio->Sound(i).Buffer()), i == Stop || i == Exclam ? 1000 : 0)
                << i;
            EXPECT_EQ(Output().volume(audio->Sound(i).Buffer()), 0) << i;
        }
    }
    EXPECT_TRUE(PlayingSounds(f.Audio).isEmpty()) << "the window makes no sound of its own";
}

TEST_F(SoundEvents, EachEventRestartsItsSoundFromTheBeginning) {
    TMainForm &f = *MainForm;
    // Every event, in the order of its number, with the sound it plays.
    constexpr std::pair<SoundEvent, int> SoundOfEvent[] = {
        {SoundEvent::Welcome, RobotzW},    {SoundEvent::Allfolk, Allfolk},
        {SoundEvent::RobotzA, RobotzA},    {SoundEvent::Signatur, Signatur},
        {SoundEvent::BadGuyShot, Screech}, {SoundEvent::Laser, Laser},
        {SoundEvent::LowEnergy, Exclam},   {SoundEvent::CriticalEnergy, Stop},
        {SoundEvent::Escape, Backward},    {SoundEvent::NewBadGuy, Newmail},
        {SoundEvent::GameLost, Bigboom},   {SoundEvent::GameOver, Cackle},
        {SoundEvent::Woohoo, Woohoo},
    };
    static_assert(std::size(SoundOfEvent) == 13);
    for (int number = 0; number < 13; ++number) {
        const auto [event, sound] = SoundOfEvent[number];
        ASSERT_EQ(int(event), number);
        f.DoSoundEvent(event);
        EXPECT_EQ(PlayingSounds(f.Audio), QList<int>{sound}) << "event " << number;
        RenderOutput(500);
        ASSERT_GT(SoundPosition(f.Audio, sound), 0u);
        f.DoSoundEvent(event);
        EXPECT_EQ(SoundPosition(f.Audio, sound), 0u) << "event " << number << " again";
        f.StopAllSounds();
    }
    // The numbers past the last event are valid and play nothing.
    for (int number : {13, 100, 255})
        f.DoSoundEvent(static_cast<SoundEvent>(number));
    EXPECT_TRUE(PlayingSounds(f.Audio).isEmpty());
}

TEST_F(SoundEvents, TheSwitchSilencesEventsButAPauseStillStopsWhatPlays) {
    TMainForm &f = *MainForm;
    f.DoSoundEvent(SoundEvent::Laser);
    f.DoSoundEvent(SoundEvent::GameLost);
    ASSERT_EQ(PlayingSounds(f.Audio), QList<int>({Bigboom, Laser}));

    QTest::mouseClick(OptionsDlg->SoundCheck, Qt::LeftButton);
    ASSERT_FALSE(OptionsDlg->SoundCheck->isChecked());
    EXPECT_EQ(PlayingSounds(f.Audio), QList<int>({Bigboom, Laser})) << "what plays runs to its end";
    f.DoSoundEvent(SoundEvent::NewBadGuy);
    EXPECT_EQ(PlayingSounds(f.Audio), QList<int>({Bigboom, Laser})) << "no new sound starts";

    StartFlying(10);
    f.Pause();
    EXPECT_TRUE(PlayingSounds(f.Audio).isEmpty());
}

TEST_F(SoundEvents, ASecondShotRestartsTheLaserRatherThanLayingOverIt) {
    TMainForm &f = *MainForm;
    StartFlying(10);
    f.FireLaser(100, 100);
    RenderOutput(1000);
    const size_t heard = SoundPosition(f.Audio, Laser);
    ASSERT_GT(heard, 0u);
    f.FireLaser(200, 100);
    EXPECT_EQ(SoundPosition(f.Audio, Laser), 0u);
    EXPECT_EQ(PlayingSounds(f.Audio), QList<int>{Laser});
}
