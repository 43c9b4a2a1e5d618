#pragma once

// The demonstration's world, drawn on the display's back surface at every refresh: a field of
// stars that twinkle by palette cycling, a deck of tiles along the bottom, the game's bad guys
// flying over it with their wings flapping, explosions where the player clicks, and a sight
// where the pointer is.

#include "gk/GK.h"

#include <QPoint>
#include <QRect>
#include <QSize>

#include <random>
#include <vector>

namespace demo {

// The art takes palette entries 1 to 200; the demonstration's own colours come after.
inline constexpr int ArtColors = 200;
inline constexpr int DeckColor = 201; // 201 to 215: the deck's shades, dark to light
inline constexpr int DeckShades = 15;
inline constexpr int SightColor = 216;
inline constexpr int TextColor = 217;
inline constexpr int StarFirst = 224; // 224 to 255: the stars' twinkle, cycled
inline constexpr int StarLast = 255;

// The image library's pictures: two frames for each of the four bad guys, then the explosion.
inline constexpr int BadGuyKinds = 4;
inline constexpr int FirstExplosion = 8;
inline constexpr int ExplosionFrames = 7;
inline constexpr QSize BadGuySize{50, 50};
inline constexpr int TileSize = 32;

// The tile library: the deck's three tiles (a plate, a plate with a lamp, the deck's edge with
// the sky showing through), with the art's palette and the demonstration's colours.
TGKImages MakeTiles(const TGKImages &art);
// The stars' colours, one for each entry from StarFirst to StarLast: one slow flash from dark
// to bright and back, so that every star twinkles on a beat of its own as they cycle.
std::vector<gk::PaletteEntry> StarTwinkle();

class Scene {
public:
    explicit Scene(QSize size, unsigned seed = 1999);

    // One refresh: everything moves on.
    void step();
    // The whole picture onto the display's back surface; `caption` goes on top, left.
    void draw(TGKScreen &screen, TGKSurface *caption) const;
    // A click: an explosion at `point`, which hits the bad guy under it; its number, or -1.
    int explode(QPoint point);
    void aim(QPoint point) { sight_ = point; }
    int explosions() const { return int(explosions_.size()); }

private:
    struct Star {
        QPoint at;
        uint8_t color;
        bool large;
    };
    struct BadGuy {
        double x, baseY, speed, phase, swing;
        int kind;
        QRect rect() const;
    };
    struct Explosion {
        QPoint centre;
        int steps;
    };

    void launch(BadGuy &badGuy, bool anywhere);
    void drawStars(TGKSurface &back) const;
    void drawSight(TGKSurface &back) const;

    QSize size_;
    int deckTop_;
    std::mt19937 random_;
    std::vector<Star> stars_;
    std::vector<BadGuy> badGuys_;
    std::vector<Explosion> explosions_;
    QPoint sight_{-100, -100};
    long steps_ = 0;
};

} // namespace demo
