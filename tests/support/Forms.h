#pragma once

// The application's windows as the program creates them, for one test at a time.

#include "dialogs/OptionsU.h"
#include "game/Forms.h"
#include "game/MainU.h"
#include "platform/ConfigFolder.h"

#include <QDir>
#include <QSignalSpy>

#include <gtest/gtest.h>

// The numbers of the sound events a spy on soundEventRaised has seen, in order.
inline QList<int> raisedEvents(const QSignalSpy &spy) {
    QList<int> events;
    for (const QList<QVariant> &call : spy)
        events << call.at(0).toInt();
    return events;
}

class FormsTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Every test starts from a first run: nothing stored.
        QDir(platform::ConfigFolder()).removeRecursively();
        CreateForms();
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
