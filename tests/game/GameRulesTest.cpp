#include "game/GameRules.h"
#include "support/Printing.h"

#include <gtest/gtest.h>

using namespace game;

TEST(GameRules, DistanceAndLevelChangeAtTheirBoundaryTicks) {
    EXPECT_EQ(LightYears(99), 0);
    EXPECT_EQ(LightYears(100), 1);
    EXPECT_EQ(LightYears(2345), 23);

    struct Case {
        int tick;
        int level;
    };
    // The factor lands exactly on a half at 600, 1000, 1400 and 1800; halves go to even.
    for (const Case c : {Case{1, 1},
                         {400, 1},
                         {401, 1},
                         {599, 1},
                         {600, 2},
                         {1000, 2},
                         {1001, 3},
                         {1399, 3},
                         {1400, 4},
                         {1800, 4},
                         {1801, 5}}) {
        EXPECT_EQ(LevelOf(SpeedAt(c.tick)), c.level) << "tick " << c.tick;
    }
    EXPECT_EQ(SpeedAt(400), 1.0);
    EXPECT_EQ(SpeedAt(600), 1.5);
}

TEST(GameRules, AccuracyIsFormedInExtendedPrecisionThenTruncated) {
    EXPECT_EQ(AccuracyOf(0, 0), 0);
    EXPECT_EQ(AccuracyOf(2, 3), 66);
    EXPECT_EQ(AccuracyOf(53, 100), 52);
    EXPECT_EQ(AccuracyOf(59, 100), 58);
    EXPECT_EQ(AccuracyOf(50, 100), 50);
    EXPECT_EQ(AccuracyOf(7, 7), 100);
}

TEST(GameRules, EnergyBandsAndTheirAlarms) {
    EXPECT_EQ(BandOf(-10), EnergyBand::Critical);
    EXPECT_EQ(BandOf(20), EnergyBand::Critical);
    EXPECT_EQ(BandOf(30), EnergyBand::Low);
    EXPECT_EQ(BandOf(60), EnergyBand::Low);
    EXPECT_EQ(BandOf(70), EnergyBand::OK);

    // Energy falls from 80 in steps of 10 and then rises again: an alarm sounds only on the
    // way down into a band, and a new game's 10 after nothing sounds none.
    EXPECT_EQ(AlarmFor(10, 0), EnergyAlarm::None);
    EXPECT_EQ(AlarmFor(70, 80), EnergyAlarm::None);
    EXPECT_EQ(AlarmFor(60, 70), EnergyAlarm::Warning);
    EXPECT_EQ(AlarmFor(50, 60), EnergyAlarm::None);
    EXPECT_EQ(AlarmFor(30, 40), EnergyAlarm::None);
    EXPECT_EQ(AlarmFor(20, 30), EnergyAlarm::Critical);
    EXPECT_EQ(AlarmFor(10, 20), EnergyAlarm::None);
    EXPECT_EQ(AlarmFor(30, 20), EnergyAlarm::None);
    EXPECT_EQ(AlarmFor(70, 60), EnergyAlarm::None);
    // A hit and an escape in one tick can skip a band: from OK straight to critical.
    EXPECT_EQ(AlarmFor(10, 70), EnergyAlarm::Critical);

    EXPECT_EQ(GaugeProgressOf(-10), 0);
    EXPECT_EQ(GaugeProgressOf(199), 99);
    EXPECT_EQ(GaugeProgressOf(200), 100);
    EXPECT_EQ(GaugeProgressOf(5000), 100);
}

TEST(GameRules, SpawnPointAndFieldMargins) {
    const QSize field(523, 226);
    EXPECT_EQ(SpawnPoint(field, false, {500, 10}), QPoint(261, 113));
    EXPECT_EQ(SpawnPoint(field, true, {261, 113}), QPoint(261, 113));
    EXPECT_EQ(SpawnPoint(field, true, {0, 0}), QPoint(130, 56));
    EXPECT_EQ(SpawnPoint(field, true, {523, 226}), QPoint(392, 169));

    EXPECT_TRUE(InsideField(field, -32, 0));
    EXPECT_FALSE(InsideField(field, -33, 0));
    EXPECT_TRUE(InsideField(field, 523 + 32, 0));
    EXPECT_FALSE(InsideField(field, 523 + 33, 0));
    EXPECT_TRUE(InsideField(field, 0, -32));
    EXPECT_FALSE(InsideField(field, 0, -33));
    EXPECT_TRUE(InsideField(field, 0, 226 + 32));
    EXPECT_FALSE(InsideField(field, 0, 226 + 33));
}

TEST(GameRules, StarsGrowAndSpeedUpFromAge15) {
    EXPECT_EQ(StarPenWidth(0), 1);
    EXPECT_EQ(StarPenWidth(14), 1);
    EXPECT_EQ(StarPenWidth(15), 2);
    EXPECT_EQ(StarPenWidth(29), 2);
    EXPECT_EQ(StarPenWidth(30), 3);

    // At age 15 the factor is 1.1875: 1 stays 1, 8 gives 9.5 and goes to the even 10.
    EXPECT_EQ(SpedUp(1, 15), 1);
    EXPECT_EQ(SpedUp(8, 15), 10);
    EXPECT_EQ(SpedUp(-8, 15), -10);
    EXPECT_EQ(SpedUp(4, 15), 5); // 4.75
    EXPECT_EQ(SpedUp(0, 40), 0);
    EXPECT_EQ(SpedUp(-10, 40), -15); // factor 1.5
    EXPECT_EQ(SpedUp(3, 40), 4);     // 4.5 goes to the even 4
}

TEST(BadGuyRules, NumberGrowsWithTheDistance) {
    EXPECT_EQ(game::BadGuysFor(0), 1);
    EXPECT_EQ(game::BadGuysFor(599), 1);
    EXPECT_EQ(game::BadGuysFor(600), 2);
    EXPECT_EQ(game::BadGuysFor(899), 2);
    EXPECT_EQ(game::BadGuysFor(900), 3);
    EXPECT_EQ(game::BadGuysFor(3000), 10);
    EXPECT_EQ(game::BadGuysFor(3300), 11);
}

TEST(BadGuyRules, SideGrowsToFullSizeAtAge20WithTheHalvesDecidedByExtendedPrecision) {
    const int sides[] = {3,  5,  7,  10, 12, 15, 17, 20, 23, 25,
                         28, 30, 33, 35, 38, 40, 42, 45, 47, 50};
    for (int age = 1; age <= 20; ++age)
        EXPECT_EQ(game::BadGuySide(age, 50), sides[age - 1]) << "age " << age;
    EXPECT_EQ(game::BadGuySide(0, 50), 0);
    EXPECT_EQ(game::BadGuySide(21, 50), 50);
    EXPECT_EQ(game::BadGuySide(6001, 50), 50);

    EXPECT_EQ(game::ScaledBySpeed(5, 1.0), 5);
    EXPECT_EQ(game::ScaledBySpeed(5, 1.5), 8); // 7.5 goes to the even 8
    EXPECT_EQ(game::ScaledBySpeed(-3, 1.5), -4);
    EXPECT_EQ(game::ScaledBySpeed(9, 2.5), 22); // 22.5 goes to the even 22
}

TEST(TurretRules, KnobPointsAwayFromThePointer) {
    const QSize field(523, 226);
    // Straight above the origin: the knob hangs straight below the pivot.
    EXPECT_EQ(game::TurretKnob(field, 25, 261, 0), QPoint(25, 13));
    EXPECT_EQ(game::TurretKnob(field, 25, 261, 225), QPoint(25, 13));
    // The far right of the bottom row: the handle points horizontally to the left.
    EXPECT_EQ(game::TurretKnob(field, 25, 522, 225), QPoint(12, 0));
    EXPECT_EQ(game::TurretKnob(field, 25, 0, 225), QPoint(38, 0));
    // The origin itself cannot be pointed at, but must not break the turret either.
    EXPECT_EQ(game::TurretKnob(field, 25, 261, 226), QPoint(25, 13));
}

TEST(ResultRules, CountUpsFinalScoreAndClosingUpBlanks) {
    for (int i = 0; i <= game::CountUpSteps; ++i) {
        ASSERT_EQ(game::CountUpValue(0, i), 0);
        ASSERT_EQ(game::CountUpValue(1000, i), 2 * i);
    }
    // Steps of 0.5: the halves go to the even neighbour.
    EXPECT_EQ(game::CountUpValue(250, 1), 0);
    EXPECT_EQ(game::CountUpValue(250, 3), 2);
    EXPECT_EQ(game::CountUpValue(250, 5), 2);
    EXPECT_EQ(game::CountUpValue(4345, 500), 4345);
    EXPECT_EQ(game::FinalScoreOf(12, 80, 2345), 4345);
    EXPECT_EQ(game::FinalScoreOf(0, 0, 2345), 2345);

    struct Case {
        const char *before;
        bool closed;
        const char *after;
    };
    for (const Case c : {Case{"Game   Over!", true, "Game  Over!"},
                         {"Game Over!", false, "Game Over!"},
                         {"GameOver!", false, "GameOver!"},
                         {"a b  c", false, "a b  c"},
                         {"  x", true, " x"},
                         {"x ", false, "x "}}) {
        QString text = QString::fromLatin1(c.before);
        EXPECT_EQ(game::CloseUpSpace(text), c.closed) << c.before;
        EXPECT_EQ(text, c.after) << c.before;
    }
}
