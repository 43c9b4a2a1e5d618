#include "support/Forms.h"
#include "toolkit/Image.h"
#include "toolkit/SystemColors.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

const QColor Lime{0, 255, 0};

// Puts bad guy i, full grown, at (x, y) on the field and every other one out of the way.
toolkit::Image *Present(int i, int x, int y) {
    TMainForm &f = *MainForm;
    for (int k = 0; k < f.BadGuyImages.size(); ++k)
        f.BadGuyImages[k]->hide();
    FlyingObject &o = f.game().badGuy(i);
    o.X = x;
    o.Y = y;
    o.Age = 20;
    f.placeBadGuy(i, o);
    return f.BadGuyImages[i];
}

} // namespace

using Firing = FormsTest;

TEST_F(Firing, TheTurretFollowsThePointerOverFieldPanelAndStartButton) {
    TMainForm &f = *MainForm;
    const int px = Main().LaserImage->width() / 2;
    QTest::mouseMove(Main().MainBox, QPoint(261, 40));
    EXPECT_EQ(f.game().aim(), QPoint(261, 40));
    const QImage above = Main().LaserImage->picture();
    EXPECT_EQ(above.pixelColor(px, 13), Lime);
    EXPECT_EQ(above.pixelColor(px, 1), QColor(255, 0, 0)) << "the handle";
    EXPECT_EQ(above.pixelColor(1, 1), toolkit::buttonFace());
    EXPECT_EQ(above.pixelColor(49, 1), toolkit::buttonFace());

    f.MainBoxMouseMove(Main().MainBox, {}, 522, 225);
    EXPECT_EQ(Main().LaserImage->picture().pixelColor(px - 13, 0), Lime);

    // Over the start button, the pointer counts in field coordinates.
    const QPoint button = Main().StartButton->pos();
    QTest::mouseMove(Main().StartButton, QPoint(5, 6));
    EXPECT_EQ(f.game().aim(), button + QPoint(5, 6));

    f.StartGame();
    f.Pause();
    QTest::mouseMove(Main().PausePanel, QPoint(100, 50));
    EXPECT_EQ(f.game().aim(), QPoint(100, 50));

    // Hidden (after a game's end) the turret stays as it is and the aim is not updated.
    Main().LaserImage->hide();
    f.MainBoxMouseMove(Main().MainBox, {}, 10, 10);
    EXPECT_EQ(f.game().aim(), QPoint(100, 50));
}

TEST_F(Firing, AClickOnTheFieldFiresAMissAndWipesTheBeam) {
    TMainForm &f = *MainForm;
    QTest::mouseClick(Main().MainBox, Qt::LeftButton, {}, QPoint(100, 50));
    EXPECT_EQ(f.game().counters().shotsFired, 0) << "no firing while stopped";

    StartFlying(0);
    QSignalSpy sounds(&f, &TMainForm::soundEventRaised);
    QTest::mouseClick(Main().MainBox, Qt::LeftButton, {}, QPoint(100, 50));
    EXPECT_EQ(f.game().counters().shotsFired, 1);
    EXPECT_EQ(f.game().counters().hits, 0);
    EXPECT_EQ(raisedEvents(sounds), Events({SoundEvent::Laser}));
    const QImage field = Main().MainBox->image();
    for (int y = 0; y < field.height(); ++y)
        for (int x = 0; x < field.width(); ++x)
            ASSERT_EQ(field.pixelColor(x, y), QColor(0, 0, 0)) << "at " << x << "," << y;
}

TEST_F(Firing, AHitScoresOnceAndTheExplosionStartsNextTick) {
    TMainForm &f = *MainForm;
    StartFlying(0);
    FlyTo(101);
    toolkit::Image *image = Present(0, 200, 80);
    QSignalSpy sounds(&f, &TMainForm::soundEventRaised);
    SetCounter(&TGame::Counters::energy, 10);
    SetCounter(&TGame::Counters::lastEnergy, 10);

    QTest::mouseClick(image, Qt::LeftButton, {}, QPoint(20, 20));
    const FlyingObject &o = f.game().badGuy(0);
    EXPECT_TRUE(o.Hit);
    EXPECT_EQ(o.State, 1);
    EXPECT_EQ(f.game().counters().shotsFired, 1);
    EXPECT_EQ(f.game().counters().hits, 1);
    EXPECT_EQ(f.game().counters().energy, 20);
    EXPECT_EQ(Main().ScoreLab->text(), "20");
    EXPECT_EQ(raisedEvents(sounds), Events({SoundEvent::Laser, SoundEvent::BadGuyShot}));
    EXPECT_EQ(Main().StatsLabel->text(), "Shots Fired : 1    Hits : 1    Accuracy : 100%");

    // A second click on the exploding bad guy fires again but scores nothing.
    sounds.clear();
    QTest::mouseClick(image, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(f.game().counters().shotsFired, 2);
    EXPECT_EQ(f.game().counters().hits, 1);
    EXPECT_EQ(f.game().counters().energy, 20);
    EXPECT_EQ(raisedEvents(sounds), Events({SoundEvent::Laser}));
}

TEST_F(Firing, AClickIsCreditedToTheBadGuyOfItsImageNotOfItsName) {
    TMainForm &f = *MainForm;
    StartFlying(0);
    FlyTo(3900);
    ASSERT_EQ(f.game().badGuyCount(), 13);
    toolkit::Image *image = Present(12, 300, 100);
    ASSERT_EQ(image->objectName(), "BadImage12");
    QTest::mouseClick(image, Qt::LeftButton, {}, QPoint(10, 10));
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(f.game().badGuy(i).Hit, i == 12) << "bad guy " << i;

    // An image that is no bad guy of this game (one left from a game reset while the beam was
    // held) fires but hits nobody, whatever its name.
    toolkit::Image stranger(Main().BackPanel);
    stranger.setObjectName("BadImage3");
    f.BadGuyMouseDown(&stranger, Qt::LeftButton, {}, 5, 5);
    EXPECT_EQ(f.game().counters().shotsFired, 2);
    EXPECT_EQ(f.game().counters().hits, 1);
    EXPECT_FALSE(f.game().badGuy(3).Hit);
}

TEST_F(Firing, RightClicksPauseOnlyInAGame) {
    TMainForm &f = *MainForm;
    StartFlying(0);
    FlyTo(101);
    toolkit::Image *image = Present(0, 200, 80);
    QTest::mouseClick(image, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_TRUE(f.game().stopped());
    EXPECT_TRUE(Main().PausePanel->isVisible());

    // Paused: left clicks on a bad guy do nothing.
    f.BadGuyMouseDown(image, Qt::LeftButton, {}, 5, 5);
    EXPECT_EQ(f.game().counters().shotsFired, 0);
    EXPECT_FALSE(f.game().badGuy(0).Hit);
}

TEST_F(Firing, AHitIsCreditedBeforeATickDuringTheBeamCanChargeAnEscape) {
    TMainForm &f = *MainForm;
    StartFlying(0);
    FlyTo(101);
    // The bad guy is shot on the tick before it leaves the field, with no energy left.
    toolkit::Image *image = Present(0, 540, 80);
    FlyingObject &o = f.game().badGuy(0);
    o.DX = 30;
    o.DY = 0;
    SetCounter(&TGame::Counters::energy, 0);
    SetCounter(&TGame::Counters::lastEnergy, 0);
    const int travelled = f.game().counters().travelled;
    QSignalSpy sounds(&f, &TMainForm::soundEventRaised);
    // The next tick comes while the beam is held.
    QTimer::singleShot(0, &f, [&f] { f.Go(); });

    f.BadGuyMouseDown(image, Qt::LeftButton, {}, 5, 5);
    ASSERT_EQ(f.game().counters().travelled, travelled + 1) << "no tick ran during the beam";
    EXPECT_EQ(f.game().counters().hits, 1);
    EXPECT_EQ(f.game().counters().energy, 10);
    EXPECT_TRUE(f.game().inGame());
    EXPECT_FALSE(sounds.isEmpty());
    EXPECT_EQ(raisedEvents(sounds).mid(0, 2), Events({SoundEvent::Laser, SoundEvent::BadGuyShot}));
    EXPECT_FALSE(raisedEvents(sounds).contains(SoundEvent::Escape)) << "charged as an escape";
}
