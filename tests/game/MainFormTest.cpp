#include "components/OnlineIP.h"
#include "support/Forms.h"
#include "toolkit/Gauge.h"
#include "toolkit/Image.h"
#include "toolkit/SystemColors.h"
#include "toolkit/Timer.h"

#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

const QColor Red{255, 0, 0};
const QColor Maroon{128, 0, 0};
const QColor Green{0, 128, 0};

QColor textColor(const QWidget *control) {
    return control->palette().color(QPalette::WindowText);
}

} // namespace

using MainWindowLayout = FormsTest;

TEST_F(MainWindowLayout, DesignedClientAreaGivesTheDesignedField) {
    TMainForm &f = *MainForm;
    ASSERT_EQ(Main().ClientArea->size(), QSize(612, 406));
    EXPECT_EQ(f.windowTitle(), "Gorbulax");
    EXPECT_EQ(Main().MainBox->size(), QSize(523, 226));
    EXPECT_EQ(Main().BackPanel->size(), QSize(523, 226));
    EXPECT_EQ(Main().Panel5->height(), 406);
    EXPECT_EQ(Main().LaserImage->pos(), QPoint(236, 0));
    EXPECT_EQ(Main().RightPanel->width(), 236);
    EXPECT_EQ(Main().LeftPanel->width(), 237);
    EXPECT_EQ(Main().LeftPanel->x(), 286);
    EXPECT_EQ(Main().StartButton->pos(), QPoint(174, 77));
    EXPECT_EQ(Main().Gauge1->height(), 284);
    EXPECT_EQ(Main().Label1->y(), 337);
    EXPECT_EQ(Main().ScoreLab->y(), 352);
    EXPECT_EQ(Main().EnergLabel->y(), 370);
    EXPECT_EQ(Main().CloseButton->x(), 523 / 2 - 70 / 2);
    EXPECT_EQ(Main().BannerImage->pos(), QPoint(521 / 2 - 468 / 2, 70 / 2 - 60 / 2));
    EXPECT_TRUE(Main().StartButton->isVisible());
    EXPECT_FALSE(Main().PausePanel->isVisible());
    EXPECT_FALSE(Main().StartAnother->isVisible());
    EXPECT_EQ(Main().BackPanel->color(), QColor(0, 0, 0));
}

TEST_F(MainWindowLayout, GrowingKeepsThingsCentredAndStretchesTheMeter) {
    TMainForm &f = *MainForm;
    const int menu = f.height() - Main().ClientArea->height();
    f.resize(812, 506 + menu);
    QCoreApplication::processEvents();
    ASSERT_EQ(Main().ClientArea->size(), QSize(812, 506));
    EXPECT_EQ(Main().MainBox->size(), QSize(723, 326));
    EXPECT_EQ(Main().LaserImage->x(), 723 / 2 - 25);
    EXPECT_EQ(Main().RightPanel->width() + Main().LaserImage->width() + Main().LeftPanel->width(),
              723);
    EXPECT_EQ(Main().LeftPanel->geometry().right(), 722);
    EXPECT_EQ(Main().StartButton->pos(), QPoint(723 / 2 - 87, 326 / 2 - 36));
    EXPECT_EQ(Main().Gauge1->height(), 506 - 122);
    EXPECT_EQ(Main().EnergLabel->y(), 506 - 36);
    EXPECT_EQ(Main().BannerImage->x(), 721 / 2 - 234);
}

TEST_F(MainWindowLayout, MenuHasEveryItemInOrderWithItsAccelerators) {
    QStringList bar;
    for (QAction *entry : Main().MainMenu1->actions())
        bar << entry->text();
    EXPECT_EQ(bar, QStringList({"&Game", "&Options", "&Help"}));

    const auto items = [](QMenu *menu) {
        QStringList texts;
        for (QAction *item : menu->actions())
            texts << (item->isSeparator() ? QStringLiteral("-") : item->text());
        return texts;
    };
    EXPECT_EQ(items(Main().Game1), QStringList({"&New", "-", "E&xit"}));
    EXPECT_EQ(items(Main().Options1),
              QStringList({"&View High Scores...", "&Preferences", "-", "&Check for upgrade..."}));
    EXPECT_EQ(items(Main().Help1), QStringList({"&Help", "&Umbrel Prowlet Website",
                                                "&Info about Mailing list", "-", "&About"}));
    EXPECT_EQ(Main().InfoaboutMailinglist1->toolTip(), "live link");
    EXPECT_TRUE(Main().New1->isEnabled());
    EXPECT_TRUE(Main().Exit1->isEnabled());
}

using Captions = FormsTest;

TEST_F(Captions, EnergyBandsSetTextColourAndSoundOverAFallAndARise) {
    TMainForm &f = *MainForm;
    StartFlying(0);
    QSignalSpy sounds(&f, &TMainForm::soundEventRaised);
    struct Step {
        int energy;
        const char *label;
        QColor colour;
        Events events;
    };
    SetCounter(&TGame::Counters::energy, 80);
    f.Go();
    EXPECT_EQ(Main().EnergLabel->text(), "OK");
    EXPECT_EQ(Main().Gauge1->barColor(), Green);
    sounds.clear();

    const Step steps[] = {
        {70, "OK", Green, {}},
        {60, "Low", Maroon, {SoundEvent::LowEnergy}},
        {50, "Low", Maroon, {}},
        {30, "Low", Maroon, {}},
        {20, "Critical", Red, {SoundEvent::CriticalEnergy}},
        {10, "Critical", Maroon, {}},
        {0, "Critical", Red, {}},
        {10, "Critical", Maroon, {}},
        {30, "Low", Maroon, {}},
        {70, "OK", Green, {}},
    };
    for (const Step &s : steps) {
        SetCounter(&TGame::Counters::energy, s.energy);
        f.Go();
        EXPECT_EQ(Main().EnergLabel->text(), s.label) << "energy " << s.energy;
        EXPECT_EQ(Main().Gauge1->barColor(), s.colour) << "energy " << s.energy;
        EXPECT_EQ(textColor(Main().EnergLabel), s.colour) << "energy " << s.energy;
        EXPECT_EQ(Main().ScoreLab->text(), QString::number(s.energy));
        EXPECT_EQ(Main().Gauge1->progress(), s.energy / 2);
        EXPECT_EQ(raisedEvents(sounds), s.events) << "energy " << s.energy;
        sounds.clear();
    }

    SetCounter(&TGame::Counters::energy, 250);
    f.Go();
    EXPECT_EQ(Main().Gauge1->progress(), 100);
}

TEST_F(Captions, ANewGameStartsCriticalAndFlashesWithoutAnAlarm) {
    TMainForm &f = *MainForm;
    QSignalSpy sounds(&f, &TMainForm::soundEventRaised);
    f.StartGame();
    Ticks(3);
    EXPECT_EQ(Main().EnergLabel->text(), "Critical");
    const QColor first = Main().Gauge1->barColor();
    Ticks(1);
    EXPECT_NE(Main().Gauge1->barColor(), first);
    EXPECT_TRUE(Main().Gauge1->barColor() == Red || Main().Gauge1->barColor() == Maroon);
    EXPECT_TRUE(raisedEvents(sounds).isEmpty());
}

TEST_F(Captions, DistanceLevelAndAccuracyLines) {
    TMainForm &f = *MainForm;
    StartFlying(0);
    QSignalSpy sounds(&f, &TMainForm::soundEventRaised);
    EXPECT_EQ(Main().DistLabel->text(), "");
    FlyTo(99);
    EXPECT_EQ(Main().DistLabel->text(), "Distance travelled  : 0 Light Years     Level : 1");
    EXPECT_TRUE(sounds.isEmpty());
    FlyTo(100);
    EXPECT_EQ(Main().DistLabel->text(), "Distance travelled  : 1 Light Years     Level : 1");
    EXPECT_EQ(raisedEvents(sounds), Events({SoundEvent::NewBadGuy}));
    FlyTo(599);
    EXPECT_EQ(Main().DistLabel->text(), "Distance travelled  : 5 Light Years     Level : 1");
    FlyTo(600);
    EXPECT_EQ(Main().DistLabel->text(), "Distance travelled  : 6 Light Years     Level : 2");

    SetCounter(&TGame::Counters::shotsFired, 100);
    SetCounter(&TGame::Counters::hits, 53);
    f.Go();
    EXPECT_EQ(Main().StatsLabel->text(), "Shots Fired : 100    Hits : 53    Accuracy : 52%");
    EXPECT_EQ(f.game().accuracy(), 52);
}

using GameStates = FormsTest;

TEST_F(GameStates, StartBuildsTheFieldThenFlies) {
    TMainForm &f = *MainForm;
    f.StartGame();
    EXPECT_TRUE(f.game().inGame());
    EXPECT_FALSE(f.game().stopped());
    EXPECT_TRUE(f.game().makingStars());
    EXPECT_TRUE(f.Timer1->enabled());
    EXPECT_EQ(f.Timer1->effectiveInterval(), 55);
    EXPECT_FALSE(Main().StartButton->isVisible());
    EXPECT_FALSE(Main().CloseButton->isEnabled());
    EXPECT_EQ(f.game().counters().energy, 10);
    EXPECT_EQ(f.game().aim(), QPoint(261, 113));

    // A count of 100 takes 101 ticks: one star a tick, then a tick that ends the phase.
    Ticks(100);
    EXPECT_EQ(StarsOnField(), 100);
    EXPECT_TRUE(f.game().makingStars());
    EXPECT_EQ(f.game().counters().travelled, 0);
    Ticks(1);
    EXPECT_FALSE(f.game().makingStars());
    EXPECT_EQ(f.game().counters().travelled, 0);
    Ticks(1);
    EXPECT_EQ(f.game().counters().travelled, 1);
}

TEST_F(GameStates, ACountThatIsNoNumberBuildsTheDesignedHundred) {
    TMainForm &f = *MainForm;
    for (const char *text : {"", "12a", "-5", "99999999999999999999", "2147483648"}) {
        OptionsDlg->StarEdit->setText(QString::fromLatin1(text));
        EXPECT_EQ(f.StarCount(), 100) << text;
    }
    OptionsDlg->StarEdit->setText(QStringLiteral("2147483647"));
    EXPECT_EQ(f.StarCount(), 2147483647);
    OptionsDlg->StarEdit->setText(QStringLiteral("007"));
    EXPECT_EQ(f.StarCount(), 7);
}

TEST_F(GameStates, PauseAndResumeFromStarMakingAndFlight) {
    TMainForm &f = *MainForm;
    OptionsDlg->StarEdit->setText(QStringLiteral("20"));
    f.StartGame();
    Ticks(5);

    // A right click on the field pauses the star making.
    QTest::mouseClick(Main().MainBox, Qt::RightButton, {}, QPoint(100, 100));
    EXPECT_TRUE(f.game().stopped());
    EXPECT_TRUE(f.game().inGame());
    EXPECT_TRUE(f.game().makingStars());
    EXPECT_FALSE(f.Timer1->enabled());
    EXPECT_TRUE(Main().CloseButton->isEnabled());
    EXPECT_TRUE(Main().PausePanel->isVisible());
    EXPECT_EQ(Main().PausePanel->caption(), "Paused! Click to resume game");
    EXPECT_EQ(Main().PausePanel->color(), toolkit::buttonFace());
    EXPECT_FALSE(f.pauseBusy());

    // Any click on the pause panel resumes.
    QTest::mouseClick(Main().PausePanel, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(f.game().stopped());
    EXPECT_TRUE(f.Timer1->enabled());
    EXPECT_FALSE(Main().PausePanel->isVisible());
    EXPECT_FALSE(Main().CloseButton->isEnabled());
    EXPECT_EQ(Main().PausePanel->color(), QColor(0, 0, 0));
    EXPECT_TRUE(f.game().makingStars());

    Ticks(30);
    ASSERT_FALSE(f.game().makingStars());
    f.Pause();
    EXPECT_TRUE(f.game().stopped());
    const int travelled = f.game().counters().travelled;
    f.Pause();
    EXPECT_FALSE(f.game().stopped());
    EXPECT_EQ(f.game().counters().travelled, travelled);
}

TEST_F(GameStates, ClicksOutsideAGameAndDuringAFadeChangeNothing) {
    TMainForm &f = *MainForm;
    QTest::mouseClick(Main().MainBox, Qt::RightButton, {}, QPoint(100, 100));
    EXPECT_TRUE(f.game().stopped());
    EXPECT_FALSE(Main().PausePanel->isVisible());

    // A click on the panel while it fades in is ignored: the pause is still on its way.
    f.StartGame();
    bool busy = false, pausedByClick = true;
    QTimer::singleShot(0, &f, [&] {
        busy = f.pauseBusy();
        f.PausePanelMouseDown(Main().PausePanel, Qt::LeftButton, {}, 1, 1);
        pausedByClick = f.game().stopped();
    });
    f.Pause();
    EXPECT_TRUE(busy);
    EXPECT_FALSE(pausedByClick);
    EXPECT_TRUE(f.game().stopped());
}

TEST_F(GameStates, NewResetsFromEveryState) {
    TMainForm &f = *MainForm;
    QSignalSpy sounds(&f, &TMainForm::soundEventRaised);
    const auto expectIdle = [&f](const char *from) {
        EXPECT_TRUE(f.game().stopped()) << from;
        EXPECT_FALSE(f.game().inGame()) << from;
        EXPECT_FALSE(f.Timer1->enabled()) << from;
        EXPECT_TRUE(Main().StartButton->isVisible()) << from;
        EXPECT_FALSE(Main().PausePanel->isVisible()) << from;
        EXPECT_TRUE(Main().CloseButton->isEnabled()) << from;
        EXPECT_TRUE(Main().LaserImage->isVisible()) << from;
        EXPECT_EQ(f.game().counters().travelled, 0) << from;
        EXPECT_EQ(f.game().counters().energy, 0) << from;
        EXPECT_EQ(Main().DistLabel->text(), "") << from;
        EXPECT_EQ(Main().EnergLabel->text(), "") << from;
        EXPECT_EQ(f.game().firstStar(), nullptr) << from;
        EXPECT_FALSE(f.game().objectsLive()) << from;
        const QImage field = Main().MainBox->image();
        EXPECT_EQ(field.pixelColor(0, 0), QColor(0, 0, 0)) << from;
        EXPECT_EQ(field.pixelColor(field.width() - 1, field.height() - 1), QColor(0, 0, 0)) << from;
    };

    f.NewGame();
    expectIdle("idle");
    EXPECT_EQ(raisedEvents(sounds), Events({SoundEvent::Welcome}));

    f.StartGame();
    Ticks(50);
    f.NewGame();
    expectIdle("making stars");

    StartFlying(30);
    Ticks(200);
    f.NewGame();
    expectIdle("flying");

    StartFlying(30);
    Ticks(10);
    f.Pause();
    f.NewGame();
    expectIdle("paused");
}

// The online detector is watched only while no game runs and the player can reach the links:
// while paused (and after a game's results). Before the first game it reports offline.
TEST_F(GameStates, OnlineDetectorRunsOnlyWhilePaused) {
    TMainForm &f = *MainForm;
    EXPECT_FALSE(f.onlineDetector()->Online());
    EXPECT_EQ(f.onlineDetector()->IP(), "");
    EXPECT_EQ(f.onlineDetector()->DispatchInterval(), 1000u);
    const struct {
        const char *step;
        std::function<void()> action;
        bool enabled;
    } steps[] = {
        {"created", [] {}, false},
        {"started", [&f] { f.StartGame(); }, false},
        {"paused", [&f] { f.Pause(); }, true},
        {"resumed", [&f] { f.Pause(); }, false},
        {"paused again", [&f] { f.Pause(); }, true},
        {"new game from the pause", [&f] { f.NewGame(); }, false},
        {"started again", [&f] { f.StartGame(); }, false},
        {"new game while running", [&f] { f.NewGame(); }, false},
        {"new game when idle", [&f] { f.NewGame(); }, false},
    };
    for (const auto &s : steps) {
        s.action();
        EXPECT_EQ(f.onlineDetector()->Enabled(), s.enabled) << s.step;
    }
}

TEST_F(GameStates, TheTimerDrivesTheGame) {
    TMainForm &f = *MainForm;
    OptionsDlg->StarEdit->setText(QStringLiteral("2"));
    f.StartGame();
    EXPECT_TRUE(QTest::qWaitFor([&f] { return f.game().counters().travelled > 0; }, 5000));
}

using WindowPlacement = FormsTest;

TEST_F(WindowPlacement, TheWindowComesBackAsItWasLeft) {
    MainForm->resize(700, 500);
    MainForm->move(40, 30);
    QCoreApplication::processEvents();
    const QRect left = MainForm->frameGeometry();
    CloseProgram();
    DestroyForms();

    CreateForms();
    MainForm->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(MainForm->frameGeometry().size(), left.size());
    EXPECT_EQ(MainForm->frameGeometry().topLeft(), left.topLeft());

    // Maximized stays maximized; the size it had before is not applied on top.
    MainForm->showMaximized();
    QCoreApplication::processEvents();
    CloseProgram();
    DestroyForms();
    CreateForms();
    MainForm->show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(MainForm->windowState() & Qt::WindowMaximized);
}
