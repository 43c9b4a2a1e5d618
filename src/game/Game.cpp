#include "game/Game.h"

#include <chrono>
#include <utility>

using game::GameView;
using game::SoundEvent;
using game::Tick;

TGame::TGame(StarCount starCount) : starCount_(std::move(starCount)) {
    badGuys_.reserve(3);
}

TGame::~TGame() {
    objectsLive_ = true;
    releaseObjects();
}

void TGame::start() {
    // A game started over another one frees the other's stars and bad guys first: the spare
    // star's roll below empties the list's head.
    releaseObjects();
    aim_ = QPoint(field_.width() / 2, field_.height() / 2);
    inGame_ = true;
    stopped_ = false;
    random_.seed(fixedSeed_ ? *fixedSeed_
                            : static_cast<uint32_t>(
                                  std::chrono::steady_clock::now().time_since_epoch().count()));
    resetObject(spareStar_);
    makingStars_ = true;
    starsMade_ = 0;
    counters_.energy = game::StartEnergy;
    // The level shown while the stars are made is that of the flight about to begin, not
    // the last one of an earlier game.
    speed_ = 1.0;
    objectsLive_ = true;
}

Tick TGame::tick(GameView &view) {
    if (makingStars_) {
        // The count is read afresh on every tick of the phase. The phase also ends once the
        // stars made reach a count lowered below them meanwhile.
        const int count = starCount_ ? starCount_() : 0;
        if (starsMade_ >= count) {
            makingStars_ = false;
            return Tick::FlightBegins;
        }
        addStar();
        updateStars(view);
        return settle(Tick::StarAdded, view);
    }
    ++counters_.travelled;
    speed_ = game::SpeedAt(counters_.travelled);
    updateStars(view);
    // The tick before the first bad guy chimes; from the one after it the bad guys fly.
    if (counters_.travelled == game::BadGuysAfter)
        view.sound(SoundEvent::NewBadGuy);
    if (counters_.travelled > game::BadGuysAfter)
        updateBadGuys(view);
    return settle(Tick::Flown, view);
}

void TGame::addStar() {
    // The new star is the spare one, linked in front of the list through the copied Next.
    auto *star = new FlyingObject(spareStar_);
    resetObject(spareStar_);
    spareStar_.Next = star;
    ++starsMade_;
}

void TGame::updateStars(GameView &view) {
    for (FlyingObject *star = spareStar_.Next; star; star = star->Next) {
        // The field test comes before the move, and the star is erased where it was last drawn
        // before it moves and ages: the erase needs its old place and width. A star speeds up
        // after it is drawn, and only once it is a disc.
        if (onScreen(*star)) {
            view.eraseStar(*star);
            moveObject(*star);
            view.drawStar(*star);
            speedUp(*star);
        }
        if (star->Gone) {
            view.eraseStar(*star);
            recycle(*star);
        }
    }
}

void TGame::spawnBadGuys(GameView &view) {
    while (badGuys_.size() < game::BadGuysFor(counters_.travelled)) {
        view.sound(SoundEvent::NewBadGuy);
        auto *o = new FlyingObject;
        resetObject(*o);
        badGuys_.append(o);
        view.addBadGuy(int(badGuys_.size()) - 1);
    }
}

void TGame::updateBadGuys(GameView &view) {
    spawnBadGuys(view);
    for (int i = 0; i < badGuys_.size(); ++i) {
        FlyingObject &o = *badGuys_[i];
        // Bad guys never speed up on their own; only their turns change their velocity.
        moveObject(o);
        if (onScreen(o)) {
            if (!updateBadGuyInside(i, view))
                return;
            continue;
        }
        // Outside the field: one still flying, unshot, got past and costs energy. Then it counts
        // down, and comes back at the vanishing point on the 19th tick after.
        if (o.State == 0) {
            view.sound(SoundEvent::Escape);
            counters_.energy -= game::EscapeCost;
        }
        view.hideBadGuy(i);
        if (++o.State == game::BackAfterOutside)
            resetObject(o);
    }
}

// False when the tick's update of the bad guys ends here: the bad guy at the turn is exploding,
// and the turn, with the rest of this tick, passes to the next one inside the field.
bool TGame::updateBadGuyInside(int i, GameView &view) {
    FlyingObject &o = *badGuys_[i];
    if (o.State >= 1 && o.State <= game::LastExplosionFrame) {
        // Frame 1 goes over the picture as it is; later frames on a blanked one.
        view.showExplosion(i, o.State, o.State > 1);
        ++o.State;
    } else if (o.State == game::ExplosionOver) {
        // Out of sight from now on: it goes far out to count down outside the field.
        view.hideBadGuy(i);
        o.Hit = false;
        o.State = 1;
        o.X = game::OutOfField;
    } else if (!o.Hit) {
        // A flying bad guy flaps between its two frames on every tick.
        view.showFlying(i, o.Frame ? 0 : 1);
        o.Frame = !o.Frame;
    }
    // Placed and sized after its picture, where the state just left it; the turn comes after.
    view.placeBadGuy(i, o);
    return takeTurn(o);
}

bool TGame::takeTurn(FlyingObject &o) {
    if (turnCounter_ == game::TicksBetweenTurns) {
        if (o.Hit)
            return false;
        // The new velocity may be 0, 0: then the bad guy hovers until its next turn.
        randomVelocity(o);
        scaleBySpeed(o);
        turnCounter_ = 0;
    }
    ++turnCounter_;
    return true;
}

// The update at the end of a tick, and after a hit: the energy alarm on the way down into a
// band, or the loss below 0; then the accuracy and the energy this update saw.
Tick TGame::settle(Tick tick, GameView &view) {
    const int energy = counters_.energy;
    const int lastEnergy = counters_.lastEnergy;
    if (energy >= 0) {
        switch (game::AlarmFor(energy, lastEnergy)) {
        case game::EnergyAlarm::Critical:
            view.sound(SoundEvent::CriticalEnergy);
            break;
        case game::EnergyAlarm::Warning:
            view.sound(SoundEvent::LowEnergy);
            break;
        case game::EnergyAlarm::None:
            break;
        }
        meter_ = game::MeterFor(energy, lastEnergy);
    } else {
        lose(view);
        tick = Tick::Lost;
    }
    accuracy_ = game::AccuracyOf(counters_.hits, counters_.shotsFired);
    counters_.lastEnergy = energy;
    return tick;
}

// The game is over: the bad guys vanish and the stars are erased (they stay in the list until
// the game is abandoned), and the results are those of the update before, the accuracy too.
void TGame::lose(GameView &view) {
    view.sound(SoundEvent::GameLost);
    for (int i = 0; i < badGuys_.size(); ++i)
        view.hideBadGuy(i);
    for (const FlyingObject *star = spareStar_.Next; star; star = star->Next)
        view.eraseStar(*star);
    stopped_ = true;
    inGame_ = false;
    results_ = {counters_.hits, accuracy_, counters_.travelled,
                game::ScorePartsOf(counters_.hits, accuracy_, counters_.travelled)};
}

game::Shot TGame::shoot(int badGuy) {
    if (stopped_)
        return {};
    ++counters_.shotsFired;
    if (badGuy < 0 || badGuy >= badGuys_.size() || badGuys_[badGuy]->Hit)
        return {game::Shot::Miss};
    FlyingObject &o = *badGuys_[badGuy];
    o.Hit = true;
    o.State = 1; // the explosion starts on the next tick
    counters_.energy += game::HitEnergy;
    ++counters_.hits;
    // A hit only raises the energy: its update sounds no alarm and loses no game.
    game::NoView quiet;
    settle(Tick::Flown, quiet);
    return {game::Shot::Hit, badGuy};
}

void TGame::clearCounters() {
    counters_ = Counters{};
    // A new game's update: the meter shows its critical energy of 0, without the alarm.
    game::NoView quiet;
    settle(Tick::Flown, quiet);
}

void TGame::randomVelocity(FlyingObject &o) {
    std::uniform_int_distribution<int32_t> component(0, 19);
    o.DX = component(random_) - 10;
    o.DY = component(random_) - 10;
}

void TGame::resetObject(FlyingObject &o) {
    const QPoint spawn = game::SpawnPoint(field_, inGame_, aim_);
    o.X = spawn.x();
    o.Y = spawn.y();
    o.Age = 0;
    o.DX = 0;
    o.DY = 0;
    o.Gone = false;
    o.Hit = false;
    o.Frame = true;
    o.State = 0;
    o.Next = nullptr;
    do {
        randomVelocity(o);
    } while (game::StandsStill(o.DX, o.DY));
}

void TGame::recycle(FlyingObject &star) {
    FlyingObject *const next = star.Next;
    resetObject(star);
    star.Next = next;
}

void TGame::scaleBySpeed(FlyingObject &o) {
    o.DX = game::ScaledBySpeed(o.DX, speed_);
    o.DY = game::ScaledBySpeed(o.DY, speed_);
}

void TGame::releaseObjects() {
    if (!objectsLive_)
        return;
    for (FlyingObject *star = spareStar_.Next; star;) {
        FlyingObject *const next = star->Next;
        delete star;
        star = next;
    }
    spareStar_.Next = nullptr;
    objectsLive_ = false;
    qDeleteAll(badGuys_);
    badGuys_.clear();
    resetObject(spareStar_);
}
