#pragma once

// The game itself, without a window: its counters, its energy, the aim, its flags, the star
// list and the bad guys' records, and the random numbers they are rolled from, changed only
// by the named rules below. The main window asks it, draws what it says and forwards the
// player's input to it; sounds leave it through one callback, as numbered events.

#include "game/FlyingObject.h"
#include "game/GameRules.h"
#include "game/GameSounds.h"

#include <QList>
#include <QPoint>
#include <QSize>

#include <cstdint>
#include <functional>
#include <optional>
#include <random>

class TGame {
public:
    using SoundSink = std::function<void(game::SoundEvent)>;

    // The counters of a game, as a whole: what the captions and the results show.
    struct Counters {
        int travelled = 0;  // flight ticks of this game
        int shotsFired = 0; // laser shots of this game
        int hits = 0;       // bad guys shot in this game
        int energy = 0;     // below 0 ends the game
        int lastEnergy = 0; // the energy at the end of the last caption update
    };

    explicit TGame(SoundSink sounds = {});
    ~TGame();
    TGame(const TGame &) = delete;
    TGame &operator=(const TGame &) = delete;

    // The play field's size decides where objects appear and where they leave the field.
    void setField(QSize field) { field_ = field; }
    QSize field() const { return field_; }

    // The game's state, for the window to show.
    const Counters &counters() const { return counters_; }
    int travelled() const { return counters_.travelled; }
    int shotsFired() const { return counters_.shotsFired; }
    int hits() const { return counters_.hits; }
    int energy() const { return counters_.energy; }
    int lastEnergy() const { return counters_.lastEnergy; }
    double speed() const { return speed_; } // the speed factor of the last flight tick
    int level() const { return game::LevelOf(speed_); }
    int accuracy() const { return accuracy_; } // as the last caption update found it
    int finalScore() const { return finalScore_; }
    int starsMade() const { return starsMade_; }
    int turnCounter() const { return turnCounter_; }
    QPoint aim() const { return aim_; }
    bool stopped() const { return stopped_; }         // the loop does not run
    bool inGame() const { return inGame_; }           // a game is in progress
    bool makingStars() const { return makingStars_; } // the star-making phase
    bool objectsLive() const { return objectsLive_; } // stars and bad guys to free

    // Sets the counters of a game in progress, and the turn counter: a game picked up at a
    // given point (the tests and the benchmarks start from one).
    void setCounters(const Counters &counters) { counters_ = counters; }
    void setTurnCounter(int turnCounter) { turnCounter_ = turnCounter; }

    // Makes the next games draw their random numbers from a fixed seed instead of the clock.
    void seedRandom(uint32_t seed) { fixedSeed_ = seed; }

    // A game's life: started with the aim at the field's centre and the star making ahead;
    // stopped (paused, over, or not started) and run again; ended; abandoned for a new one.
    void start();
    void stop() { stopped_ = true; }
    void run() { stopped_ = false; }
    void end();
    void abandon() { inGame_ = false; }
    void clearCounters();
    void aimAt(QPoint pointer) { aim_ = pointer; }

    // The star-making phase: true, ending the phase, once `count` stars are made (also when
    // the count was lowered below them meanwhile); otherwise the next star joins the list.
    bool starsComplete(int count);
    void addStar();

    // A flight tick counts the distance and sets the speed factor; the tick before the first
    // bad guy chimes; from the one after it the bad guys fly.
    void countFlightTick();
    void chimeBeforeBadGuys();
    bool badGuysFly() const { return counters_.travelled > game::BadGuysAfter; }

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

    // The star list: the spare star is the one the next addStar adds; its Next is the head.
    const FlyingObject &spareStar() const { return spareStar_; }
    FlyingObject *firstStar() { return spareStar_.Next; }
    const FlyingObject *firstStar() const { return spareStar_.Next; }

    // The bad guys' records, by index.
    int badGuyCount() const { return int(badGuys_.size()); }
    FlyingObject &badGuy(int i) { return *badGuys_[i]; }
    const FlyingObject &badGuy(int i) const { return *badGuys_[i]; }
    int badGuysWanted() const { return game::BadGuysFor(counters_.travelled); }
    void addBadGuy(); // chimes, and the new one starts at the vanishing point
    void resetBadGuy(int i) { resetObject(*badGuys_[i]); }
    void scaleBySpeed(FlyingObject &o);

    // One bad guy's update inside the field: the explosion's next frame (then the state
    // moves on), the end of the explosion (it goes far out to count down), or a flap of its
    // two frames (the frame to show).
    static bool exploding(const FlyingObject &o) {
        return o.State >= 1 && o.State <= game::LastExplosionFrame;
    }
    int nextExplosionFrame(int i);
    void endExplosion(int i);
    static int flap(FlyingObject &o);
    // The turn shared by all bad guys: false when the bad guy at the turn is exploding, and
    // then the tick's update of the bad guys ends here and the turn passes on.
    bool takeTurn(int i);
    // Outside the field: one still flying, unshot, has got past and costs energy; then it
    // counts down.
    static bool flying(const FlyingObject &o) { return o.State == 0; }
    void chargeEscape();
    void countDownOutside(int i);

    // Shots: every shot counts and sounds; a hit on a bad guy not yet hit marks it exploding
    // and credits the hit (true).
    void fire();
    bool creditHit(int i);

    // What a caption update settles: the energy alarm, the accuracy, the energy it saw.
    void soundEnergyAlarm();
    void updateAccuracy() { accuracy_ = game::AccuracyOf(counters_.hits, counters_.shotsFired); }
    void noteEnergy() { counters_.lastEnergy = counters_.energy; }
    // The score of the game just ended.
    int settleFinalScore();

    // Frees every star and bad guy record; the spare star is rolled afresh.
    void releaseObjects();

private:
    void raise(game::SoundEvent event) {
        if (sounds_)
            sounds_(event);
    }

    SoundSink sounds_;
    QSize field_;
    Counters counters_;
    double speed_ = 0.0;
    int accuracy_ = 0;
    int finalScore_ = 0;
    int starsMade_ = 0;
    int turnCounter_ = 0; // never reset: the turns run on across games
    QPoint aim_;
    bool stopped_ = true;
    bool inGame_ = false;
    bool makingStars_ = false;
    bool objectsLive_ = false;
    FlyingObject spareStar_;
    QList<FlyingObject *> badGuys_;
    std::mt19937 random_; // seeded by start, drawn from by randomVelocity
    std::optional<uint32_t> fixedSeed_;
};
