// The game's rules on the game object alone, without a window: what the window forwards to
// it, and what it changes.

#include "game/Game.h"

#include <QList>

#include <set>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

using game::SoundEvent;
// A vector, not a QList: Qt's comparison of two empty lists trips the undefined-behaviour check.
using Sounds = std::vector<SoundEvent>;

namespace {

// A game on the designed play field, with its sounds recorded.
class Game : public ::testing::Test {
protected:
    Game() : game([this](SoundEvent event) { sounds.push_back(event); }) {
        game.setField(QSize(523, 226));
        game.seedRandom(20261207);
    }

    int stars() const {
        int n = 0;
        for (const FlyingObject *star = game.firstStar(); star; star = star->Next)
            ++n;
        return n;
    }

    // A game started, with its stars made and `badGuys` bad guys flying.
    void startFlying(int starCount, int badGuys) {
        game.start();
        while (!game.starsComplete(starCount))
            game.addStar();
        for (int i = 0; i < badGuys; ++i)
            game.addBadGuy();
        sounds.clear();
    }

    Sounds sounds;
    TGame game;
};

} // namespace

TEST_F(Game, ResetObjectsNeverStandStillAndStartAtTheSpawnPoint) {
    FlyingObject o;
    o.Gone = o.Hit = true;
    o.State = 7;
    o.Age = 99;
    for (int i = 0; i < 2000; ++i) {
        game.resetObject(o);
        ASSERT_FALSE(o.DX == 0 && o.DY == 0);
        ASSERT_TRUE(o.DX >= -10 && o.DX <= 9 && o.DY >= -10 && o.DY <= 9);
    }
    EXPECT_EQ(o.Age, 0);
    EXPECT_FALSE(o.Gone || o.Hit);
    EXPECT_TRUE(o.Frame);
    EXPECT_EQ(o.State, 0);

    // Outside a game: the field centre, wherever the pointer was.
    game.aimAt({10, 10});
    game.resetObject(o);
    EXPECT_EQ(QPoint(o.X, o.Y), QPoint(261, 113));
    // In a game, before the pointer moves: the centre; after, halfway to the pointer.
    game.start();
    EXPECT_EQ(game.aim(), QPoint(261, 113));
    EXPECT_EQ(QPoint(game.spareStar().X, game.spareStar().Y), QPoint(261, 113));
    game.aimAt({61, 13});
    game.resetObject(o);
    EXPECT_EQ(QPoint(o.X, o.Y), QPoint(161, 63));
}

// Each star made has a velocity of its own, rolled until it moves: the field does not open as
// one clump, and a velocity with one component 0 (about one in ten) is kept.
TEST_F(Game, StarsAreMadeWithVelocitiesOfTheirOwnAndOneStillComponentKept) {
    startFlying(400, 0);
    std::set<std::pair<int, int>> velocities;
    int oneStill = 0;
    for (const FlyingObject *star = game.firstStar(); star; star = star->Next) {
        ASSERT_FALSE(star->DX == 0 && star->DY == 0);
        velocities.insert({star->DX, star->DY});
        oneStill += star->DX == 0 || star->DY == 0;
    }
    EXPECT_GT(velocities.size(), 150u) << "400 stars, 399 velocities";
    EXPECT_GT(oneStill, 10);
}

TEST_F(Game, MovingAgesUpTo6001AndLeavingTheFieldMarksGone) {
    FlyingObject o;
    for (int i = 0; i < 7000; ++i)
        game.moveObject(o);
    EXPECT_EQ(o.Age, 6001);

    struct Case {
        int x;
        bool inside;
    };
    for (const Case c : {Case{-32, true}, {-33, false}, {523 + 32, true}, {523 + 33, false}}) {
        FlyingObject at;
        at.X = c.x;
        EXPECT_EQ(game.onScreen(at), c.inside) << c.x;
        EXPECT_EQ(at.Gone, !c.inside) << c.x;
    }
    o.Gone = true;
    EXPECT_TRUE(game.onScreen(o));
    EXPECT_TRUE(o.Gone) << "only a reset clears Gone";
}

TEST_F(Game, StarsJoinInFrontStarMakingEndsAtTheCountAndReleaseRerollsAtTheCentre) {
    game.start();
    EXPECT_TRUE(game.makingStars());
    EXPECT_EQ(game.energy(), 10);
    EXPECT_EQ(game.firstStar(), nullptr);
    const FlyingObject spare = game.spareStar();
    game.addStar();
    FlyingObject *first = game.firstStar();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Next, nullptr);
    EXPECT_EQ(QPoint(first->DX, first->DY), QPoint(spare.DX, spare.DY)) << "the spare joined";
    game.addStar();
    EXPECT_EQ(game.firstStar()->Next, first);

    // The phase ends once the count is reached, also when it was lowered below the stars made.
    EXPECT_FALSE(game.starsComplete(3));
    EXPECT_TRUE(game.makingStars());
    EXPECT_TRUE(game.starsComplete(1));
    EXPECT_FALSE(game.makingStars());
    EXPECT_EQ(stars(), 2);

    game.aimAt({0, 0});
    game.abandon();
    game.releaseObjects();
    EXPECT_EQ(game.firstStar(), nullptr);
    EXPECT_FALSE(game.objectsLive());
    EXPECT_EQ(QPoint(game.spareStar().X, game.spareStar().Y), QPoint(261, 113));
    game.releaseObjects(); // nothing left to free
}

TEST_F(Game, FlightTicksCountTheDistanceChimeOnceAndBringTheBadGuysAfterTick100) {
    startFlying(0, 0);
    for (int tick = 1; tick <= 101; ++tick) {
        game.countFlightTick();
        game.chimeBeforeBadGuys();
        EXPECT_EQ(game.badGuysFly(), tick > 100) << tick;
    }
    EXPECT_EQ(sounds, Sounds{SoundEvent::NewBadGuy});
    EXPECT_EQ(game.level(), 1);
    game.addBadGuy();
    EXPECT_EQ(game.badGuyCount(), 1);
    EXPECT_EQ(game.badGuy(0).Age, 0);
    EXPECT_EQ(sounds.size(), 2u) << "each new bad guy chimes";
}

TEST_F(Game, TurnsComeOnEveryTenthUpdateInsideTheFieldSharedByAll) {
    startFlying(0, 3);
    // The counter runs 1 … 10 and turns on the update after it reaches 10, whichever bad guy
    // that update is.
    game.setTurnCounter(0);
    QList<int> turns;
    for (int update = 0; update < 40; ++update) {
        const int before = game.turnCounter();
        EXPECT_TRUE(game.takeTurn(update % 3));
        if (before == 10)
            turns << update;
        EXPECT_EQ(game.turnCounter(), before == 10 ? 1 : before + 1);
    }
    EXPECT_EQ(turns, QList<int>({10, 20, 30}));

    // An exploding bad guy at the turn does not turn: the turn waits for the next one.
    game.setTurnCounter(10);
    ASSERT_TRUE(game.creditHit(0));
    const FlyingObject before = game.badGuy(0);
    EXPECT_FALSE(game.takeTurn(0));
    EXPECT_EQ(game.turnCounter(), 10);
    EXPECT_EQ(QPoint(game.badGuy(0).DX, game.badGuy(0).DY), QPoint(before.DX, before.DY));
    EXPECT_TRUE(game.takeTurn(1));
    EXPECT_EQ(game.turnCounter(), 1);
}

TEST_F(Game, HitsExplosionEscapesAndTheCountdownOutside) {
    startFlying(0, 2);
    game.setCounters({.travelled = 200, .energy = 10, .lastEnergy = 10});

    // A hit scores once; a second shot on the exploding bad guy, or on none, only counts.
    for (const int target : {0, 0, -1, 2}) {
        const bool scores = target == 0 && game.hits() == 0;
        game.fire();
        EXPECT_EQ(game.creditHit(target), scores) << target;
    }
    EXPECT_EQ(game.shotsFired(), 4);
    EXPECT_EQ(game.hits(), 1);
    EXPECT_EQ(game.energy(), 20);
    EXPECT_EQ(sounds, Sounds(4, SoundEvent::Laser));
    game.updateAccuracy();
    EXPECT_EQ(game.accuracy(), 25);

    // The explosion shows frames 1 to 6, then the bad guy goes out to count down.
    FlyingObject &o = game.badGuy(0);
    for (int frame = 1; frame <= 6; ++frame) {
        ASSERT_TRUE(TGame::exploding(o));
        EXPECT_EQ(game.nextExplosionFrame(0), frame);
    }
    EXPECT_EQ(o.State, game::ExplosionOver);
    game.endExplosion(0);
    EXPECT_FALSE(o.Hit);
    EXPECT_EQ(QPoint(o.X, o.State), QPoint(game::OutOfField, 1));
    EXPECT_FALSE(TGame::flying(o)) << "a shot bad guy leaves without cost";

    // An escape costs 10 once; either way the bad guy is back on the 19th tick outside.
    sounds.clear();
    FlyingObject &escaper = game.badGuy(1);
    ASSERT_TRUE(TGame::flying(escaper));
    game.chargeEscape();
    EXPECT_EQ(game.energy(), 10);
    EXPECT_EQ(sounds, Sounds{SoundEvent::Escape});
    game.countDownOutside(1); // the tick it got past
    for (int tick = 1; tick <= 19; ++tick) {
        game.countDownOutside(0);
        game.countDownOutside(1);
    }
    EXPECT_EQ(QPoint(o.State, escaper.State), QPoint(0, 0));
    EXPECT_EQ(QPoint(o.Age, escaper.Age), QPoint(0, 0));
    EXPECT_LT(o.X, 523);
}

TEST_F(Game, EnergyAlarmsSoundOnTheWayDownIntoABand) {
    struct Step {
        int energy;
        Sounds sounds;
    };
    const Step steps[] = {{80, {}},
                          {70, {}},
                          {60, {SoundEvent::LowEnergy}},
                          {30, {}},
                          {20, {SoundEvent::CriticalEnergy}},
                          {0, {}},
                          {30, {}},
                          {10, {SoundEvent::CriticalEnergy}}};
    TGame::Counters counters;
    counters.lastEnergy = 80;
    for (const Step &s : steps) {
        counters.energy = s.energy;
        game.setCounters(counters);
        game.soundEnergyAlarm();
        game.noteEnergy();
        counters.lastEnergy = game.lastEnergy();
        EXPECT_EQ(sounds, s.sounds) << "energy " << s.energy;
        sounds.clear();
    }
}

TEST_F(Game, TheFinalScoreAndANewGameStartFromNothing) {
    startFlying(5, 1);
    game.setCounters({.travelled = 2345, .shotsFired = 15, .hits = 12, .energy = -10});
    game.updateAccuracy();
    game.end();
    EXPECT_TRUE(game.stopped());
    EXPECT_FALSE(game.inGame());
    EXPECT_EQ(game.settleFinalScore(), 4345);
    EXPECT_EQ(game.finalScore(), 4345);

    game.clearCounters();
    game.releaseObjects();
    EXPECT_EQ(game.travelled() + game.shotsFired() + game.hits() + game.energy(), 0);
    EXPECT_EQ(game.badGuyCount(), 0);
    EXPECT_EQ(stars(), 0);
}
