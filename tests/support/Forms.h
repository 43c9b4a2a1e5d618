#pragma once

// The application's windows as the program creates them, for one test at a time.

#include "dialogs/About.h"
#include "dialogs/HelpU.h"
#include "dialogs/OptionsU.h"
#include "game/Forms.h"
#include "game/GameSounds.h"
#include "game/MainU.h"
#include "gk/AudioOutput.h"
#include "gk/GKSnd.h"
#include "platform/ConfigFolder.h"
#include "support/Render.h"
#include "toolkit/Timer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTimer>

#include <QSignalSpy>
#include <functional>

#include <ostream>

#include <gtest/gtest.h>

// The game's tests name the events throughout.
using game::SoundEvent;
using Events = QList<SoundEvent>;

namespace game {
// Sound events print as their numbers in test messages.
inline void PrintTo(SoundEvent event, std::ostream *out) {
    *out << "SoundEvent " << int(event);
}
} // namespace game

// The sound events a spy on soundEventRaised has seen, in order.
inline Events raisedEvents(const QSignalSpy &spy) {
    Events events;
    for (const QList<QVariant> &call : spy)
        events << static_cast<SoundEvent>(call.at(0).value<quint8>());
    return events;
}

// The program's sound output. The tests hold it still, so a sound stays where it was started
// until a test renders the mixer on by hand.
inline gk::Mixer &Output() {
    return gk::AudioOutput::instance().mixer();
}

// The sounds of an audio component that are playing, by index.
inline QList<int> PlayingSounds(const TGKAudio *audio) {
    QList<int> playing;
    for (int i = 0; i < audio->BufferCount(); ++i) {
        if (Output().isPlaying(audio->Sound(i).Buffer()))
            playing << i;
    }
    return playing;
}

// Where sound `index` of the component will play next, in bytes of its own format.
inline size_t SoundPosition(const TGKAudio *audio, int index) {
    return Output().position(audio->Sound(index).Buffer());
}

// Renders the output on by a number of frames, as the sound card would.
inline void RenderOutput(int frames) {
    render(Output(), frames);
}

// Runs `act` once `shown()` is true, as a player would answer a modal dialog; modal dialogs
// block the test until they close. A `context` given ends the watch when it goes.
inline void WhenShown(std::function<bool()> shown, std::function<void()> act,
                      QObject *context = nullptr) {
    auto *poll = new QTimer(context);
    poll->setInterval(1);
    QObject::connect(poll, &QTimer::timeout,
                     [poll, shown = std::move(shown), act = std::move(act)] {
                         if (!shown())
                             return;
                         poll->stop();
                         poll->deleteLater();
                         act();
                     });
    poll->start();
}

// Runs `act` once `dialog` is the modal window.
inline void WhenModal(QWidget *dialog, std::function<void()> act) {
    WhenShown([dialog] { return QApplication::activeModalWidget() == dialog; }, std::move(act));
}

// Leaves the farewell box the next time it shows, as a player who waits for its Close: its
// timers come at once. `look` sees the box first, before its first timer.
inline void LeaveFarewell(std::function<void()> look = {}) {
    WhenShown(
        [] {
            return AboutBox && AboutBox->ExitMode && QApplication::activeModalWidget() == AboutBox;
        },
        [look = std::move(look)] {
            if (look)
                look();
            AboutBox->Timer1Timer();
            AboutBox->Timer2Timer();
            AboutBox->OKButton->click();
        });
}

// Ends the program as a player does: the main window closes, and then the farewell.
inline void CloseProgram() {
    LeaveFarewell();
    MainForm->close();
}

// The program's folder as the build leaves it: the shipped score table and nothing else; and
// no score table in the user's data folder.
inline void InstallShippedTable() {
    QDir folder(platform::ProgramFolder());
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden))
        folder.remove(name);
    ASSERT_TRUE(
        QFile::copy(QStringLiteral(GORBULAX_SHIPPED_TABLE), folder.filePath("gorbulax.dat")));
    QFile::setPermissions(folder.filePath("gorbulax.dat"), QFile::ReadOwner | QFile::WriteOwner);
    QDir(platform::DataFolder()).removeRecursively();
}

// Sets one counter of the game in progress, the others as they are.
inline void SetCounter(int TGame::Counters::*counter, int value) {
    TGame::Counters counters = MainForm->game().counters();
    counters.*counter = value;
    MainForm->game().setCounters(counters);
}

// The main window's designer widgets, what the player sees of it: Main().PausePanel.
inline const Ui::TMainForm &Main() {
    return MainForm->widgets();
}

// The stars of the game's star list.
inline int StarsOnField() {
    int n = 0;
    for (const FlyingObject *star = MainForm->game().firstStar(); star; star = star->Next)
        ++n;
    return n;
}

class FormsTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Every test starts from a first run: nothing stored, the shipped score table.
        QDir(platform::ConfigFolder()).removeRecursively();
        InstallShippedTable();
        gk::AudioOutput::instance().hold(true);
        CreateForms();
        // The program starts with a sound; each test starts in silence.
        MainForm->StopAllSounds();
        MainForm->show();
        MainForm->game().seedRandom(20261207);
    }
    void TearDown() override { DestroyForms(); }

    // Runs the game's tick n times, as Timer1 would.
    static void Ticks(int n) {
        for (int i = 0; i < n; ++i)
            MainForm->Go();
    }

    // Starts a game and runs its star-making phase to the end.
    static void StartFlying(int stars) {
        OptionsDlg->StarEdit->setText(QString::number(stars));
        MainForm->StartGame();
        // The test runs the ticks; a real one coming while a shot's beam is held, on a loaded
        // machine, would run one more than the test counts.
        MainForm->Timer1->setEnabled(false);
        Ticks(stars + 1);
        ASSERT_FALSE(MainForm->game().makingStars());
    }

    // The escape that ends the game: the flight tick that reaches `travelled` finds the energy
    // below 0.
    static void LoseAt(int travelled) {
        SetCounter(&TGame::Counters::travelled, travelled - 1);
        SetCounter(&TGame::Counters::energy, -10);
        MainForm->Go();
    }

    // Flies on until `travelled` flight ticks, with energy to spare so no escape ends the game.
    static void FlyTo(int travelled) {
        while (MainForm->game().counters().travelled < travelled) {
            SetCounter(&TGame::Counters::energy, 1000);
            MainForm->Go();
        }
    }
};
