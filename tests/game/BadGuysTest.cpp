#include "game/GameRules.h"
#include "support/Forms.h"
#include "toolkit/Image.h"
#include "toolkit/ImageList.h"

#include <QSignalSpy>

using BadGuys = FormsTest;

TEST_F(BadGuys, CountFollowsTheDistanceAndEachNewOneChimes) {
    TMainForm &f = *MainForm;
    StartFlying(0);
    QSignalSpy sounds(&f, &TMainForm::soundEventRaised);
    FlyTo(100);
    EXPECT_TRUE(f.BadGuyImages.isEmpty());
    EXPECT_EQ(raisedEvents(sounds), Events({SoundEvent::NewBadGuy}));
    sounds.clear();
    FlyTo(101);
    EXPECT_EQ(f.BadGuyImages.size(), 1);
    EXPECT_TRUE(raisedEvents(sounds).contains(SoundEvent::NewBadGuy));

    FlyTo(599);
    EXPECT_EQ(f.BadGuyImages.size(), 1);
    FlyTo(600);
    EXPECT_EQ(f.BadGuyImages.size(), 2);
    FlyTo(3299);
    EXPECT_EQ(f.BadGuyImages.size(), 10);
    FlyTo(3300);
    ASSERT_EQ(f.BadGuyImages.size(), 11);
    ASSERT_EQ(f.game().badGuyCount(), 11);
    for (int i = 0; i < 11; ++i) {
        const toolkit::Image *image = f.BadGuyImages[i];
        EXPECT_EQ(image->objectName(), QStringLiteral("BadImage%1").arg(i));
        EXPECT_EQ(image->parentWidget(), Main().BackPanel);
        EXPECT_TRUE(image->stretch());
        EXPECT_TRUE(image->transparent());
        EXPECT_EQ(image->cursor().shape(), Qt::PointingHandCursor);
    }
}

TEST_F(BadGuys, EachUsesTheImageListOfItsIndexModFour) {
    TMainForm &f = *MainForm;
    EXPECT_EQ(f.BadGuyImageList(0), f.IM_BadGuy0);
    EXPECT_EQ(f.BadGuyImageList(3), f.IM_BadGuy3);
    EXPECT_EQ(f.BadGuyImageList(4), f.IM_BadGuy0);
    EXPECT_EQ(f.BadGuyImageList(5), f.IM_BadGuy1);
    EXPECT_EQ(f.BadGuyImageList(10), f.IM_BadGuy2);

    // The artwork: two 50 × 50 frames a kind, seven 55 × 48 explosion frames, the last black.
    for (const toolkit::ImageList *list :
         {f.IM_BadGuy0, f.IM_BadGuy1, f.IM_BadGuy2, f.IM_BadGuy3}) {
        EXPECT_EQ(list->count(), 2);
        EXPECT_EQ(list->size(), QSize(50, 50));
        EXPECT_NE(list->frame(0), list->frame(1)) << "the two frames flap";
    }
    ASSERT_EQ(f.ExplodeList->count(), 7);
    EXPECT_EQ(f.ExplodeList->size(), QSize(55, 48));
    const QImage black = f.ExplodeList->frame(6);
    for (int y = 0; y < black.height(); ++y)
        for (int x = 0; x < black.width(); ++x)
            ASSERT_EQ(black.pixel(x, y), qRgba(0, 0, 0, 255));
}

TEST_F(BadGuys, ANewOneShowsAt3x3NextToTheVanishingPointAndGrows) {
    TMainForm &f = *MainForm;
    StartFlying(0);
    FlyTo(100);
    f.MainBoxMouseMove(Main().MainBox, {}, 61, 13);
    FlyTo(101);
    ASSERT_EQ(f.game().badGuyCount(), 1);
    const FlyingObject &o = f.game().badGuy(0);
    toolkit::Image *image = f.BadGuyImages[0];
    EXPECT_EQ(o.Age, 1);
    EXPECT_EQ(QPoint(o.X - o.DX, o.Y - o.DY), QPoint(161, 63)) << "spawned at the vanishing point";
    EXPECT_EQ(image->geometry(), QRect(o.X, o.Y, 3, 3));
    EXPECT_TRUE(image->isVisible());
    EXPECT_FALSE(o.Frame) << "frame 0 was shown, frame 1 comes next";
    EXPECT_EQ(image->picture().size(), QSize(50, 50));

    for (int tick = 2; tick <= 20; ++tick) {
        f.game().badGuy(0).X = 200; // pinned inside the field
        f.game().badGuy(0).Y = 100;
        FlyTo(100 + tick);
        EXPECT_EQ(image->width(), game::BadGuySide(tick, 50));
        EXPECT_EQ(o.Frame, tick % 2 == 0) << "flaps every tick";
    }
    EXPECT_EQ(image->size(), QSize(50, 50));
}

TEST_F(BadGuys, AHitBadGuyAtTheTurnEndsTheTickAndPassesTheTurnOn) {
    TMainForm &f = *MainForm;
    StartFlying(0);
    SetCounter(&TGame::Counters::travelled, 899);
    FlyTo(901);
    ASSERT_EQ(f.game().badGuyCount(), 3);
    for (int i = 0; i < f.game().badGuyCount(); ++i) {
        f.game().badGuy(i).X = 200;
        f.game().badGuy(i).Y = 100;
    }
    FlyingObject &first = f.game().badGuy(0);
    first.Hit = true;
    first.State = 1;
    const FlyingObject third = f.game().badGuy(2);
    f.game().setTurnCounter(10);
    FlyTo(f.game().counters().travelled + 1);
    EXPECT_EQ(f.game().turnCounter(), 10) << "the turn waits for the next bad guy";
    EXPECT_EQ(f.game().badGuy(2).Age, third.Age) << "the rest of the tick was skipped";
    EXPECT_EQ(f.game().badGuy(2).X, third.X);
}

TEST_F(BadGuys, AShotOneExplodesHidesCountsDownAndComesBack) {
    TMainForm &f = *MainForm;
    StartFlying(0);
    FlyTo(101);
    FlyingObject &o = f.game().badGuy(0);
    toolkit::Image *image = f.BadGuyImages[0];
    o.X = 200;
    o.Y = 100;
    o.DX = 1;
    o.DY = 0;
    f.game().setTurnCounter(0); // no turn during the explosion
    o.Hit = true;
    o.State = 1;
    SetCounter(&TGame::Counters::energy, 500);

    // States 1 to 6 show the explosion frames, 7 hides the image and moves it out.
    for (int state = 1; state <= 6; ++state) {
        f.Go();
        EXPECT_EQ(o.State, state + 1);
        EXPECT_TRUE(image->isVisible());
        EXPECT_EQ(image->picture().size(), QSize(55, 48));
    }
    const QImage blank = image->picture();
    EXPECT_EQ(blank.pixelColor(27, 24), QColor(0, 0, 0)) << "frame 6 blanks the picture";
    f.Go();
    EXPECT_FALSE(o.Hit);
    EXPECT_EQ(o.State, 1);
    EXPECT_GE(o.X, 10000);
    EXPECT_FALSE(image->geometry().intersects(Main().MainBox->geometry()));

    // Then it counts down outside and is reset on the 19th tick there.
    for (int tick = 1; tick <= 18; ++tick) {
        f.Go();
        EXPECT_EQ(o.State, tick + 1);
        EXPECT_FALSE(image->isVisible());
    }
    f.Go();
    EXPECT_EQ(o.State, 0);
    EXPECT_EQ(o.Age, 0);
    EXPECT_LT(o.X, 523);
    EXPECT_EQ(f.game().counters().energy, 500) << "a shot bad guy costs nothing";
}

TEST_F(BadGuys, AnEscapeCostsTenOnceAndItComesBackAfterTheCountdown) {
    TMainForm &f = *MainForm;
    StartFlying(0);
    FlyTo(101);
    FlyingObject &o = f.game().badGuy(0);
    o.X = -100;
    o.DX = -1;
    QSignalSpy sounds(&f, &TMainForm::soundEventRaised);
    SetCounter(&TGame::Counters::energy, 500);
    f.Go();
    EXPECT_EQ(f.game().counters().energy, 490);
    EXPECT_EQ(raisedEvents(sounds), Events({SoundEvent::Escape}));
    EXPECT_FALSE(f.BadGuyImages[0]->isVisible());
    sounds.clear();
    for (int tick = 1; tick <= 18; ++tick) {
        f.Go();
        EXPECT_EQ(o.State, tick + 1);
    }
    EXPECT_EQ(f.game().counters().energy, 490);
    EXPECT_FALSE(raisedEvents(sounds).contains(SoundEvent::Escape));
    f.Go();
    EXPECT_EQ(o.State, 0) << "reset on the 19th tick after the escape";
}

TEST_F(BadGuys, OneShotNearTheEdgeLeavesWithoutCost) {
    TMainForm &f = *MainForm;
    StartFlying(0);
    FlyTo(101);
    FlyingObject &o = f.game().badGuy(0);
    o.X = 523 + 30;
    o.Y = 100;
    o.DX = 5;
    o.DY = 0;
    o.Hit = true;
    o.State = 3;
    SetCounter(&TGame::Counters::energy, 500);
    f.Go();
    EXPECT_EQ(f.game().counters().energy, 500);
    EXPECT_EQ(o.State, 4);
    for (int tick = 0; tick < 16; ++tick)
        f.Go();
    EXPECT_EQ(o.State, 0);
    EXPECT_FALSE(o.Hit);
    EXPECT_EQ(f.game().counters().energy, 500);
}

TEST_F(BadGuys, FlightAllocatesOnlyItsSpawns) {
    TMainForm &f = *MainForm;
    StartFlying(100);
    FlyTo(1000);
    QSet<const void *> objects;
    const auto collect = [&f] {
        QSet<const void *> all;
        for (const FlyingObject *star = f.game().firstStar(); star; star = star->Next)
            all.insert(star);
        for (int i = 0; i < f.game().badGuyCount(); ++i) {
            all.insert(&f.game().badGuy(i));
            all.insert(f.BadGuyImages[i]);
        }
        return all;
    };
    objects = collect();
    ASSERT_EQ(objects.size(), 100 + 2 * 3);
    FlyTo(1199);
    EXPECT_EQ(collect(), objects) << "no spawn due: every record and image is the same";
    FlyTo(1200);
    const QSet<const void *> after = collect();
    EXPECT_EQ(after.size(), objects.size() + 2);
    EXPECT_TRUE(after.contains(objects));

    f.NewGame();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(f.BadGuyImages.isEmpty());
    EXPECT_TRUE((f.game().badGuyCount() == 0));
    EXPECT_EQ(Main().BackPanel->findChildren<toolkit::Image *>().size(), 0);
}
