#include "game/GameRules.h"

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
