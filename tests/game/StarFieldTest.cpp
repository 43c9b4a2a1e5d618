#include "support/Forms.h"

#include <QSet>

namespace {

int countStars() {
    int n = 0;
    for (const FlyingObject *star = MainForm->FirstStar(); star; star = star->Next)
        ++n;
    return n;
}

int whitePixels(const QImage &image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixelColor(x, y) == QColor(255, 255, 255);
    return n;
}

} // namespace

using StarField = FormsTest;

TEST_F(StarField, ResetObjectsNeverStandStillAndStartAtTheSpawnPoint) {
    TMainForm &f = *MainForm;
    FlyingObject o;
    o.Gone = o.Hit = true;
    o.State = 7;
    o.Age = 99;
    for (int i = 0; i < 2000; ++i) {
        f.ResetObject(o);
        ASSERT_FALSE(o.DX == 0 && o.DY == 0);
        ASSERT_GE(o.DX, -10);
        ASSERT_LE(o.DX, 9);
        ASSERT_GE(o.DY, -10);
        ASSERT_LE(o.DY, 9);
    }
    EXPECT_EQ(o.Age, 0);
    EXPECT_FALSE(o.Gone);
    EXPECT_FALSE(o.Hit);
    EXPECT_TRUE(o.Frame);
    EXPECT_EQ(o.State, 0);

    // Outside a game: the field centre, wherever the pointer was.
    f.AimX = 10;
    f.AimY = 10;
    f.ResetObject(o);
    EXPECT_EQ(QPoint(o.X, o.Y), QPoint(261, 113));

    // In a game, before the pointer moves: the centre; after, halfway to the pointer.
    f.StartGame();
    EXPECT_EQ(QPoint(f.SpareStar.X, f.SpareStar.Y), QPoint(261, 113));
    f.MainBoxMouseMove(f.MainBox, {}, 61, 13);
    EXPECT_EQ(QPoint(f.AimX, f.AimY), QPoint(61, 13));
    f.ResetObject(o);
    EXPECT_EQ(QPoint(o.X, o.Y), QPoint(161, 63));
}

TEST_F(StarField, StarsAreAddedInFrontAndTheSpareIsRerolled) {
    TMainForm &f = *MainForm;
    f.StartGame();
    EXPECT_EQ(f.FirstStar(), nullptr);
    const FlyingObject spare = f.SpareStar;
    f.AddStar();
    FlyingObject *first = f.FirstStar();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Next, nullptr);
    EXPECT_EQ(first->DX, spare.DX);
    EXPECT_EQ(first->DY, spare.DY);
    f.AddStar();
    EXPECT_EQ(f.FirstStar()->Next, first);
    EXPECT_EQ(countStars(), 2);
}

TEST_F(StarField, AStarSpeedsUpFromAge15) {
    TMainForm &f = *MainForm;
    FlyingObject star;
    star.X = 100;
    star.Y = 100;
    star.DX = 8;
    star.DY = 1;
    star.Age = 14;
    f.DrawStar(star);
    EXPECT_EQ(star.DX, 8);
    EXPECT_EQ(star.DY, 1);
    EXPECT_EQ(f.MainBox->image().pixelColor(100, 100), QColor(255, 255, 255));
    EXPECT_EQ(whitePixels(f.MainBox->image()), 1);
    f.EraseObject(star);
    EXPECT_EQ(whitePixels(f.MainBox->image()), 0);

    star.Age = 15;
    f.DrawStar(star);
    EXPECT_EQ(star.DX, 10);
    EXPECT_EQ(star.DY, 1);
    EXPECT_GT(whitePixels(f.MainBox->image()), 1);
    f.EraseObject(star);
    EXPECT_EQ(whitePixels(f.MainBox->image()), 0);
}

TEST_F(StarField, MovingAgesUpTo6001AndLeavingTheFieldMarksGone) {
    TMainForm &f = *MainForm;
    FlyingObject o;
    o.DX = 0;
    o.DY = 0;
    for (int i = 0; i < 7000; ++i)
        f.MoveObject(o);
    EXPECT_EQ(o.Age, 6001);

    o.X = -32;
    o.Y = 0;
    EXPECT_TRUE(f.OnScreen(o));
    o.X = -33;
    EXPECT_FALSE(f.OnScreen(o));
    EXPECT_TRUE(o.Gone);
    o.X = 0;
    EXPECT_TRUE(f.OnScreen(o)); // only a reset clears Gone
    EXPECT_TRUE(o.Gone);
    o.Gone = false;
    o.X = 523 + 32;
    EXPECT_TRUE(f.OnScreen(o));
    o.X = 523 + 33;
    EXPECT_FALSE(f.OnScreen(o));
}

TEST_F(StarField, FlightKeepsItsStarsAndRecyclesThemInPlace) {
    TMainForm &f = *MainForm;
    StartFlying(100);
    EXPECT_EQ(countStars(), 100);
    QSet<const FlyingObject *> records;
    for (const FlyingObject *star = f.FirstStar(); star; star = star->Next)
        records.insert(star);

    FlyTo(600);
    QSet<const FlyingObject *> after;
    int young = 0;
    for (const FlyingObject *star = f.FirstStar(); star; star = star->Next) {
        after.insert(star);
        young += star->Age < 100;
    }
    EXPECT_EQ(after, records);
    EXPECT_GT(young, 0) << "stars that left the field start again";
    EXPECT_GT(whitePixels(f.MainBox->image()), 0);
}

TEST_F(StarField, ErasingEveryStarLeavesNoWhitePixel) {
    TMainForm &f = *MainForm;
    StartFlying(200);
    // Steer around so that stars of every size are on the field.
    for (int i = 0; i < 300; ++i) {
        if (i % 50 == 0)
            f.MainBoxMouseMove(f.MainBox, {}, (i * 37) % 523, (i * 11) % 226);
        f.Energy = 1000; // no escape ends the flight
        f.Go();
    }
    ASSERT_GT(whitePixels(f.MainBox->image()), 0);
    for (FlyingObject *star = f.FirstStar(); star; star = star->Next)
        f.EraseObject(*star);
    EXPECT_EQ(whitePixels(f.MainBox->image()), 0);
}

TEST_F(StarField, AnEmptyFieldFliesAndReleasesNothing) {
    TMainForm &f = *MainForm;
    StartFlying(0);
    Ticks(50);
    EXPECT_EQ(countStars(), 0);
    EXPECT_EQ(whitePixels(f.MainBox->image()), 0);
    f.ReleaseObjects();
    EXPECT_FALSE(f.ObjectsLive);
    f.ReleaseObjects();
}

TEST_F(StarField, ReleaseFreesTheListAndRerollsTheSpareAtTheCentre) {
    TMainForm &f = *MainForm;
    StartFlying(50);
    f.MainBoxMouseMove(f.MainBox, {}, 0, 0);
    f.InGame = false;
    f.ReleaseObjects();
    EXPECT_EQ(f.FirstStar(), nullptr);
    EXPECT_FALSE(f.ObjectsLive);
    EXPECT_EQ(QPoint(f.SpareStar.X, f.SpareStar.Y), QPoint(261, 113));
}
