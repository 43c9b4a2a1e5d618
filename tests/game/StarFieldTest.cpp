#include "support/Forms.h"

#include <QSet>

namespace {

int whitePixels(const QImage &image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixelColor(x, y) == QColor(255, 255, 255);
    return n;
}

} // namespace

using StarField = FormsTest;

TEST_F(StarField, AStarIsAPixelUntilAge15ThenADiscAndErasesItself) {
    TMainForm &f = *MainForm;
    FlyingObject star;
    star.X = 100;
    star.Y = 100;
    star.Age = 14;
    f.drawStar(star);
    EXPECT_EQ(Main().MainBox->image().pixelColor(100, 100), QColor(255, 255, 255));
    EXPECT_EQ(whitePixels(Main().MainBox->image()), 1);
    f.eraseStar(star);
    EXPECT_EQ(whitePixels(Main().MainBox->image()), 0);

    star.Age = 15;
    f.drawStar(star);
    EXPECT_GT(whitePixels(Main().MainBox->image()), 1);
    f.eraseStar(star);
    EXPECT_EQ(whitePixels(Main().MainBox->image()), 0);
}

TEST_F(StarField, FlightKeepsItsStarsAndRecyclesThemInPlace) {
    TMainForm &f = *MainForm;
    StartFlying(100);
    EXPECT_EQ(StarsOnField(), 100);
    QSet<const FlyingObject *> records;
    for (const FlyingObject *star = f.game().firstStar(); star; star = star->Next)
        records.insert(star);

    FlyTo(600);
    QSet<const FlyingObject *> after;
    int young = 0;
    for (const FlyingObject *star = f.game().firstStar(); star; star = star->Next) {
        after.insert(star);
        young += star->Age < 100;
    }
    EXPECT_EQ(after, records);
    EXPECT_GT(young, 0) << "stars that left the field start again";
    EXPECT_GT(whitePixels(Main().MainBox->image()), 0);
}

TEST_F(StarField, ErasingEveryStarLeavesNoWhitePixel) {
    TMainForm &f = *MainForm;
    StartFlying(200);
    // Steer around so that stars of every size are on the field.
    for (int i = 0; i < 300; ++i) {
        if (i % 50 == 0)
            f.MainBoxMouseMove(Main().MainBox, {}, (i * 37) % 523, (i * 11) % 226);
        SetCounter(&TGame::Counters::energy, 1000); // no escape ends the flight
        f.Go();
    }
    ASSERT_GT(whitePixels(Main().MainBox->image()), 0);
    for (FlyingObject *star = f.game().firstStar(); star; star = star->Next)
        f.eraseStar(*star);
    EXPECT_EQ(whitePixels(Main().MainBox->image()), 0);
}

TEST_F(StarField, AnEmptyFieldFliesAndReleasesNothing) {
    TMainForm &f = *MainForm;
    StartFlying(0);
    Ticks(50);
    EXPECT_EQ(StarsOnField(), 0);
    EXPECT_EQ(whitePixels(Main().MainBox->image()), 0);
    f.ReleaseObjects();
    EXPECT_FALSE(f.game().objectsLive());
    f.ReleaseObjects();
}
