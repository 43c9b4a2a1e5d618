// The main window among the desktop's other windows: leaving it for another program or
// minimising it pauses a flight, the keys beside the mouse controls, its smallest size, and the
// close a logout or a signal asks for.

#include "support/Forms.h"
#include "toolkit/Panel.h"

#include <QMenu>
#include <QTest>

namespace {

const QString Paused = "Paused! Click to resume game";

void expectPaused(bool paused, const char *what) {
    EXPECT_EQ(MainForm->game().stopped() && MainForm->game().inGame(), paused) << what;
    EXPECT_EQ(Main().PausePanel->isVisible(), paused) << what;
    if (paused) {
        EXPECT_EQ(Main().PausePanel->caption(), Paused) << what;
    }
}

void activate() {
    MainForm->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(MainForm));
}

} // namespace

using Desktop = FormsTest;

TEST_F(Desktop, LeavingTheWindowPausesAGameThatRunsAndNothingElse) {
    const struct {
        const char *state;
        std::function<void()> reach;
        bool pauses;
    } states[] = {
        {"idle", [] {}, false},
        {"making stars",
         [] {
             OptionsDlg->StarEdit->setText("20");
             MainForm->StartGame();
             MainForm->Timer1->setEnabled(false);
             Ticks(3);
         },
         true},
        {"flying", [] { StartFlying(0); }, true},
        {"paused", [] { StartFlying(0), MainForm->Pause(); }, true},
        {"over", [] { StartFlying(0), MainForm->game().stop(), MainForm->game().abandon(); },
         false},
    };
    const struct {
        const char *how;
        std::function<void()> leave;
    } ways[] = {
        {"another program takes the focus",
         [] { emit qApp->applicationStateChanged(Qt::ApplicationInactive); }},
        {"minimised", [] { MainForm->showMinimized(); }},
    };
    for (const auto &way : ways) {
        for (const auto &s : states) {
            MainForm->showNormal();
            MainForm->NewGame();
            s.reach();
            const bool wasStopped = MainForm->game().stopped();
            way.leave();
            QCoreApplication::processEvents();
            const std::string what = std::string(s.state) + ", " + way.how;
            if (s.pauses) {
                expectPaused(true, what.c_str());
                EXPECT_FALSE(MainForm->Timer1->enabled()) << what;
            } else {
                EXPECT_EQ(MainForm->game().stopped(), wasStopped) << what;
            }
            // Coming back resumes nothing: the player clicks the panel.
            MainForm->showNormal();
            emit qApp->applicationStateChanged(Qt::ApplicationActive);
            QCoreApplication::processEvents();
            if (s.pauses)
                expectPaused(true, what.c_str());
        }
    }
}

TEST_F(Desktop, KeysPauseResumeHelpAndExitBesideTheMenu) {
    TMainForm &f = *MainForm;
    activate();
    QTest::keyClick(&f, Qt::Key_P);
    expectPaused(false, "P before a game");

    StartFlying(0);
    for (const Qt::Key key : {Qt::Key_P, Qt::Key_Pause}) {
        QTest::keyClick(&f, key);
        expectPaused(true, "the first press");
        QTest::keyClick(&f, key);
        expectPaused(false, "the second press");
        EXPECT_TRUE(f.Timer1->enabled());
        f.Timer1->setEnabled(false);
    }

    // F1 opens the help, pausing the flight as the menu item does.
    bool helpShown = false;
    WhenModal(HelpForm, [&] { helpShown = true, HelpForm->close(); });
    QTest::keyClick(&f, Qt::Key_F1);
    EXPECT_TRUE(helpShown);
    expectPaused(true, "after the help");

    // The menus show the keys beside their items; the captions stay as designed.
    EXPECT_EQ(Main().Help2->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(Main().Exit1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_TRUE(Main().New1->shortcut().isEmpty());
    EXPECT_EQ(Main().Exit1->text(), "E&xit");

    // Ctrl+Q leaves as E&xit does: with the farewell.
    activate();
    bool farewell = false;
    LeaveFarewell([&] { farewell = true; });
    QTest::keyClick(&f, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(farewell);
    EXPECT_FALSE(f.isVisible());
}

TEST_F(Desktop, TheWindowIsNeverSmallerThanDesigned) {
    TMainForm &f = *MainForm;
    const QSize designed = f.size();
    f.resize(200, 120);
    QCoreApplication::processEvents();
    EXPECT_EQ(f.size(), designed);
    EXPECT_EQ(Main().ClientArea->size(), QSize(612, 406));
    EXPECT_EQ(Main().StartButton->pos(), QPoint(174, 77));
    EXPECT_TRUE(Main().MainBox->rect().contains(Main().StartButton->geometry()));
    f.resize(designed.width() + 100, 120);
    QCoreApplication::processEvents();
    EXPECT_EQ(f.size(), QSize(designed.width() + 100, designed.height()));
}

// A logout or a signal to end: the window closes as a window manager's close would, and its
// placement is kept, but no farewell waits for a player who has gone; a dialog of the game's,
// the farewell among them, closes with it.
TEST_F(Desktop, AClosingAskedForBySignalKeepsThePlacementAndSaysNoFarewell) {
    const struct {
        const char *during;
        std::function<void()> run;
    } cases[] = {
        {"a flight", [] { MainForm->CloseWithoutFarewell(); }},
        {"the preferences",
         [] {
             WhenModal(OptionsDlg, [] { MainForm->CloseWithoutFarewell(); });
             MainForm->SetOptions1Click();
         }},
        {"the farewell",
         [] {
             WhenModal(AboutBox, [] { MainForm->CloseWithoutFarewell(); });
             MainForm->close();
         }},
    };
    for (const auto &c : cases) {
        StartFlying(0);
        FlyTo(120);
        ASSERT_GT(MainForm->game().badGuyCount(), 0);
        MainForm->resize(700, 500);
        MainForm->move(40, 30);
        QCoreApplication::processEvents();
        const QRect left = MainForm->frameGeometry();
        bool farewell = false;
        WhenShown([] { return AboutBox && AboutBox->ExitMode && AboutBox->isVisible(); },
                  [&] { farewell = true; }, MainForm);
        c.run();
        EXPECT_FALSE(MainForm->isVisible()) << c.during;
        EXPECT_FALSE(QApplication::activeModalWidget()) << c.during;
        EXPECT_TRUE(MainForm->WindowClosed) << c.during;
        EXPECT_EQ(MainForm->game().badGuyCount(), 0) << c.during;
        EXPECT_FALSE(MainForm->game().objectsLive()) << c.during;
        if (std::string(c.during) != "the farewell") {
            EXPECT_FALSE(farewell) << c.during;
        }

        DestroyForms();
        CreateForms();
        MainForm->show();
        QCoreApplication::processEvents();
        EXPECT_EQ(MainForm->frameGeometry(), left) << c.during;
    }
}

// A start the player has already left behind (Start clicked, the focus gone before the window
// heard of it, or the window minimised) pauses at once; one at home does not.
TEST_F(Desktop, AStartWhileAwayPausesAtOnceAndStaysPaused) {
    const struct {
        const char *how;
        std::function<void()> leave;
        bool pauses;
    } ways[] = {
        {"at home", [] { emit qApp->applicationStateChanged(Qt::ApplicationActive); }, false},
        {"another program has the focus",
         [] { emit qApp->applicationStateChanged(Qt::ApplicationInactive); }, true},
        {"minimised", [] { MainForm->showMinimized(); }, true},
    };
    for (const auto &way : ways) {
        MainForm->showNormal();
        emit qApp->applicationStateChanged(Qt::ApplicationActive);
        MainForm->NewGame();
        QCoreApplication::processEvents();
        way.leave();
        QCoreApplication::processEvents();
        ASSERT_FALSE(MainForm->game().inGame()) << way.how;
        MainForm->StartGame();
        QCoreApplication::processEvents();
        expectPaused(way.pauses, way.how);
        EXPECT_EQ(MainForm->Timer1->enabled(), !way.pauses) << way.how;
        EXPECT_TRUE(MainForm->game().makingStars()) << way.how;
        MainForm->Timer1->setEnabled(false);
    }
}

// Started with Space, before any move of the mouse, the turret shows at once: a lime knob.
TEST_F(Desktop, AGameStartedFromTheKeyboardShowsItsTurretAtOnce) {
    TMainForm &f = *MainForm;
    const auto knobShown = [] {
        const QImage turret = Main().LaserImage->picture();
        for (int y = 0; y < turret.height(); ++y) {
            for (int x = 0; x < turret.width(); ++x) {
                if (turret.pixelColor(x, y) == QColor(0, 255, 0))
                    return true;
            }
        }
        return false;
    };
    ASSERT_FALSE(knobShown());
    activate();
    QTest::keyClick(Main().StartButton, Qt::Key_Space);
    ASSERT_TRUE(f.game().inGame());
    f.Timer1->setEnabled(false);
    EXPECT_TRUE(knobShown());
}

// F11 fills the screen, laid out as a maximised window, and brings the window back where it
// was; a program closed full screen starts full screen, and its normal bounds come back when
// it leaves full screen.
TEST_F(Desktop, F11FillsTheScreenAndTheWindowComesBackWhereItWas) {
    TMainForm &f = *MainForm;
    f.resize(700, 500);
    f.move(40, 30);
    activate();
    const QRect left = f.frameGeometry();
    const QSize field = Main().MainBox->size();
    QTest::keyClick(&f, Qt::Key_F11);
    QCoreApplication::processEvents();
    ASSERT_TRUE(f.isFullScreen());
    EXPECT_GT(Main().MainBox->width(), field.width());
    EXPECT_GT(Main().MainBox->height(), field.height());
    EXPECT_TRUE(Main().MainBox->rect().contains(Main().StartButton->geometry()));
    QTest::keyClick(&f, Qt::Key_F11);
    QCoreApplication::processEvents();
    EXPECT_FALSE(f.isFullScreen());
    EXPECT_EQ(f.frameGeometry(), left);

    QTest::keyClick(&f, Qt::Key_F11);
    f.CloseWithoutFarewell();
    DestroyForms();
    CreateForms();
    MainForm->show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(MainForm->isFullScreen());
    MainForm->ToggleFullScreen();
    QCoreApplication::processEvents();
    EXPECT_EQ(MainForm->frameGeometry(), left);
}
