#include "Scene.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace demo {

namespace {

constexpr int StarCount = 260;
constexpr int BadGuyCount = 7;
constexpr int FlapSteps = 9;      // refreshes a wing beat lasts
constexpr int ExplosionSteps = 5; // refreshes each explosion picture shows

// A tile of the deck, drawn in its shades.
struct TileDraw {
    std::vector<uint8_t> bits = std::vector<uint8_t>(TileSize * TileSize, 0);
    void fill(QRect area, int shade) {
        area = area.intersected(QRect(0, 0, TileSize, TileSize));
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                bits[std::size_t(y * TileSize + x)] = uint8_t(DeckColor + shade);
    }
    // A plate from row `top` down: light edges above and left, dark below and right, rivets.
    void plate(int top) {
        fill(QRect(0, top, TileSize, TileSize - top), 6);
        fill(QRect(0, top, TileSize, 1), 11);
        fill(QRect(0, top, 1, TileSize - top), 10);
        fill(QRect(0, TileSize - 1, TileSize, 1), 2);
        fill(QRect(TileSize - 1, top, 1, TileSize - top), 3);
        for (const QPoint rivet : {QPoint(3, top + 3), QPoint(TileSize - 5, top + 3),
                                   QPoint(3, TileSize - 5), QPoint(TileSize - 5, TileSize - 5)}) {
            fill(QRect(rivet, QSize(2, 2)), 13);
            fill(QRect(rivet + QPoint(1, 1), QSize(1, 1)), 1);
        }
    }
    QByteArray rows() const {
        return QByteArray(reinterpret_cast<const char *>(bits.data()), qsizetype(bits.size()));
    }
};

} // namespace

TGKImages MakeTiles(const TGKImages &art) {
    TGKImages tiles;
    const uint8_t *palette = art.Palette();
    for (int i = 0; i <= ArtColors; ++i)
        tiles.SetPaletteEntry(i, palette[4 * i], palette[4 * i + 1], palette[4 * i + 2]);
    for (int shade = 0; shade < DeckShades; ++shade) {
        const int level = 24 + shade * 12;
        tiles.SetPaletteEntry(DeckColor + shade, uint8_t(level * 3 / 4), uint8_t(level * 7 / 8),
                              uint8_t(std::min(255, level + 20)));
    }
    tiles.SetPaletteEntry(SightColor, 255, 230, 40);
    tiles.SetPaletteEntry(TextColor, 150, 230, 255);
    const std::vector<gk::PaletteEntry> twinkle = StarTwinkle();
    for (int i = StarFirst; i <= StarLast; ++i) {
        const gk::PaletteEntry &e = twinkle[std::size_t(i - StarFirst)];
        tiles.SetPaletteEntry(i, e.red, e.green, e.blue);
    }

    TGKImageEntry header;
    header.SetWidth(TileSize);
    header.SetHeight(TileSize);

    TileDraw plain;
    plain.plate(0);
    header.SetName("plate");
    tiles.Add(header, plain.rows());

    TileDraw lamp;
    lamp.plate(0);
    lamp.fill(QRect(12, 12, 8, 8), 0);
    lamp.fill(QRect(13, 13, 6, 6), 14);
    header.SetName("lamp");
    tiles.Add(header, lamp.rows());

    // The edge: the sky (0, see-through) above a rail, with a post in the middle.
    TileDraw edge;
    edge.plate(20);
    edge.fill(QRect(0, 14, TileSize, 3), 9);
    edge.fill(QRect(14, 4, 4, 10), 8);
    edge.fill(QRect(15, 4, 1, 10), 12);
    header.SetName("edge");
    tiles.Add(header, edge.rows());
    return tiles;
}

std::vector<gk::PaletteEntry> StarTwinkle() {
    std::vector<gk::PaletteEntry> colors;
    const int count = StarLast - StarFirst + 1;
    for (int i = 0; i < count; ++i) {
        const double glow = 0.5 + 0.5 * std::cos(2 * std::numbers::pi * i / count);
        const int level = int(40 + 215 * glow * glow);
        colors.push_back({uint8_t(level * 9 / 10), uint8_t(level * 9 / 10), uint8_t(level), 0});
    }
    return colors;
}

QRect Scene::BadGuy::rect() const {
    return {int(std::lround(x)), int(std::lround(baseY + swing * std::sin(phase))),
            BadGuySize.width(), BadGuySize.height()};
}

Scene::Scene(QSize size, unsigned seed)
    : size_(size), deckTop_(size.height() - 2 * TileSize), random_(seed) {
    std::uniform_int_distribution<int> x(0, size.width() - 1), y(0, deckTop_ + 16);
    std::uniform_int_distribution<int> color(StarFirst, StarLast), large(0, 9);
    for (int i = 0; i < StarCount; ++i)
        stars_.push_back(
            {QPoint(x(random_), y(random_)), uint8_t(color(random_)), large(random_) == 0});
    badGuys_.resize(BadGuyCount);
    for (int i = 0; i < BadGuyCount; ++i) {
        badGuys_[std::size_t(i)].kind = i % BadGuyKinds;
        launch(badGuys_[std::size_t(i)], true);
    }
}

void Scene::launch(BadGuy &badGuy, bool anywhere) {
    std::uniform_real_distribution<double> speed(0.8, 2.6), phase(0, 2 * std::numbers::pi);
    std::uniform_real_distribution<double> height(40, std::max(41, deckTop_ - 40));
    std::uniform_real_distribution<double> across(0, size_.width());
    badGuy.speed = speed(random_) * (random_() % 2 ? 1 : -1);
    badGuy.x = anywhere ? across(random_) : badGuy.speed > 0 ? -BadGuySize.width() : size_.width();
    badGuy.baseY = height(random_);
    badGuy.phase = phase(random_);
    badGuy.swing = 10 + double(random_() % 40);
}

void Scene::step() {
    ++steps_;
    for (BadGuy &b : badGuys_) {
        b.x += b.speed;
        b.phase += 0.03;
        if (b.x > size_.width() || b.x < -BadGuySize.width())
            launch(b, false);
    }
    for (Explosion &e : explosions_)
        ++e.steps;
    std::erase_if(explosions_,
                  [](const Explosion &e) { return e.steps >= ExplosionSteps * ExplosionFrames; });
}

int Scene::explode(QPoint point) {
    explosions_.push_back({point, 0});
    for (std::size_t i = 0; i < badGuys_.size(); ++i) {
        if (badGuys_[i].rect().contains(point)) {
            launch(badGuys_[i], false);
            return int(i);
        }
    }
    return -1;
}

void Scene::drawStars(TGKSurface &back) const {
    uint8_t *bits = back.Lock();
    if (!bits)
        return;
    const auto put = [&](int x, int y, uint8_t color) {
        if (x >= 0 && y >= 0 && x < back.Width() && y < back.Height())
            bits[y * back.Pitch() + x] = color;
    };
    for (const Star &star : stars_) {
        put(star.at.x(), star.at.y(), star.color);
        if (star.large) {
            put(star.at.x() + 1, star.at.y(), star.color);
            put(star.at.x(), star.at.y() + 1, star.color);
            put(star.at.x() + 1, star.at.y() + 1, star.color);
        }
    }
    back.Unlock();
}

void Scene::drawSight(TGKSurface &back) const {
    uint8_t *bits = back.Lock();
    if (!bits)
        return;
    for (int d = 3; d <= 9; ++d) {
        for (const QPoint p : {sight_ + QPoint(d, 0), sight_ - QPoint(d, 0), sight_ + QPoint(0, d),
                               sight_ - QPoint(0, d)}) {
            if (back.ClientRect().contains(p))
                bits[p.y() * back.Pitch() + p.x()] = SightColor;
        }
    }
    back.Unlock();
}

void Scene::draw(TGKScreen &screen, TGKSurface *caption) const {
    TGKSurface &back = *screen.BackSurface();
    back.Erase(0);
    drawStars(back);

    if (screen.TileSurfaceCount() >= 3) {
        for (int x = 0; x < size_.width(); x += TileSize) {
            back.Blt(x, deckTop_, *screen.TileSurfaces(2));
            const int tile = (x / TileSize) % 5 == 2 ? 1 : 0;
            back.Blt(x, deckTop_ + TileSize, *screen.TileSurfaces(tile));
        }
    }
    if (screen.ImageSurfaceCount() >= FirstExplosion + ExplosionFrames) {
        const int wing = int(steps_ / FlapSteps) % 2;
        for (const BadGuy &b : badGuys_) {
            const QRect r = b.rect();
            back.Blt(r.x(), r.y(), *screen.ImageSurfaces(b.kind * 2 + wing));
        }
        for (const Explosion &e : explosions_) {
            TGKSurface &frame = *screen.ImageSurfaces(FirstExplosion + e.steps / ExplosionSteps);
            back.Blt(e.centre.x() - frame.Width() / 2, e.centre.y() - frame.Height() / 2, frame);
        }
    }
    if (caption)
        back.Blt(8, 6, *caption);
    drawSight(back);
}

} // namespace demo
