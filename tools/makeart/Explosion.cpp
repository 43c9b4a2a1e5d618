// The explosion of a bad guy that was shot: a flash, a fireball that swells, tears apart into
// smoke and embers and fades. The game never shows the first frame, and uses the plain black
// last one to wipe a picture.
#include "Artwork.h"
#include "PixelArt.h"
#include "Rng.h"

#include <cmath>
#include <numbers>

namespace makeart {

namespace {

constexpr int FrameWidth = 55;
constexpr int FrameHeight = 48;
constexpr QPointF centre(27.5, 24);

// From the deepest red through orange and yellow to white hot.
const Ramp &fireColours() {
    static const Ramp colours =
        ramp({0x3a0c06, 0x6e1408, 0xa8220c, 0xe04a10, 0xff8a1c, 0xffc53a, 0xfff07a, 0xffffe8});
    return colours;
}

QPointF direction(double angle) {
    return {std::cos(angle), std::sin(angle)};
}

struct Fireball {
    double radius;
    double heat;     // how far up the fire colours the middle reaches
    double torn = 0; // how much of the ball has broken into holes, 0 to 1
    uint64_t seed = 17;
    const Ramp *colours = &fireColours();
};

// A ragged ball of fire: noise frays the edge into billows and makes hot and cool patches.
void paintFireball(QImage &frame, const Fireball &ball) {
    const Ramp &colours = *ball.colours;
    for (int y = 0; y < FrameHeight; ++y) {
        for (int x = 0; x < FrameWidth; ++x) {
            const QPointF p(x + 0.5, y + 0.5);
            const double d = std::hypot(p.x() - centre.x(), p.y() - centre.y()) / ball.radius;
            const double billow = fractalNoise(p.x() * 0.17, p.y() * 0.17, ball.seed);
            const double edge = 1 - d + (billow - 0.5) * 0.8;
            if (edge <= 0) {
                continue;
            }
            if (ball.torn > 0 &&
                fractalNoise(p.x() * 0.21, p.y() * 0.21, ball.seed + 99) < ball.torn * 0.62) {
                continue;
            }
            const double value = ball.heat * (0.3 + edge) + (billow - 0.5) * 0.45;
            const int index = rampIndex(value, static_cast<int>(colours.size()), x, y, 0.8);
            frame.setPixel(x, y, colours[static_cast<std::size_t>(index)].rgb());
        }
    }
}

// Short bright streaks flying out of the blast.
void paintSparks(QImage &frame, Rng &rng, int count, double from, double to) {
    const Ramp colours = ramp({0xff8a1c, 0xffd040, 0xfffad0});
    for (int i = 0; i < count; ++i) {
        const QPointF dir = direction(rng.uniform(0, 2 * std::numbers::pi));
        const double start = rng.uniform(from, to);
        const double length = rng.uniform(3, 5.5);
        Mask spark(FrameWidth, FrameHeight);
        // Thin at the inner end and thicker at the outer one: the hot head leads the way out.
        spark.add(stroke({centre + dir * start, centre + dir * (start + length)}, 0.55, 0.9));
        paintGlow(frame, spark, colours, 1.2);
    }
}

// Glowing bits left scattered around, a pixel or two each.
void paintEmbers(QImage &frame, Rng &rng, int count, double reach) {
    const QColor colours[] = {QColor(0xff, 0xd0, 0x40), QColor(0xff, 0x8a, 0x1c),
                              QColor(0xe0, 0x4a, 0x10)};
    for (int i = 0; i < count; ++i) {
        const QPointF at =
            centre + direction(rng.uniform(0, 2 * std::numbers::pi)) * rng.uniform(3, reach);
        const QColor colour = colours[rng.next() % 3];
        const int x = static_cast<int>(at.x());
        const int y = static_cast<int>(at.y());
        frame.setPixel(x, y, colour.rgb());
        if (rng.next() % 2 == 0 && frame.valid(x + 1, y)) {
            frame.setPixel(x + 1, y, colour.rgb());
        }
    }
}

// A tiny star of four points: the first spark, and the flash's cross of light.
void paintStarburst(QImage &frame, double reach, double thickness) {
    Mask rays(FrameWidth, FrameHeight);
    for (int i = 0; i < 4; ++i) {
        const QPointF dir = direction(i * std::numbers::pi / 2);
        rays.add(stroke({centre, centre + dir * reach}, thickness, 0.5));
    }
    for (int i = 0; i < 4; ++i) {
        const QPointF dir = direction((i + 0.5) * std::numbers::pi / 2);
        rays.add(stroke({centre, centre + dir * reach * 0.45}, thickness * 0.8, 0.5));
    }
    paintGlow(frame, rays, ramp({0xffc53a, 0xfff07a, 0xffffff}), 1.5);
}

QImage spark() {
    QImage frame = emptyFrame(FrameWidth, FrameHeight);
    paintStarburst(frame, 5, 0.9);
    return frame;
}

QImage flash() {
    QImage frame = emptyFrame(FrameWidth, FrameHeight);
    paintStarburst(frame, 14, 1.3);
    paintFireball(frame, {.radius = 7, .heat = 1.5});
    outline(frame, QColor(0xff, 0x8a, 0x1c));
    return frame;
}

QImage fireball() {
    QImage frame = emptyFrame(FrameWidth, FrameHeight);
    paintFireball(frame, {.radius = 13, .heat = 1.05});
    outline(frame, QColor(0xa8, 0x22, 0x0c));
    return frame;
}

QImage peak() {
    QImage frame = emptyFrame(FrameWidth, FrameHeight);
    Rng rng(0xB1A57);
    paintSparks(frame, rng, 18, 16, 19);
    paintFireball(frame, {.radius = 18, .heat = 0.7, .seed = 23});
    // Dark chunks of the bad guy's hull thrown clear.
    Mask debris(FrameWidth, FrameHeight);
    for (int i = 0; i < 7; ++i) {
        const QPointF at =
            centre + direction(rng.uniform(0, 2 * std::numbers::pi)) * rng.uniform(19, 23);
        debris.add(ellipse(at, 1.6, 1.0, rng.uniform(0, 180)));
    }
    paintShaded(frame, debris, ramp({0x2a1a18, 0x5a3a30, 0x8a6050}), {.roundness = 1});
    outline(frame, QColor(0x6e, 0x14, 0x08));
    return frame;
}

QImage breakUp() {
    QImage frame = emptyFrame(FrameWidth, FrameHeight);
    Rng rng(0xE3B3E5);
    // Cooling fire gives way to smoke.
    static const Ramp colours = ramp({0x3a2420, 0x5a1a10, 0x8a1a0a, 0xc0300c, 0xf06a14, 0xffa830});
    paintFireball(frame,
                  {.radius = 18, .heat = 0.5, .torn = 0.75, .seed = 31, .colours = &colours});
    paintEmbers(frame, rng, 22, 23);
    outline(frame, 0.5);
    return frame;
}

QImage smoke() {
    QImage frame = emptyFrame(FrameWidth, FrameHeight);
    const Ramp colours = ramp({0x3a2420, 0x5e3a32, 0x84564a});
    for (int y = 0; y < FrameHeight; ++y) {
        for (int x = 0; x < FrameWidth; ++x) {
            const QPointF p(x + 0.5, y + 0.5);
            const double d = std::hypot(p.x() - centre.x(), p.y() - centre.y()) / 24;
            const double puff = fractalNoise(p.x() * 0.14, p.y() * 0.14, 41) - 0.42;
            const double density = puff * 5 * (1 - d);
            // With only opaque or clear pixels, thinning smoke is drawn by leaving out more and
            // more of them in an even pattern.
            if (density <= 0 || rampIndex(density, 2, x, y, 1) == 0) {
                continue;
            }
            const int index = rampIndex(density * 1.4, static_cast<int>(colours.size()), x, y, 0.4);
            frame.setPixel(x, y, colours[static_cast<std::size_t>(index)].rgb());
        }
    }
    Rng rng(0x5A0CE);
    paintEmbers(frame, rng, 9, 22);
    return frame;
}

QImage black() {
    QImage frame(FrameWidth, FrameHeight, QImage::Format_ARGB32);
    frame.fill(QColor(0, 0, 0));
    return frame;
}

} // namespace

QImage drawExplosion() {
    std::vector<QImage> frames{spark(), flash(), fireball(), peak(), breakUp(), smoke()};
    for (QImage &frame : frames) {
        liftBlacks(frame);
    }
    frames.push_back(black());
    return strip(frames);
}

} // namespace makeart
