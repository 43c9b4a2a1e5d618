// Small icons for the preferences dialog, drawn in the style of desktop icons: crisp pixels,
// a dark outline, light from the upper left and a few shades per colour.
#include "Artwork.h"
#include "PixelArt.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace makeart {

namespace {

constexpr int IconSize = 32;
constexpr double Degree = std::numbers::pi / 180;

Mask emptyMask() {
    return Mask(IconSize, IconSize);
}

// A one pixel line along a circle to the right of its centre, one pixel per row so that it
// stays as clean as a hand-drawn arc. Good for arcs up to 45 degrees either side.
void addArc(Mask &mask, QPointF centre, double radius, double spread) {
    const double reach = radius * std::sin(spread * Degree);
    for (int y = 0; y < mask.height(); ++y) {
        const double dy = y + 0.5 - centre.y();
        if (std::abs(dy) > reach) {
            continue;
        }
        const double x = centre.x() + std::sqrt(radius * radius - dy * dy);
        mask.set(static_cast<int>(std::floor(x)), y, true);
    }
}

// A square icon of `size` pixels with its corners rounded off.
Shape roundedSquare(int size, double corner) {
    return [=](QPointF p) {
        const double x = std::clamp(p.x(), corner, size - corner);
        const double y = std::clamp(p.y(), corner, size - corner);
        return std::hypot(p.x() - x, p.y() - y) <= corner;
    };
}

} // namespace

QImage drawSpeakerIcon() {
    const Ramp silver = ramp({0x4a4e58, 0x767c88, 0xa4aab4, 0xccd0d8, 0xf0f2f6});
    const Ramp housing = ramp({0x3e424c, 0x60646e, 0x8a909a, 0xb4b8c2, 0xdadee4});
    const Ramp cone = ramp({0x0c0e14, 0x1c2028, 0x30343e, 0x484c56});
    const Ramp waves = ramp({0x2a4c8c, 0x4a7cc8, 0x86b2ee, 0xc8e0ff});
    QImage icon = emptyFrame(IconSize, IconSize);

    Mask magnet = emptyMask();
    magnet.add(polygon(QPolygonF({{2, 12}, {7, 12}, {7, 20}, {2, 20}})));
    paintShaded(icon, magnet, silver, {.roundness = 3, .ambient = 0.3, .shine = 0.3});

    const QPointF mouth(13.5, 16);
    Mask flank = emptyMask();
    flank.add(polygon(QPolygonF({{7, 13}, {mouth.x(), 5}, {mouth.x(), 27}, {7, 19}})));
    paintShaded(icon, flank, housing, {.roundness = 3, .ambient = 0.3, .dither = 0.3});

    Mask rim = emptyMask();
    rim.add(ellipse(mouth, 3.5, 11));
    paintShaded(icon, rim, silver, {.roundness = 1.5, .ambient = 0.35});

    // The inside of the cone is hollow, so the light falls on its far, lower right side.
    const double rx = 2.4, ry = 9.6;
    Mask inside = emptyMask();
    inside.add(ellipse(mouth + QPointF(0.3, 0.3), rx, ry));
    for (int y = 0; y < IconSize; ++y) {
        for (int x = 0; x < IconSize; ++x) {
            if (!inside.at(x, y)) {
                continue;
            }
            const double u = (x + 0.5 - mouth.x()) / rx;
            const double v = (y + 0.5 - mouth.y()) / ry;
            const double value = 0.5 + 0.35 * u + 0.45 * v;
            const int index = rampIndex(value, static_cast<int>(cone.size()), x, y, 0.5);
            icon.setPixel(x, y, cone[static_cast<std::size_t>(index)].rgb());
        }
    }

    // Each wave a little longer than the one before, as they spread out.
    Mask sound = emptyMask();
    const QPointF source(10.5, 16);
    addArc(sound, source, 10, 30);
    addArc(sound, source, 15, 36);
    addArc(sound, source, 20, 40);
    // Lit from above like the rest: light at the top, darker towards the bottom.
    for (int y = 0; y < IconSize; ++y) {
        for (int x = 0; x < IconSize; ++x) {
            if (sound.at(x, y)) {
                const double value = 1.05 - (y + 0.5 - source.y() + 12) / 24 * 0.8;
                const int index = rampIndex(value, static_cast<int>(waves.size()), x, y, 0);
                icon.setPixel(x, y, waves[static_cast<std::size_t>(index)].rgb());
            }
        }
    }

    outline(icon, 0.3);
    return icon;
}

QImage drawStarburstIcon(int size) {
    // From the black of space through a deep blue glow to white.
    const Ramp light = ramp(
        {0x000000, 0x080c24, 0x141e4a, 0x28407e, 0x4c6cb4, 0x8aa4e0, 0xc4d4f8, 0xeef3ff, 0xffffff});
    QImage icon = emptyFrame(size, size);
    // The design is measured on the 32 pixel icon; other sizes draw it scaled, pixel by pixel.
    const double scale = static_cast<double>(size) / IconSize;

    Mask tile(size, size);
    tile.add(roundedSquare(size, 5 * scale));

    // The middle of a pixel, so that the long rays run along whole rows, columns and diagonals.
    const QPointF centre((size - 1) / 2.0, (size - 1) / 2.0);
    auto brightness = [&](QPointF p) {
        const QPointF d = (p - centre) / scale;
        const double r = std::hypot(d.x(), d.y());
        double value = 1.3 * std::exp(-(r / 1.8) * (r / 1.8)) + 0.4 * std::exp(-r / 3.5);
        auto ray = [&](double angle, double length, double strength, double thin, double flare) {
            const QPointF u(std::cos(angle * Degree), std::sin(angle * Degree));
            const double along = QPointF::dotProduct(d, u);
            if (along <= 0 || along >= length) {
                return 0.0;
            }
            const double across = std::abs(d.x() * u.y() - d.y() * u.x());
            const double fade = 1 - along / length;
            const double width = thin + flare * fade * fade * fade;
            return strength * std::sqrt(fade) * std::exp(-(across / width) * (across / width));
        };
        for (int i = 0; i < 8; ++i) {
            // Straight rays reach further than the diagonal ones, which look long already.
            value += ray(i * 45, i % 2 == 0 ? 14 : 11.5, 1.0, 0.42, 0.9);
        }
        // Short rays halfway between the long ones.
        for (int i = 0; i < 8; ++i) {
            value += ray(i * 45 + 22.5, 8, 0.7, 0.55, 0);
        }
        return value;
    };

    // The outermost pixels stay black as the outline; the ring inside them catches the light
    // where it faces up and left, which lifts the tile off a dark background. Both are a pixel
    // wide on the 32 pixel icon and as wide in proportion on larger ones. Gives how much a
    // ring pixel faces the light, from -1 to 1, and -2 off the ring.
    const int edge = std::max(1, static_cast<int>(std::lround(scale)));
    auto bevel = [&](int x, int y) {
        QPointF outward;
        for (int dy = -2 * edge; dy <= 2 * edge; ++dy) {
            for (int dx = -2 * edge; dx <= 2 * edge; ++dx) {
                const int reach = std::abs(dx) + std::abs(dy);
                if (tile.at(x + dx, y + dy) || reach > 2 * edge) {
                    continue;
                }
                if (reach <= edge) {
                    return -2.0; // an outline pixel
                }
                outward += QPointF(dx, dy);
            }
        }
        const double length = std::hypot(outward.x(), outward.y());
        return length > 0 ? (outward.x() * -0.6 + outward.y() * -0.8) / length : -2.0;
    };
    const QColor rimLight(0x50, 0x56, 0x64);
    const QColor rimShade(0x28, 0x2c, 0x34);

    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (!tile.at(x, y)) {
                continue;
            }
            const double value = brightness(QPointF(x + 0.5, y + 0.5));
            const int index = rampIndex(value, static_cast<int>(light.size()), x, y, 0.3);
            const double facing = bevel(x, y);
            QColor colour = light[static_cast<std::size_t>(index)];
            if (index <= 2 && facing > 0.5) {
                colour = rimLight;
            } else if (index <= 2 && facing > -0.2) {
                colour = rimShade;
            }
            icon.setPixel(x, y, colour.rgb());
        }
    }
    return icon;
}

} // namespace makeart
