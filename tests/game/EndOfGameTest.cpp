#include "components/OnlineIP.h"
#include "scores/ScoreBoardU.h"
#include "scores/getNameU.h"
#include "support/Forms.h"
#include "toolkit/Image.h"
#include "toolkit/SystemColors.h"
#include "toolkit/Timer.h"

#include <QSignalSpy>
#include <QTimer>

namespace {

// Samples of the animation, taken every time the window's messages are processed.
struct Frames {
    QList<int> barTops;    // LoseLabel's top while it slides alone
    QList<int> blanks;     // the blanks between "Game" and "Over!"
    QList<bool> newUsable; // whether "&New" could be chosen
};

void Sample(QTimer &timer, Frames &frames) {
    timer.setInterval(0);
    QObject::connect(&timer, &QTimer::timeout, [&frames] {
        frames.newUsable << Main().New1->isEnabled();
        if (Main().LoseLabel2->isVisible())
            frames.blanks << int(Main().LoseLabel2->text().count(' '));
        else if (Main().LoseLabel->isVisible() && Main().LoseLabel->text().trimmed().isEmpty())
            frames.barTops << Main().LoseLabel->y();
    });
    timer.start();
}

bool NonIncreasing(const QList<int> &values) {
    return std::is_sorted(values.rbegin(), values.rend());
}

} // namespace

using EndOfGame = FormsTest;

TEST_F(EndOfGame, TheResultsCountUpToTheFinalScore) {
    TMainForm &f = *MainForm;
    StartFlying(10);
    SetCounter(&TGame::Counters::hits, 12);
    SetCounter(&TGame::Counters::shotsFired, 15);
    SetCounter(&TGame::Counters::travelled, 2343);
    f.Go();
    ASSERT_EQ(f.game().accuracy(), 80);
    QSignalSpy sounds(&f, &TMainForm::soundEventRaised);
    Frames frames;
    QTimer sampler;
    Sample(sampler, frames);

    LoseAt(2345);
    sampler.stop();

    EXPECT_FALSE(f.game().inGame());
    EXPECT_TRUE(f.game().stopped());
    EXPECT_FALSE(f.Timer1->enabled());
    EXPECT_TRUE(Main().CloseButton->isEnabled());
    EXPECT_FALSE(Main().LaserImage->isVisible());
    EXPECT_EQ(Main().Panel7->color(), toolkit::buttonFace());
    const Events events = raisedEvents(sounds);
    EXPECT_EQ(events.mid(events.indexOf(SoundEvent::GameLost)),
              Events({SoundEvent::GameLost, SoundEvent::GameOver}));

    // The bar slides down to the middle, the words close in to one blank between them.
    ASSERT_FALSE(frames.barTops.isEmpty());
    EXPECT_TRUE(std::is_sorted(frames.barTops.begin(), frames.barTops.end()));
    EXPECT_LE(frames.barTops.front(), 1) << "from the top edge";
    EXPECT_GE(frames.barTops.back(), 100);
    ASSERT_GT(frames.blanks.size(), 10);
    EXPECT_TRUE(NonIncreasing(frames.blanks));
    EXPECT_EQ(frames.blanks.back(), 1);
    EXPECT_FALSE(frames.newUsable.contains(true)) << "\"&New\" is never usable meanwhile";
    EXPECT_EQ(Main().LoseLabel->y(), Main().BackPanel->height() / 2);
    EXPECT_EQ(Main().LoseLabel->text(), "Game Over!");
    EXPECT_FALSE(Main().LoseLabel->isVisible());
    EXPECT_FALSE(Main().LoseLabel2->isVisible());

    EXPECT_TRUE(Main().StartAnother->isVisible());
    EXPECT_EQ(Main().StartAnother->pos(), QPoint(523 / 2 - Main().StartAnother->width() / 2,
                                                 226 / 2 - Main().StartAnother->height() / 2));
    EXPECT_EQ(Main().StartAnother->color(), toolkit::buttonFace());
    EXPECT_EQ(Main().StartAnother->bevelOuter(), toolkit::Panel::Bevel::Raised);
    EXPECT_EQ(Main().RS_Hits->caption(), "Kills : 12");
    EXPECT_EQ(Main().RS_Acc->caption(), "Accuracy : 80%");
    EXPECT_EQ(Main().RS_Dist->caption(), "Distance : 23");
    EXPECT_EQ(Main().RS2_Hits->caption(), "1200");
    EXPECT_EQ(Main().RS2_Acc->caption(), "800");
    EXPECT_EQ(Main().RS2_Dist->caption(), "2345");
    EXPECT_EQ(Main().RS2_FinalScore->caption(), "4345");
    EXPECT_EQ(f.game().results().points.total(), 4345);
    EXPECT_TRUE(Main().ResultsPanel->isVisible());
    EXPECT_TRUE(Main().StartAnotherButton->isVisible());
    EXPECT_FALSE(Main().StartAnotherButton->isEnabled());
    EXPECT_FALSE(Main().New1->isEnabled());
    EXPECT_TRUE(f.Timer2->enabled());
    EXPECT_EQ(f.Timer2->interval(), 2500);

    // A click on the field of a finished game does nothing.
    f.MainBoxMouseDown(Main().MainBox, Qt::LeftButton, {}, 100, 100);
    f.MainBoxMouseDown(Main().MainBox, Qt::RightButton, {}, 100, 100);
    EXPECT_EQ(f.game().counters().shotsFired, 15);
    EXPECT_FALSE(Main().PausePanel->isVisible());
}

TEST_F(EndOfGame, AQualifyingScoreIsEnteredAndShownThenAnotherGameStartsAtOnce) {
    TMainForm &f = *MainForm;
    StartFlying(10);
    LoseAt(4345);
    ASSERT_EQ(f.game().results().points.total(), 4345);

    int markedRow = -1;
    WhenModal(GetNameDlg, [&markedRow] {
        GetNameDlg->PlayerName->setText("Tester");
        GetNameDlg->BitBtn1->click();
        WhenModal(ScoreBoard, [&markedRow] {
            for (int row = 0; row < 10; ++row) {
                if (ScoreBoard->ImageOf(row) == TScoreBoard::JustEntered)
                    markedRow = row;
            }
            ScoreBoard->BitBtn1->click();
        });
    });
    f.Timer2->onTimer();
    EXPECT_EQ(markedRow, 2);
    EXPECT_EQ(ScoreBoard->ScoreTable[2].Name, "Tester");
    EXPECT_FALSE(f.Timer2->enabled());
    EXPECT_TRUE(Main().New1->isEnabled());
    EXPECT_TRUE(Main().StartAnotherButton->isEnabled());

    Main().StartAnotherButton->click();
    EXPECT_FALSE(Main().StartAnother->isVisible());
    EXPECT_FALSE(Main().StartButton->isVisible());
    EXPECT_TRUE(f.game().inGame());
    EXPECT_TRUE(f.game().makingStars());
    EXPECT_TRUE(f.Timer1->enabled());
    EXPECT_EQ(f.game().counters().travelled, 0);
    EXPECT_EQ(f.game().firstStar(), nullptr) << "the last game's stars are gone";
    EXPECT_TRUE((f.game().badGuyCount() == 0));
}

TEST_F(EndOfGame, AScoreOutsideTheTableAsksNothingAndNewIsUsableAgain) {
    TMainForm &f = *MainForm;
    StartFlying(0);
    LoseAt(120); // no shot fired: only the distance scores
    EXPECT_EQ(Main().RS_Acc->caption(), "Accuracy : 0%");
    EXPECT_EQ(f.game().results().points.total(), 120);
    EXPECT_FALSE(f.onlineDetector()->Enabled()) << "the detector waits for the results";
    f.Timer2->onTimer(); // a dialog would wait here for a click that never comes
    EXPECT_TRUE(Main().New1->isEnabled());
    EXPECT_TRUE(Main().StartAnotherButton->isEnabled());
    EXPECT_TRUE(f.onlineDetector()->Enabled());

    // "&New" from the results: the idle field with its start button, not the results box.
    Main().New1->trigger();
    EXPECT_TRUE(Main().StartButton->isVisible());
    EXPECT_FALSE(Main().StartAnother->isVisible());
}

TEST_F(EndOfGame, ClosingTheWindowStopsTheSequenceWhereItIs) {
    TMainForm &f = *MainForm;
    StartFlying(30);
    FlyTo(700);
    QSignalSpy sounds(&f, &TMainForm::soundEventRaised);
    QTimer::singleShot(0, &f, [] { CloseProgram(); });
    LoseAt(f.game().counters().travelled + 1);
    EXPECT_TRUE(f.WindowClosed);
    EXPECT_FALSE(raisedEvents(sounds).contains(SoundEvent::GameOver)) << "the sequence went on";
    EXPECT_FALSE(Main().StartAnother->isVisible());
    EXPECT_FALSE(f.Timer2->enabled());
    EXPECT_FALSE(f.game().objectsLive());
    EXPECT_TRUE((f.game().badGuyCount() == 0));
}

// The menu's windows pause a game in flight, and open during the end sequence without
// stopping it: the results still count up once the window is closed.
TEST_F(EndOfGame, TheMenusWindowsPauseAFlightAndLeaveTheSequenceGoingOn) {
    TMainForm &f = *MainForm;
    const std::pair<QAction *, QDialog *> items[] = {{Main().ViewHighScores1, ScoreBoard},
                                                     {Main().SetOptions1, OptionsDlg},
                                                     {Main().Help2, HelpForm}};
    for (const auto &[action, item] : items) {
        // A copy for the lambda: not every compiler lets one capture a structured binding.
        QDialog *const window = item;
        SCOPED_TRACE(action->text().toStdString());
        StartFlying(0);
        bool shown = false;
        WhenModal(window, [&shown, window] {
            shown = true;
            window->reject();
        });
        action->trigger();
        EXPECT_TRUE(shown);
        EXPECT_TRUE(f.game().stopped());
        EXPECT_TRUE(Main().PausePanel->isVisible());
        Main().New1->trigger();
    }

    StartFlying(0);
    bool shown = false;
    QTimer::singleShot(0, &f, [&shown] {
        WhenModal(ScoreBoard, [&shown] {
            shown = true;
            ScoreBoard->BitBtn1->click();
        });
        Main().ViewHighScores1->trigger();
    });
    LoseAt(120);
    EXPECT_TRUE(shown);
    EXPECT_FALSE(Main().PausePanel->isVisible());
    EXPECT_EQ(Main().RS2_FinalScore->caption(), "120");
    EXPECT_TRUE(Main().StartAnother->isVisible());
    EXPECT_TRUE(f.Timer2->enabled());
}

// From the loss until the name dialog would ask, any close enters a score that makes the table
// under the name the dialog's box holds, and leaves the remembered name as it was.
TEST_F(EndOfGame, AnyCloseBeforeTheNameDialogKeepsAQualifyingScore) {
    const struct {
        const char *close;
        std::function<void()> run;
    } closes[] = {
        {"the window's close", [] { CloseProgram(); }},
        {"a signal", [] { MainForm->CloseWithoutFarewell(); }},
    };
    const struct {
        const char *moment;
        bool countingUp;
    } moments[] = {{"during the count-up", true}, {"waiting for the dialog", false}};
    for (const auto &close : closes) {
        for (const auto &moment : moments) {
            const std::string what = std::string(close.close) + ", " + moment.moment;
            // Each close ends the program: each case starts it afresh.
            TearDown();
            SetUp();
            TMainForm &f = *MainForm;
            GetNameDlg->PlayerName->setText("Remembered");
            GetNameDlg->PlayerName->Save();
            GetNameDlg->PlayerName->setText("Left in the box");
            bool asked = false;
            WhenShown([] { return QApplication::activeModalWidget() == GetNameDlg; },
                      [&asked] { asked = true, GetNameDlg->close(); }, GetNameDlg);
            StartFlying(10);
            if (moment.countingUp)
                WhenShown([] { return Main().ResultsPanel->isVisible(); }, close.run);
            LoseAt(4345);
            if (!moment.countingUp) {
                ASSERT_TRUE(f.Timer2->enabled()) << what;
                close.run();
            }
            ASSERT_TRUE(f.WindowClosed) << what;
            EXPECT_FALSE(f.Timer2->enabled()) << what;
            QCoreApplication::processEvents();
            EXPECT_FALSE(asked) << what;

            scores::ScoreTable table;
            scores::ReadScoreFile(ScoreBoard->DataFile, table);
            EXPECT_EQ(table[2].Score, "4345") << what;
            EXPECT_EQ(table[2].Name, "Left in the box") << what;
            EXPECT_EQ(table[3].Name, "Comet Kid") << what;
            // What the next run's dialog offers.
            GetNameDlg->PlayerName->Restore();
            EXPECT_EQ(GetNameDlg->PlayerName->text(), "Remembered") << what;
        }
    }
}
