#pragma once

// The application's windows as the program creates them, for one test at a time.

#include "dialogs/HelpU.h"
#include "dialogs/OptionsU.h"
#include "game/Forms.h"
#include "game/MainU.h"
#include "gk/AudioOutput.h"
#include "gk/GKSnd.h"
#include "platform/ConfigFolder.h"
#include "support/Render.h"

#include <QDir>
#include <QSignalSpy>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

// The numbers of the sound events a spy on soundEventRaised has seen, in order.
inline QList<int> raisedEvents(const QSignalSpy &spy) {
    QList<int> events;
    for (const QList<QVariant> &call : spy)
        events << call.at(0).toInt();
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

// Runs `whileOpen` once `dialog` shows modally, then lets its exec return unless `whileOpen`
// closed it already. The check repeats: what opens the dialog may process pending events of
// its own first.
inline void WhileModal(QDialog *dialog, const std::function<void()> &whileOpen) {
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, dialog, whileOpen] {
        if (!dialog->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        whileOpen();
        if (dialog->isVisible())
            dialog->done(QDialog::Rejected);
    });
    poll->start(10);
}

class FormsTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Every test starts from a first run: nothing stored.
        QDir(platform::ConfigFolder()).removeRecursively();
        gk::AudioOutput::instance().hold(true);
        CreateForms();
        // The program starts with a sound; each test starts in silence.
        MainForm->StopAllSounds();
        MainForm->show();
        MainForm->SeedRandom(20261207);
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
        Ticks(stars + 1);
        ASSERT_FALSE(MainForm->MakingStars);
    }

    // Flies on until `travelled` flight ticks, with energy to spare so no escape ends the game.
    static void FlyTo(int travelled) {
        while (MainForm->Travelled < travelled) {
            MainForm->Energy = 1000;
            MainForm->Go();
        }
    }
};
