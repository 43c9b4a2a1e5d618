#include "game/Game.h"

#include <chrono>
#include <utility>

using game::SoundEvent;

TGame::TGame(SoundSink sounds) : sounds_(std::move(sounds)) {
    badGuys_.reserve(3);
}

TGame::~TGame() {
    objectsLive_ = true;
    releaseObjects();
}

void TGame::start() {
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

void TGame::end() {
    stopped_ = true;
    inGame_ = false;
}

void TGame::clearCounters() {
    counters_ = Counters{};
}

bool TGame::starsComplete(int count) {
    if (starsMade_ < count)
        return false;
    makingStars_ = false;
    return true;
}

void TGame::addStar() {
    // The new star is the spare one, linked in front of the list through the copied Next.
    auto *star = new FlyingObject(spareStar_);
    resetObject(spareStar_);
    spareStar_.Next = star;
    ++starsMade_;
}

void TGame::countFlightTick() {
    ++counters_.travelled;
    speed_ = game::SpeedAt(counters_.travelled);
}

void TGame::chimeBeforeBadGuys() {
    if (counters_.travelled == game::BadGuysAfter)
        raise(SoundEvent::NewBadGuy);
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
    } while (o.DX == 0 && o.DY == 0);
}

void TGame::recycle(FlyingObject &star) {
    FlyingObject *const next = star.Next;
    resetObject(star);
    star.Next = next;
}

void TGame::addBadGuy() {
    raise(SoundEvent::NewBadGuy);
    auto *o = new FlyingObject;
    resetObject(*o);
    badGuys_.append(o);
}

void TGame::scaleBySpeed(FlyingObject &o) {
    o.DX = game::ScaledBySpeed(o.DX, speed_);
    o.DY = game::ScaledBySpeed(o.DY, speed_);
}

int TGame::nextExplosionFrame(int i) {
    return badGuys_[i]->State++;
}

void TGame::endExplosion(int i) {
    FlyingObject &o = *badGuys_[i];
    o.Hit = false;
    o.State = 1;
    o.X = game::OutOfField;
}

int TGame::flap(FlyingObject &o) {
    const int frame = o.Frame ? 0 : 1;
    o.Frame = !o.Frame;
    return frame;
}

bool TGame::takeTurn(int i) {
    FlyingObject &o = *badGuys_[i];
    if (turnCounter_ == game::TicksBetweenTurns) {
        if (o.Hit)
            return false;
        randomVelocity(o);
        scaleBySpeed(o);
        turnCounter_ = 0;
    }
    ++turnCounter_;
    return true;
}

void TGame::chargeEscape() {
    raise(SoundEvent::Escape);
    counters_.energy -= game::EscapeCost;
}

void TGame::countDownOutside(int i) {
    FlyingObject &o = *badGuys_[i];
    ++o.State;
    if (o.State == game::BackAfterOutside)
        resetBadGuy(i);
}

void TGame::fire() {
    raise(SoundEvent::Laser);
    ++counters_.shotsFired;
}

bool TGame::creditHit(int i) {
    if (i < 0 || i >= badGuys_.size() || badGuys_[i]->Hit)
        return false;
    FlyingObject &o = *badGuys_[i];
    o.Hit = true;
    o.State = 1; // the explosion starts on the next tick
    counters_.energy += game::HitEnergy;
    ++counters_.hits;
    return true;
}

void TGame::soundEnergyAlarm() {
    switch (game::AlarmFor(counters_.energy, counters_.lastEnergy)) {
    case game::EnergyAlarm::Critical:
        raise(SoundEvent::CriticalEnergy);
        break;
    case game::EnergyAlarm::Warning:
        raise(SoundEvent::LowEnergy);
        break;
    case game::EnergyAlarm::None:
        break;
    }
}

int TGame::settleFinalScore() {
    finalScore_ = game::FinalScoreOf(counters_.hits, accuracy_, counters_.travelled);
    return finalScore_;
}

void TGame::releaseObjects() {
    if (!objectsLive_)
        return;
    for (FlyingObject *star = firstStar(); star;) {
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
