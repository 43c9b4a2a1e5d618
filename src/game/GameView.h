#pragma once

// What the game shows and sounds while it runs a tick: the few verbs a view of the game needs,
// called in the order the game's tick does things. The main window draws them on its play
// field and bad guy images; a test records them.

#include "components/GameSoundNames.h"
#include "game/FlyingObject.h"

namespace game {

class GameView {
public:
    virtual ~GameView() = default;

    // A star drawn in white at its place, with the pen width of its age: one pixel, or a disc
    // once it is 15 ticks old. Erasing draws the same shape in black: each star erases itself
    // where it was last drawn before it moves.
    virtual void drawStar(const FlyingObject &star) = 0;
    virtual void eraseStar(const FlyingObject &star) = 0;

    // Bad guy `i` has joined the game (i counts up from 0): its image, hidden until placed.
    virtual void addBadGuy(int i) = 0;
    // Bad guy `i`'s picture: frame `frame` of the explosion (1 to 6, 6 all black), drawn over
    // the picture as it is, or over a blanked one when `blankFirst` is set.
    virtual void showExplosion(int i, int frame, bool blankFirst) = 0;
    // Bad guy `i`'s picture blanked, then frame `frame` (0 or 1) of its kind's two.
    virtual void showFlying(int i, int frame) = 0;
    // Bad guy `i`'s image shown at the record's place, at the size of the record's age.
    virtual void placeBadGuy(int i, const FlyingObject &o) = 0;
    virtual void hideBadGuy(int i) = 0;

    virtual void sound(SoundEvent event) = 0;
};

// A view that shows nothing: for what the game settles outside a tick (a new game's counters).
class NoView final : public GameView {
public:
    void drawStar(const FlyingObject &) override {}
    void eraseStar(const FlyingObject &) override {}
    void addBadGuy(int) override {}
    void showExplosion(int, int, bool) override {}
    void showFlying(int, int) override {}
    void placeBadGuy(int, const FlyingObject &) override {}
    void hideBadGuy(int) override {}
    void sound(SoundEvent) override {}
};

} // namespace game
