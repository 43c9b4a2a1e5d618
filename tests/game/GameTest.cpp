// The game on its own, without a window: started, ticked and shot at, with what it shows and
// sounds recorded through its view.

#include "game/Game.h"

#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <set>
#include <utility>

#include <gtest/gtest.h>

using game::SoundEvent;
using game::Tick;

namespace {

// Records every verb of the view as one line, in order.
class RecordingView : public game::GameView {
public:
    QStringList lines;

    void drawStar(const FlyingObject &s) override { add("draw %1,%2 age %3", s.X, s.Y, s.Age); }
    void eraseStar(const FlyingObject &s) override { add("erase %1,%2 age %3", s.X, s.Y, s.Age); }
    void addBadGuy(int i) override { add("add %1", i); }
    void showExplosion(int i, int frame, bool blank) override {
        add("explode %1 frame %2%3", i, frame, blank ? " blanked" : "");
    }
    void showFlying(int i, int frame) override { add("fly %1 frame %2", i, frame); }
    void placeBadGuy(int i, const FlyingObject &o) override {
        add("place %1 at %2,%3 age %4", i, o.X, o.Y, o.Age);
    }
    void hideBadGuy(int i) override { add("hide %1", i); }
    void sound(SoundEvent event) override { add("sound %1", int(event)); }

    // The lines that begin with `verb`.
    QStringList only(const QString &verb) const {
        return lines.filter(QRegularExpression("^" + verb));
    }
    void clear() { lines.clear(); }

private:
    template <typename... Args> void add(const char *format, Args... args) {
        QString line = QString::fromLatin1(format);
        ((line = line.arg(args)), ...);
        lines << line;
    }
};

QString Sound(SoundEvent event) {
    return QStringLiteral("sound %1").arg(int(event));
}

// A game on the designed play field, with a star count the test sets.
class Game : public ::testing::Test {
protected:
    Game() : game([this] { return starCount; }) {
        game.setField(QSize(523, 226));
        game.seedRandom(20261207);
    }

    QList<FlyingObject *> stars() {
        QList<FlyingObject *> list;
        for (FlyingObject *star = game.firstStar(); star; star = star->Next)
            list << star;
        return list;
    }

    // A game started, its stars made, and flown to `travelled` ticks with energy to spare.
    void startFlying(int count, int travelled = 0) {
        starCount = count;
        game.start();
        while (game.tick(view) != Tick::FlightBegins) {
        }
        flyTo(travelled);
        view.clear();
    }
    void flyTo(int travelled) {
        while (game.counters().travelled < travelled) {
            setEnergy(1000);
            ASSERT_EQ(game.tick(view), Tick::Flown);
        }
    }
    void setEnergy(int energy) {
        TGame::Counters counters = game.counters();
        counters.energy = counters.lastEnergy = energy;
        game.setCounters(counters);
    }
    // Bad guy i, full grown, at (x, y) flying with velocity (dx, dy).
    FlyingObject &pin(int i, int x, int y, int dx = 0, int dy = 1) {
        FlyingObject &o = game.badGuy(i);
        o.X = x;
        o.Y = y;
        o.DX = dx;
        o.DY = dy;
        o.Age = 20;
        o.State = 0;
        o.Hit = false;
        o.Frame = true; // frame 0 comes next
        return o;
    }

    int starCount = 0;
    RecordingView view;
    TGame game;
};

} // namespace

TEST_F(Game, StarMakingAddsAStarATickAndTheFlightBeginsOnTheTickAfterTheCount) {
    starCount = 3;
    game.start();
    EXPECT_EQ(game.counters().energy, 10);
    EXPECT_EQ(game.aim(), QPoint(261, 113));
    for (int made = 1; made <= 3; ++made) {
        view.clear();
        ASSERT_EQ(game.tick(view), Tick::StarAdded);
        ASSERT_EQ(stars().size(), made);
        // The new star is drawn where it appeared, one step out; the older ones move on.
        EXPECT_EQ(view.only("draw").size(), made);
        EXPECT_EQ(view.only("erase").size(), made);
    }
    view.clear();
    EXPECT_EQ(game.tick(view), Tick::FlightBegins);
    EXPECT_TRUE(view.lines.isEmpty()) << "nothing moves on the tick the count is reached";
    EXPECT_FALSE(game.makingStars());
    EXPECT_EQ(game.counters().travelled, 0);
    EXPECT_EQ(game.tick(view), Tick::Flown);
    EXPECT_EQ(game.counters().travelled, 1);

    // A count lowered below the stars made ends the phase too.
    starCount = 5;
    game.start();
    game.tick(view);
    game.tick(view);
    starCount = 1;
    EXPECT_EQ(game.tick(view), Tick::FlightBegins);
}

TEST_F(Game, AStarIsErasedMovedDrawnAndSpedUpOnceItIsADisc) {
    startFlying(1);
    FlyingObject &star = *game.firstStar();
    struct Case {
        int age, dx, dy; // before the tick
        int dxAfter, dyAfter;
    };
    // Age 14 moves to 15 and is then drawn as a disc: v × (15 × 0.0125 + 1) = v × 1.1875, 9.5
    // going to the even 10. At 13 it stays a pixel and keeps its speed.
    for (const Case c :
         {Case{13, 8, 1, 8, 1}, {14, 8, 1, 10, 1}, {14, -8, 3, -10, 4}, {29, 4, -2, 6, -3}}) {
        star.X = 200;
        star.Y = 100;
        star.Age = c.age;
        star.DX = c.dx;
        star.DY = c.dy;
        view.clear();
        game.tick(view);
        EXPECT_EQ(
            view.lines,
            QStringList(
                {QString("erase 200,100 age %1").arg(c.age),
                 QString("draw %1,%2 age %3").arg(200 + c.dx).arg(100 + c.dy).arg(c.age + 1)}))
            << "age " << c.age;
        EXPECT_EQ(QPoint(star.DX, star.DY), QPoint(c.dxAfter, c.dyAfter)) << "age " << c.age;
    }
}

TEST_F(Game, AStarOutsideTheFieldIsErasedAndRecycledInItsPlaceInTheList) {
    startFlying(3);
    const QList<FlyingObject *> before = stars();
    FlyingObject &middle = *before[1];
    game.aimAt({61, 13});
    middle.X = 523 + 30;
    middle.Y = 100;
    middle.DX = 5;
    middle.DY = 0;
    middle.Age = 40;
    game.tick(view); // inside before it moves: drawn once outside, where nothing shows
    EXPECT_FALSE(middle.Gone);
    EXPECT_TRUE(view.lines.contains("draw 558,100 age 41"));
    view.clear();
    game.tick(view);
    EXPECT_EQ(stars(), before) << "the same records in the same order";
    EXPECT_FALSE(middle.Gone);
    EXPECT_EQ(middle.Age, 0);
    EXPECT_EQ(QPoint(middle.X, middle.Y), QPoint(161, 63)) << "back at the vanishing point";
    EXPECT_FALSE(middle.DX == 0 && middle.DY == 0);
    EXPECT_TRUE(view.lines.contains("erase 558,100 age 41"));
    EXPECT_EQ(view.lines.filter(QRegularExpression("^draw 161,63")).size(), 0)
        << "a recycled star is drawn from the tick after";

    // The edges themselves: −32 and W + 32 are inside, one more is outside.
    for (const auto &[x, inside] :
         {std::pair{-32, true}, {-33, false}, {555, true}, {556, false}}) {
        FlyingObject &star = *before[0];
        star.X = x;
        star.Y = 100;
        star.DX = 0;
        star.DY = 1;
        game.tick(view);
        EXPECT_EQ(star.Gone || star.Age == 0, !inside) << x;
    }
}

TEST_F(Game, AFlightTickDrawsStarsThenChimesThenFliesTheBadGuysInIndexOrder) {
    startFlying(1, 99);
    FlyingObject &star = *game.firstStar();
    const auto still = [&star] {
        star.X = star.Y = 100;
        star.DX = star.DY = 0;
    };
    still();
    game.tick(view); // tick 100: the chime after the stars
    EXPECT_EQ(view.lines.mid(2), QStringList({Sound(SoundEvent::NewBadGuy)}));
    EXPECT_EQ(game.badGuyCount(), 0);
    view.clear();
    still();
    game.tick(view); // tick 101: the first bad guy joins with a chime and shows at age 1
    ASSERT_EQ(game.badGuyCount(), 1);
    const FlyingObject &o = game.badGuy(0);
    EXPECT_EQ(view.lines.mid(2),
              QStringList({Sound(SoundEvent::NewBadGuy), "add 0", "fly 0 frame 0",
                           QString("place 0 at %1,%2 age 1").arg(o.X).arg(o.Y)}));
    EXPECT_EQ(QPoint(o.X - o.DX, o.Y - o.DY), QPoint(261, 113)) << "from the vanishing point";

    // Three bad guys, one shot: its explosion runs frame 1 to 6, then it hides and goes out.
    flyTo(900);
    ASSERT_EQ(game.badGuyCount(), 3);
    game.setTurnCounter(0);
    for (int i = 0; i < 3; ++i)
        pin(i, 100 + 100 * i, 50);
    game.firstStar()->X = 5000; // the star is elsewhere
    ASSERT_EQ(game.shoot(1).result, game::Shot::Hit);
    view.clear();
    game.tick(view);
    EXPECT_EQ(
        view.lines.filter(QRegularExpression("^(fly|explode|place)")),
        QStringList({"fly 0 frame 0", "place 0 at 100,51 age 21", "explode 1 frame 1",
                     "place 1 at 200,51 age 21", "fly 2 frame 0", "place 2 at 300,51 age 21"}));
    for (int frame = 2; frame <= 6; ++frame) {
        view.clear();
        game.tick(view);
        EXPECT_TRUE(view.lines.contains(QString("explode 1 frame %1 blanked").arg(frame)));
    }
    view.clear();
    game.tick(view);
    EXPECT_TRUE(view.lines.contains("hide 1"));
    EXPECT_GE(game.badGuy(1).X, 10000);
    EXPECT_FALSE(game.badGuy(1).Hit);
}

TEST_F(Game, TurnsComeOnEveryTenthUpdateInsideAndAnExplodingOneEndsTheTick) {
    startFlying(0, 900);
    ASSERT_EQ(game.badGuyCount(), 3);
    // The counter counts every update inside the field, whichever bad guy it is.
    game.setTurnCounter(7);
    for (int i = 0; i < 3; ++i)
        pin(i, 100 + 100 * i, 50);
    game.tick(view);
    EXPECT_EQ(game.turnCounter(), 10);

    // The bad guy at the turn is exploding: it does not turn, the rest of the tick is skipped
    // and the turn passes to the next bad guy updated inside the field.
    for (int i = 0; i < 3; ++i)
        pin(i, 100 + 100 * i, 50);
    ASSERT_EQ(game.shoot(0).result, game::Shot::Hit);
    const FlyingObject second = game.badGuy(1);
    view.clear();
    game.tick(view);
    EXPECT_EQ(game.turnCounter(), 10);
    EXPECT_EQ(game.badGuy(1).Age, second.Age) << "the rest of the tick was skipped";
    EXPECT_FALSE(view.lines.join(' ').contains("place 1"));
    view.clear();
    game.badGuy(0).X = 5000; // outside now: its update does not take the turn
    game.tick(view);
    EXPECT_EQ(game.turnCounter(), 2) << "bad guy 1 turned, bad guy 2 counted";
}

TEST_F(Game, AnEscapeCostsTenOnceAndItComesBackAfterTheCountdown) {
    startFlying(0, 101);
    FlyingObject &o = pin(0, -100, 50, -1, 0);
    setEnergy(500);
    game.tick(view);
    EXPECT_EQ(game.counters().energy, 490);
    EXPECT_EQ(view.only("sound"), QStringList({Sound(SoundEvent::Escape)}));
    EXPECT_TRUE(view.lines.contains("hide 0"));
    for (int tick = 1; tick <= 18; ++tick) {
        game.tick(view);
        EXPECT_EQ(o.State, tick + 1);
    }
    EXPECT_EQ(game.counters().energy, 490);
    game.tick(view);
    EXPECT_EQ(o.State, 0) << "reset on the 19th tick after the escape";
    EXPECT_EQ(o.Age, 0);
}

TEST_F(Game, TheGameDecidesTheLossBelowZeroAndItsResultsTakeTheLastUpdatesAccuracy) {
    startFlying(2, 101);
    ASSERT_EQ(game.shoot().result, game::Shot::Miss);
    ASSERT_EQ(game.shoot(0).result, game::Shot::Hit);
    EXPECT_EQ(game.accuracy(), 50);
    pin(0, -100, 50, -1, 0);

    // Energy 0 still plays; the escape that takes it to −10 loses the game on that tick.
    TGame::Counters counters = game.counters();
    counters.energy = counters.lastEnergy = 10;
    game.setCounters(counters);
    EXPECT_EQ(game.tick(view), Tick::Flown);
    EXPECT_EQ(game.counters().energy, 0);
    ASSERT_EQ(game.shoot().result, game::Shot::Miss); // not yet in the accuracy
    view.clear();
    pin(0, -100, 50, -1, 0).State = 0;
    EXPECT_EQ(game.tick(view), Tick::Lost);
    EXPECT_EQ(game.counters().energy, -10);
    EXPECT_TRUE(game.stopped());
    EXPECT_FALSE(game.inGame());
    // The loss sounds after the escape, then the bad guys vanish and the stars are erased.
    const QStringList tail = view.lines.mid(view.lines.indexOf(Sound(SoundEvent::GameLost)));
    EXPECT_EQ(tail.mid(0, 2), QStringList({Sound(SoundEvent::GameLost), "hide 0"}));
    EXPECT_EQ(tail.mid(2).filter(QRegularExpression("^erase")).size(), 2);
    EXPECT_EQ(view.only("sound").first(), Sound(SoundEvent::Escape));

    const game::Results &r = game.results();
    EXPECT_EQ(r.kills, 1);
    EXPECT_EQ(r.accuracy, 50) << "as the update before the loss settled it";
    EXPECT_EQ(r.travelled, 103);
    EXPECT_EQ(r.points.total(), 100 + 500 + 103);
    EXPECT_EQ(game.accuracy(), 33) << "the shots' line after the loss";
    EXPECT_EQ(game.shoot(1).result, game::Shot::NotAllowed) << "a finished game takes no shot";
    EXPECT_EQ(game.counters().shotsFired, 3);

    // A new game starts from nothing.
    game.clearCounters();
    game.releaseObjects();
    game.abandon();
    EXPECT_EQ(game.counters().travelled + game.counters().hits + game.counters().energy, 0);
    EXPECT_EQ(game.badGuyCount(), 0);
    EXPECT_TRUE(stars().isEmpty());
    EXPECT_EQ(game.meter(), game::MeterChange::Flash) << "0 energy is critical, and silent";
}

TEST_F(Game, ShotsAreAnsweredMissHitOrNotAllowed) {
    EXPECT_EQ(game.shoot().result, game::Shot::NotAllowed) << "before a game";
    startFlying(0, 1000);
    ASSERT_EQ(game.badGuyCount(), 3);
    setEnergy(1000);
    struct Case {
        int target;
        game::Shot::Result result;
    };
    // A hit scores once; a second shot at the exploding one, a shot at no bad guy of this game,
    // or at the field, only counts.
    for (const Case c : {Case{1, game::Shot::Hit},
                         {1, game::Shot::Miss},
                         {-1, game::Shot::Miss},
                         {3, game::Shot::Miss},
                         {0, game::Shot::Hit}}) {
        const game::Shot shot = game.shoot(c.target);
        EXPECT_EQ(shot.result, c.result) << c.target;
        EXPECT_EQ(shot.badGuy, c.result == game::Shot::Hit ? c.target : -1) << c.target;
    }
    EXPECT_EQ(game.counters().shotsFired, 5);
    EXPECT_EQ(game.counters().hits, 2);
    EXPECT_EQ(game.counters().energy, 1020);
    EXPECT_EQ(game.accuracy(), 40) << "a hit settles the accuracy at once";
    EXPECT_EQ(game.badGuy(0).State, 1) << "the explosion starts on the next tick";
    EXPECT_TRUE(view.lines.isEmpty()) << "the window sounds and shows a shot";
    game.stop();
    EXPECT_EQ(game.shoot(2).result, game::Shot::NotAllowed) << "paused";
    EXPECT_FALSE(game.badGuy(2).Hit);
    game.run();
    EXPECT_EQ(game.shoot(2).result, game::Shot::Hit);
}

TEST_F(Game, TheEnergyAlarmAndTheMeterFollowTheEnergyOnTheWayDown) {
    startFlying(0);
    struct Step {
        int energy;
        QStringList sounds;
        game::MeterChange meter;
    };
    using M = game::MeterChange;
    const Step steps[] = {{80, {}, M::OK},
                          {70, {}, M::Keep},
                          {60, {Sound(SoundEvent::LowEnergy)}, M::Low},
                          {30, {}, M::Keep},
                          {20, {Sound(SoundEvent::CriticalEnergy)}, M::Flash},
                          {0, {}, M::Flash},
                          {30, {}, M::Low},
                          {10, {Sound(SoundEvent::CriticalEnergy)}, M::Flash}};
    for (const Step &s : steps) {
        TGame::Counters counters = game.counters();
        counters.energy = s.energy;
        game.setCounters(counters);
        view.clear();
        ASSERT_EQ(game.tick(view), Tick::Flown);
        EXPECT_EQ(view.only("sound"), s.sounds) << "energy " << s.energy;
        EXPECT_EQ(game.meter(), s.meter) << "energy " << s.energy;
        EXPECT_EQ(game.counters().lastEnergy, s.energy);
    }
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
