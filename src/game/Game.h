#pragma once

// The game itself, without a window. It decides: a tick of the game runs here, whole and in
// its order (the star making, or a flight tick: the distance, the star field, the chime, the
// bad guys; then the update that sounds the energy alarm, decides whether the game is lost,
// and settles the accuracy), and answers what follows; a shot is taken here and answered. What
// a tick changes on the field goes to a view (game/GameView.h), in the order it happens; the
// main window draws it, and the status lines, from the state it reads back.
//
// The newcomer's question, "what happens when the energy drops below zero?": a bad guy that
// leaves the field unshot costs energy in the tick's bad guy update (updateBadGuys); the update
// at the end of that tick (settle) finds the energy below 0, sounds the loss, hides the bad
// guys, erases the stars, ends the game and settles its results, and the tick answers
// Tick::Lost. TMainForm::Go (game/MainU.cpp) then shows the loss and runs the end of the game
// (game/EndOfGame.cpp).

#include "game/FlyingObject.h"
#include "game/GameRules.h"
#include "game/GameView.h"

#include <QList>
#include <QPoint>
#include <QSize>

#include <cstdint>
#include <functional>
#include <optional>
#include <random>

namespace game {

// What a tick of the game was.
enum class Tick {
    StarAdded,    // the star making goes on: one star more
    FlightBegins, // the star count is reached; nothing moved, the flight begins with the next tick
    Flown,        // a tick of the flight
    Lost,         // the energy fell below 0: the game is over
};

// What a shot did. Every shot that is allowed counts; a hit also scores.
struct Shot {
    enum Result { NotAllowed, Miss, Hit };
    Result result = NotAllowed;
    int badGuy = -1; // the one hit
};

// The results of the game just lost: what it scored, as the results count it up. The accuracy
// is the one of the last update before the loss.
struct Results {
    int kills = 0;
    int accuracy = 0;
    int travelled = 0;
    ScoreParts points;
};

} // namespace game

class TGame {
public:
    // The star count of the preferences, asked on every tick of the star making.
    using StarCount = std::function<int()>;

    // The counters of a game, as a whole: what the captions and the results show.
    struct Counters {
        int travelled = 0;  // flight ticks of this game
        int shotsFired = 0; // laser shots of this game
        int hits = 0;       // bad guys shot in this game
        int energy = 0;     // below 0 ends the game
        int lastEnergy = 0; // the energy at the end of the last update
    };

    explicit TGame(StarCount starCount = {});
    ~TGame();
    TGame(const TGame &) = delete;
    TGame &operator=(const TGame &) = delete;

    // The play field's size decides where objects appear and where they leave the field.
    void setField(QSize field) { field_ = field; }
    // Makes the next games draw their random numbers from a fixed seed instead of the clock.
    void seedRandom(uint32_t seed) { fixedSeed_ = seed; }

    // A game's life: started with the aim at the field's centre and the star making ahead;
    // run tick by tick; paused (stopped) and run on; or abandoned for a new one, its counters
    // cleared and its stars and bad guys released.
    void start();
    game::Tick tick(game::GameView &view);
    void stop() { stopped_ = true; }
    void run() { stopped_ = false; }
    void clearCounters();
    void releaseObjects();
    void abandon() { inGame_ = false; }

    // The player's input: the pointer steers where new stars and bad guys appear; a shot at the
    // field (no bad guy, -1) or at bad guy `badGuy`, allowed only while the game runs.
    void aimAt(QPoint pointer) { aim_ = pointer; }
    game::Shot shoot(int badGuy = -1);

    // The game's state, for the window to show.
    const Counters &counters() const { return counters_; }
    int level() const { return game::LevelOf(speed_); }
    int accuracy() const { return accuracy_; }         // as the last update settled it
    game::MeterChange meter() const { return meter_; } // what the last update does to the meter
    const game::Results &results() const { return results_; }
    QPoint aim() const { return aim_; }
    bool stopped() const { return stopped_; }         // the loop does not run
    bool inGame() const { return inGame_; }           // a game is in progress
    bool makingStars() const { return makingStars_; } // the star-making phase
    bool objectsLive() const { return objectsLive_; } // stars and bad guys to free
    // The star list, newest first, and the bad guys' records, by index. Open to change, so that
    // a test can put a star or a bad guy where it wants it.
    FlyingObject *firstStar() { return spareStar_.Next; }
    int badGuyCount() const { return int(badGuys_.size()); }
    FlyingObject &badGuy(int i) { return *badGuys_[i]; }

    // A game picked up at a given point, as the tests and the benchmarks start from one: its
    // counters, and the turn counter the bad guys share.
    void setCounters(const Counters &counters) { counters_ = counters; }
    int turnCounter() const { return turnCounter_; }
    void setTurnCounter(int turnCounter) { turnCounter_ = turnCounter; }

private:
    // The tick's steps, in their order.
    void addStar();
    void updateStars(game::GameView &view);
    void updateBadGuys(game::GameView &view);
    void spawnBadGuys(game::GameView &view);
    bool updateBadGuyInside(int i, game::GameView &view);
    game::Tick settle(game::Tick tick, game::GameView &view);
    void lose(game::GameView &view);

    // Stars and bad guys alike.
    void randomVelocity(FlyingObject &o);
    void resetObject(FlyingObject &o);
    // Inline: they run for every star on every tick.
    void moveObject(FlyingObject &o) {
        o.X += o.DX;
        o.Y += o.DY;
        if (o.Age < game::MaxAge)
            ++o.Age;
    }
    bool onScreen(FlyingObject &o) { // sets Gone when it is not
        if (game::InsideField(field_, o.X, o.Y))
            return true;
        o.Gone = true;
        return false;
    }
    void speedUp(FlyingObject &star) {
        if (game::StarPenWidth(star.Age) == 1)
            return;
        star.DX = game::SpedUp(star.DX, star.Age);
        star.DY = game::SpedUp(star.DY, star.Age);
    }
    void recycle(FlyingObject &star); // reset in its place in the list
    void scaleBySpeed(FlyingObject &o);
    bool takeTurn(FlyingObject &o);

    StarCount starCount_;
    QSize field_;
    Counters counters_;
    double speed_ = 0.0;
    int accuracy_ = 0;
    game::MeterChange meter_ = game::MeterChange::Keep;
    game::Results results_;
    int starsMade_ = 0;
    int turnCounter_ = 0; // never reset: the turns run on across games
    QPoint aim_;
    bool stopped_ = true;
    bool inGame_ = false;
    bool makingStars_ = false;
    bool objectsLive_ = false;
    FlyingObject spareStar_; // the star the next addStar adds; its Next is the list's head
    QList<FlyingObject *> badGuys_;
    std::mt19937 random_; // seeded by start, drawn from by randomVelocity
    std::optional<uint32_t> fixedSeed_;
};
